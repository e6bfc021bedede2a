#include "pivora/framework/do_events.h"

#include "platform/framework/wnd.h"

#include <gtest/gtest.h>

namespace {

struct Counter : CWnd {
    int seen = 0;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) override {
        if (msg == WM_USER + 1) {
            ++seen;
            return TRUE;
        }
        return CWnd::OnWndMsg(msg, wp, lp, r);
    }
};

TEST(DoEvents, DispatchesWhatIsQueuedAndKeepsAQuitForTheMainLoop) {
    platform::ResetMessageQueue();
    Counter w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    w.PostMessage(WM_USER + 1);
    w.PostMessage(WM_USER + 1);
    PostQuitMessage(9);
    DoEvents();
    EXPECT_EQ(w.seen, 2);
    // Without keeping it the program would run on after being asked to quit.
    MSG m;
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), 0);
    EXPECT_EQ(m.wParam, 9u);
}

} // namespace

#include "platform/framework/wnd.h"

#include "platform/system/clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TimerWnd : CWnd {
    std::vector<UINT_PTR> timers;
    int paints = 0;
    bool* deleted = nullptr;
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    void OnPaint() override {
        ++paints;
        Default(); // the default paint validates
    }
    void PostNcDestroy() override {
        if (deleted) {
            *deleted = true;
            delete this;
        }
    }
};

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) && m.message != WM_QUIT)
        DispatchMessageW(&m);
}

TEST(CWndDispatch, HandlersGetTheirMessagesAndTheRestReachesTheClass) {
    platform::ResetMessageQueue();
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    TimerWnd w;
    ASSERT_TRUE(
        w.CreateEx(0, nullptr, L"first", WS_POPUP | WS_VISIBLE, CRect(0, 0, 30, 20), nullptr, 0));
    EXPECT_EQ(CWnd::FromHandle(w.m_hWnd), &w);
    w.SetTimer(5, 200);
    clock.Advance(200);
    Pump();
    EXPECT_EQ(w.timers, std::vector<UINT_PTR>{5});
    EXPECT_EQ(w.paints, 1);
    w.SetWindowText(L"second"); // not handled here: the class keeps the text
    CString text;
    w.GetWindowText(text);
    EXPECT_EQ(text, L"second");
    HWND h = w.m_hWnd;
    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(CWndDispatch, ObjectDeletedInPostNcDestroyIsNotTouchedAgain) {
    bool deleted = false;
    auto* w = new TimerWnd;
    w->deleted = &deleted;
    ASSERT_TRUE(w->CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    ::DestroyWindow(w->m_hWnd);
    EXPECT_TRUE(deleted);
}

TEST(CWndDispatch, SafeOwnerIsTheTopLevelWindowOrTheMainWindow) {
    CWnd main, child;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, L"child", WS_VISIBLE, CRect(0, 0, 5, 5), &main, 9));
    EXPECT_EQ(CWnd::GetSafeOwner(&child), &main);
    EXPECT_EQ(CWnd::GetSafeOwner(nullptr), nullptr);
    AfxSetMainWnd(&main);
    HWND top = nullptr;
    EXPECT_EQ(CWnd::GetSafeOwner(nullptr, &top), &main);
    EXPECT_EQ(top, main.m_hWnd);
    AfxSetMainWnd(nullptr);
}

} // namespace

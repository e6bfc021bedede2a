// Filters in front of a window object: they see messages first, in order, may swallow them,
// and go with the window.
#include "platform/framework/message_filter.h"

#include "platform/framework/wnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kProbe = WM_USER + 41;

struct ProbeWnd : CWnd {
    int seen = 0;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override {
        if (msg != kProbe)
            return CWnd::OnWndMsg(msg, wp, lp, result);
        ++seen;
        *result = 7;
        return TRUE;
    }
};

TEST(MessageFilter, FiltersSeeMessagesFirstInOrderMaySwallowThemAndGoWithTheWindow) {
    ProbeWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    std::vector<int> order;
    bool swallow = false;
    ASSERT_TRUE(platform::AddMessageFilter(w.m_hWnd, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == kProbe)
            order.push_back(1);
        return false;
    }));
    ASSERT_TRUE(
        platform::AddMessageFilter(w.m_hWnd, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT* r) {
            if (msg != kProbe)
                return false;
            order.push_back(2);
            *r = 99;
            return swallow;
        }));
    EXPECT_EQ(::SendMessageW(w.m_hWnd, kProbe, 0, 0), 7);
    EXPECT_EQ(w.seen, 1);
    swallow = true;
    EXPECT_EQ(::SendMessageW(w.m_hWnd, kProbe, 0, 0), 99);
    EXPECT_EQ(w.seen, 1);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2}));

    HWND h = w.m_hWnd;
    EXPECT_EQ(platform::MessageFilterCount(h), 2u);
    w.DestroyWindow();
    EXPECT_EQ(platform::MessageFilterCount(h), 0u);
    EXPECT_FALSE(
        platform::AddMessageFilter(h, [](HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; }));
}

TEST(MessageFilter, ABareWindowWithoutAWindowObjectTakesNone) {
    // Its filters would never run nor go with it.
    CWnd made;
    ASSERT_TRUE(made.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    HWND bare = made.Detach();
    EXPECT_FALSE(platform::AddMessageFilter(
        bare, [](HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; }));
    EXPECT_EQ(platform::MessageFilterCount(bare), 0u);
    ::DestroyWindow(bare);
}

} // namespace

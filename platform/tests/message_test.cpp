#include "platform/windowing/message.h"

#include "platform/system/clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT>* g_log = nullptr;

LRESULT LogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_log && msg != WM_CREATE && msg != WM_NCDESTROY && msg != WM_DESTROY)
        g_log->push_back(msg);
    return DefWindowProcW(h, msg, wp, lp);
}

struct MessageQueue : ::testing::Test {
    std::vector<UINT> log;
    HWND wnd = nullptr;
    void SetUp() override {
        platform::ResetMessageQueue();
        static bool registered = [] {
            WNDCLASSW cls{};
            cls.lpfnWndProc = LogProc;
            cls.lpszClassName = L"LogWindow";
            return RegisterClassW(&cls);
        }();
        (void)registered;
        g_log = &log;
        wnd = CreateWindowExW(0, L"LogWindow", L"", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr,
                              nullptr, nullptr);
        ASSERT_NE(wnd, nullptr);
    }
    void TearDown() override {
        DestroyWindow(wnd);
        g_log = nullptr;
        platform::ResetMessageQueue();
    }
    void Pump() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT)
                break;
            DispatchMessageW(&m);
        }
    }
};

TEST_F(MessageQueue, PostedMessagesComeFirstThenQuitThenPaintThenTimers) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    ShowWindow(wnd, SW_SHOW); // invalid: a paint is due
    SetTimer(wnd, 7, 100, nullptr);
    clock.Advance(100);
    PostMessageW(wnd, WM_USER + 1, 0, 0);
    PostQuitMessage(3);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_PAINT);
    DispatchMessageW(&m); // the default paint validates
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, TimersFireOnTheInjectedClockWithoutCatchingUp) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    SetTimer(wnd, 1, 100, nullptr);
    Pump();
    EXPECT_TRUE(log.empty());
    clock.Advance(350); // three periods missed: one WM_TIMER
    Pump();
    EXPECT_EQ(log, std::vector<UINT>{WM_TIMER});
    clock.Advance(99);
    Pump();
    EXPECT_EQ(log.size(), 1u);
    clock.Advance(1);
    Pump();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_TRUE(KillTimer(wnd, 1));
    clock.Advance(1000);
    Pump();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_FALSE(KillTimer(wnd, 1));
}

TEST_F(MessageQueue, GetMessageSleepsOnTheClockUntilTheNextTimerAndReportsAnEmptyWorld) {
    platform::ManualClock clock(5000);
    platform::ScopedClock scoped(clock);
    MSG m;
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), -1); // nothing could ever arrive
    SetTimer(wnd, 2, 250, nullptr);
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), 1);
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(clock.NowMs(), 5250u);
    PostQuitMessage(0);
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), 0);
}

TEST_F(MessageQueue, SendCallsAtOnceAndMessagesOfADestroyedWindowAreDropped) {
    SendMessageW(wnd, WM_USER + 5, 0, 0);
    EXPECT_EQ(log, std::vector<UINT>{WM_USER + 5});
    PostMessageW(wnd, WM_USER + 6, 0, 0);
    EXPECT_EQ(platform::PostedMessageCount(), 1);
    DestroyWindow(wnd);
    EXPECT_EQ(platform::PostedMessageCount(), 0);
    EXPECT_FALSE(PostMessageW(wnd, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(wnd, WM_USER, 0, 0), 0);
    wnd = nullptr;
}

} // namespace

#include "platform/system/termination_request.h"

#include "platform/system/clock.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

int g_closes = 0;

LRESULT CountCloses(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        ++g_closes;
        return 0; // kept open, as when the operator declines
    }
    return DefWindowProcW(h, msg, wp, lp);
}

struct TerminationRequestTest : ::testing::Test {
    HWND main = nullptr;
    void SetUp() override {
        platform::ResetMessageQueue();
        static bool registered = [] {
            WNDCLASSW cls{};
            cls.lpfnWndProc = CountCloses;
            cls.lpszClassName = L"TerminationMain";
            return RegisterClassW(&cls);
        }();
        (void)registered;
        g_closes = 0;
        main = CreateWindowExW(0, L"TerminationMain", L"", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(main, nullptr);
    }
    void TearDown() override {
        DestroyWindow(main);
        platform::ResetMessageQueue();
    }
    // Runs the loop until the queue has nothing more; a timer keeps GetMessage waiting.
    void Pump() {
        platform::ManualClock clock(1000);
        platform::ScopedClock scoped(clock);
        UINT_PTR timer = SetTimer(nullptr, 0, 50, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER)
            DispatchMessageW(&msg);
        KillTimer(nullptr, timer);
    }
};

TEST_F(TerminationRequestTest, SignalsCloseTheMainWindowOnceAndLeaveTheProcessAlive) {
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        g_closes = 0;
        platform::TerminationRequest request([this] { return main; });
        ASSERT_GE(platform::TerminationWakeFd(), 0);
        ASSERT_EQ(raise(sig), 0);
        ASSERT_EQ(raise(sig), 0); // a second one before the first is handled
        Pump();
        EXPECT_EQ(g_closes, 1);
        EXPECT_TRUE(IsWindow(main));
        // Handled once, a later request closes again.
        ASSERT_EQ(raise(sig), 0);
        Pump();
        EXPECT_EQ(g_closes, 2);
    }
}

TEST_F(TerminationRequestTest, RequestEndsALongWaitForATimer) {
    platform::TerminationRequest request([this] { return main; });
    // Far beyond the test's time limit: only the request can end this wait.
    UINT_PTR timer = SetTimer(nullptr, 0, 3600 * 1000, nullptr);
    std::thread sender([] { raise(SIGTERM); });
    MSG msg{};
    EXPECT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
    sender.join();
    EXPECT_EQ(msg.message, UINT(WM_CLOSE));
    EXPECT_EQ(msg.hwnd, main);
    KillTimer(nullptr, timer);
}

TEST_F(TerminationRequestTest, RequestWithoutMainWindowWaitsForOne) {
    HWND target = nullptr;
    platform::TerminationRequest request([&target] { return target; });
    ASSERT_EQ(raise(SIGTERM), 0);
    Pump();
    EXPECT_EQ(g_closes, 0);
    target = main;
    Pump();
    EXPECT_EQ(g_closes, 1);
}

TEST_F(TerminationRequestTest, UninstallingGivesTheSignalsTheirDefaultBack) {
    {
        platform::TerminationRequest request([this] { return main; });
    }
    EXPECT_EQ(platform::TerminationWakeFd(), -1);
    for (int sig : {SIGTERM, SIGINT}) {
        struct sigaction now {};
        sigaction(sig, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << sig;
    }
    EXPECT_EXIT(raise(SIGTERM), ::testing::KilledBySignal(SIGTERM), "");
}

} // namespace

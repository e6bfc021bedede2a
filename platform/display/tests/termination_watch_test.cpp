#include "platform/display/termination_watch.h"

#include "display_fixture.h"
#include "platform/system/termination_request.h"

#include <QCoreApplication>

#include <csignal>

namespace {

using TerminationWatchTest = DisplayTest;

TEST_F(TerminationWatchTest, ARequestWakesTheDisplaysWaitAndClosesTheWindow) {
    HWND frame = MakeWindow(100, 100);
    Pump();
    platform::TerminationRequest request([frame] { return frame; });
    platform::display::WatchTerminationRequests();
    const int before = platform::PostedMessageCount();
    ASSERT_EQ(raise(SIGTERM), 0);
    // Only the pipe can end this wait: nothing else is due.
    while (platform::PostedMessageCount() == before)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, frame, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, frame);
}

} // namespace

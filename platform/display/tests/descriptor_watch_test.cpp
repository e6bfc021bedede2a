#include "platform/display/descriptor_watch.h"

#include "display_fixture.h"

#include <QCoreApplication>

#include <unistd.h>

namespace {

using DescriptorWatchTest = DisplayTest;

constexpr UINT kReadable = WM_APP + 7;

// The loop sleeps on the descriptor: something to read wakes it and posts one message per wait;
// a dropped watch posts nothing more.
TEST_F(DescriptorWatchTest, SomethingToReadWakesTheWaitAndPostsTheMessageOncePerWait) {
    HWND frame = MakeWindow(100, 100);
    Pump();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_TRUE(platform::WatchDescriptor(fds[0], frame, kReadable));
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    // Only the descriptor can end this wait: nothing else is due.
    const int before = platform::PostedMessageCount();
    while (platform::PostedMessageCount() == before)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    // Unread, it stays quiet until the loop waits again.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    EXPECT_EQ(platform::PostedMessageCount(), before + 1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, frame, kReadable, kReadable, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, frame);

    char byte = 0;
    ASSERT_EQ(::read(fds[0], &byte, 1), 1);
    // Looking at the queue is a wait of its own: what it posted before the read goes too.
    while (PeekMessageW(&msg, frame, kReadable, kReadable, PM_REMOVE)) {
    }
    platform::UnwatchDescriptor(fds[0]);
    ASSERT_EQ(::write(fds[1], "y", 1), 1);
    platform::display::RearmDescriptorWatches();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    EXPECT_FALSE(PeekMessageW(&msg, frame, kReadable, kReadable, PM_REMOVE));
    ::close(fds[0]);
    ::close(fds[1]);
}

} // namespace

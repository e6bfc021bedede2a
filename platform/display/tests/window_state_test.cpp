// A maximised window fills its screen's free area with its menu bar on the screen; a minimised
// one is minimised; the model's monitors are the screens.
#include "platform/display/window_state.h"

#include "display_fixture.h"
#include "platform/display/frame_menu_bar.h"
#include "platform/windowing/icon.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/system_metrics.h"
#include "platform/windowing/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

using WindowStateTest = DisplayTest;

TEST_F(WindowStateTest, AMaximisedFrameShowsItsMenuBarOnTheScreenAndRestoresToItsPlace) {
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), QGuiApplication::primaryScreen()->geometry().width());
    HWND frame = MakeWindow(300, 200, WS_OVERLAPPEDWINDOW);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 9901, L"&File");
    SetMenu(frame, bar);
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    Pump();
    QWidget* w = Widget(frame);
    auto* menuBar = w->findChild<platform::display::FrameMenuBar*>();
    ASSERT_NE(menuBar, nullptr);
    // The platform may keep a window frame inside the free area; the bar is on the screen and
    // the client area below it.
    const QRect g = w->geometry();
    EXPECT_TRUE(free.contains(w->frameGeometry())) << g.x() << "," << g.y();
    EXPECT_GE(g.width(), free.width() - 8);
    EXPECT_GE(g.height(), free.height() - 8);
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.top, g.y() + menuBar->height());
    EXPECT_EQ(r.bottom, g.y() + g.height());
    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);

    ShowWindow(frame, SW_RESTORE);
    Pump();
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_FALSE(w->windowState() & Qt::WindowMaximized);

    ShowWindow(frame, SW_SHOWMINIMIZED);
    Pump();
    EXPECT_TRUE(IsIconic(frame));
    EXPECT_TRUE(w->windowState() & Qt::WindowMinimized);
}

} // namespace

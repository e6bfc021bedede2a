#include "platform/display/control_actions.h"

#include "display_fixture.h"
#include "platform/windowing/slider_control.h"
#include "platform/windowing/tool_bar_control.h"

namespace {

using ControlActionsTest = DisplayTest;

TEST_F(ControlActionsTest, ADraggedThumbAndAClickedButtonReachTheModelAsThePersonsActs) {
    HWND frame = MakeWindow(300, 100);
    HWND slider = CreateWindowExW(0, TRACKBAR_CLASS, L"", WS_CHILD | WS_VISIBLE, 10, 40, 260, 30,
                                  frame, reinterpret_cast<HMENU>(intptr_t(5)), nullptr, nullptr);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, 20);
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAME, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                               reinterpret_cast<HMENU>(intptr_t(6)), nullptr, nullptr);
    const TBBUTTON row[] = {{0, 71, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
                            {0, 72, TBSTATE_ENABLED | TBSTATE_HIDDEN, TBSTYLE_BUTTON, 0, 0}};
    SendMessageW(bar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(row));
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    Pump();
    Log().clear();
    for (int to : {15, 4, 20}) {
        ASSERT_TRUE(platform::display::DragSlider(slider, to));
        Pump();
        EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), to);
    }
    const auto scrolls = Received({WM_HSCROLL});
    ASSERT_FALSE(scrolls.empty());
    EXPECT_EQ(LOWORD(DWORD(scrolls.back().wp)), TB_ENDTRACK);
    EXPECT_TRUE(platform::display::ClickToolBarCtrlButton(bar, 0));
    EXPECT_FALSE(platform::display::ClickToolBarCtrlButton(bar, 1)); // hidden
    EXPECT_FALSE(platform::display::ClickToolBarCtrlButton(bar, 2));
    Pump();
    const auto commands = Received({WM_COMMAND});
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wp, MAKEWPARAM(71, BN_CLICKED));
    EXPECT_TRUE(platform::display::IsShownOnScreen(bar));
    ShowWindow(bar, SW_HIDE);
    Pump();
    EXPECT_FALSE(platform::display::IsShownOnScreen(bar));
    EXPECT_FALSE(platform::display::DragSlider(bar, 3));
    EXPECT_EQ(platform::display::ToolBarCtrlTip(slider, 0), L"");
}

} // namespace

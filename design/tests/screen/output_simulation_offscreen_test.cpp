// Through the Qt presenter, offscreen: the player's slider dragged and its buttons clicked as a
// person does step the playback; the show bar's buttons carry their tips; the item viewer's
// dialog hides and shows with its view's activation.
#include "design/show_items_tool.h"
#include "design/simulate_sort_dlg.h"
#include "design/simulate_sort_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "design/tools/show_items.h"
#include "platform/display/control_actions.h"
#include "platform/display/display.h"
#include "platform/windowing/dialog_template.h"

namespace {

using B = CShowBar;
namespace display = platform::display;

class OutputSimulationOffscreen : public OnDisplay<ToolHost> {
protected:
    static bool Press(CShowBar& bar, UINT command) {
        const bool pressed =
            display::ClickToolBarCtrlButton(bar.m_hWnd, bar.CommandToIndex(command));
        display::Flush();
        return pressed;
    }
    CArticle* Highlighted() {
        const auto s = Selection();
        return s.size() == 1 ? s[0].first : nullptr;
    }
};

TEST_F(OutputSimulationOffscreen, ThePlayersSliderAndButtonsStepThePlaybackAsThePersonWorksThem) {
    std::vector<CArticle*> arts;
    for (int i = 0; i < 5; ++i)
        if (CArticle* p = Path(CWindow(8000 + i * 17000, 10000, 20000 + i * 17000, 30000)))
            arts.push_back(p);
    if (arts.size() != 5)
        GTEST_SKIP() << "the curve library is not linked";
    page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 0);
    CSimulateSortDlg player(view);
    platform::ScopedDialogResponder respond([&](HWND, UINT) {
        display::Flush();
        for (int to : {3, 1, 4}) {
            ASSERT_TRUE(display::DragSlider(player.m_Slider.m_hWnd, to));
            display::Flush();
            ASSERT_NE(player.Tool(), nullptr);
            EXPECT_EQ(player.Tool()->GetPos(), to);
            EXPECT_EQ(Highlighted(), arts[size_t(to)]);
            EXPECT_EQ(player.GetPos(), to);
        }
        struct Step {
            UINT command;
            size_t at;
            const wchar_t* tip;
        } steps[] = {{B::ID_SHOW_START, 0, L"First"},
                     {B::ID_SHOW_NEXT, 1, L"Next"},
                     {B::ID_SHOW_END, 4, L"Last"},
                     {B::ID_SHOW_PREV, 3, L"Previous"}};
        for (const Step& s : steps) {
            const int index = player.m_ShowBar.CommandToIndex(s.command);
            EXPECT_EQ(display::ToolBarCtrlTip(player.m_ShowBar.m_hWnd, index), s.tip);
            ASSERT_TRUE(Press(player.m_ShowBar, s.command)) << s.command;
            EXPECT_EQ(Highlighted(), arts[s.at]) << s.command;
            EXPECT_EQ(player.GetPos(), int(s.at)) << s.command;
        }
        // The player's hidden buttons are not there to press.
        EXPECT_FALSE(Press(player.m_ShowBar, B::ID_SHOW_AUTO_PAN));
        EXPECT_FALSE(Press(player.m_ShowBar, B::ID_SHOW_LEAVE_ON));
        player.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_EQ(player.DoModal(), IDCANCEL);
    EXPECT_FALSE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSimulateSortTool)));
}

TEST_F(OutputSimulationOffscreen, TheViewersDialogFollowsItsViewsActivation) {
    CArticle* a = Box(CWindow(10000, 10000, 30000, 30000));
    Box(CWindow(40000, 10000, 60000, 30000));
    page->AddObjectSelection(a, 1, 1);
    auto* viewer = new CShowItemsTool(L"Items", RUNTIME_CLASS(CArticle));
    view->SelectDesignTool(viewer, 1);
    Pump();
    view->OnActivateView(TRUE, view, nullptr);
    display::Flush();
    ASSERT_NE(viewer->Dialog(), nullptr);
    const HWND dialog = viewer->Dialog()->m_hWnd;
    CShowBar& bar = viewer->Dialog()->m_ShowBar;
    EXPECT_TRUE(display::IsShownOnScreen(dialog));
    EXPECT_EQ(display::ToolBarCtrlTip(bar.m_hWnd, bar.CommandToIndex(B::ID_SHOW_LEAVE_ON)),
              L"Leave shown items on");
    ASSERT_TRUE(Press(bar, B::ID_SHOW_LEAVE_ON));
    EXPECT_EQ(viewer->LeaveOn(), 1);
    EXPECT_TRUE(bar.IsButtonChecked(B::ID_SHOW_LEAVE_ON));
    view->OnActivateView(FALSE, nullptr, view);
    display::Flush();
    EXPECT_FALSE(display::IsShownOnScreen(dialog));
    view->OnActivateView(TRUE, view, nullptr);
    display::Flush();
    EXPECT_TRUE(display::IsShownOnScreen(dialog));
}

} // namespace

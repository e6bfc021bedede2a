// Under Xvfb, for a person to look at: the output-simulation player over a design with the
// current path highlighted and its red start dot; the item viewer with one item on show; and a
// show-length line with the large cross-hair and its read-out in the status bar.
#include "design/show_items_tool.h"
#include "design/simulate_sort_dlg.h"
#include "design/simulate_sort_tool.h"
#include "design/sub_tool.h"
#include "design/tests/screen/display_host.h"
#include "design/tests/tool_fixture.h"
#include "design/tools/show_items.h"
#include "platform/display/display.h"
#include "platform/windowing/dialog_template.h"
#include "qvutils/qv_utils.h"

namespace {

namespace display = platform::display;

class OutputSimulationScreen : public OnDisplay<ToolHost> {
protected:
    void SetUp() override {
        OnDisplay<ToolHost>::SetUp();
        for (int i = 0; i < 8; ++i) {
            const LONG x = 8000 + (i % 4) * 22000, y = 12000 + (i / 4) * 40000;
            if (!Path(CWindow(x, y, x + 15000, y + 25000)))
                GTEST_SKIP() << "the curve library is not linked";
        }
        page->RootArticle()->InvExtents(1);
        view->OnActivateView(TRUE, view, nullptr);
        ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
        Paint();
        display::Flush();
    }
    void Save(HWND h, const char* name) {
        display::Flush();
        EXPECT_TRUE(display::SaveScreenshot(h, std::string(TEST_BINARY_DIR "/") + name));
    }
};

TEST_F(OutputSimulationScreen, ThePlayerOnTheThirdPathWithItsRedDot) {
    page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 0);
    CSimulateSortDlg player(view);
    player.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    platform::ScopedDialogResponder respond([&](HWND dialog, UINT) {
        ASSERT_TRUE(platform::ScrollSlider(player.m_Slider.m_hWnd, TB_THUMBPOSITION, 2));
        ASSERT_NE(player.Tool(), nullptr);
        EXPECT_EQ(player.Tool()->GetPos(), 2);
        Save(m_frame->GetSafeHwnd(), "output_simulation_design.png");
        Save(dialog, "output_simulation_player.png");
        player.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(player.DoModal(), IDOK);
}

TEST_F(OutputSimulationScreen, TheItemViewerWithOneItemOnShow) {
    auto* viewer = new CShowItemsTool(L"Item viewer", RUNTIME_CLASS(CArticle));
    view->SelectDesignTool(viewer, 1);
    Pump();
    ASSERT_NE(viewer->Dialog(), nullptr);
    viewer->OnShowNext(view);
    viewer->OnShowNext(view);
    viewer->Dialog()->SetPos(viewer->Position());
    Paint();
    Save(m_frame->GetSafeHwnd(), "item_viewer_design.png");
    Save(viewer->Dialog()->m_hWnd, "item_viewer.png");
}

TEST_F(OutputSimulationScreen, AShowLengthLineWithTheLargeCrossHairAndItsReadOut) {
    QvSetUseLargeCrossHair(1);
    Command(CDesignView::ID_SHOW_LENGTH);
    Pump();
    ASSERT_NE(page->GetSubTool(), nullptr);
    const CPoint from = Inside(), to = Inside() + CSize(160, -90);
    ASSERT_TRUE(display::SendMouse(view->m_hWnd, WM_MOUSEMOVE, from.x, from.y));
    display::SendMouse(view->m_hWnd, WM_LBUTTONDOWN, from.x, from.y);
    display::SendMouse(view->m_hWnd, WM_LBUTTONUP, from.x, from.y);
    for (int i = 1; i <= 4; ++i) {
        const CPoint p = from + CSize((to.x - from.x) * i / 4, (to.y - from.y) * i / 4);
        display::SendMouse(view->m_hWnd, WM_MOUSEMOVE, p.x, p.y);
    }
    Pump();
    EXPECT_TRUE(Pane(1).Find(L"Length: ") == 0) << Pane(1).GetString();
    Save(m_frame->GetSafeHwnd(), "show_length.png");
}

} // namespace

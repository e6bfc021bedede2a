#include "design/simulate_sort_dlg.h"

#include "design/select_tool.h"
#include "design/simulate_sort_tool.h"
#include "design/tests/tool_fixture.h"
#include "platform/windowing/dialog_template.h"

#include <functional>
#include <vector>

namespace {

using B = CShowBar;

class SimulateSortDlgTest : public ToolHost {
protected:
    // Paths left to right, sorted in design order; false when the curve library is not linked
    // (the test is then skipped).
    bool Sort(int paths) {
        for (int i = 0; i < paths; ++i)
            if (CArticle* p = Path(CWindow(10000 + i * 20000, 10000, 25000 + i * 20000, 30000)))
                arts.push_back(p);
        if (int(arts.size()) != paths)
            return false;
        page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 0);
        return true;
    }
    // Runs the player modally; act steps it while it is open.
    INT_PTR Run(const std::function<void(CSimulateSortDlg&)>& act) {
        CSimulateSortDlg player(view);
        EXPECT_EQ(page->GetDesignTool()->GetRuntimeClass(), RUNTIME_CLASS(CSimulateSortTool));
        platform::ScopedDialogResponder respond([&](HWND, UINT id) {
            EXPECT_EQ(id, B::IDD_SHOW);
            act(player);
        });
        return player.DoModal();
    }
    void Click(CSimulateSortDlg& p, UINT id) {
        p.SendMessage(WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED),
                      reinterpret_cast<LPARAM>(p.m_ShowBar.m_hWnd));
    }
    void Scroll(CSimulateSortDlg& p, UINT code, int pos) {
        p.SendMessage(WM_HSCROLL, MAKEWPARAM(WORD(code), WORD(pos)),
                      reinterpret_cast<LPARAM>(p.m_Slider.m_hWnd));
    }
    CArticle* Highlighted() {
        const auto s = Selection();
        return s.size() == 1 ? s[0].first : nullptr;
    }

    std::vector<CArticle*> arts;
};

TEST_F(SimulateSortDlgTest, TheButtonsAndTheSliderStepThePlaybackAndTheSliderFollows) {
    if (!Sort(4))
        GTEST_SKIP() << "the curve library is not linked";
    const INT_PTR result = Run([&](CSimulateSortDlg& p) {
        ASSERT_NE(p.Tool(), nullptr);
        EXPECT_EQ(p.GetRange(), 3);
        EXPECT_EQ(p.GetPos(), 0);
        EXPECT_EQ(Highlighted(), arts[0]);
        EXPECT_TRUE(p.m_ShowBar.IsButtonHidden(B::ID_SHOW_AUTO_PAN));
        EXPECT_TRUE(p.m_ShowBar.IsButtonHidden(B::ID_SHOW_LEAVE_ON));
        for (int id : {B::IDC_SHOW_ALL, B::IDC_SHOW_CLEAR, B::IDC_SHOW_HIDE, B::IDC_SHOW_DEL})
            EXPECT_FALSE(p.GetDlgItem(id)->IsWindowVisible()) << id;
        EXPECT_TRUE(p.GetDlgItem(IDOK)->IsWindowVisible());
        struct Step {
            UINT command;
            int pos;
        } steps[] = {{B::ID_SHOW_NEXT, 1}, {B::ID_SHOW_END, 3},   {B::ID_SHOW_NEXT, 3},
                     {B::ID_SHOW_PREV, 2}, {B::ID_SHOW_START, 0}, {B::ID_SHOW_PREV, 0}};
        for (const Step& s : steps) {
            Click(p, s.command);
            EXPECT_EQ(p.GetPos(), s.pos) << s.command;
            EXPECT_EQ(Highlighted(), arts[size_t(s.pos)]) << s.command;
        }
        // The slider as the person moves it; the thumb codes carry the position.
        struct Move {
            UINT code;
            int given, pos;
        } moves[] = {{TB_THUMBTRACK, 2, 2}, {TB_THUMBPOSITION, 1, 1}, {TB_ENDTRACK, 0, 1},
                     {TB_LINEDOWN, 0, 2},   {TB_BOTTOM, 0, 3},        {TB_TOP, 0, 0}};
        for (const Move& m : moves) {
            ASSERT_TRUE(platform::ScrollSlider(p.m_Slider.m_hWnd, m.code, m.given)) << m.code;
            EXPECT_EQ(p.GetPos(), m.pos) << m.code;
            EXPECT_EQ(Highlighted(), arts[size_t(m.pos)]) << m.code;
        }
        // A position the playback refuses puts the slider back where the playback is.
        p.m_Slider.SetRange(0, 100);
        Scroll(p, TB_THUMBPOSITION, 40);
        EXPECT_EQ(p.GetPos(), 0);
        Scroll(p, 9, 0); // no slider code: nothing
        EXPECT_EQ(p.GetPos(), 0);
        // Past 65535 the message's word would wrap (65537 to 1): the slider's own position counts.
        p.m_Slider.SetRange(0, 70000);
        ASSERT_TRUE(platform::ScrollSlider(p.m_Slider.m_hWnd, TB_THUMBPOSITION, 65537));
        EXPECT_EQ(p.Tool()->GetPos(), 0);
        EXPECT_EQ(p.GetPos(), 0);
        p.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(result, IDOK);
    // OK ended the playback: the default tool is back and nothing stays highlighted.
    EXPECT_TRUE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSelectTool)));
    EXPECT_FALSE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSimulateSortTool)));
    EXPECT_TRUE(Selection().empty());
}

TEST_F(SimulateSortDlgTest, NothingSortedGivesAnEmptySliderAndCancelEnds) {
    page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 0);
    const INT_PTR result = Run([&](CSimulateSortDlg& p) {
        EXPECT_EQ(p.GetRange(), -1);
        EXPECT_EQ(p.GetPos(), 0);
        for (UINT id : {B::ID_SHOW_NEXT, B::ID_SHOW_END, B::ID_SHOW_PREV})
            Click(p, id);
        ASSERT_TRUE(platform::ScrollSlider(p.m_Slider.m_hWnd, TB_THUMBTRACK, 0));
        EXPECT_EQ(p.GetPos(), 0);
        EXPECT_TRUE(Selection().empty());
        p.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSimulateSortTool)));
}

// Whatever replaced the playback tool while the player is open, the player no longer reaches it.
TEST_F(SimulateSortDlgTest, APlayerWhoseToolWasReplacedDoesNothing) {
    if (!Sort(2))
        GTEST_SKIP() << "the curve library is not linked";
    Run([&](CSimulateSortDlg& p) {
        ASSERT_NE(p.Tool(), nullptr);
        Command(CDesignView::ID_SELECT_TOOL);
        Pump();
        EXPECT_EQ(p.Tool(), nullptr);
        Click(p, B::ID_SHOW_NEXT);
        Scroll(p, TB_THUMBPOSITION, 1);
        EXPECT_EQ(p.GetPos(), 0);
        p.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_TRUE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSelectTool)));
}

} // namespace

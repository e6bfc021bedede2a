#include "design/tools/show_items.h"

#include "design/select_tool.h"
#include "design/show_items_tool.h"
#include "design/tests/tool_fixture.h"
#include "pivora/item.h"

#include <algorithm>
#include <vector>

namespace {

using B = CShowBar;

class ShowItemsTest : public ToolHost {
protected:
    void SetUp() override {
        ToolHost::SetUp();
        a = Box(CWindow(10000, 40000, 20000, 50000));
        g = Box(CWindow(30000, 40000, 45000, 55000));
        Box(CWindow(32000, 42000, 35000, 45000), g);
        c = Box(CWindow(60000, 40000, 70000, 50000));
    }
    void Open(CArticle* selected) {
        page->RemoveAllObjectSelection();
        if (selected)
            page->AddObjectSelection(selected, 1, 1);
        viewer = new CShowItemsTool(L"Boxes", RUNTIME_CLASS(CArticle));
        view->SelectDesignTool(viewer, 1);
        Pump();
        dlg = viewer->Dialog();
    }
    void Click(UINT id) {
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED),
                         reinterpret_cast<LPARAM>(dlg->m_ShowBar.m_hWnd));
    }
    CArticle* Current() {
        return viewer->CurrentItem() ? viewer->CurrentItem()->GetArticle() : nullptr;
    }
    static bool Hidden(CArticle* x) { return CShowItemsTool::IsHidden(x->GetItem()); }
    std::vector<bool> HiddenAll() { return {Hidden(a), Hidden(g), Hidden(c)}; }

    CArticle *a = nullptr, *g = nullptr, *c = nullptr;
    CShowItemsTool* viewer = nullptr;
    CShowItems* dlg = nullptr;
};

TEST_F(ShowItemsTest, OpeningShowsTheTitledDialogOverTheSelectionOnly) {
    QvSetAppParam(L"ShowItemsLeaveOn", 1);
    QvSetAppParam(L"ShowItemsAutoPan", 1);
    Open(g);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->IsWindowVisible());
    CString title;
    dlg->GetWindowText(title);
    EXPECT_EQ(title, CString(L"Boxes"));
    EXPECT_EQ(HiddenAll(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(dlg->GetRange(), 3);
    EXPECT_EQ(dlg->GetPos(), 2);
    EXPECT_TRUE(dlg->m_ShowBar.IsButtonChecked(B::ID_SHOW_LEAVE_ON));
    EXPECT_TRUE(dlg->m_ShowBar.IsButtonHidden(B::ID_SHOW_AUTO_PAN));
    // The stored choices hold: opening does not clear them.
    EXPECT_EQ(viewer->AutoPanOn(), 1);
    EXPECT_EQ(QvGetAppParam(L"ShowItemsAutoPan", 0), 1);
    for (int id : {B::IDC_SHOW_ALL, B::IDC_SHOW_CLEAR, B::IDC_SHOW_HIDE, B::IDC_SHOW_DEL, int(IDOK),
                   int(IDCANCEL)})
        EXPECT_FALSE(dlg->GetDlgItem(id)->IsWindowVisible()) << id;
}

TEST_F(ShowItemsTest, TheBarAndTheSliderStepTheViewerAndTheSliderFollows) {
    Open(a);
    struct Step {
        UINT command;
        CArticle* current;
        int pos;
    } steps[] = {{B::ID_SHOW_NEXT, g, 2},
                 {B::ID_SHOW_END, c, 3},
                 {B::ID_SHOW_PREV, g, 2},
                 {B::ID_SHOW_AUTO_PAN, g, 2},
                 {UINT(B::IDC_SHOW_DEL), g, 2}};
    for (const Step& s : steps) {
        Click(s.command);
        EXPECT_EQ(Current(), s.current) << s.command;
        EXPECT_EQ(dlg->GetPos(), s.pos) << s.command;
    }
    ASSERT_TRUE(platform::ScrollSlider(dlg->m_Slider.m_hWnd, TB_THUMBPOSITION, 1));
    EXPECT_EQ(Current(), a);
    EXPECT_EQ(dlg->GetPos(), 1);
    EXPECT_EQ(HiddenAll(), (std::vector<bool>{false, true, true}));
    Click(B::ID_SHOW_LEAVE_ON);
    EXPECT_EQ(viewer->LeaveOn(), 1);
    EXPECT_TRUE(dlg->m_ShowBar.IsButtonChecked(B::ID_SHOW_LEAVE_ON));
    Click(B::ID_SHOW_NEXT);
    EXPECT_EQ(HiddenAll(), (std::vector<bool>{false, false, true}));
    // Start empties the selection and hides everything again.
    Click(B::ID_SHOW_START);
    EXPECT_EQ(HiddenAll(), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(Selection().empty());
}

// Escape frees the tool and its dialog only after the dialog's own handler has returned.
TEST_F(ShowItemsTest, EscapeShowsEverythingAndLeavesThroughTheDefaultToolLater) {
    Open(a);
    Click(B::ID_SHOW_NEXT);
    dlg->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(HiddenAll(), (std::vector<bool>(3, false)));
    EXPECT_EQ(page->GetDesignTool(), viewer);
    EXPECT_FALSE(dlg->IsWindowVisible());
    Pump();
    EXPECT_TRUE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CSelectTool)));
    EXPECT_FALSE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CShowItemsTool)));
}

TEST_F(ShowItemsTest, TheDialogFollowsItsViewsActivation) {
    Open(a);
    viewer->OnActivate(view, FALSE, nullptr, view);
    EXPECT_FALSE(dlg->IsWindowVisible());
    viewer->OnActivate(view, TRUE, view, nullptr);
    EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(ShowItemsTest, HideHidesTheSelectedArticlesAndEmptiesTheSelection) {
    Open(nullptr);
    viewer->OnShowAll(view);
    page->AddObjectSelection(g, 1, 1);
    page->AddObjectSelection(c, 1, 1);
    viewer->OnShowHide(view);
    EXPECT_EQ(HiddenAll(), (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(viewer->CurrentItem(), nullptr);
}

TEST_F(ShowItemsTest, TheCountStartsAtTheFirstItemWithActiveData) {
    Open(nullptr);
    struct Case {
        std::vector<CArticle*> inactive;
        int count;
    } cases[] = {{{}, 3}, {{a}, 2}, {{g}, 3}, {{a, g}, 1}, {{a, g, c}, 0}};
    for (const Case& k : cases) {
        for (CArticle* x : {a, g, c})
            x->ClrProperty(CArticle::kNoActiveDataBit, true);
        for (CArticle* x : k.inactive)
            x->SetProperty(CArticle::kNoActiveDataBit, true);
        EXPECT_EQ(viewer->GetItemCount(view), k.count) << k.inactive.size();
    }
}

} // namespace

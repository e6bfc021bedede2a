// A design opened through the template of context 43 and looked at every way that must leave it
// unchanged: a framed zoom, a pan, a measured line, the output simulation played to the end and
// back, and the item viewer, in which two items are deleted; two undos bring the page back, and
// save, reopen, save gives the same bytes with nothing left hidden.
#include "design/show_items_tool.h"
#include "design/simulate_sort_dlg.h"
#include "design/simulate_sort_tool.h"
#include "design/tests/saved_design.h"
#include "design/tests/sub_tool_fixture.h"
#include "design/tools/show_items.h"
#include "design/tools/show_length_tool.h"
#include "pivora/item.h"
#include "platform/windowing/dialog_template.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using B = CShowBar;

class LookingWindowTest : public SubToolHost {
protected:
    std::vector<CArticle*> TopLevel() {
        std::vector<CArticle*> out;
        for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
            out.push_back(static_cast<CArticle*>(t));
        return out;
    }
    std::vector<std::vector<CLpoint>> Points() {
        std::vector<std::vector<CLpoint>> out;
        for (CArticle* a : TopLevel())
            out.push_back(PointsOf(a));
        return out;
    }
    int HiddenCount() {
        int n = 0;
        for (CArticle* a : TopLevel())
            n += CShowItemsTool::IsHidden(a->GetItem());
        return n;
    }
};

TEST_F(LookingWindowTest, ZoomPanMeasurePlayAndViewLeaveTheDesignAsItWas) {
    for (int i = 0; i < 6; ++i)
        if (!Path(CWindow(10000 + (i % 3) * 28000, 15000 + (i / 3) * 40000, 25000 + (i % 3) * 28000,
                          40000 + (i / 3) * 40000)))
            GTEST_SKIP() << "the curve library is not linked";
    page->Extents(CWindow(0, 0, 100000, 100000));
    const std::string first = m_box.Path("home/looked.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(first.c_str())));
    ASSERT_TRUE(Open(CString(first.c_str()), false));
    view->OnActivateView(TRUE, view, nullptr);
    const std::string opened = m_box.Path("home/opened.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(opened.c_str())));
    const auto before = Points();
    ASSERT_EQ(before.size(), 6u);

    // Zoom to a framed area, then pan, each sub tool ended by a right click.
    Command(CDesignView::ID_ZOOM_IN);
    Pump();
    const CWindow whole = Shown();
    Press(Middle() - CSize(120, 80));
    Mouse(WM_MOUSEMOVE, Middle() + CSize(40, 20), MK_LBUTTON);
    Release(Middle() + CSize(40, 20));
    Pump();
    EXPECT_LT(Width(Shown()), Width(whole) / 2);
    RightClick(Middle());
    Command(CDesignView::ID_PAN);
    Pump();
    const CWindow zoomed = Shown();
    Press(Middle());
    Mouse(WM_MOUSEMOVE, Middle() + CSize(60, 30), MK_LBUTTON);
    Release(Middle() + CSize(60, 30));
    Pump();
    EXPECT_NE(Shown(), zoomed);
    RightClick(Middle());
    view->Zoom(CWindow(0, 0, 100000, 100000));
    Pump();

    // A measured line: two clicks fix it and the read-out stays.
    Command(CDesignView::ID_SHOW_LENGTH);
    Pump();
    ASSERT_NE(Sub<CShowLengthTool>(), nullptr);
    Click(Middle());
    Mouse(WM_MOUSEMOVE, Middle() + CSize(100, 0), 0);
    Click(Middle() + CSize(100, 0));
    EXPECT_EQ(Pane(1).Find(L"Length: "), 0);
    RightClick(Middle());
    EXPECT_EQ(page->GetSubTool(), nullptr);

    // The simulation played to the end and back to the start.
    page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 1);
    {
        CSimulateSortDlg player(view);
        platform::ScopedDialogResponder respond([&](HWND, UINT) {
            ASSERT_NE(player.Tool(), nullptr);
            const int last = player.GetRange();
            EXPECT_EQ(last, 5);
            auto step = [&](UINT id) {
                player.SendMessage(WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED), 0);
            };
            for (int i = 0; i < last; ++i)
                step(B::ID_SHOW_NEXT);
            EXPECT_EQ(player.GetPos(), last);
            step(B::ID_SHOW_NEXT);
            EXPECT_EQ(player.GetPos(), last);
            for (int i = 0; i < last; ++i)
                step(B::ID_SHOW_PREV);
            EXPECT_EQ(player.GetPos(), 0);
            // Deletes and undos while it plays change nothing.
            Key(VK_DELETE);
            Command(CDesignView::ID_EDIT_UNDO);
            EXPECT_EQ(Points(), before);
            player.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        EXPECT_EQ(player.DoModal(), IDOK);
    }
    EXPECT_EQ(Points(), before);

    // The viewer: the first and second items deleted, then Escape.
    page->RemoveAllObjectSelection();
    auto* viewer = new CShowItemsTool(L"Items", RUNTIME_CLASS(CArticle));
    view->SelectDesignTool(viewer, 1);
    Pump();
    ASSERT_NE(viewer->Dialog(), nullptr);
    EXPECT_EQ(HiddenCount(), 6);
    viewer->Dialog()->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(B::ID_SHOW_NEXT), BN_CLICKED), 0);
    Key(VK_DELETE);
    Key(VK_DELETE);
    EXPECT_EQ(TopLevel().size(), 4u);
    EXPECT_EQ(viewer->Dialog()->GetRange(), 4);
    viewer->Dialog()->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_FALSE(page->GetDesignTool()->IsKindOf(RUNTIME_CLASS(CShowItemsTool)));
    EXPECT_EQ(HiddenCount(), 0);

    Command(CDesignView::ID_EDIT_UNDO);
    Command(CDesignView::ID_EDIT_UNDO);
    EXPECT_EQ(Points(), before);
    EXPECT_EQ(HiddenCount(), 0);

    const std::string second = m_box.Path("home/second.KDX");
    const std::string third = m_box.Path("home/third.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(second.c_str())));
    ASSERT_TRUE(Open(CString(second.c_str()), false));
    EXPECT_EQ(HiddenCount(), 0);
    ASSERT_TRUE(page->OnSaveDocument(CString(third.c_str())));
    EXPECT_EQ(DesignBytes(second), DesignBytes(third));
    // And the same as the design saved right after it was opened.
    EXPECT_EQ(DesignBytes(opened), DesignBytes(second));
}

} // namespace

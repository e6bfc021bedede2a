// The undo and redo drop-downs in a whole design window: five named moves listed newest first,
// the third picked undoes three, the redo list then holds three, and what is saved equals the
// design saved after the first two moves. A design window closed under an open list gets no
// commands.
#include "design/tests/saved_design.h"
#include "design/tests/tool_fixture.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/select.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/resources.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/toolbar_registry.h"
#include "toolbars/undo_button.h"
#include "toolbars/undo_menu.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kEditSlot = 5;
constexpr UINT kEditBar = 9700, kFirstMove = 9701;

class UndoDropDownWindowTest : public ToolHost {
protected:
    void SetUp() override {
        ToolHost::SetUp();
        platform::RegisterToolBarTemplate({kEditBar, 16, 15, {57643, 57644}});
        platform::RegisterStrings({{kFirstMove, L"Move left"},
                                   {kFirstMove + 1, L"Move up"},
                                   {kFirstMove + 2, L"Move right"},
                                   {kFirstMove + 3, L"Move down"},
                                   {kFirstMove + 4, L"Move back"}});
    }
    // One named step moving the selection by dx, dy.
    void Move(int step, double dx, double dy) {
        page->StartUndoTransaction(int(kFirstMove) + step);
        for (POSITION pos = page->GetFirstObjectSelection(nullptr); pos;) {
            CArticle* a = page->GetNextObjectSelection(pos, nullptr)->Article();
            CMat2d m(CDpoint(dx, dy));
            page->AddMoveUndo(a, m, 0, 1);
            a->DoTransform(m, 1);
        }
        page->SetModifiedFlag(TRUE);
    }
    // Opens the drop-down of the undo or redo button; its entries.
    std::vector<CString> Open(BOOL redo) {
        CCustomToolBar* bar = QvGetToolBar(kEditSlot, 0);
        EXPECT_TRUE(bar && bar->DropDown(bar->CommandToIndex(redo ? 57644u : 57643u)));
        menu = dynamic_cast<CUndoMenu*>(CMFCPopupMenu::GetActiveMenu());
        std::vector<CString> shown;
        if (!menu)
            return shown;
        CUndoListBox& list = menu->GetUndoBar().GetList();
        for (int i = 0; i < list.GetCount(); ++i) {
            CString text;
            list.GetText(i, text);
            shown.push_back(text);
        }
        return shown;
    }
    using ToolHost::Open;
    // The window is switched away from and back to, as the person does.
    void Activate() {
        m_frame->SetActiveView(view, FALSE);
        view->OnActivateView(FALSE, nullptr, view);
        view->OnActivateView(TRUE, view, nullptr);
    }

    CUndoMenu* menu = nullptr;
};

TEST_F(UndoDropDownWindowTest, FiveNamedMovesThreeUndoneFromTheListThenSaved) {
    if (!Path(CWindow(30000, 30000, 50000, 40000)))
        GTEST_SKIP() << "the curve library is not linked";
    page->Extents(CWindow(0, 0, 100000, 100000));
    const std::string first = m_box.Path("home/first.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(first.c_str())));
    ASSERT_TRUE(ToolHost::Open(CString(first.c_str()), false));
    // A toolbar of the window with the undo and redo drop-downs.
    CCustomToolBar* bar = QvCreateToolbar(kEditSlot, kEditBar, view->ContextToolbarMask());
    ASSERT_NE(bar, nullptr);
    bar->ReplaceButton(57643, CUndoButton(57643, FALSE));
    bar->ReplaceButton(57644, CUndoButton(57644, TRUE));
    QvPlaceToolbar(kEditSlot, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    Activate();

    Command(CSelectTool::ID_SELECT_ALL);
    const double steps[5][2] = {{-1000, 0}, {0, 1000}, {1000, 0}, {0, -1000}, {-2000, 0}};
    const std::string afterTwo = m_box.Path("home/two.KDX");
    for (int i = 0; i < 5; ++i) {
        Move(i, steps[i][0], steps[i][1]);
        if (i == 1) {
            ASSERT_TRUE(page->OnSaveDocument(CString(afterTwo.c_str())));
        }
    }
    EXPECT_EQ(Open(FALSE), (std::vector<CString>{L"Move back", L"Move down", L"Move right",
                                                 L"Move up", L"Move left"}));
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(platform::ChooseListItem(menu->GetUndoBar().GetList().m_hWnd, 2));
    Pump();
    EXPECT_EQ(Open(TRUE), (std::vector<CString>{L"Move right", L"Move down", L"Move back"}));
    ASSERT_NE(menu, nullptr);
    menu->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    Pump();

    const std::string saved = m_box.Path("home/three_undone.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(saved.c_str())));
    EXPECT_EQ(DesignBytes(saved), DesignBytes(afterTwo));
    EXPECT_NE(DesignBytes(saved), DesignBytes(first)) << "the two moves are in it";
}

TEST_F(UndoDropDownWindowTest, ADesignWindowClosedUnderAnOpenListGetsNothing) {
    ASSERT_NE(Box(CWindow(10000, 10000, 20000, 20000)), nullptr);
    CCustomToolBar* bar = QvCreateToolbar(kEditSlot, kEditBar, view->ContextToolbarMask());
    ASSERT_NE(bar, nullptr);
    bar->ReplaceButton(57643, CUndoButton(57643, FALSE));
    Activate();
    Command(CSelectTool::ID_SELECT_ALL);
    Move(0, 1000, 0);
    Move(1, 1000, 0);
    ASSERT_EQ(Open(FALSE).size(), 2u);
    const HWND list = menu->GetUndoBar().GetList().m_hWnd;
    CWnd* child = view->GetParent();
    m_frame->SetActiveView(nullptr, FALSE);
    child->DestroyWindow(); // the design window goes with the list open
    view = nullptr;
    page = nullptr;
    EXPECT_EQ(menu->GetUndoBar().GetView(), nullptr);
    ASSERT_TRUE(platform::ChooseListItem(list, 1)); // closes the list, sends nothing
    Pump();
    EXPECT_EQ(CMFCPopupMenu::GetActiveMenu(), nullptr);
}

} // namespace

// The undo and redo buttons on a toolbar: the arrow opens the list in a popup, the list's
// choice reaches the design view as commands, and the popup goes away cleanly.
#include "toolbars/undo_button.h"

#include "platform/framework/command_manager.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/reserved_commands.h"
#include "toolbars/undo_menu.h"
#include "undo_fixture.h"

#include <gtest/gtest.h>

namespace {

class UndoButtonTest : public UndoTest {
protected:
    void SetUp() override {
        UndoTest::SetUp();
        toolbar = std::make_unique<CMFCToolBar>();
        ASSERT_TRUE(toolbar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 60036));
        toolbar->InsertButton(CMFCToolBarButton(CUndoBar::ID_EDIT_UNDO));
        toolbar->InsertButton(CMFCToolBarButton(CUndoBar::ID_EDIT_REDO));
        toolbar->ReplaceButton(CUndoBar::ID_EDIT_UNDO, CUndoButton(CUndoBar::ID_EDIT_UNDO, FALSE));
        toolbar->ReplaceButton(CUndoBar::ID_EDIT_REDO, CUndoButton(CUndoBar::ID_EDIT_REDO, TRUE));
    }
    void TearDown() override {
        toolbar.reset();
        UndoTest::TearDown();
    }
    CUndoButton* Button(int i) { return dynamic_cast<CUndoButton*>(toolbar->GetButton(i)); }
    CUndoMenu* Open(int names, int button = 0) {
        SetNames(names);
        if (!toolbar->DropDown(button))
            return nullptr;
        return dynamic_cast<CUndoMenu*>(Button(button)->GetPopupMenu());
    }
    void Pump() {
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE) && m.message != WM_COMMAND) {
            ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);
            ::DispatchMessageW(&m);
        }
    }

    std::unique_ptr<CMFCToolBar> toolbar;
};

TEST_F(UndoButtonTest, CopiesKeepTheRedoFlagAndTheArrow) {
    ASSERT_NE(Button(0), nullptr);
    ASSERT_NE(Button(1), nullptr);
    EXPECT_FALSE(Button(0)->IsRedo());
    EXPECT_TRUE(Button(1)->IsRedo());
    EXPECT_TRUE(Button(1)->IsExclusive());
    EXPECT_TRUE(Button(1)->IsEmptyMenuAllowed());
    Button(1)->OnChangeParentWnd(frame); // off the toolbar
    EXPECT_TRUE(Button(1)->m_bDrawDownArrow);
    GetCmdMgr()->SetCmdImage(CUndoBar::ID_EDIT_UNDO, 7);
    EXPECT_EQ(CUndoButton(CUndoBar::ID_EDIT_UNDO, FALSE).GetImage(), 7) << "the command's image";
    GetCmdMgr()->ClearCmdImage(CUndoBar::ID_EDIT_UNDO);
}

TEST_F(UndoButtonTest, ReservedAndNonPermittedCommandsAreNotStored) {
    CMFCToolBar::SetNonPermittedCommands({40100});
    const struct {
        UINT id;
        BOOL stored;
    } cases[] = {{CUndoBar::ID_EDIT_UNDO, TRUE},
                 {ID_FILE_MRU_FIRST, FALSE},
                 {ID_FILE_MRU_LAST, FALSE},
                 {ID_FILE_MRU_LAST + 1, TRUE},
                 {SC_COMMAND_FIRST, FALSE},
                 {SC_COMMAND_LAST, FALSE},
                 {ID_WINDOW_LIST_FIRST, FALSE},
                 {ID_WINDOW_MORE, FALSE},
                 {AFX_IDM_FIRST_MDICHILD, FALSE},
                 {0xFFFF, FALSE},
                 {40100, FALSE},
                 {40101, TRUE}};
    for (const auto& c : cases)
        EXPECT_EQ(CUndoButton(c.id, FALSE).CanBeStored(), c.stored) << c.id;
    CMFCToolBar::SetNonPermittedCommands({});
}

TEST_F(UndoButtonTest, NoListWhileCustomisingOrDisabled) {
    CMFCToolBar::SetCustomizeMode(TRUE);
    EXPECT_EQ(Open(5), nullptr);
    CMFCToolBar::SetCustomizeMode(FALSE);
    toolbar->SetButtonStyle(0, TBBS_DISABLED);
    EXPECT_EQ(Open(5), nullptr);
    toolbar->SetButtonStyle(0, TBBS_BUTTON);
    EXPECT_NE(Open(5), nullptr);
}

TEST_F(UndoButtonTest, PickingTheFifthUndoesFiveAndCloses) {
    CUndoMenu* menu = Open(30);
    ASSERT_NE(menu, nullptr);
    CUndoListBox& list = menu->GetUndoBar().GetList();
    EXPECT_EQ(list.GetCount(), 30);
    CRect popup, inside;
    menu->GetWindowRect(&popup);
    menu->GetUndoBar().GetWindowRect(&inside);
    EXPECT_EQ(popup.Size(), inside.Size());
    const int h = list.GetItemHeight();
    const LPARAM fifth = MAKELPARAM(5, 4 * h + h / 2);
    list.SendMessage(WM_MOUSEMOVE, 0, fifth);
    EXPECT_EQ(menu->GetUndoBar().GetLabel(), CString(L"Undo 5 Action(s)"));
    list.SendMessage(WM_LBUTTONDOWN, 0, fifth);
    list.SendMessage(WM_LBUTTONUP, 0, fifth);
    Pump();
    EXPECT_FALSE(Button(0)->IsDroppedDown());
    EXPECT_EQ(TakeCommands(view->m_hWnd), std::vector<UINT>(5, CUndoBar::ID_EDIT_UNDO));
}

TEST_F(UndoButtonTest, KeysOnThePopupReachTheList) {
    CUndoMenu* menu = Open(30, 1);
    ASSERT_NE(menu, nullptr);
    menu->SendMessage(WM_KEYDOWN, VK_END);
    EXPECT_EQ(menu->GetUndoBar().GetList().GetSelCount(), 30);
    EXPECT_EQ(menu->GetUndoBar().GetLabel(), CString(L"Redo 30 Action(s)"));
    menu->SendMessage(WM_KEYDOWN, VK_HOME);
    menu->SendMessage(WM_KEYDOWN, VK_NEXT);
    EXPECT_GT(menu->GetUndoBar().GetList().GetSelCount(), 1);
    menu->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    Pump();
    EXPECT_FALSE(Button(1)->IsDroppedDown());
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(UndoButtonTest, OpeningRedoClosesUndo) {
    ASSERT_NE(Open(3, 0), nullptr);
    ASSERT_NE(Open(3, 1), nullptr);
    EXPECT_FALSE(Button(0)->IsDroppedDown());
    EXPECT_TRUE(Button(1)->IsDroppedDown());
}

TEST_F(UndoButtonTest, ClosingTheDesignWindowOrTheToolbarWithTheListOpen) {
    CUndoMenu* menu = Open(6);
    ASSERT_NE(menu, nullptr);
    frame->SetActiveView(nullptr, FALSE);
    view->DestroyWindow();
    menu->SendMessage(WM_KEYDOWN, VK_RETURN);
    Pump();
    EXPECT_TRUE(TakeCommands().empty());
    ASSERT_NE(Open(6), nullptr);
    HWND popup = Button(0)->GetPopupMenu()->m_hWnd;
    toolbar.reset();
    EXPECT_FALSE(::IsWindow(popup));
}

} // namespace

#include "toolbars/jox_toolbar_frame_wnd.h"

#include "platform/framework/cmd_ui.h"
#include "platform/windowing/menu.h"
#include "toolbar_frame_fixture.h"
#include "toolbars/toolbar_registry.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kAll = CCustomToolBar::kAllContexts;

CString ItemText(HMENU menu, int pos) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, UINT(pos), text, 64, MF_BYPOSITION);
    return text;
}

TEST_F(ToolbarFrameTest, TheViewMenuListsTheToolbarsThatMayBeListed) {
    ASSERT_NE(QvCreateToolbar(0, kResource, kAll), nullptr);
    ASSERT_NE(QvCreateToolbar(3, kResource, kAll), nullptr);
    ASSERT_NE(QvCreateToolbar(4, kResource, kAll), nullptr);
    ASSERT_NE(QvCreateToolbar(6, kResource, 1), nullptr); // bound to no view in sight
    frame->SetSlot(8, new CCustomToolBar);                // never created
    QvPlaceToolbar(4, AFX_IDW_DOCKBAR_TOP, 70, FALSE);
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, CJoxToolbarFrameWnd::ID_VIEW_MAIN_TOOLBAR, L"Toolbar");
    ::AppendMenuW(menu, MF_STRING, 60009, L"Stale");
    CCmdUI ui;
    ui.m_nID = CJoxToolbarFrameWnd::ID_VIEW_MAIN_TOOLBAR;
    ui.m_pMenu = menu;
    ui.m_nIndexMax = 2;
    ASSERT_TRUE(ui.DoUpdate(frame, FALSE));
    ASSERT_EQ(::GetMenuItemCount(menu), 3);
    EXPECT_EQ(ItemText(menu, 0), CString(L"Bar 0"));
    EXPECT_TRUE(::GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(::GetMenuItemID(menu, 1), 60003u);
    EXPECT_EQ(ItemText(menu, 1), CString(L"Bar 3"));
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(::GetMenuItemID(menu, 2), 60004u);
    EXPECT_FALSE(::GetMenuState(menu, 2, MF_BYPOSITION) & MF_CHECKED);
    ::DestroyMenu(menu);
}

TEST_F(ToolbarFrameTest, CommandsToggleTheirSlots) {
    CCustomToolBar* first = QvCreateToolbar(0, kResource, kAll);
    CCustomToolBar* fifth = QvCreateToolbar(5, kResource, kAll);
    ASSERT_TRUE(first && fifth);
    frame->OnCmdMsg(CJoxToolbarFrameWnd::ID_VIEW_MAIN_TOOLBAR, CN_COMMAND, nullptr, nullptr);
    EXPECT_FALSE(first->IsWindowVisible());
    frame->OnCmdMsg(CJoxToolbarFrameWnd::ID_VIEW_MAIN_TOOLBAR, CN_COMMAND, nullptr, nullptr);
    EXPECT_TRUE(first->IsWindowVisible());
    frame->OnCmdMsg(60005, CN_COMMAND, nullptr, nullptr);
    EXPECT_FALSE(fifth->IsWindowVisible());
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_TRUE(frame->OnCmdMsg(60012, CN_COMMAND, nullptr, nullptr)); // empty slot: nothing
}

TEST_F(ToolbarFrameTest, DeleteContentsCanKeepTheFirst) {
    ASSERT_NE(QvCreateToolbar(0, kResource, kAll), nullptr);
    ASSERT_NE(QvCreateToolbar(69, kResource, kAll), nullptr);
    QvPlaceToolbar(69, AFX_IDW_DOCKBAR_TOP, 70, TRUE);
    frame->DeleteContents(1);
    EXPECT_NE(QvGetToolBar(0, 0), nullptr);
    EXPECT_EQ(frame->GetSlot(69), nullptr);
    EXPECT_TRUE(frame->GetDockingManager()->GetPanes().empty());
    EXPECT_EQ(frame->GetControlBar(60069), nullptr);
}

TEST_F(ToolbarFrameTest, SlotTablesAndContext) {
    EXPECT_EQ(frame->GetToolbarResourceId(5), -1);
    frame->SetToolbarResourceId(5, 700);
    EXPECT_EQ(frame->GetToolbarResourceId(5), 700);
    EXPECT_EQ(frame->GetToolbarResourceId(70), -1);
    EXPECT_EQ(frame->GetToolbarName(-1), CString());
    EXPECT_EQ(frame->LoadSaveContext(), 0u);
    frame->LoadSaveContext(6);
    EXPECT_EQ(frame->LoadSaveContext(), 6u);
    frame->RecalcLayoutEx(1);
}

} // namespace

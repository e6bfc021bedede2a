#include "toolbars/undo_list_box.h"

#include "undo_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST_F(UndoTest, KeysKeepTheSelectionAPrefix) {
    Open(30);
    CUndoListBox& list = bar->GetList();
    const struct {
        int key, caret;
    } steps[] = {{VK_NEXT, 11}, {VK_DOWN, 12}, {VK_END, 29}, {VK_PRIOR, 18},
                 {VK_UP, 17},   {VK_HOME, 0},  {VK_UP, 0},   {'A', 0}};
    for (const auto& s : steps) {
        list.SendMessage(WM_KEYDOWN, WPARAM(s.key));
        EXPECT_EQ(list.GetCaretIndex(), s.caret) << s.key;
        EXPECT_EQ(list.GetSelCount(), s.caret + 1) << s.key;
        for (int i = 0; i < list.GetCount(); ++i)
            ASSERT_EQ(list.GetSel(i), i <= s.caret) << s.key << " " << i;
        EXPECT_GE(list.GetCaretIndex(), list.GetTopIndex());
        EXPECT_LT(list.GetCaretIndex(), list.GetTopIndex() + list.GetVisibleRows());
    }
}

TEST_F(UndoTest, ItemsFromPointsFollowTheScroll) {
    Open(30);
    CUndoListBox& list = bar->GetList();
    EXPECT_EQ(list.ItemFromPoint(RowCentre(2)), 2);
    EXPECT_EQ(list.ItemFromPoint(CPoint(-1, 2)), -1);
    list.SetTopIndex(100); // past the end: the last page
    EXPECT_EQ(list.GetTopIndex(), 18);
    EXPECT_EQ(list.ItemFromPoint(RowCentre(0)), 18);
    list.SelectUpTo(0);
    EXPECT_EQ(list.GetTopIndex(), 0);
    Open(2);
    EXPECT_EQ(bar->GetList().ItemFromPoint(RowCentre(5)), -1); // below the entries
}

// The display's list tells the model where the pointer rests, in entries.
TEST_F(UndoTest, ThePointerOnAnEntryChoosesUpToIt) {
    Open(30);
    CUndoListBox& list = bar->GetList();
    ASSERT_TRUE(platform::PointListItem(list.m_hWnd, 4));
    EXPECT_EQ(list.GetSelCount(), 5);
    EXPECT_EQ(bar->GetLabel(), CString(L"Undo 5 Action(s)"));
    ASSERT_TRUE(platform::PointListItem(list.m_hWnd, 25)); // below the twelve rows shown
    EXPECT_EQ(list.GetSelCount(), 26);
    EXPECT_EQ(list.GetTopIndex(), 14);
    EXPECT_TRUE(TakeCommands().empty());
}

} // namespace

#include "toolbars/undo_bar.h"

#include "platform/framework/visual_look.h"
#include "platform/graphics/surface.h"
#include "undo_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST_F(UndoTest, TwelveRowsShowAndMoreScroll) {
    const struct {
        int names, rows;
        BOOL scrolls;
    } cases[] = {{30, 12, TRUE}, {12, 12, FALSE}, {3, 3, FALSE}};
    for (const auto& c : cases) {
        Open(c.names);
        CUndoListBox& list = bar->GetList();
        EXPECT_EQ(list.GetCount(), c.names);
        EXPECT_EQ(bar->IsScrollable(), c.scrolls) << c.names;
        CRect client;
        bar->GetClientRect(&client);
        EXPECT_EQ(client.Height(), c.rows * list.GetItemHeight() + bar->GetLabelRect().Height());
        EXPECT_EQ(list.GetVisibleRows(), c.rows);
        EXPECT_EQ(list.GetSelCount(), 1); // the newest action
        EXPECT_EQ(bar->GetLabel(), CString(L"Undo 1 Action(s)"));
    }
}

TEST_F(UndoTest, EmptyNamesAreUnnamedActions) {
    SetNames(2);
    Names()[1] = L"";
    bar = std::make_unique<CUndoBar>(FALSE);
    ASSERT_TRUE(bar->Create(frame, CPoint(0, 0)));
    CString text;
    bar->GetList().GetText(1, text);
    EXPECT_EQ(text, CString(L"<Unnamed action>"));
    EXPECT_GT(bar->CalcSize().cx, 0);
}

TEST_F(UndoTest, PointingAtTheFifthAndClickingUndoesFive) {
    Open(30);
    CUndoListBox& list = bar->GetList();
    const CPoint fifth = RowCentre(4);
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(WORD(fifth.x), WORD(fifth.y)));
    EXPECT_EQ(list.GetSelCount(), 5);
    EXPECT_EQ(bar->GetLabel(), CString(L"Undo 5 Action(s)"));
    list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(WORD(fifth.x), WORD(fifth.y)));
    EXPECT_TRUE(TakeCommands().empty());
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(WORD(fifth.x), WORD(fifth.y)));
    EXPECT_EQ(TakeCommands(view->m_hWnd), std::vector<UINT>(5, CUndoBar::ID_EDIT_UNDO));
}

TEST_F(UndoTest, AnEntryChosenInTheDisplaysListUndoesUpToIt) {
    Open(30);
    ASSERT_TRUE(platform::ChooseListItem(bar->GetList().m_hWnd, 4));
    EXPECT_EQ(bar->GetLabel(), CString(L"Undo 5 Action(s)"));
    EXPECT_EQ(TakeCommands(view->m_hWnd), std::vector<UINT>(5, CUndoBar::ID_EDIT_UNDO));
}

TEST_F(UndoTest, EnterUndoesTheSelectionAndEscapeNothing) {
    Open(8, TRUE);
    EXPECT_EQ(bar->GetLabel(), CString(L"Redo 1 Action(s)"));
    bar->SendMessage(WM_KEYDOWN, VK_DOWN); // the bar passes keys to the list
    bar->SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(bar->GetList().GetSelCount(), 3);
    bar->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(TakeCommands().empty());
    bar->SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(TakeCommands(view->m_hWnd), std::vector<UINT>(3, CUndoBar::ID_EDIT_REDO));
}

TEST_F(UndoTest, NoCallbackGivesAnEmptyList) {
    CUndoBar::SetUndoTransactionNamesCallback(nullptr);
    Open(5);
    EXPECT_EQ(bar->GetList().GetCount(), 0);
    EXPECT_EQ(bar->GetLabel(), CString(L"Undo 0 Action(s)"));
    bar->SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(UndoTest, AClosedDesignWindowGetsNothing) {
    Open(6);
    bar->GetList().SelectUpTo(3);
    frame->SetActiveView(nullptr, FALSE);
    view->DestroyWindow(); // the design window closes while the list is open
    EXPECT_EQ(bar->GetView(), nullptr);
    bar->SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(TakeCommands().empty());
}

// For a person to look at as well: the drop-down with five of 30 actions chosen.
TEST_F(UndoTest, LabelStripInTheLookColours) {
    Open(30);
    bar->GetList().SelectUpTo(4);
    bar->UpdateWindow();
    const CRect label = bar->GetLabelRect();
    ASSERT_FALSE(label.IsRectEmpty());
    auto* buffer = dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(bar->m_hWnd));
    ASSERT_NE(buffer, nullptr);
    const COLORREF back = platform::GetBarBackgroundColour();
    const COLORREF ink = platform::GetBarTextColour();
    ASSERT_NE(back, ink);
    EXPECT_EQ(buffer->Pixel(label.left, label.top), back);
    EXPECT_EQ(buffer->Pixel(label.right - 1, label.bottom - 1), back);
    // The text sits inside the strip less a pixel, left and right of its middle alike.
    int left = 0, right = 0;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x) {
            if (buffer->Pixel(x, y) != ink)
                continue;
            EXPECT_TRUE(x > label.left && x < label.right - 1 && y > label.top &&
                        y < label.bottom - 1);
            (x < label.CenterPoint().x ? left : right) += 1;
        }
    EXPECT_GT(left, 10);
    EXPECT_GT(right, 10);
    EXPECT_TRUE(buffer->SavePng(std::string(TEST_BINARY_DIR) + "/undo_drop_down.png"));
}

} // namespace

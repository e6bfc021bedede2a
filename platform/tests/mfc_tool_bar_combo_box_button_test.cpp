// A combo box on a toolbar: the button hosts the combo at its own width, keeps the rows for
// copies, and the combo follows the layout.
#include "platform/framework/mfc_tool_bar_combo_box_button.h"

#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tool_bar.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ComboBoxButton, HostsItsComboAndKeepsTheRowsForCopies) {
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(
        frame->Create(nullptr, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
    auto bar = std::make_unique<CMFCToolBar>();
    ASSERT_TRUE(bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 700));
    bar->InsertButton(CMFCToolBarButton(100));
    bar->InsertButton(CMFCToolBarButton(200));

    CMFCToolBarComboBoxButton list(200, 3, CBS_DROPDOWNLIST, 120);
    list.AddItem(L"one", 11);
    list.AddItem(L"two", 22);
    list.SelectItem(1);
    ASSERT_EQ(bar->ReplaceButton(200, list), 1);
    bar->AdjustLayout();

    auto* b = dynamic_cast<CMFCToolBarComboBoxButton*>(bar->GetButton(1));
    ASSERT_NE(b, nullptr);
    ASSERT_NE(b->GetComboBox(), nullptr);
    CComboBox* combo = b->GetComboBox();
    EXPECT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetItemData(1), DWORD_PTR(22));
    EXPECT_EQ(b->GetCurSel(), 1);
    EXPECT_EQ(b->m_rect.Width(), 120);
    CRect r;
    combo->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), 120);
    // A pick in the combo is the button's choice.
    combo->SetCurSel(0);
    EXPECT_EQ(b->GetCurSel(), 0);
    EXPECT_FALSE(b->SelectItem(2));
    b->RemoveAllItems();
    EXPECT_EQ(combo->GetCount(), 0);
    bar.reset(); // the combo goes with its button
    frame->DestroyWindow();
}

} // namespace

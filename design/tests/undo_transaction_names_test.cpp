#include "design/document/undo_transaction_names.h"

#include "design/tests/design_host.h"
#include "pivora/article.h"
#include "pivora/item.h"
#include "toolbars/undo_bar.h"

namespace {

class COtherView : public CJoxView {};

class UndoNamesTest : public DesignHost {};

TEST_F(UndoNamesTest, TheActiveDesignsTransactionsOrNothingForOtherViews) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(UndoTransactionNames(view, FALSE).GetSize(), 0);
    EXPECT_EQ(UndoTransactionNames(nullptr, FALSE).GetSize(), 0);
    COtherView other;
    EXPECT_EQ(UndoTransactionNames(&other, TRUE).GetSize(), 0);
    page->StartUndoTransaction(CDesignPage::IDS_ROTATE_90);
    page->AddUndoBackground(0, 0, CDesignPage::IDS_ROTATE_90);
    const CStringArray& names = UndoTransactionNames(view, FALSE);
    ASSERT_GE(names.GetSize(), 1);
    EXPECT_EQ(names.GetAt(0), L"Rotate 90°");
    EXPECT_EQ(UndoTransactionNames(view, TRUE).GetSize(), 0);
    // Activation hands the function to the undo bar, deactivation takes it back.
    view->OnActivateView(FALSE, nullptr, view);
    EXPECT_EQ(CUndoBar::s_pFnUndoTransactionNames, nullptr);
    view->OnActivateView(TRUE, view, nullptr);
    EXPECT_EQ(CUndoBar::s_pFnUndoTransactionNames, &UndoTransactionNames);
}

} // namespace

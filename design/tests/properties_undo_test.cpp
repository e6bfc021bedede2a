#include "design/document/properties_undo.h"

#include "design/tests/page_fixture.h"

namespace {

using PropertiesUndoTest = PageTest;

TEST_F(PropertiesUndoTest, BitsAndNamedValuesComeBack) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10));
    a->SetEffect(L"7", L"Group", 0);
    auto* u = new CPropertiesUndo;
    u->SetArticle(a);
    m_page.AddUndo(u, CDesignPage::IDS_ROTATE_90);
    a->SetProperties(0x20, false);
    a->GetItem()->SetProperties(0x40);
    a->RemoveAllEffects();
    a->SetEffect(L"9", L"Other", 0);
    m_page.PerformUndoTransaction();
    EXPECT_EQ(a->GetProperties(), 0u);
    EXPECT_EQ(a->GetItem()->GetProperties(), 0u);
    CString value;
    EXPECT_TRUE(a->fnGetString(L"Group", value));
    EXPECT_EQ(value, CString(L"7"));
    EXPECT_FALSE(a->fnGetString(L"Other", value));
    m_page.PerformRedoTransaction();
    EXPECT_EQ(a->GetProperties(), 0x20u);
    EXPECT_TRUE(a->fnGetString(L"Other", value));
}

} // namespace

#include "design/design_page.h"

#include "design/tests/page_fixture.h"
#include "pivora/select.h"

namespace {

// An article drawn above ordinary ones.
class CHighArticle : public CArticle {
public:
    int GetDisplayLevel() override { return 500; }
};

class DesignPageTest : public PageTest {
protected:
    using Strings = std::vector<std::wstring>;
    void Select(std::initializer_list<CArticle*> list) {
        m_page.RemoveAllObjectSelection();
        for (CArticle* a : list)
            ASSERT_NE(m_page.AddObjectSelection(a, CSelect::kSelectArticle, 1), nullptr);
    }
};

TEST_F(DesignPageTest, EmptyExtentsRefuseSelection) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10));
    CArticle* empty = new CArticle; // no item, no children: inverted extents
    m_page.RootArticle()->AddChild(empty);
    Select({a});
    EXPECT_EQ(m_page.AddObjectSelection(empty, CSelect::kSelectArticle, 0), nullptr);
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 1);
    EXPECT_EQ(m_page.AddObjectSelection(a, CSelect::kSelectArticle, 1), nullptr); // twice
}

TEST_F(DesignPageTest, DrawingOrderCommands) {
    CArticle* a = AddBox(CWindow(0, 0, 1, 1), nullptr, L"a");
    CArticle* b = AddBox(CWindow(0, 0, 1, 1), nullptr, L"b");
    CArticle* c = AddBox(CWindow(0, 0, 1, 1), nullptr, L"c");
    auto* high = new CHighArticle;
    high->SetName(L"H");
    high->Item(new CBoxItem(CWindow(0, 0, 1, 1)));
    m_page.RootArticle()->AddChild(high);
    // "To start" keeps a higher level behind the lower leading children.
    Select({high, c});
    EXPECT_TRUE(m_page.ReOrderSelection(CDesignPage::ID_ORDER_TO_START, false));
    EXPECT_EQ(ChildNames(), (Strings{L"a", L"b", L"H", L"c"}));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"a", L"b", L"c", L"H"}));

    Select({c, a});
    EXPECT_TRUE(m_page.ReOrderSelection(CDesignPage::ID_ORDER_TO_START, false));
    EXPECT_EQ(ChildNames(), (Strings{L"c", L"a", L"b", L"H"}));
    Select({a});
    EXPECT_FALSE(m_page.ReOrderSelection(CDesignPage::ID_ORDER_AFTER_FIRST, true));
    EXPECT_TRUE(m_page.ReOrderSelection(CDesignPage::ID_ORDER_TO_END, false));
    EXPECT_EQ(ChildNames(), (Strings{L"c", L"b", L"H", L"a"}));
    Select({c, b, a});
    EXPECT_TRUE(m_page.ReOrderSelection(CDesignPage::ID_ORDER_BEFORE_LAST, false));
    EXPECT_EQ(ChildNames(), (Strings{L"H", L"c", L"b", L"a"}));
    m_page.RemoveAllObjectSelection();
    EXPECT_FALSE(m_page.ReOrderSelection(CDesignPage::ID_ORDER_TO_END, true));
}

TEST_F(DesignPageTest, DeletingTheOnlyChildTakesTheEmptyGroupAndUndoBringsBoth) {
    CArticle* g = new CArticle;
    g->SetName(L"g");
    m_page.RootArticle()->AddChild(g);
    CArticle* only = AddBox(CWindow(0, 0, 5, 5), g, L"only");
    AddBox(CWindow(0, 0, 5, 5), nullptr, L"other");
    Select({only});
    m_page.OnEditClear(1);
    EXPECT_EQ(ChildNames(), (Strings{L"other"}));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"g", L"other"}));
    EXPECT_EQ(ChildNames(g), (Strings{L"only"}));
    // Without takeEmptyParents the group stays.
    Select({only});
    m_page.OnEditClear(0);
    EXPECT_EQ(ChildNames(), (Strings{L"g", L"other"}));
    EXPECT_TRUE(ChildNames(g).empty());
}

TEST_F(DesignPageTest, GlueThreeAndUnglueInSelectionOrder) {
    CArticle* a = AddBox(CWindow(0, 0, 1, 1), nullptr, L"a");
    CArticle* b = AddBox(CWindow(0, 0, 1, 1), nullptr, L"b");
    CArticle* c = AddBox(CWindow(0, 0, 1, 1), nullptr, L"c");
    AddBox(CWindow(0, 0, 1, 1), nullptr, L"d");
    Select({c, a, b});
    m_page.GlueObjectSelection();
    ASSERT_EQ(m_page.GetObjectSelectionCount(), 1);
    POSITION pos = m_page.GetFirstObjectSelection(nullptr);
    CArticle* glued = m_page.GetNextObjectSelection(pos, nullptr)->Article();
    EXPECT_TRUE(glued->GetProperty(CDesignPage::kGluedBit));
    EXPECT_EQ(ChildNames(glued), (Strings{L"c", L"a", L"b"}));
    const std::wstring gluedName = glued->GetName().GetString();
    EXPECT_EQ(ChildNames(), (Strings{gluedName, L"d"}));

    m_page.UnGlueObjectSelection();
    EXPECT_EQ(ChildNames(), (Strings{L"c", L"a", L"b", L"d"}));
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 3);
    m_page.PerformUndoTransaction(); // unglue
    EXPECT_EQ(ChildNames(), (Strings{gluedName, L"d"}));
    m_page.PerformUndoTransaction(); // glue
    EXPECT_EQ(ChildNames(), (Strings{L"a", L"b", L"c", L"d"}));
}

TEST_F(DesignPageTest, RotateNinetyIsOneNamedTransaction) {
    CArticle* a = AddBox(CWindow(0, 0, 20, 10));
    Select({a});
    m_page.Rotate90Selection();
    EXPECT_EQ(BoxOf(a), CWindow(5, -5, 15, 15));
    ASSERT_EQ(m_page.UndoTransactionNames().GetSize(), 1);
    EXPECT_EQ(m_page.UndoTransactionNames().GetAt(0), CString(L"Rotate 90°"));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(BoxOf(a), CWindow(0, 0, 20, 10));
}

TEST_F(DesignPageTest, GroupsAndLastAutoGroup) {
    CArticle* a = AddBox(CWindow(0, 0, 1, 1));
    Select({a});
    m_page.CreateGroupFromSelection(L"G1");
    CString v;
    EXPECT_TRUE(a->fnGetString(L"Group", v));
    EXPECT_EQ(v, CString(L"G1"));
    m_page.UnGroupSelection();
    EXPECT_FALSE(a->fnGetString(L"Group", v));
    EXPECT_EQ(m_page.GetLastAutoGroup(), 1);
    m_page.SetLastAutoGroup(4);
    EXPECT_EQ(m_page.GetLastAutoGroup(), 5);
}

} // namespace

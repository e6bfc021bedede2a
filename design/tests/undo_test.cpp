#include "design/document/undo.h"

#include "design/design_tool.h"
#include "design/tests/page_fixture.h"
#include "pivora/geometry/mat2d.h"
#include "platform/windowing/resources.h"

namespace {

constexpr int IDS_FIRST = 990001;
constexpr int IDS_SECOND = 990002;

class UndoTest : public PageTest {
protected:
    UndoTest() {
        platform::RegisterStrings(
            {{UINT(IDS_FIRST), L"Move things\nMove"}, {UINT(IDS_SECOND), L"Delete"}});
    }
    static std::vector<std::wstring> Names(const CStringArray& a) {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < a.GetSize(); ++i)
            out.push_back(a.GetAt(i).GetString());
        return out;
    }
    void Move(CArticle* a, LONG dx, int nameId) {
        CMat2d m{CSize(dx, 0)};
        m_page.AddMoveUndo(a, m, nameId, 1);
        a->DoTransform(m, 1);
    }
};

using Strings = std::vector<std::wstring>;

TEST_F(UndoTest, NamesFollowTheTransactionsBetweenTheStacks) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10), nullptr, L"a");
    Move(a, 5, IDS_FIRST);
    m_page.DeleteArticle(AddBox(CWindow(0, 0, 1, 1)), 0, 0); // not recorded
    m_page.StartUndoTransaction(IDS_SECOND);
    m_page.DeleteArticle(a, 0, 1);
    EXPECT_EQ(Names(m_page.UndoTransactionNames()), (Strings{L"Delete", L"Move"}));

    ASSERT_TRUE(m_page.PerformUndoTransaction());
    ASSERT_TRUE(m_page.PerformUndoTransaction());
    EXPECT_FALSE(m_page.PerformUndoTransaction());
    EXPECT_EQ(BoxOf(a), CWindow(0, 0, 10, 10));
    ASSERT_TRUE(m_page.PerformRedoTransaction());
    EXPECT_EQ(Names(m_page.UndoTransactionNames()), (Strings{L"Move"}));
    EXPECT_EQ(Names(m_page.RedoTransactionNames()), (Strings{L"Delete"}));
    EXPECT_EQ(BoxOf(a), CWindow(5, 0, 15, 10));

    // A new record empties the redo stack.
    Move(a, 1, IDS_FIRST);
    EXPECT_EQ(m_page.GetRedoCount(), 0);
    EXPECT_TRUE(m_page.RedoTransactionNames().GetSize() == 0);
}

TEST_F(UndoTest, TransactionNameIsTheTextAfterTheLastNewline) {
    EXPECT_EQ(CDesignPage::TransactionName(CDesignPage::IDS_ROTATE_90), CString(L"Rotate 90°"));
    EXPECT_EQ(CDesignPage::TransactionName(IDS_SECOND), CString(L"Delete"));
    EXPECT_EQ(CDesignPage::TransactionName(0), CString());
    // Opening twice without a record only renames.
    m_page.StartUndoTransaction(IDS_FIRST);
    m_page.StartUndoTransaction(CDesignPage::IDS_ROTATE_90);
    EXPECT_EQ(m_page.GetUndoCount(), 1);
    EXPECT_EQ(Names(m_page.UndoTransactionNames()), (Strings{L"Rotate 90°"}));
}

TEST_F(UndoTest, UndoneDeleteReturnsBeforeItsSiblingWithItsBits) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10), nullptr, L"a");
    CArticle* b = AddBox(CWindow(0, 0, 10, 10), nullptr, L"b");
    AddBox(CWindow(0, 0, 10, 10), nullptr, L"c");
    b->SetProperties(0x20, false);
    b->GetItem()->SetProperties(0x40);
    m_page.AddObjectSelection(b, 1, 0);
    m_page.StartUndoTransaction(IDS_SECOND);
    m_page.DeleteArticle(b, 0, 1);
    b->SetProperties(0, false);
    EXPECT_EQ(ChildNames(), (Strings{L"a", L"c"}));
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 0);

    m_page.PerformUndoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"a", L"b", L"c"}));
    EXPECT_EQ(b->GetProperties(), 0x20u);
    EXPECT_EQ(b->GetItem()->GetProperties(), 0x40u);
    m_page.PerformRedoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"a", L"c"}));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"a", L"b", L"c"}));
    (void)a;
}

TEST_F(UndoTest, DeletedGroupReturnsWithItsChildrenInOrder) {
    CArticle* g = AddBox(CWindow(0, 0, 10, 10), nullptr, L"g");
    AddBox(CWindow(0, 0, 1, 1), g, L"x");
    AddBox(CWindow(0, 0, 1, 1), g, L"y");
    m_page.StartUndoTransaction(IDS_SECOND);
    m_page.DeleteArticle(g, 0, 1);
    EXPECT_TRUE(ChildNames().empty());
    m_page.PerformUndoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"g"}));
    EXPECT_EQ(ChildNames(g), (Strings{L"x", L"y"}));
    // The redo records own the detached articles until the page goes.
    m_page.PerformRedoTransaction();
    EXPECT_TRUE(ChildNames().empty());
}

TEST_F(UndoTest, TransformUndoAndRedo) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10));
    CMat2d m{CScale(2, 3)};
    m_page.AddMoveUndo(a, m, IDS_FIRST, 1);
    a->DoTransform(m, 1);
    EXPECT_EQ(BoxOf(a), CWindow(0, 0, 20, 30));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(BoxOf(a), CWindow(0, 0, 10, 10));
    m_page.PerformRedoTransaction();
    EXPECT_EQ(BoxOf(a), CWindow(0, 0, 20, 30));
}

// Undoing an addition made the article's memory free while the redo record still held it.
TEST_F(UndoTest, UndoneAdditionIsOwnedByItsRedoRecord) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10), nullptr, L"new");
    m_page.AddNewUndo(a, IDS_FIRST);
    m_page.PerformUndoTransaction();
    EXPECT_TRUE(ChildNames().empty());
    m_page.PerformRedoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"new"}));
    EXPECT_EQ(BoxOf(a), CWindow(0, 0, 10, 10));
    m_page.PerformUndoTransaction(); // left on the redo stack: freed with the page
}

// A record of an article deleted behind the stack's back is dropped, whatever its code.
TEST_F(UndoTest, RecordsOfArticlesGoneFromTheTreeAreDropped) {
    struct Case {
        const char* what;
        void (*record)(CDesignPage&, CArticle*);
    } cases[] = {
        {"transform",
         [](CDesignPage& p, CArticle* a) {
             CMat2d m{CSize(3, 3)};
             p.AddMoveUndo(a, m, IDS_FIRST, 1);
         }},
        {"reorder", [](CDesignPage& p, CArticle* a) { p.AddReorderUndo(a, IDS_FIRST); }},
        {"edit", [](CDesignPage& p, CArticle* a) { p.AddEditUndo(a, IDS_FIRST, 0); }},
        {"item deleted", [](CDesignPage& p, CArticle* a) { p.AddDeleteItemUndo(a, IDS_FIRST); }},
        {"added", [](CDesignPage& p, CArticle* a) { p.AddNewUndo(a, IDS_FIRST); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CArticle* keep = AddBox(CWindow(0, 0, 5, 5), nullptr, L"keep");
        CArticle* gone = AddBox(CWindow(0, 0, 10, 10), nullptr, L"gone");
        c.record(m_page, gone);
        m_page.CJoxPage::DeleteArticle(gone, 0, 0);
        EXPECT_TRUE(m_page.PerformUndoTransaction()); // the marker still moves
        EXPECT_EQ(ChildNames(), (Strings{L"keep"}));
        m_page.ClearRedoTransactions();
        m_page.CJoxPage::DeleteArticle(keep, 0, 0);
    }
}

// The inverse of a singular matrix is no inverse: the geometry comes back from a copy.
TEST_F(UndoTest, SingularTransformIsUndoneFromACopy) {
    CArticle* g = AddBox(CWindow(0, 0, 10, 10));
    CArticle* child = AddBox(CWindow(2, 2, 4, 6), g);
    CMat2d flat{CScale(0, 1)};
    m_page.AddMoveUndo(g, flat, IDS_FIRST, 1);
    g->DoTransform(flat, 1);
    EXPECT_EQ(BoxOf(child).x2, 0);
    m_page.PerformUndoTransaction();
    EXPECT_EQ(BoxOf(g), CWindow(0, 0, 10, 10));
    EXPECT_EQ(BoxOf(child), CWindow(2, 2, 4, 6));
    m_page.PerformRedoTransaction();
    EXPECT_EQ(BoxOf(child).x2, 0);
}

// Records made before any transaction opened end at the bottom of the stack.
TEST_F(UndoTest, RecordsBelowTheFirstMarkerStopAtTheBottom) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10));
    Move(a, 4, 0);
    Move(a, 4, 0);
    EXPECT_EQ(m_page.GetUndoCount(), 2);
    EXPECT_TRUE(m_page.PerformUndoTransaction());
    EXPECT_EQ(BoxOf(a), CWindow(0, 0, 10, 10));
    EXPECT_EQ(m_page.GetUndoCount(), 0);
    EXPECT_EQ(m_page.GetRedoCount(), 3); // a marker heads the records that came over
    EXPECT_TRUE(m_page.PerformRedoTransaction());
    EXPECT_EQ(BoxOf(a), CWindow(8, 0, 18, 10));
}

// An article whose parent was deleted without a record used to stay out of the tree (and leak):
// undo puts it back at the top of the design.
TEST_F(UndoTest, ArticleWhoseParentWentComesBackAtTheTop) {
    AddBox(CWindow(0, 0, 5, 5), nullptr, L"keep");
    auto* group = new CArticle;
    m_page.RootArticle()->AddChild(group);
    CArticle* deleted = AddBox(CWindow(0, 0, 10, 10), group, L"deleted");
    CArticle* moved = AddBox(CWindow(0, 0, 10, 10), group, L"moved");
    m_page.StartUndoTransaction(IDS_SECOND);
    m_page.DeleteArticle(deleted, 0, 1);
    m_page.AddReorderUndo(moved, 0);
    moved->Detach();
    m_page.RootArticle()->AddChild(moved);
    m_page.CJoxPage::DeleteArticle(group, 0, 0); // no record
    ASSERT_TRUE(m_page.PerformUndoTransaction());
    EXPECT_EQ(ChildNames(), (Strings{L"keep", L"moved", L"deleted"}));
    ASSERT_TRUE(m_page.PerformRedoTransaction());
    EXPECT_EQ(ChildNames(), (Strings{L"keep", L"moved"}));
}

TEST_F(UndoTest, TheCurrentToolHearsOfEveryRecordApplied) {
    struct CUndoListener : public CDesignTool {
        void OnUndoComplete(CBaseUndo* record) override { codes.push_back(record->GetOperation()); }
        std::vector<int> codes;
    };
    auto* tool = new CUndoListener;
    m_page.SelectDesignTool(tool, nullptr, 0);
    m_page.OnSelectTool(nullptr);
    ASSERT_EQ(m_page.GetDesignTool(), tool);
    CArticle* a = AddBox(CWindow(0, 0, 10, 10));
    Move(a, 5, IDS_FIRST);
    m_page.DeleteArticle(a, 0, 1);
    m_page.PerformUndoTransaction();
    EXPECT_EQ(tool->codes, (std::vector<int>{CBaseUndo::kDeleted, CBaseUndo::kTransform}));
    m_page.PerformRedoTransaction();
    EXPECT_EQ(tool->codes.size(), 4u);
}

} // namespace

#include "design/design_page.h"

#include "design/design_view.h"
#include "design/tests/page_fixture.h"
#include "gastelo/browser.h"
#include "pivora/colour_palette.h"
#include "pivora/framework/area_hint.h"
#include "pivora/rec_archive.h"
#include "pivora/select.h"
#include "pivora/selection_manager.h"
#include "pivora/selection_request.h"
#include "platform/core/mem_file.h"
#include "platform/windowing/message_box.h"
#include "vector/vector_style_pb.h"

namespace {

// An article drawn above ordinary ones.
class CHighArticle : public CArticle {
public:
    int GetDisplayLevel() override { return 500; }
};

using Strings = std::vector<std::wstring>;

class DesignPageTest : public PageTest {
protected:
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

// Another observer of the selection manager: what the page told it.
class CRecordingObserver : public CSelectionObserver {
public:
    void UpdateSelection(UINT code, void* data) override {
        heard.push_back({code, data ? *static_cast<BYTE*>(data) : 0});
    }
    std::vector<std::pair<UINT, int>> heard;
};

// An article that takes unfixed data into its own item.
class CMergingArticle : public CArticle {
public:
    int InsertMerge(CArticle* a, int mode) override {
        if (mode)
            ++merged;
        (void)a;
        return 1;
    }
    int merged = 0;
};

TEST_F(DesignPageTest, RepeatedClicksCycleThroughStackedArticlesNearestFirst) {
    CTestDesignWindow* view = View(); // data (0, 0) at client (200, 150), 1000 per pixel
    CArticle* big = AddBox(CWindow(-50000, -50000, 80000, 80000), nullptr, L"big");
    CArticle* small = AddBox(CWindow(-5000, -5000, 5000, 5000), nullptr, L"small");
    const CPoint at(200, 150);
    EXPECT_EQ(m_page.ArticleAt(view, at), small);
    EXPECT_EQ(m_page.ArticleAt(view, at), big);
    EXPECT_EQ(m_page.ArticleAt(view, at), small);
    // Elsewhere, only the big one; nothing at all empties the remembered hits.
    EXPECT_EQ(m_page.ArticleAt(view, CPoint(260, 150)), big);
    EXPECT_EQ(m_page.ArticleAt(view, CPoint(5, 5)), nullptr);
    EXPECT_EQ(m_page.HitList().GetCount(), 0);
    EXPECT_EQ(m_page.ArticleAt(view, at), small);
    // A deleted article leaves the hit list at once.
    m_page.DeleteArticle(small, 0, 0);
    EXPECT_EQ(m_page.HitList().GetCount(), 1);
    EXPECT_EQ(m_page.ArticleAt(view, at), big);
}

TEST_F(DesignPageTest, HitOrderHoldsForCornersFarOut) {
    // The corner distances of the outer box add up past 32 bits.
    CTestDesignWindow* view = View();
    view->Place(100000, 200, 150);
    CArticle* outer = AddBox(CWindow(-1000000000, -1000000000, 1000000000, 1000000000));
    CArticle* inner = AddBox(CWindow(-1000000, -1000000, 1000000, 1000000));
    EXPECT_EQ(m_page.ArticleAt(view, CPoint(200, 150)), inner);
    EXPECT_EQ(m_page.ArticleAt(view, CPoint(200, 150)), outer);
}

TEST_F(DesignPageTest, ArticleSelectionFollowsTheObjectSelection) {
    auto* group = new CArticle;
    m_page.RootArticle()->AddChild(group);
    CArticle* a = AddBox(CWindow(0, 0, 1, 1), group, L"a");
    auto* inner = new CArticle;
    group->AddChild(inner);
    CArticle* b = AddBox(CWindow(0, 0, 1, 1), inner, L"b");
    CArticle* c = AddBox(CWindow(0, 0, 1, 1), nullptr, L"c");

    auto selection = [&] {
        std::vector<CArticle*> out;
        for (POSITION pos = m_page.GetFirstSelection(nullptr); pos;)
            out.push_back(m_page.GetNextSelection(pos, nullptr));
        return out;
    };
    // The whole object: every descendant with an item, in pre-order.
    ASSERT_NE(m_page.AddObjectSelection(group, CSelect::kSelectArticle, 0), nullptr);
    EXPECT_EQ(selection(), (std::vector<CArticle*>{a, b}));
    // The article alone, item or not; an article covered twice is listed once.
    m_page.AddObjectSelection(inner, CSelect::kSelectItem, 1);
    m_page.AddObjectSelection(c, CSelect::kSelectArticle, 1);
    EXPECT_EQ(selection(), (std::vector<CArticle*>{a, b, inner, c}));
    EXPECT_TRUE(m_page.IsSelected(b));
    m_page.RemoveObjectSelection(group, 0);
    EXPECT_FALSE(m_page.IsSelected(b));
    EXPECT_EQ(selection(), (std::vector<CArticle*>{inner, c}));
    EXPECT_EQ(m_page.GetSelectionCount(RUNTIME_CLASS(CArticle)), 2);
    // With children, the entries below go too.
    m_page.RemoveObjectSelection(group, 1);
    EXPECT_EQ(selection(), (std::vector<CArticle*>{c}));
    EXPECT_EQ(m_page.SelectionValid(RUNTIME_CLASS(CBoxItem), 1), 1);
    EXPECT_EQ(m_page.SelectionValid(RUNTIME_CLASS(CSelect), 1), 0);
    m_page.RemoveAllSelection();
    EXPECT_EQ(m_page.GetSelectionCount(nullptr), 0);
    EXPECT_EQ(m_page.SelectionValid(RUNTIME_CLASS(CArticle), 0), 0);
}

TEST_F(DesignPageTest, SelectAllInvertAndClear) {
    CArticle* a = AddBox(CWindow(0, 0, 10, 10), nullptr, L"a");
    CArticle* hidden = AddBox(CWindow(0, 0, 10, 10), nullptr, L"hidden");
    hidden->SetProperty(0x20, false);
    auto* emptyGroup = new CArticle; // no extents: never selected
    m_page.RootArticle()->AddChild(emptyGroup);
    CArticle* b = AddBox(CWindow(20, 0, 30, 10), nullptr, L"b");

    ASSERT_TRUE(m_page.ChangeObjectSelection(eSelectAllObjects));
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 2);
    EXPECT_FALSE(m_page.ChangeObjectSelection(eSelectAllObjects)); // nothing new
    EXPECT_EQ(m_page.ObjectSelectionExtents(nullptr), CWindow(0, 0, 30, 10));
    EXPECT_EQ(m_page.ObjectSelectionExtents(m_page.FindObjectSelection(b, 0)),
              CWindow(0, 0, 10, 10));
    EXPECT_EQ(m_page.SelectedObjectsValid(nullptr, 1, nullptr), 1);

    m_page.RemoveObjectSelection(a, 0);
    ASSERT_TRUE(m_page.ChangeObjectSelection(eInvertSelection));
    POSITION pos = m_page.GetFirstObjectSelection(nullptr);
    EXPECT_EQ(m_page.GetNextObjectSelection(pos, nullptr)->Article(), a);
    EXPECT_EQ(pos, nullptr);
    EXPECT_TRUE(m_page.ChangeObjectSelection(eClearSelection));
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 0);
    EXPECT_EQ(m_page.SelectedObjectsValid(nullptr, 1, nullptr), 0);
    EXPECT_FALSE(m_page.ChangeObjectSelection(eChangeObjectSelection(7)));
}

TEST_F(DesignPageTest, SelectionNoticesFromOtherObservers) {
    CSelectionManager manager;
    CRecordingObserver other;
    manager.Attach(&m_page);
    manager.Attach(&other);
    manager.SetActive(true);
    CArticle* a = AddBox(CWindow(0, 0, 10, 10), nullptr, L"a");
    CArticle* b = AddBox(CWindow(0, 0, 10, 10), nullptr, L"b");
    CArticle* c = AddBox(CWindow(0, 0, 10, 10), nullptr, L"c");

    // Hint 4 selects every shown top-level article; the others hear "erase", then "draw".
    CSelectionRequest all;
    m_page.UpdateSelection(CDesignPage::kSelectionHintAll, &all);
    EXPECT_EQ(m_page.GetSelectionCount(nullptr), 3);
    EXPECT_EQ(other.heard, (std::vector<std::pair<UINT, int>>{{128, 0}, {128, 1}}));
    m_page.UpdateSelection(CDesignPage::kSelectionHintAll, nullptr);
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 0);

    // An array without "add" replaces the selection article by article: the last one stays.
    CPtrArray array;
    array.Add(a);
    array.Add(c);
    CSelectionRequest pick;
    pick.Set(CDesignPage::kReqReplace, 0);
    pick.Set(CDesignPage::kReqListKind, CDesignPage::kListKindArray);
    pick.Set(CDesignPage::kReqArray, static_cast<void*>(&array));
    m_page.UpdateSelection(CDesignPage::kSelectionHintSelect, &pick);
    EXPECT_TRUE(m_page.IsObjectSelected(c, 1));
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 1);
    pick.Set(CDesignPage::kReqAdd, true);
    m_page.UpdateSelection(CDesignPage::kSelectionHintSelect, &pick);
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 2);

    // Hint 1024 runs a drawing-order command on the selection.
    CSelectionRequest order;
    order.Set(CDesignPage::kReqOrderCommand, CDesignPage::ID_ORDER_TO_END);
    m_page.UpdateSelection(CDesignPage::kSelectionHintOrder, &order);
    EXPECT_EQ(ChildNames(), (Strings{L"b", L"a", L"c"}));
    (void)b;
    manager.Detach(&m_page);
    manager.Detach(&other);
}

TEST_F(DesignPageTest, DeleteWithAdjustKeepsUnfixedData) {
    auto* group = new CArticle;
    group->SetName(L"g");
    m_page.RootArticle()->AddChild(group);
    AddBox(CWindow(0, 0, 1, 1), group, L"x");
    CArticle* unfixed = AddBox(CWindow(0, 0, 1, 1), group, L"u");
    unfixed->SetProperty(CArticle::kUnfixedBit | CArticle::kNoActiveDataBit, false);
    m_page.StartUndoTransaction(0);
    m_page.DeleteArticle(group, 1, 1);
    // Set beside the group as fixed data, and the group went.
    EXPECT_EQ(ChildNames(), (Strings{L"u"}));
    EXPECT_EQ(unfixed->GetProperties() & 0x05u, 0u);
    m_page.PerformUndoTransaction();
    EXPECT_EQ(ChildNames(), (Strings{L"g"}));
    EXPECT_EQ(ChildNames(group), (Strings{L"x", L"u"}));
    EXPECT_EQ(unfixed->GetProperties() & 0x05u, 0x05u);

    // An adjusting article that merges takes the data; the emptied article is recorded.
    auto* merging = new CMergingArticle;
    merging->Item(new CBoxItem(CWindow(0, 0, 1, 1)));
    m_page.RootArticle()->AddChild(merging);
    CArticle* u2 = AddBox(CWindow(0, 0, 1, 1), merging, L"u2");
    u2->SetProperty(CArticle::kUnfixedBit, false);
    m_page.StartUndoTransaction(0);
    m_page.DeleteArticle(merging, 1, 1);
    EXPECT_EQ(merging->merged, 1);
    EXPECT_EQ(ChildNames(), (Strings{L"g"}));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(ChildNames(merging), (Strings{L"u2"}));
}

TEST_F(DesignPageTest, ParamBlocksAndTheStandardPalette) {
    m_page.fnInitParamBlocks();
    CVectorStylePB* table = m_page.StyleTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->fnGetVectStyleColourPalette(), m_page.GetColourPalette(false, {}));
    const int blocks = m_page.ParamCount();
    m_page.fnInitParamBlocks(); // only once
    EXPECT_EQ(m_page.ParamCount(), blocks);
    m_page.InitStandardPalette();
    EXPECT_GE(table->fnGetSize(), 1);
    EXPECT_EQ(table->fnGetMinimumSize(), 1);
}

TEST_F(DesignPageTest, ResizingTheViewsRecordsTheOldPageFrame) {
    struct CHintLog : public CTestDesignWindow {
        void OnUpdate(CView*, LPARAM hint, CObject* object) override {
            if (auto* area = DynamicDowncast<CAreaHint>(object); area && hint == 7)
                frames.push_back(area->Area());
        }
        std::vector<CWindow> frames;
    };
    auto* view = new CHintLog;
    ASSERT_TRUE(view->CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
    m_page.AddView(view);
    m_pView = view;
    const CWindow before = m_page.Extents();
    m_page.ResizeAllViews(1); // the data fits: nothing changes
    EXPECT_TRUE(view->frames.empty());
    EXPECT_EQ(m_page.GetUndoCount(), 0);

    AddBox(CWindow(0, 0, 150000, 1000));
    m_page.StartUndoTransaction(0);
    m_page.ResizeAllViews(1);
    const CWindow after = m_page.Extents();
    EXPECT_EQ(after, CWindow(0, 0, 150000, 100000));
    EXPECT_EQ(view->frames, (std::vector<CWindow>{before, after}));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(m_page.Extents(), before);
}

TEST_F(DesignPageTest, AReadOnlyDesignIsSavedOnlyUnderAnotherName) {
    const std::string own = m_box.Path("home/own.KDX");
    const std::string other = m_box.Path("home/other.KDX");
    m_page.SetPathName(CString(own.c_str()), FALSE);
    m_page.SetFlags(kPageFlagReadOnly);
    platform::MessageBoxResponder responder;
    CString upper(own.c_str());
    upper.Replace(L"own.KDX", L"OWN.kdx");
    EXPECT_FALSE(m_page.OnSaveDocument(upper));
    ASSERT_EQ(responder.Shown().size(), 1u);
    EXPECT_EQ(responder.Shown()[0].stringId, CDesignPage::IDS_SAVE_READ_ONLY);
    EXPECT_EQ(responder.Shown()[0].text,
              L"ERROR- Cannot Save Design\nThe Design was opened with Read-only permission");
    EXPECT_FALSE(std::filesystem::exists(own));

    EXPECT_TRUE(m_page.OnSaveDocument(CString(other.c_str())));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_TRUE(m_page.FlagsOn(kPageFlagReadOnly));
    EXPECT_EQ(m_page.GetPathName(), CString(own.c_str()));

    // A locked page keeps its window open.
    m_page.Lock();
    EXPECT_FALSE(m_page.SaveModified());
    EXPECT_EQ(responder.Shown().back().stringId, CJoxPage::IDS_DOCUMENT_LOCKED);
    m_page.Unlock();
}

TEST_F(DesignPageTest, TheStoredDesignEndsWithItsOwnEmptyGroup) {
    auto store = [](CObject& o) {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        o.Serialize(ar);
        ar.Close();
        return file.Detach();
    };
    auto load = [](CObject& o, const std::vector<BYTE>& bytes) {
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        o.Serialize(ar);
    };
    const std::vector<BYTE> design = store(m_page);
    auto plainPage = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    const std::vector<BYTE> plain = store(*plainPage);
    const std::vector<BYTE> end{0xFE, 0xFE, 0, 0, 0, 0};
    ASSERT_GT(design.size(), 6u);
    EXPECT_TRUE(std::equal(end.begin(), end.end(), design.end() - 6));
    EXPECT_EQ(design.size(), plain.size() + 6);

    // Fields a later version adds to the group are skipped; a page stored without the group
    // loads too.
    std::vector<BYTE> later(design.begin(), design.end() - 6);
    for (BYTE b : {0x07, 0x00, 0x02, 0x00, 0x00, 0x00, 0xAB, 0xCD})
        later.push_back(b);
    later.insert(later.end(), end.begin(), end.end());
    for (const std::vector<BYTE>* bytes :
         std::initializer_list<const std::vector<BYTE>*>{&design, &later, &plain}) {
        CTestDesignPage page;
        EXPECT_NO_THROW(load(page, *bytes));
    }
}

TEST_F(DesignPageTest, OpeningGivesTheParamBlocksAndADamagedFileLosesNothingElse) {
    const std::string path = m_box.Path("home/saved.KDX");
    delete AddBox(CWindow(0, 0, 10, 10), nullptr, L"a")->DetachItem(); // stored without one
    ASSERT_TRUE(m_page.OnSaveDocument(CString(path.c_str())));
    {
        CTestDesignPage opened;
        opened.m_bAutoDelete = FALSE;
        ASSERT_TRUE(opened.OnOpenDocument(CString(path.c_str())));
        EXPECT_NE(opened.StyleTable(), nullptr);
        EXPECT_EQ(ChildNames(opened.RootArticle()), (Strings{L"a"}));
        opened.OnCloseDocument();
    }
    const std::string damaged = m_box.Path("home/damaged.KDX");
    std::ofstream(damaged, std::ios::binary) << "not a design at all";
    platform::MessageBoxResponder responder;
    CTestDesignPage opened;
    opened.m_bAutoDelete = FALSE;
    EXPECT_FALSE(opened.OnOpenDocument(CString(damaged.c_str())));
    EXPECT_EQ(opened.RootArticle()->GetFirstChild(), nullptr);
}

// What an opened design may hold: empty groups, glued articles without children, articles
// without items, inverted extents. Every command copes, and undo brings the design back.
TEST_F(DesignPageTest, OddArticlesSurviveEveryCommandAndItsUndo) {
    auto* empty = new CArticle;
    empty->SetName(L"empty");
    m_page.RootArticle()->AddChild(empty);
    auto* glued = new CArticle;
    glued->SetName(L"glued");
    glued->SetProperty(CDesignPage::kGluedBit, false);
    m_page.RootArticle()->AddChild(glued);
    AddBox(CWindow(10, 10, 0, 0), nullptr, L"inverted");
    CArticle* g = AddBox(CWindow(0, 0, 5, 5), nullptr, L"g");
    delete g->DetachItem();
    AddBox(CWindow(0, 0, 5, 5), g, L"child");
    AddBox(CWindow(0, 0, 5, 5), nullptr, L"box");
    const Strings start = ChildNames();

    auto selectEverything = [&] {
        m_page.RemoveAllObjectSelection();
        for (CTree* t = m_page.RootArticle()->GetFirstChild(); t; t = t->GetRsibling()) {
            m_page.AddObjectSelection(static_cast<CArticle*>(t), CSelect::kSelectArticle, 1);
            m_page.AddObjectSelection(static_cast<CArticle*>(t), CSelect::kSelectItem, 1);
        }
    };
    selectEverything();
    EXPECT_EQ(m_page.GetObjectSelectionCount(), 2); // g and box: the others have no extents
    const std::vector<void (*)(CDesignPage&)> commands = {
        [](CDesignPage& p) { p.ChangeObjectSelection(eInvertSelection); },
        [](CDesignPage& p) { p.Rotate90Selection(); },
        [](CDesignPage& p) { p.ReOrderSelection(CDesignPage::ID_ORDER_TO_START, false); },
        [](CDesignPage& p) { p.ReOrderSelection(CDesignPage::ID_ORDER_BEFORE_LAST, false); },
        [](CDesignPage& p) { p.GlueObjectSelection(); },
        [](CDesignPage& p) { p.UnGlueObjectSelection(); },
        [](CDesignPage& p) { p.ReOrderSelection(CDesignPage::ID_ORDER_TO_END, false); },
        [](CDesignPage& p) { p.OnEditClear(1); },
    };
    int transactions = 0;
    for (auto command : commands) {
        selectEverything();
        const int before = m_page.GetUndoCount();
        command(m_page);
        transactions += m_page.GetUndoCount() > before;
    }
    EXPECT_EQ(ChildNames(), (Strings{L"empty", L"glued", L"inverted"}));
    while (m_page.PerformUndoTransaction())
        --transactions;
    EXPECT_EQ(transactions, 0);
    EXPECT_EQ(ChildNames(), start);
    while (m_page.PerformRedoTransaction())
        ++transactions;
    EXPECT_EQ(ChildNames(), (Strings{L"empty", L"glued", L"inverted"}));
}

TEST_F(DesignPageTest, SavingTakesTheContextOfTheDesignView) {
    struct CContextView : public CDesignView {
        int Context() override { return context; }
        int context = 44;
    };
    auto view = std::make_unique<CContextView>();
    m_page.AddView(view.get());
    platform::MessageBoxResponder responder;
    ASSERT_TRUE(m_page.OnSaveDocument(CString(m_box.Path("home/a.KDX").c_str())));
    EXPECT_EQ(m_page.Context(), 44);
    EXPECT_TRUE(responder.Shown().empty());
    view->context = -1;
    ASSERT_TRUE(m_page.OnSaveDocument(CString(m_box.Path("home/b.KDX").c_str())));
    ASSERT_EQ(responder.Shown().size(), 1u);
    EXPECT_EQ(responder.Shown()[0].text, L"Document Will be saved with no context");
    m_page.RemoveView(view.get());
}

// A selection holding an article and its parent: moving the parent next to its own child
// detached it for good.
TEST_F(DesignPageTest, OrderCommandsNeverLoseAnArticleSelectedWithItsParent) {
    for (UINT command : {CDesignPage::ID_ORDER_TO_START, CDesignPage::ID_ORDER_AFTER_FIRST,
                         CDesignPage::ID_ORDER_BEFORE_LAST, CDesignPage::ID_ORDER_TO_END}) {
        SCOPED_TRACE(command);
        CArticle* group = AddBox(CWindow(0, 0, 10, 10), nullptr, L"g");
        CArticle* child = AddBox(CWindow(0, 0, 5, 5), group, L"c");
        AddBox(CWindow(0, 0, 5, 5), nullptr, L"other");
        Select({child, group});
        m_page.ReOrderSelection(command, false);
        EXPECT_TRUE(m_page.IsInActiveTree(group));
        EXPECT_TRUE(m_page.IsInActiveTree(child));
        m_page.PerformUndoTransaction();
        EXPECT_EQ(ChildNames(), (Strings{L"g", L"other"}));
        EXPECT_EQ(ChildNames(group), (Strings{L"c"}));
        m_page.RemoveAllSelection();
        m_page.ClearRedoTransactions();
        while (CTree* t = m_page.RootArticle()->GetFirstChild())
            m_page.DeleteArticle(static_cast<CArticle*>(t), 0, 0);
    }
}

TEST_F(DesignPageTest, InsertArticleFollowsTheTreeAndNeverAFreedArticle) {
    CArticle* group = AddBox(CWindow(0, 0, 10, 10));
    CArticle* a = AddBox(CWindow(0, 0, 1, 1), group);
    CArticle* other = AddBox(CWindow(5, 5, 6, 6));
    m_page.InsertArticle(a);
    EXPECT_EQ(m_page.InsertArticle(), a);
    a->Detach(); // kept alive elsewhere, as an undo record keeps it
    EXPECT_EQ(m_page.InsertArticle(), nullptr);
    group->AddChild(a);
    EXPECT_EQ(m_page.InsertArticle(), a);
    m_page.DeleteArticle(other, 0, 0); // something else freed
    EXPECT_EQ(m_page.InsertArticle(), a);
    group->Detach();
    EXPECT_EQ(m_page.InsertArticle(), nullptr);
    // Freed behind the page's back: the page must not follow the old address.
    delete group;
    EXPECT_EQ(m_page.InsertArticle(), nullptr);
    EXPECT_EQ(m_page.InsertOn(), 0);
}

} // namespace

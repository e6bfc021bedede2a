// CDesignPage: the document of every design window. To the core page it adds what editing
// needs: the object selection and the article selection derived from it, hit testing,
// deletion, and the undo and redo stacks of named transactions.
#pragma once
#include "design/output_order.h"
#include "pivora/jox_page.h"
#include "pivora/selection_observer.h"
#include "platform/core/collections.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CBaseUndo;
class CDesignTool;
class CDesignView;
class CJoxDC;
class CJoxView;
class CSubTool;
class CMat2d;
class CSelect;
class CSelectionRequest;
class CVectorStylePB;

using CBaseUndoArray = CTypedPtrArray<CPtrArray, CBaseUndo*>;
using CSelectList = CList<CSelect*, CSelect*>;

enum eChangeObjectSelection { eClearSelection = 0, eSelectAllObjects = 1, eInvertSelection = 2 };

class CDesignPage : public CJoxPage, public CSelectionObserver {
    DECLARE_DYNCREATE(CDesignPage)
public:
    static constexpr int kContext = 43;
    // Transaction names and messages.
    static constexpr UINT IDS_ROTATE_90 = 43053;
    static constexpr UINT IDS_SAVE_READ_ONLY = 43243;
    // View hints.
    static constexpr LPARAM kHintAll = 0;
    static constexpr LPARAM kHintArticle = 2;
    static constexpr LPARAM kHintSelection = 3;
    // The page frame moved; the hint object is a CAreaHint with the old or the new extents.
    static constexpr LPARAM kHintPageFrame = 7;

    // Selection notices: what UpdateSelection hears, and what the page tells the others
    // (128 carries a pointer to a flag byte: set when the new selection is to be drawn).
    static constexpr UINT kSelectionHintSelect = 1;
    static constexpr UINT kSelectionHintAll = 4;
    static constexpr UINT kSelectionHintOrder = 1024;
    static constexpr UINT kNotifySelectionChanged = 128;
    // Keys of a selection request.
    enum : UINT {
        kReqAdd = 1,           // bool: select (or add) rather than deselect (or replace)
        kReqReplace = 3,       // int: non-negative clears the selection first
        kReqTarget = 4,        // pointer: CArticle* to place the selection before
        kReqClear = 6,         // bool: hint 4 clears rather than selects all
        kReqNotifyFirst = 7,   // bool
        kReqListKind = 8,      // UINT: kListKindArray takes key 11, else key 10
        kReqList = 10,         // pointer: CArticleList*
        kReqArray = 11,        // pointer: CPtrArray* of CArticle*
        kReqReorder = 12,      // bool
        kReqTopLevel = 13,     // bool
        kReqOrderCommand = 19, // UINT: a drawing-order command
    };
    static constexpr UINT kListKindArray = 8;

    CDesignPage();
    ~CDesignPage() override;

    static int IsCDesignPage(const CObject* o);

    // Object selection.
    // Null for a null article or one with empty extents; else the new entry, or null when the
    // article was already selected.
    CSelect* AddObjectSelection(CArticle* article, int mode, int add);
    // Takes select; 0 (select not taken) when its article is already selected.
    int AddObjectSelection(CSelect* select, int add);
    // Each listed article below the active root: selected with mode 1 (added), or with select
    // 0 deselected with its children. How many were handled.
    int AddObjectSelection(CArticleList& list, int unused, int select);
    void RemoveObjectSelection(CSelect* select);
    void RemoveObjectSelection(CArticle* article, int withChildren);
    void RemoveObjectSelectionAt(POSITION pos);
    void RemoveAllObjectSelection();
    // An article has at most one entry; null when it has none or, with mode, another mode.
    CSelect* FindObjectSelection(CArticle* article, int mode);
    int IsObjectSelected(CArticle* article, int mode);
    bool ChangeObjectSelection(eChangeObjectSelection change);
    // Walks skip entries whose article is not of class c (any class for null).
    POSITION GetFirstObjectSelection(const CRuntimeClass* c) override;
    POSITION GetLastObjectSelection(const CRuntimeClass* c);
    CSelect* GetNextObjectSelection(POSITION& pos, const CRuntimeClass* c) override;
    CSelect* GetPrevObjectSelection(POSITION& pos, const CRuntimeClass* c);
    int GetObjectSelectionCount(const CRuntimeClass* c = nullptr) const;
    // Appends the selected articles of class c; with deep also every glued article's
    // descendants of the class.
    const CSelectList& GetObjectSelectionList(CArticleList& list, const CRuntimeClass* c,
                                              bool deep);
    const CSelectList& GetObjectSelectionList() const { return m_ObjectSelection; }
    // Union of every entry's extents but except's; the empty window when there is none.
    CWindow ObjectSelectionExtents(CSelect* except);
    int SelectedObjectsValid(const CRuntimeClass* c, int all, CArticle** out);

    // The article selection: the articles with items that the object selection covers,
    // rebuilt on its next use after the object selection changed.
    void SyncVirtualSelection(const CRuntimeClass* c);
    POSITION GetFirstSelection(const CRuntimeClass* c);
    POSITION GetLastSelection(const CRuntimeClass* c);
    CArticle* GetNextSelection(POSITION& pos, const CRuntimeClass* c);
    CArticle* GetPrevSelection(POSITION& pos, const CRuntimeClass* c);
    int GetSelectionCount(const CRuntimeClass* c);
    // The article selection already holds descendants, so deep changes nothing.
    CArticleList& GetSelectionList(CArticleList& list, const CRuntimeClass* c, bool deep);
    int IsSelected(CArticle* a);
    void AddSelection(CArticle* a, int add);
    void RemoveSelection(CArticle* a, int withChildren);
    void RemoveSelectionAt(POSITION pos);
    POSITION FindSelection(CArticle* a);
    // Clears the object selection and empties the article selection.
    void RemoveAllSelection() override;
    int SelectionValid(const CRuntimeClass* c, int all);

    // With all, every article of the tree that can be selected; else the root's children
    // that are shown and active, or hold unfixed data. Null for a null list or an empty root.
    CArticleList* GetObjectList(CArticleList* list, int all);
    // The article under the client point; clicks repeated at one place cycle through the
    // stacked articles, nearest first.
    CArticle* ArticleAt(CJoxView* view, CPoint point);
    // The articles of the last hit, for walking them; they may have gone since.
    const CArticleList& HitList() const { return m_HitList; }

    // Selection notices from the other observers.
    void UpdateSelection(UINT hint, void* request) override;

    // Drawing order: 43047 to start, 43048 after first, 43049 before last, 43050 to end.
    static constexpr UINT ID_ORDER_TO_START = 43047;
    static constexpr UINT ID_ORDER_AFTER_FIRST = 43048;
    static constexpr UINT ID_ORDER_BEFORE_LAST = 43049;
    static constexpr UINT ID_ORDER_TO_END = 43050;
    // Whether the command is allowed; performs it unless test is set.
    bool ReOrderSelection(UINT command, bool test);
    // Every selected article before target (with topLevel, before its ancestor that is a child
    // of the root); without a target, before the last selected one.
    void ReOrderSelectionBefore(bool topLevel, CArticle* target);

    // Groups and glued objects.
    static constexpr DWORD kGluedBit = 0x400;
    void CreateGroupFromSelection(const CString& name);
    void UnGroupSelection();
    int GetLastAutoGroup();
    void SetLastAutoGroup(int n);
    void GlueObjectSelection();
    void UnGlueObjectSelection();
    // Empties the array, which then holds the new glued article.
    static void CreateGluedObject(CPtrArray& articles);

    // Parameter blocks: a colour palette and a line-style table bound to it.
    void fnInitParamBlocks();
    void InitStandardPalette();
    CVectorStylePB* StyleTable();
    void fnSetLastColourUsed(int colour) { m_nLastColourUsed = colour; }
    int fnGetLastColourUsed() const { return m_nLastColourUsed; }
    // Every view sizes itself to the data; a page frame that moved is redrawn and, with
    // withUndo, recorded.
    void ResizeAllViews(int withUndo);

    // The document road, through the browsing functions. A design opened read-only cannot be
    // saved over its own file; a locked one refuses the close prompt.
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const wchar_t* path) override;
    BOOL OnSaveDocument(const wchar_t* path) override;
    void OnCloseDocument() override;
    BOOL SaveModified() override;
    BOOL DoSave(const wchar_t* path, BOOL replace = TRUE) override;
    virtual void ClearAllData() {}

    // Turns the selection a quarter turn counter-clockwise about the centre of its extents.
    void Rotate90Selection();

    // Deletes the selected articles as one transaction; with takeEmptyParents a parent left
    // empty (not a root) goes instead.
    void OnEditClear(int takeEmptyParents);
    void InsertArticle(CArticle* a);
    // The insert article while it still belongs to this page, else null.
    CArticle* InsertArticle();
    int InsertOn() { return InsertArticle() != nullptr; }

    // Deletion: with undo the article is recorded and detached (the record owns it), else
    // deleted. Children are deleted one by one first, each with its own record. With adjust
    // the article's unfixed data is first merged or moved out, and an emptied wrapper parent
    // goes in its place.
    void DeleteArticle(CArticle* a, int adjust, int undo) override;
    // Whether a is the active root article or below it; never reads a itself, so a pointer
    // to an article freed meanwhile is safe to ask about.
    int IsInActiveTree(const CArticle* a);
    // While undo or redo runs, the records report articles they put back or take out.
    void NoteInTree(CArticle* a);
    void NoteOutOfTree(CArticle* a);

    // Undo and redo.
    void StartUndoTransaction(int nameId);
    // Takes record.
    void AddUndo(CBaseUndo* record, int nameId);
    // A singular matrix cannot be inverted: the article (and its subtree with recurse) is
    // then recorded as a deep copy instead.
    void AddMoveUndo(CArticle* a, CMat2d& m, int nameId, int recurse);
    void AddDeleteUndo(CArticle* a, int nameId);
    void AddReorderUndo(CArticle* a, int nameId);
    void AddNewUndo(CArticle* a, int nameId);
    void AddEditUndo(CArticle* a, int nameId, int recurse);
    void AddDeleteItemUndo(CArticle* a, int nameId);
    void AddUndoBackground(DWORD colour, int on, int nameId);
    void AddDesignSizeUndo(CWindow oldExtents, int nameId);
    void AddMoveOriginUndo(CWindow oldExtents, int nameId);
    // Takes saved, a style table bound to its own palette (CImpPaletteUndo::CopyPageStyles).
    void AddImportPaletteUndo(CVectorStylePB* saved, int nameId);
    void AddGridAddUndo(int direction, int position, int redraw);
    void AddGridMoveUndo(int direction, int index, int newPosition, int redraw);
    void AddGridDeleteUndo(int direction, int index);
    // Whether anything moved.
    int PerformUndoTransaction();
    int PerformRedoTransaction();
    void ClearUndoTransactions();
    void ClearRedoTransactions();
    int GetUndoCount() const { return int(m_UndoArray.GetSize()); }
    int GetRedoCount() const { return int(m_RedoArray.GetSize()); }
    const CStringArray& UndoTransactionNames() const { return m_UndoNames; }
    const CStringArray& RedoTransactionNames() const { return m_RedoNames; }

    // The name of a transaction: the string's text after its last newline.
    static CString TransactionName(int nameId);

    // Sorted output for cutting (document/sorted_output.cpp). The lists borrow articles of the
    // tree: rebuild them after any edit. Scope 0 whole design, 1 selection, 2 (and any other)
    // the line colours of the selection. Both lists are null before the first call.
    static constexpr UINT IDS_SORTING_OBJECTS = 43406;
    void CreateSortedOutput(int scope, EStartPointMode startMode, EOrderMode orderMode,
                            int insideFirst, int maxDeviation, int excludeMarks);
    CArticleList* GetSortedOutput() const { return m_pSortedOutput.get(); }
    CList<int, int&>* GetSortedOutputStartPoints() const {
        return m_pSortedOutputStartPoints.get();
    }

private:
    void GetOutputArticles(int scope, CArticleList* list, int excludeMarks);
    void AddSelectedColor(CArticle* a);
    int HasSelectedColor(CArticle* a);
    std::unique_ptr<CArticleList> m_pSortedOutput;
    std::unique_ptr<CList<int, int&>> m_pSortedOutputStartPoints;
    std::unordered_set<COLORREF> m_SelectedColours;

public:
    // Tools: a new tool waits as pending until the view runs command 43083 (sent with now,
    // else posted). Replaced tools are freed once the view has finished the message in which
    // they were replaced (DeleteRetiredTools), never inside their own handlers.
    CDesignTool* GetDesignTool();
    CSubTool* GetSubTool() const { return m_pSubTool; }
    CDesignTool* SelectDesignTool(CDesignTool* tool, CDesignView* view, int now);
    CSubTool* SelectSubTool(CSubTool* tool, CDesignView* view, int now);
    void OnSelectTool(CDesignView* view);
    void OnSubToolExit(CDesignView* view);
    void OnDrawTool(CDesignView* view, CJoxDC* dc);
    void DeleteDesignTool();
    void DeleteRetiredTools();
    // A tool that ends itself while neither current nor pending is freed with the replaced
    // ones (once); keys go through the current tool's table while it has one.
    bool IsPendingTool(const CDesignTool* tool) const;
    void RetireTool(CDesignTool* tool);
    HACCEL GetDefaultAccelerator() override;

    // Every view of the page that is a CJoxView, for the records' redraws.
    template <class Fn> void ForEachJoxView(Fn fn);

private:
    // The article that deletion takes after the unfixed data left it.
    CArticle* DeleteAdjustRoad(CArticle* a, int undo);
    // Deletes a, whose article children are gone already.
    void DeleteOne(CArticle* a, int undo);
    // Drops top and its subtree from the hit list before they leave the tree.
    void ForgetHit(CArticle* top);
    void ObjectSelectionChanged() { m_bSelectionChanged = 1; }
    void SyncSelection() { SyncVirtualSelection(nullptr); }
    void AppendSelection(CArticle* a);
    void SelectFromRequest(CSelectionRequest* request);
    void NotifySelection(bool draw);
    // The selected articles in selection order.
    std::vector<CArticle*> SelectedArticles() const;
    void MoveArticle(CArticle* a, CArticle* before, CArticle* after, CArticle* parent);
    int MoveTransaction(CBaseUndoArray& from, CBaseUndoArray& to);
    static void ClearStack(CBaseUndoArray& stack);

    CSelectList m_ObjectSelection{10};
    // Article to its entry, so that checks and removals do not walk the list.
    std::unordered_map<const CArticle*, POSITION> m_ObjectIndex;
    CArticleList m_Selection{10};
    std::unordered_map<const CArticle*, POSITION> m_SelectionIndex;
    int m_bSelectionChanged = 0;
    CArticleList m_HitList{10};
    POSITION m_HitPos = nullptr;
    CBaseUndoArray m_UndoArray;
    CBaseUndoArray m_RedoArray;
    CStringArray m_UndoNames;
    CStringArray m_RedoNames;
    CArticle* m_pInsertArticle = nullptr;
    // The tree's freed-node count when the insert article was last known alive.
    uint64_t m_nInsertAliveAt = 0;
    int m_nLastColourUsed = 1;
    CDesignTool* m_pDesignTool = nullptr;
    CDesignTool* m_pPendingDesignTool = nullptr;
    CSubTool* m_pSubTool = nullptr;
    CSubTool* m_pPendingSubTool = nullptr;
    std::vector<CDesignTool*> m_RetiredTools;
    // The active tree's articles while a transaction moves; null otherwise.
    struct TreeSet;
    TreeSet* m_pTreeSet = nullptr;
};

#include "pivora/framework/jox_view.h"

template <class Fn> void CDesignPage::ForEachJoxView(Fn fn) {
    POSITION pos = GetFirstViewPosition();
    while (pos)
        if (auto* v = DynamicDowncast<CJoxView>(GetNextView(pos)))
            fn(v);
}

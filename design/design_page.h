// CDesignPage: the document of every design window. To the core page it adds what editing
// needs: the object selection, deletion, and the undo and redo stacks of named transactions.
#pragma once
#include "pivora/jox_page.h"
#include "platform/core/collections.h"

#include <vector>

class CBaseUndo;
class CJoxView;
class CMat2d;
class CSelect;
class CVectorStylePB;

using CBaseUndoArray = CTypedPtrArray<CPtrArray, CBaseUndo*>;

class CDesignPage : public CJoxPage {
    DECLARE_DYNCREATE(CDesignPage)
public:
    static constexpr int kContext = 43;
    // Transaction names.
    static constexpr UINT IDS_ROTATE_90 = 43053;
    // View hints.
    static constexpr LPARAM kHintAll = 0;
    static constexpr LPARAM kHintArticle = 2;
    static constexpr LPARAM kHintSelection = 3;

    CDesignPage();
    ~CDesignPage() override;

    static int IsCDesignPage(const CObject* o);

    // Object selection.
    // Null for a null article or one with empty extents; else the new entry, or null when the
    // article was already selected.
    CSelect* AddObjectSelection(CArticle* article, int mode, int add);
    // Takes select; 0 (select not taken) when its article is already selected.
    int AddObjectSelection(CSelect* select, int add);
    void RemoveObjectSelection(CArticle* article, int withChildren);
    void RemoveAllObjectSelection();
    int IsObjectSelected(CArticle* article, int mode);
    int GetObjectSelectionCount() const { return int(m_ObjectSelection.GetCount()); }
    void RemoveAllSelection() override;
    POSITION GetFirstObjectSelection(const CRuntimeClass* c) override;
    CSelect* GetNextObjectSelection(POSITION& pos, const CRuntimeClass* c) override;

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

    // Turns the selection a quarter turn counter-clockwise about the centre of its extents.
    void Rotate90Selection();

    // Deletes the selected articles as one transaction; with takeEmptyParents a parent left
    // empty (not a root) goes instead.
    void OnEditClear(int takeEmptyParents);
    void InsertArticle(CArticle* a) { m_pInsertArticle = a; }
    // The insert article while it still belongs to this page, else null.
    CArticle* InsertArticle();
    int InsertOn() { return InsertArticle() != nullptr; }

    // Deletion: with undo the article is recorded and detached (the record owns it), else
    // deleted. Children are deleted one by one first, each with its own record.
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
    CBaseUndo* GetUndoRecord(int i) const { return m_UndoArray.GetAt(i); }

    // The name of a transaction: the string's text after its last newline.
    static CString TransactionName(int nameId);

    // Every view of the page that is a CJoxView, for the records' redraws.
    template <class Fn> void ForEachJoxView(Fn fn);

private:
    // The selected articles in selection order.
    std::vector<CArticle*> SelectedArticles() const;
    void MoveArticle(CArticle* a, CArticle* before, CArticle* after, CArticle* parent);
    int MoveTransaction(CBaseUndoArray& from, CBaseUndoArray& to);
    static void ClearStack(CBaseUndoArray& stack);

    CList<CSelect*, CSelect*> m_ObjectSelection{10};
    CBaseUndoArray m_UndoArray;
    CBaseUndoArray m_RedoArray;
    CStringArray m_UndoNames;
    CStringArray m_RedoNames;
    CArticle* m_pInsertArticle = nullptr;
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

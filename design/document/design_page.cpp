#include "design/design_page.h"

#include "design/base_undo.h"
#include "design/design_tool.h"
#include "design/document/design_undo.h"
#include "design/document/guide_undo.h"
#include "design/document/subtree_walk.h"
#include "design/document/undo.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/grid.h"
#include "pivora/select.h"
#include "platform/windowing/resources.h"

#include <string>
#include <unordered_set>

IMPLEMENT_DYNCREATE(CDesignPage, CJoxPage)

struct CDesignPage::TreeSet {
    std::unordered_set<const CArticle*> articles;
};

namespace {

void CollectTree(CArticle* top, std::unordered_set<const CArticle*>& out) {
    if (top)
        ForSubtree(top, [&](CArticle* a) { out.insert(a); });
}

} // namespace

CDesignPage::CDesignPage() {
    Context(kContext);
}

CDesignPage::~CDesignPage() {
    DeleteDesignTool();
    ClearUndoTransactions();
    ClearRedoTransactions();
    RemoveAllObjectSelection();
}

int CDesignPage::IsCDesignPage(const CObject* o) {
    return o && o->IsKindOf(RUNTIME_CLASS(CDesignPage));
}

// Deletion ----------------------------------------------------------------------------------

CArticle* CDesignPage::DeleteAdjustRoad(CArticle* a, int undo) {
    CArticle* source = a->DeleteAdjust();
    if (!source || !source->GetParent())
        return a;
    // Unfixed data inside the article outlives it: merged into the adjusting article where it
    // allows, else set beside it as fixed data of its own.
    CArticle* current = source;
    CArticle* edited = nullptr;
    while (CArticle* u = source->DeleteAdjustGetUnfixed(0)) {
        if (u == current || u->IsParentOf(current))
            break;
        if (undo)
            AddReorderUndo(u, 0);
        if (current->InsertMerge(u, 0)) {
            // These records own what the merge leaves behind, so they are made even without undo.
            if (edited != current) {
                AddEditUndo(current, 0, 0);
                edited = current;
            }
            current->InsertMerge(u, 1);
            AddDeleteUndo(u, 0);
            u->Detach();
        } else {
            u->Detach();
            current->InsertMerge(u, 1);
            u->ClrProperty(CArticle::kUnfixedBit | CArticle::kNoActiveDataBit, false);
            if (CItem* item = u->GetItem())
                item->ClrProperty(CItem::kNotDrawnBit);
            current = u;
        }
        if (u == source || u->IsChildOf(source))
            break; // an article class that keeps it inside would loop for ever
    }
    return source->DeleteAdjustParent();
}

void CDesignPage::DeleteArticle(CArticle* a, int adjust, int undo) {
    if (!a || a == EmbeddedRootArticle())
        return;
    if (a == m_pInsertArticle)
        m_pInsertArticle = nullptr;
    if (adjust) {
        a = DeleteAdjustRoad(a, undo);
        if (!a || a == EmbeddedRootArticle() || !a->GetParent())
            return;
    }
    // Children go first, deepest first, each with its own record; walked without recursion
    // so that a deeply nested design cannot exhaust the stack.
    for (CArticle* t = a;;) {
        if (auto* c = DynamicDowncast<CArticle>(t->GetFirstChild())) {
            t = c;
            continue;
        }
        if (t == a)
            break;
        auto* parent = static_cast<CArticle*>(t->GetParent());
        DeleteOne(t, undo);
        t = parent;
    }
    DeleteOne(a, undo);
}

void CDesignPage::DeleteOne(CArticle* a, int undo) {
    if (a == m_pInsertArticle)
        m_pInsertArticle = nullptr;
    if (undo)
        AddDeleteUndo(a, 0);
    a->InvExtents(1);
    RemoveObjectSelection(a, 1);
    ForgetHit(a);
    SetModifiedFlag(TRUE);
    if (undo)
        a->Detach();
    else
        CJoxPage::DeleteArticle(a, 0, 0);
}

void CDesignPage::ForgetHit(CArticle* top) {
    if (m_HitList.IsEmpty() || !top)
        return;
    std::unordered_set<const CArticle*> gone;
    CollectTree(top, gone);
    for (POSITION pos = m_HitList.GetHeadPosition(); pos;) {
        POSITION at = pos;
        if (gone.count(m_HitList.GetNext(pos))) {
            if (m_HitPos == at)
                m_HitPos = nullptr;
            m_HitList.RemoveAt(at);
        }
    }
}

int CDesignPage::IsInActiveTree(const CArticle* a) {
    if (!a)
        return 0;
    if (m_pTreeSet)
        return m_pTreeSet->articles.count(a) ? 1 : 0;
    int found = 0;
    if (CArticle* root = RootArticle())
        ForSubtree(root, [&](CArticle* t) { found |= t == a; });
    return found;
}

void CDesignPage::NoteInTree(CArticle* a) {
    if (m_pTreeSet && a)
        CollectTree(a, m_pTreeSet->articles);
}

void CDesignPage::NoteOutOfTree(CArticle* a) {
    ForgetHit(a);
    if (m_pTreeSet && a)
        m_pTreeSet->articles.erase(a);
}

// Undo and redo -----------------------------------------------------------------------------

void DesignRegisterStrings();

CString CDesignPage::TransactionName(int nameId) {
    DesignRegisterStrings();
    if (nameId <= 0)
        return CString();
    std::wstring text;
    if (!platform::LoadResourceString(UINT(nameId), text))
        return CString();
    const size_t nl = text.rfind(L'\n');
    if (nl != std::wstring::npos)
        text.erase(0, nl + 1);
    return CString(text.c_str());
}

void CDesignPage::StartUndoTransaction(int nameId) {
    const CString name = TransactionName(nameId);
    const INT_PTR n = m_UndoArray.GetSize();
    if (n > 0 && m_UndoArray.GetAt(n - 1)->IsMarker()) {
        if (m_UndoNames.GetSize() > 0)
            m_UndoNames.SetAt(0, name);
        else
            m_UndoNames.InsertAt(0, name);
        return;
    }
    if (m_UndoArray.GetSize() == 0)
        m_UndoArray.SetSize(0, 30);
    m_UndoArray.Add(new CBaseUndo(CBaseUndo::kMarker));
    m_UndoNames.InsertAt(0, name);
}

void CDesignPage::AddUndo(CBaseUndo* record, int nameId) {
    if (!record)
        return;
    if (nameId > 0)
        StartUndoTransaction(nameId);
    m_UndoArray.Add(record);
    ClearRedoTransactions();
}

void CDesignPage::AddMoveUndo(CArticle* a, CMat2d& m, int nameId, int recurse) {
    if (!a)
        return;
    CMat2d inverse;
    if (!m.fnInverse(&inverse)) {
        // The inverse cannot bring the geometry back: keep copies of it instead.
        if (nameId > 0)
            StartUndoTransaction(nameId);
        AddEditUndo(a, 0, 0);
        if (recurse)
            ForSubtree(a, [&](CArticle* c) {
                if (c != a)
                    AddEditUndo(c, 0, 0);
            });
        return;
    }
    auto* u = new CUndo(CBaseUndo::kTransform);
    u->SetArticle(a, 0);
    u->SetTransform(m);
    u->SetRecurse(recurse);
    AddUndo(u, nameId);
}

void CDesignPage::AddDeleteUndo(CArticle* a, int nameId) {
    auto* u = new CUndo(CBaseUndo::kDeleted);
    u->SetArticle(a, 0);
    AddUndo(u, nameId);
}

void CDesignPage::AddReorderUndo(CArticle* a, int nameId) {
    auto* u = new CUndo(CBaseUndo::kReordered);
    u->SetArticle(a, 0);
    AddUndo(u, nameId);
}

void CDesignPage::AddNewUndo(CArticle* a, int nameId) {
    auto* u = new CUndo(CBaseUndo::kAdded);
    u->SetArticle(a, 0);
    u->SetRecurse(1);
    AddUndo(u, nameId);
}

void CDesignPage::AddEditUndo(CArticle* a, int nameId, int recurse) {
    auto* u = new CUndo(CBaseUndo::kEdited);
    u->SetArticle(a, 1);
    u->SetRecurse(recurse);
    AddUndo(u, nameId);
}

void CDesignPage::AddDeleteItemUndo(CArticle* a, int nameId) {
    auto* u = new CUndo(CBaseUndo::kItemDeleted);
    u->SetArticle(a, 1);
    AddUndo(u, nameId);
}

void CDesignPage::AddUndoBackground(DWORD colour, int on, int nameId) {
    auto* u = new CUndo(CBaseUndo::kBackground);
    u->SetBackground(colour, on);
    u->SetRecurse(1);
    AddUndo(u, nameId);
}

int CDesignPage::MoveTransaction(CBaseUndoArray& from, CBaseUndoArray& to) {
    const INT_PTR start = to.GetSize();
    TreeSet set;
    CollectTree(RootArticle(), set.articles);
    m_pTreeSet = &set;
    bool sawMarker = false;
    // The bottom of the stack ends the transaction too.
    while (from.GetSize() > 0) {
        const INT_PTR last = from.GetSize() - 1;
        CBaseUndo* record = from.GetAt(last);
        from.RemoveAt(last);
        if (record->IsMarker()) {
            to.InsertAt(start, record->CreateRedo(this));
            delete record;
            sawMarker = true;
            break;
        }
        CArticle* a = record->TreeArticle();
        if (a && !IsInActiveTree(a)) {
            record->ForgetArticle();
        } else {
            to.Add(record->CreateRedo(this));
            record->DoUndo(this);
            SetModifiedFlag(TRUE);
            GetDesignTool()->OnUndoComplete(record);
        }
        delete record;
    }
    // Records found without a marker still go over as one transaction.
    if (!sawMarker && to.GetSize() > start)
        to.InsertAt(start, new CBaseUndo(CBaseUndo::kMarker));
    m_pTreeSet = nullptr;
    return to.GetSize() > start;
}

static void MoveFirstName(CStringArray& from, CStringArray& to) {
    CString name;
    if (from.GetSize() > 0) {
        name = from.GetAt(0);
        from.RemoveAt(0);
    }
    to.InsertAt(0, name);
}

int CDesignPage::PerformUndoTransaction() {
    if (!MoveTransaction(m_UndoArray, m_RedoArray))
        return 0;
    MoveFirstName(m_UndoNames, m_RedoNames);
    return 1;
}

int CDesignPage::PerformRedoTransaction() {
    if (!MoveTransaction(m_RedoArray, m_UndoArray))
        return 0;
    MoveFirstName(m_RedoNames, m_UndoNames);
    return 1;
}

void CDesignPage::ClearStack(CBaseUndoArray& stack) {
    for (INT_PTR i = 0; i < stack.GetSize(); ++i)
        delete stack.GetAt(i);
    stack.RemoveAll();
}

void CDesignPage::ClearUndoTransactions() {
    ClearStack(m_UndoArray);
    m_UndoNames.RemoveAll();
}

void CDesignPage::ClearRedoTransactions() {
    ClearStack(m_RedoArray);
    m_RedoNames.RemoveAll();
}

void CDesignPage::AddDesignSizeUndo(CWindow oldExtents, int nameId) {
    auto* u = new CDesignUndo(this, CBaseUndo::kDesignSize);
    u->SetExtents(oldExtents);
    AddUndo(u, nameId);
}

void CDesignPage::AddMoveOriginUndo(CWindow oldExtents, int nameId) {
    auto* u = new CDesignUndo(this, CBaseUndo::kDesignOrigin);
    u->SetExtents(oldExtents);
    AddUndo(u, nameId);
}

void CDesignPage::AddGridAddUndo(int direction, int position, int redraw) {
    CGrid* grid = Grid();
    if (!grid)
        return;
    auto* u = new CGuideUndo(CBaseUndo::kReordered, direction);
    u->SetGuidePos(position);
    AddUndo(u, 0);
    grid->AddGridLinePos(position, direction);
    if (redraw) {
        const int n = grid->GridLineCount(direction);
        ForEachJoxView([&](CJoxView* v) {
            for (int i = 0; i < n; ++i)
                grid->InvalidateGridLine(v, direction, i);
        });
    }
}

void CDesignPage::AddGridMoveUndo(int direction, int index, int newPosition, int redraw) {
    CGrid* grid = Grid();
    int old = 0;
    if (!grid || !grid->GetGridLinePos(old, direction, index))
        return;
    auto* u = new CGuideUndo(CBaseUndo::kTransform, direction);
    u->SetGuideIndex(index);
    u->SetGuidePos(old);
    AddUndo(u, 0);
    if (redraw)
        ForEachJoxView([&](CJoxView* v) { grid->InvalidateGridLine(v, direction, index); });
    grid->SetGridLinePos(newPosition, direction, index);
    if (redraw)
        ForEachJoxView([&](CJoxView* v) { grid->InvalidateGridLine(v, direction, index); });
}

void CDesignPage::AddGridDeleteUndo(int direction, int index) {
    CGrid* grid = Grid();
    int pos = 0;
    if (!grid || !grid->GetGridLinePos(pos, direction, index))
        return;
    auto* u = new CGuideUndo(CBaseUndo::kDeleted, direction);
    u->SetGuideIndex(index);
    u->SetGuidePos(pos);
    AddUndo(u, 0);
}

// The page's editing commands: drawing order, groups, glued objects, rotation and deletion.
#include "design/design_page.h"
#include "design/document/undo.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/select.h"

#include <cmath>
#include <numbers>

std::vector<CArticle*> CDesignPage::SelectedArticles() const {
    std::vector<CArticle*> out;
    for (POSITION pos = m_ObjectSelection.GetHeadPosition(); pos;)
        out.push_back(m_ObjectSelection.GetNext(pos)->Article());
    return out;
}

// Records the move, then links a before `before`, after `after`, or last under parent.
void CDesignPage::MoveArticle(CArticle* a, CArticle* before, CArticle* after, CArticle* parent) {
    // A neighbour inside the moving article would refuse it once it is detached, and the
    // article would be lost: it stays where it is.
    CArticle* anchor = before ? before : after;
    if (anchor && (anchor == a || a->IsParentOf(anchor)))
        return;
    if (!anchor && parent && (parent == a || a->IsParentOf(parent)))
        return;
    AddReorderUndo(a, 0);
    // A node already below the new parent is refused by the tree until it is detached.
    a->Detach();
    if (before)
        before->InsertLsibling(a);
    else if (after)
        after->InsertRsibling(a);
    else if (parent)
        parent->AddChild(a);
    a->InvExtents(1);
}

bool CDesignPage::ReOrderSelection(UINT command, bool test) {
    const std::vector<CArticle*> sel = SelectedArticles();
    const size_t need =
        (command == ID_ORDER_AFTER_FIRST || command == ID_ORDER_BEFORE_LAST) ? 2 : 1;
    if (command < ID_ORDER_TO_START || command > ID_ORDER_TO_END || sel.size() < need)
        return false;
    if (test)
        return true;
    CArticle* root = RootArticle();
    StartUndoTransaction(0);
    switch (command) {
    case ID_ORDER_TO_START: {
        CArticle* first = sel[0];
        const int level = first->GetDisplayLevel();
        CArticle* after = nullptr;
        for (CTree* t = root->GetFirstChild(); t; t = t->GetRsibling()) {
            auto* c = DynamicDowncast<CArticle>(t);
            if (!c || c == first || c->GetDisplayLevel() >= level)
                break;
            after = c;
        }
        if (after)
            MoveArticle(first, nullptr, after, root);
        else if (auto* head = DynamicDowncast<CArticle>(root->GetFirstChild()); head != first)
            MoveArticle(first, head, nullptr, root);
        for (size_t i = 1; i < sel.size(); ++i)
            MoveArticle(sel[i], nullptr, sel[i - 1], root);
        break;
    }
    case ID_ORDER_AFTER_FIRST:
        for (size_t i = 1; i < sel.size(); ++i)
            MoveArticle(sel[i], nullptr, sel[i - 1], root);
        break;
    case ID_ORDER_BEFORE_LAST:
        for (size_t i = 0; i + 1 < sel.size(); ++i)
            MoveArticle(sel[i], sel.back(), nullptr, root);
        break;
    case ID_ORDER_TO_END:
        // Each becomes the last child: right after the one moved before it, when that one
        // is at the end already, without walking the row again.
        for (size_t i = 0; i < sel.size(); ++i) {
            CArticle* prev = i ? sel[i - 1] : nullptr;
            if (prev && prev->GetParent() == root && !prev->GetRsibling())
                MoveArticle(sel[i], nullptr, prev, root);
            else
                MoveArticle(sel[i], nullptr, nullptr, root);
        }
        break;
    }
    SetModifiedFlag(TRUE);
    return true;
}

void CDesignPage::ReOrderSelectionBefore(bool topLevel, CArticle* target) {
    if (!target) {
        ReOrderSelection(ID_ORDER_BEFORE_LAST, false);
        return;
    }
    CArticle* root = RootArticle();
    if (!IsInActiveTree(target) || target == root)
        return;
    if (topLevel)
        while (target->GetParent() && target->GetParent() != root)
            target = static_cast<CArticle*>(target->GetParent());
    const std::vector<CArticle*> sel = SelectedArticles();
    if (sel.empty())
        return;
    StartUndoTransaction(0);
    for (CArticle* a : sel)
        if (a != target && !a->IsParentOf(target))
            MoveArticle(a, target, nullptr, nullptr);
    SetModifiedFlag(TRUE);
}

// Groups ------------------------------------------------------------------------------------

void CDesignPage::CreateGroupFromSelection(const CString& name) {
    for (CArticle* a : SelectedArticles()) {
        a->RemoveAllEffects(L"Group");
        a->SetEffect(name, L"Group", 0);
    }
    SetModifiedFlag(TRUE);
}

void CDesignPage::UnGroupSelection() {
    for (CArticle* a : SelectedArticles())
        a->RemoveAllEffects(L"Group");
    SetModifiedFlag(TRUE);
}

int CDesignPage::GetLastAutoGroup() {
    CString text;
    if (!RootArticle()->fnGetString(L" LAG", text))
        return 1;
    return int(std::wcstol(text.GetString(), nullptr, 10)) + 1;
}

void CDesignPage::SetLastAutoGroup(int n) {
    CString text;
    text.Format(L"%d", n);
    RootArticle()->fnSaveString(L" LAG", text, 0);
}

// Glued objects -----------------------------------------------------------------------------

void CDesignPage::GlueObjectSelection() {
    const std::vector<CArticle*> sel = SelectedArticles();
    if (sel.empty())
        return;
    CArticle* root = RootArticle();
    CArticle* top = sel[0];
    while (top->GetParent() && top->GetParent() != root)
        top = static_cast<CArticle*>(top->GetParent());
    auto* glued = new CArticle;
    glued->SetProperty(kGluedBit, false);
    if (top->GetParent())
        top->InsertLsibling(glued);
    else
        root->AddChild(glued);
    AddNewUndo(glued, 1);
    CArticle* last = nullptr;
    for (CArticle* a : sel) {
        if (a == glued || a->IsParentOf(glued))
            continue;
        AddReorderUndo(a, 0);
        a->Detach();
        if (last)
            last->InsertRsibling(a);
        else
            glued->AddChild(a);
        a->InvExtents(1);
        last = a;
    }
    glued->InvExtents(1);
    RemoveAllObjectSelection();
    AddObjectSelection(glued, CSelect::kSelectArticle, 0);
    SetModifiedFlag(TRUE);
}

void CDesignPage::UnGlueObjectSelection() {
    const std::vector<CArticle*> sel = SelectedArticles();
    std::vector<CArticle*> freed;
    bool opened = false;
    for (CArticle* g : sel) {
        if (!g->GetProperty(kGluedBit))
            continue;
        CArticle* after = g;
        while (auto* c = DynamicDowncast<CArticle>(g->GetFirstChild())) {
            if (!opened) {
                StartUndoTransaction(0);
                opened = true;
            }
            AddReorderUndo(c, 0);
            c->Detach();
            after->InsertRsibling(c);
            if (c->GetParent() != g->GetParent())
                break; // refused by the tree: stop rather than loop
            c->InvExtents(1);
            freed.push_back(c);
            after = c;
        }
        RemoveObjectSelection(g, 0);
        DeleteArticle(g, 0, 1);
    }
    if (freed.empty())
        return;
    RemoveAllObjectSelection();
    for (CArticle* c : freed)
        AddObjectSelection(c, CSelect::kSelectArticle, 1);
    SetModifiedFlag(TRUE);
}

void CDesignPage::CreateGluedObject(CPtrArray& articles) {
    auto* glued = new CArticle;
    glued->SetProperty(kGluedBit, false);
    for (INT_PTR i = 0; i < articles.GetSize(); ++i) {
        auto* a = static_cast<CArticle*>(articles.GetAt(i));
        if (!a || a == glued)
            continue;
        a->ClrProperty(kGluedBit, false);
        a->Detach();
        glued->AddChild(a);
        a->InvExtents(1);
    }
    articles.RemoveAll();
    articles.Add(glued);
}

// Rotation ----------------------------------------------------------------------------------

void CDesignPage::Rotate90Selection() {
    if (m_ObjectSelection.IsEmpty())
        return;
    CWindow all;
    bool first = true;
    for (CArticle* a : SelectedArticles()) {
        const CWindow w = a->Extents(0);
        if (w.x2 < w.x1 || w.y2 < w.y1)
            continue;
        if (first) {
            all = w;
            first = false;
        } else {
            all = CWindow(std::min(all.x1, w.x1), std::min(all.y1, w.y1), std::max(all.x2, w.x2),
                          std::max(all.y2, w.y2));
        }
    }
    if (first)
        return;
    UpdateAllViews(nullptr, kHintSelection);
    StartUndoTransaction(int(IDS_ROTATE_90));
    const CDpoint centre((double(all.x1) + all.x2) / 2, (double(all.y1) + all.y2) / 2);
    for (POSITION pos = m_ObjectSelection.GetHeadPosition(); pos;) {
        CSelect* s = m_ObjectSelection.GetNext(pos);
        CMat2d m(centre, 1, 1, std::numbers::pi / 2, centre);
        const int recurse = s->SelectMode() == CSelect::kSelectItem ? 0 : 1;
        AddMoveUndo(s->Article(), m, 0, recurse);
        s->Article()->DoTransform(m, recurse);
    }
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr, kHintSelection);
}

// Deletion ----------------------------------------------------------------------------------

void CDesignPage::OnEditClear(int takeEmptyParents) {
    if (m_ObjectSelection.IsEmpty())
        return;
    UpdateAllViews(nullptr, kHintSelection);
    StartUndoTransaction(0);
    while (!m_ObjectSelection.IsEmpty()) {
        CSelect* s = m_ObjectSelection.RemoveHead();
        CArticle* a = s->Article();
        m_ObjectIndex.erase(a);
        delete s;
        ObjectSelectionChanged();
        if (takeEmptyParents)
            for (auto* parent = DynamicDowncast<CArticle>(a->GetParent());
                 parent && parent->GetParent() && parent->GetFirstChild() == a &&
                 !a->GetRsibling() && !parent->HasItem();
                 parent = DynamicDowncast<CArticle>(a->GetParent())) {
                UpdateAllViews(nullptr, kHintArticle, parent);
                a = parent;
            }
        DeleteArticle(a, 0, 1);
    }
}

void CDesignPage::InsertArticle(CArticle* a) {
    m_pInsertArticle = a;
    m_nInsertAliveAt = CTree::FreedCount();
}

CArticle* CDesignPage::InsertArticle() {
    CArticle* a = m_pInsertArticle;
    if (!a)
        return nullptr;
    // While no node has been freed since it was last seen alive, its parent links are safe to
    // climb; otherwise only a search of the active tree by address is.
    if (m_nInsertAliveAt == CTree::FreedCount()) {
        CArticle* root = RootArticle();
        return root && (a == root || a->IsChildOf(root)) ? a : nullptr;
    }
    if (!IsInActiveTree(a))
        return nullptr;
    m_nInsertAliveAt = CTree::FreedCount();
    return a;
}

#include "design/document/undo.h"

#include "design/design_page.h"
#include "pivora/geometry/mat2d.h"

IMPLEMENT_DYNCREATE(CUndo, CBaseUndo)

CUndo::~CUndo() {
    // A deleted article nobody took back belongs to this record.
    if (GetOperation() == kDeleted && m_pArticle && !m_pLinked)
        delete m_pArticle;
    delete m_pCopy;
    delete m_pTransform;
}

CArticle* CUndo::DeepCopy(CArticle* a) {
    auto* copy = DynamicDowncast<CArticle>(a->GetRuntimeClass()->CreateObject());
    if (!copy)
        copy = new CArticle;
    a->CopyObject(copy);
    return copy;
}

void CUndo::SetArticle(CArticle* article, int copy) {
    m_pArticle = article;
    if (!article) {
        m_pParent = m_pNext = nullptr;
        return;
    }
    m_dwArticleProperties = article->GetProperties();
    if (CItem* item = article->GetItem())
        m_dwItemProperties = item->GetProperties();
    m_pParent = DynamicDowncast<CArticle>(article->GetParent());
    m_pNext = DynamicDowncast<CArticle>(article->GetRsibling());
    if (copy) {
        delete m_pCopy;
        m_pCopy = DeepCopy(article);
    }
}

void CUndo::SetTransform(const CMat2d& m) {
    delete m_pTransform;
    m_pTransform = new CMat2d(m);
}

void CUndo::ClearRedo(int free) {
    if (free)
        delete m_pLinked;
    m_pLinked = nullptr;
}

CArticle* CUndo::TreeArticle() const {
    switch (GetOperation()) {
    case kTransform:
    case kReordered:
    case kAdded:
    case kEdited:
    case kItemDeleted:
        return m_pArticle;
    default:
        // A deleted article is detached and owned here; the background has none.
        return nullptr;
    }
}

void CUndo::InvalidateBefore(CDesignPage* page) {
    if (!m_pArticle)
        return;
    if (GetOperation() == kAdded)
        page->RemoveObjectSelection(m_pArticle, 1);
    page->UpdateAllViews(nullptr, CDesignPage::kHintArticle, m_pArticle);
}

void CUndo::InvalidateAfter(CDesignPage* page) {
    if (m_pArticle)
        page->UpdateAllViews(nullptr, CDesignPage::kHintArticle, m_pArticle);
}

void CUndo::Reinsert(CDesignPage* page) {
    // Neighbours freed or moved meanwhile are asked about without being read. A parent that
    // left the tree leaves the article at the top of the design rather than nowhere.
    CArticle* parent = m_pParent;
    if (!parent || !page->IsInActiveTree(parent))
        parent = page->RootArticle();
    if (!parent)
        return;
    if (parent == m_pParent && m_pNext && page->IsInActiveTree(m_pNext) &&
        m_pNext->GetParent() == parent)
        m_pNext->InsertLsibling(m_pArticle);
    else
        parent->AddChild(m_pArticle);
    page->NoteInTree(m_pArticle);
    m_pArticle->SetProperties(m_dwArticleProperties, false);
    if (CItem* item = m_pArticle->GetItem())
        item->SetProperties(m_dwItemProperties);
    m_pArticle->InvExtents(1);
}

void CUndo::DoUndo(CDesignPage* page) {
    const int op = GetOperation();
    if (op == kBackground) {
        CJoxView::fnSetBackColourOn(m_bBackColourOn);
        CJoxView::fnSetBackColour(m_dwBackColour);
        page->UpdateAllViews(nullptr, CDesignPage::kHintAll);
        return;
    }
    if (!m_pArticle)
        return;
    InvalidateBefore(page);
    switch (op) {
    case kTransform:
        if (m_pTransform) {
            CMat2d inverse;
            // A singular matrix is never recorded here (see AddMoveUndo); leave it as it is.
            if (m_pTransform->fnInverse(&inverse))
                m_pArticle->DoTransform(inverse, m_nRecurse);
        }
        break;
    case kReordered:
        m_pArticle->Detach();
        Reinsert(page);
        break;
    case kDeleted:
        Reinsert(page);
        if (!m_pArticle->GetParent()) {
            // Nowhere to go back to: this record keeps owning it, and the redo record made
            // for it has nothing to take out again.
            if (auto* linked = dynamic_cast<CUndo*>(m_pLinked))
                linked->ForgetArticle();
            m_pLinked = nullptr;
            InvalidateAfter(page);
            return;
        }
        break;
    case kAdded: {
        page->RemoveObjectSelection(m_pArticle, 1);
        page->NoteOutOfTree(m_pArticle);
        CArticle* a = m_pArticle;
        SetArticle(nullptr, 0);
        if (m_pLinked)
            a->Detach(); // the redo record owns it now
        else
            page->CJoxPage::DeleteArticle(a, 0, 0);
        return;
    }
    case kEdited:
        if (m_pCopy) {
            m_pCopy->CopyObject(m_pArticle);
            m_pArticle->InvExtents(1);
            delete m_pCopy;
            m_pCopy = nullptr;
        }
        break;
    case kItemDeleted:
        if (m_pCopy) {
            if (CItem* item = m_pCopy->DetachItem()) {
                delete m_pArticle->DetachItem();
                m_pArticle->Item(item);
                m_pArticle->InvExtents(1);
            }
            delete m_pCopy;
            m_pCopy = nullptr;
        }
        break;
    default:
        break;
    }
    InvalidateAfter(page);
    SetArticle(nullptr, 0);
}

CBaseUndo* CUndo::CreateRedo(CDesignPage*) {
    auto* redo = new CUndo;
    switch (GetOperation()) {
    case kTransform:
        redo->SetOperation(kTransform);
        redo->SetArticle(m_pArticle, 0);
        if (m_pTransform)
            redo->SetTransform(~*m_pTransform);
        redo->SetRecurse(m_nRecurse);
        break;
    case kDeleted:
    case kAdded:
        redo->SetOperation(GetOperation() == kDeleted ? kAdded : kDeleted);
        redo->SetArticle(m_pArticle, 0);
        redo->SetRecurse(m_nRecurse);
        break;
    case kReordered:
        redo->SetOperation(kReordered);
        redo->SetArticle(m_pArticle, 0);
        break;
    case kEdited:
    case kItemDeleted:
        redo->SetOperation(GetOperation());
        if (m_pArticle)
            redo->SetArticle(m_pArticle, 1);
        redo->SetRecurse(m_nRecurse);
        break;
    case kBackground:
        redo->SetOperation(kBackground);
        redo->SetBackground(CJoxView::fnGetBackColour(), CJoxView::fnGetBackColourOn());
        redo->SetRecurse(1);
        break;
    default:
        break;
    }
    m_pLinked = redo;
    return redo;
}

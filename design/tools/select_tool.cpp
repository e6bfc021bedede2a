// The select tool's selection: adding and removing entries, their XOR outlines and handles,
// selection by colour and group, select all, invert, stepping and deletion.
#include "design/select_tool.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/item_echo.h"
#include "design/tools/tree_walk.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/select.h"
#include "vector/vector_article.h"

IMPLEMENT_DYNCREATE(CSelectTool, CDesignTool)

namespace {

template <class Fn> void ForEachEntry(CDesignPage* page, Fn fn) {
    const CSelectList& list = page->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        fn(list.GetNext(pos));
}

} // namespace

CSelectTool::CSelectTool() : CDesignTool(1) {}

CSelectTool::~CSelectTool() {
    delete m_pEcho;
}

CSelectTool::FeedbackScope::~FeedbackScope() {
    if (--tool.m_nFeedbackScopes == 0) {
        tool.m_pFeedbackDC.reset();
        tool.m_pFeedbackView = nullptr;
    }
}

CJoxDC* CSelectTool::FeedbackDC(CDesignView* view) {
    if (!view || !::IsWindow(view->GetSafeHwnd()))
        return nullptr;
    if (!m_pFeedbackDC || m_pFeedbackView != view) {
        m_pFeedbackDC = std::make_unique<CJoxClientDC>(view, eClientDocument);
        m_pFeedbackView = view;
        view->OnPrepareDC(m_pFeedbackDC.get());
    }
    return m_pFeedbackDC.get();
}

void CSelectTool::XorEntry(CDesignView* view, CSelect* entry) {
    if (!m_bShown || !entry)
        return;
    FeedbackScope scope(*this);
    CWindow w = CWindow::EmptyExtent();
    entry->GetExtents(w);
    if (w.x2 < w.x1 || w.y2 < w.y1)
        return;
    if (CJoxDC* dc = FeedbackDC(view))
        OnDrawExtents(dc, w);
}

void CSelectTool::HideHandles(CDesignView* view) {
    if (!m_bHandlesShown)
        return;
    FeedbackScope scope(*this);
    m_bHandlesShown = false;
    const CWindow keep = m_Extents;
    m_Extents = m_HandlesAt;
    if (CJoxDC* dc = FeedbackDC(view))
        OnDrawHandles(dc);
    m_Extents = keep;
}

void CSelectTool::ShowHandles(CDesignView* view) {
    RecalcExtents(view);
    if (!m_bShown || m_bHandlesShown || NumSelected(view) == 0)
        return;
    FeedbackScope scope(*this);
    if (CJoxDC* dc = FeedbackDC(view)) {
        OnDrawHandles(dc);
        m_bHandlesShown = true;
        m_HandlesAt = m_Extents;
    }
}

int CSelectTool::NumSelected(CDesignView* view) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page && m_pViewForLastMessage)
        page = m_pViewForLastMessage->GetDocument();
    if (!page)
        page = m_pDocument;
    return page ? page->GetObjectSelectionCount() : 0;
}

void CSelectTool::RecalcExtents(CDesignView* view) {
    CDesignPage* page = view ? view->GetDocument() : m_pDocument;
    if (!page)
        return;
    m_Extents = page->ObjectSelectionExtents(nullptr);
}

void CSelectTool::OnSelect(CDesignView* view, CSelect* entry) {
    FeedbackScope scope(*this);
    CWindow w = CWindow::EmptyExtent();
    entry->GetExtents(w);
    if (w.x2 >= w.x1 && w.y2 >= w.y1)
        if (CJoxDC* dc = FeedbackDC(view))
            OnDrawExtents(dc, w);
}

void CSelectTool::OnSelectProcess(CDesignView* view, bool recalc) {
    if (recalc)
        RecalcExtents(view);
    if (NumSelected(view) == 0)
        return;
    FeedbackScope scope(*this);
    if (CJoxDC* dc = FeedbackDC(view))
        OnDrawHandles(dc);
}

void CSelectTool::DrawSelection(CDesignView* view, bool show) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || show == m_bShown)
        return;
    FeedbackScope scope(*this);
    if (!show)
        HideHandles(view);
    // Outlines are XOR: the same pass draws them on or off.
    m_bShown = true;
    ForEachEntry(page, [&](CSelect* s) { XorEntry(view, s); });
    m_bShown = show;
    if (show)
        ShowHandles(view);
}

void CSelectTool::SelectionChanged(CDesignView* view, const char*) {
    if (view)
        view->SendSelectionChangedMsg(true);
}

CArticle* CSelectTool::TopLevel(CDesignView* view, CArticle* a) {
    CDesignPage* page = view ? view->GetDocument() : m_pDocument;
    CArticle* root = page ? page->RootArticle() : nullptr;
    while (a && a->GetParent() && a->GetParent() != root)
        a = DynamicDowncast<CArticle>(a->GetParent());
    return a;
}

void CSelectTool::_Select(CDesignView* view, CArticle* article, int mode) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !article)
        return;
    FeedbackScope scope(*this);
    if (mode == CSelect::kSelectArticle && page->GetObjectSelectionCount() > 0) {
        // Descendants selected on their own give way to the whole article.
        ForEachDescendant(article, [&](CArticle* d) {
            if (CSelect* s = page->FindObjectSelection(d, 0)) {
                XorEntry(view, s);
                page->RemoveObjectSelection(s);
            }
        });
    } else if (mode == CSelect::kSelectItem && !article->GetItem()) {
        return;
    }
    if (CSelect* s = page->FindObjectSelection(article, 0)) {
        XorEntry(view, s);
        page->RemoveObjectSelection(s);
    } else {
        for (CTree* up = article->GetParent(); up; up = up->GetParent())
            if (auto* a = DynamicDowncast<CArticle>(up))
                if (page->IsObjectSelected(a, CSelect::kSelectArticle))
                    return;
    }
    if (CSelect* s = page->AddObjectSelection(article, mode, 1))
        XorEntry(view, s);
}

void CSelectTool::Select(CDesignView* view, CArticle* article, int mode, int keep) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    FeedbackScope scope(*this);
    HideHandles(view);
    if (!keep && !(article && page->IsObjectSelected(article, mode))) {
        ForEachEntry(page, [&](CSelect* s) { XorEntry(view, s); });
        page->RemoveAllObjectSelection();
    }
    if (article) {
        _Select(view, article, mode);
        m_nReferenceHint = 1;
    }
    ShowHandles(view);
    SelectionChanged(view, "Select");
}

void CSelectTool::Deselect(CDesignView* view, CArticle* article, int mode) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !article)
        return;
    CSelect* s = page->FindObjectSelection(article, mode);
    if (!s)
        return;
    FeedbackScope scope(*this);
    HideHandles(view);
    XorEntry(view, s);
    page->RemoveObjectSelection(s);
    ShowHandles(view);
    SelectionChanged(view, "Deselect");
}

void CSelectTool::SelectColour(CDesignView* view, UINT flags, CArticle* article) {
    auto* va = DynamicDowncast<CVectorArticle>(article);
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!va || !page)
        return;
    FeedbackScope scope(*this);
    Select(view, article, CSelect::kSelectArticle, (flags & MK_SHIFT) ? 1 : 0);
    const int colour = va->PaletteIndex();
    HideHandles(view);
    if (CArticle* root = page->RootArticle())
        for (CTree* t = root->GetFirstChild(); t; t = t->GetRsibling()) {
            auto* v = DynamicDowncast<CVectorArticle>(t);
            if (!v || v->GetProperty(CArticle::kNoActiveDataBit) || v->PaletteIndex() != colour ||
                page->IsObjectSelected(v, 0))
                continue;
            if (CSelect* s = page->AddObjectSelection(v, CSelect::kSelectArticle, 1))
                XorEntry(view, s);
        }
    m_nReferenceHint = 1;
    ShowHandles(view);
    SelectionChanged(view, "SelectColour");
}

void CSelectTool::SelectGroup(CDesignView* view, UINT flags, CArticle* article) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !article)
        return;
    FeedbackScope scope(*this);
    Select(view, article, CSelect::kSelectArticle, (flags & MK_SHIFT) ? 1 : 0);
    CString group;
    if (!article->fnGetString(L"Group", group))
        return;
    HideHandles(view);
    if (CArticle* root = page->RootArticle())
        for (CTree* t = root->GetFirstChild(); t; t = t->GetRsibling()) {
            auto* a = DynamicDowncast<CArticle>(t);
            CString other;
            if (!a || a == article || !a->fnGetString(L"Group", other) || other != group)
                continue;
            _Select(view, a, CSelect::kSelectArticle);
        }
    ShowHandles(view);
    SelectionChanged(view, "SelectGroup");
}

void CSelectTool::OnSelectAll() {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    FeedbackScope scope(*this);
    HideHandles(view);
    ForEachEntry(page, [&](CSelect* s) { XorEntry(view, s); });
    page->RemoveAllObjectSelection();
    CArticleList list;
    if (page->GetObjectList(&list, 0))
        for (POSITION pos = list.GetHeadPosition(); pos;)
            if (CSelect* s =
                    page->AddObjectSelection(list.GetNext(pos), CSelect::kSelectArticle, 1))
                XorEntry(view, s);
    ShowHandles(view);
    SelectionChanged(view, "SelectAll");
}

void CSelectTool::OnInvertSelection() {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    FeedbackScope scope(*this);
    const bool shown = m_bShown;
    DrawSelection(view, false);
    const bool changed = page->ChangeObjectSelection(eInvertSelection);
    DrawSelection(view, shown);
    if (changed)
        SelectionChanged(view, "Invert");
}

void CSelectTool::OnEditClear() {
    CDesignView* view = m_pViewForLastMessage;
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || fnGetProperty(kPropNoDelete) || CWnd::GetCapture() == view)
        return;
    const bool shown = m_bShown;
    DrawSelection(view, false);
    page->OnEditClear(1);
    DrawSelection(view, shown);
    SelectionChanged(view, "Delete");
}

BOOL CSelectTool::CanMoveSelection(CDesignView* view) {
    return NumSelected(view) == 1;
}

BOOL CSelectTool::CanReflectSelection(CDesignView* view, int warn) {
    return CanNudgeSelection(view, warn);
}

void CSelectTool::fnMoveSelection(CDesignView* view, int direction) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !CanMoveSelection(view))
        return;
    CArticle* root = page->RootArticle();
    CSelect* entry = page->GetObjectSelectionList().GetHead();
    CArticle* current = entry ? entry->Article() : nullptr;
    if (!root || !current)
        return;
    // Tree order below the active root, depth first.
    CArticle* next = direction == 1 ? current->Next(nullptr, 0, 1) : current->Previous(nullptr, 0);
    if (next == root || (next && !root->IsParentOf(next)))
        next = nullptr;
    FeedbackScope scope(*this);
    const bool shown = m_bShown;
    DrawSelection(view, false);
    page->RemoveObjectSelection(entry);
    if (next)
        page->AddObjectSelection(next, CSelect::kSelectArticle, 1);
    DrawSelection(view, shown);
    SelectionChanged(view, "Step");
}

BOOL CSelectTool::FnReOrderDisplay(CDesignPage* page, CArticle* article) {
    if (!page || !article || article->GetDisplayLevel() >= 51)
        return FALSE;
    auto* right = DynamicDowncast<CArticle>(article->GetRsibling());
    if (!right || right->GetDisplayLevel() >= 51)
        return FALSE;
    CArticle* last = right;
    while (auto* r = DynamicDowncast<CArticle>(last->GetRsibling())) {
        if (r->GetDisplayLevel() >= 51)
            break;
        last = r;
    }
    // Its own transaction: the record must not join whatever was done before the click.
    page->StartUndoTransaction(0);
    page->AddReorderUndo(article, 0);
    last->InsertRsibling(article);
    page->SetModifiedFlag();
    return TRUE;
}

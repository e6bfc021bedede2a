#include "design/show_items_tool.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/show_items.h"
#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/item.h"
#include "pivora/select.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CShowItemsTool, CSelectTool)

namespace {

// Pre-order walk of every article below root.
template <typename Fn> void EachArticle(CTree* root, Fn fn) {
    for (CTree* t = root ? root->GetFirstChild() : nullptr; t; t = t->GetRsibling()) {
        if (auto* a = DynamicDowncast<CArticle>(t))
            fn(a);
        EachArticle(t, fn);
    }
}

// How far (client pixels) the view scrolls on one axis so [lo, hi] sits in [tlo, thi].
int PanDistance(int lo, int hi, int tlo, int thi) {
    const bool longer = hi - lo >= thi - tlo;
    if (lo < tlo && hi > thi)
        return (lo + hi) / 2 - (tlo + thi) / 2; // overhangs both sides: centred
    if (lo < tlo)
        return longer ? hi - thi : lo - tlo;
    if (hi > thi)
        return longer ? lo - tlo : hi - thi;
    return 0;
}

} // namespace

CShowItemsTool::CShowItemsTool() : CShowItemsTool(CString(), nullptr) {}

CShowItemsTool::CShowItemsTool(const CString& title, CRuntimeClass* articleClass)
    : m_strTitle(title), m_pArticleClass(articleClass ? articleClass : RUNTIME_CLASS(CArticle)) {}

CShowItemsTool::~CShowItemsTool() {
    QvSetAppParam(L"ShowItemsAutoPan", m_bAutoPan);
    QvSetAppParam(L"ShowItemsLeaveOn", m_bLeaveOn);
    // Left other than by the viewer's own buttons: nothing may stay (and be saved) hidden.
    ShowEverything();
    delete m_pDialog;
}

bool CShowItemsTool::IsHidden(CItem* item) {
    return item && item->GetProperty(kHiddenBit);
}

std::vector<CArticle*> CShowItemsTool::Candidates() const {
    std::vector<CArticle*> out;
    if (!m_pDocument)
        return out;
    EachArticle(m_pDocument->RootArticle(), [&](CArticle* a) {
        if (!a->IsKindOf(m_pArticleClass) || !a->GetItem())
            return;
        if (!m_bRecurse)
            for (CTree* up = a->GetParent(); up; up = up->GetParent())
                if (up != m_pDocument->RootArticle() && up->IsKindOf(m_pArticleClass))
                    return;
        out.push_back(a);
    });
    return out;
}

int CShowItemsTool::CurrentIndex(const std::vector<CArticle*>& list) const {
    for (size_t i = 0; m_pCurrent && i < list.size(); ++i)
        if (list[i]->GetItem() == m_pCurrent)
            return int(i);
    return -1;
}

namespace {

// Sets or clears the bits on the items of article and its descendants; their extents change.
void MarkHidden(CArticle* article, DWORD bits, bool hide) {
    auto mark = [&](CArticle* a) {
        if (CItem* item = a->GetItem()) {
            if (hide)
                item->SetProperty(bits);
            else
                item->ClrProperty(bits);
            item->InvExtents(1);
        }
        a->InvExtents(1);
    };
    if (!article)
        return;
    mark(article);
    EachArticle(article, mark);
}

} // namespace

void CShowItemsTool::Hide(CArticle* article) {
    MarkHidden(article, kHideBits, true);
}

void CShowItemsTool::Show(CArticle* article) {
    MarkHidden(article, kHideBits, false);
}

void CShowItemsTool::ShowEverything() {
    if (!m_pDocument || !m_pArticleClass)
        return;
    EachArticle(m_pDocument->RootArticle(), [&](CArticle* a) {
        if (a->IsKindOf(m_pArticleClass) && IsHidden(a->GetItem()))
            Show(a);
    });
}

void CShowItemsTool::Repaint(CDesignView* view) {
    if (view && ::IsWindow(view->GetSafeHwnd())) {
        view->Invalidate(TRUE);
        view->UpdateWindow();
    }
}

bool CShowItemsTool::ItemOnScreen(CDesignView* view, CItem* item) {
    if (!view || !item || !item->GetArticle() || !CArticle::HasActiveData(item->GetArticle()))
        return false;
    CWindow w = item->Extents();
    if (w.x2 < w.x1 || w.y2 < w.y1)
        return false;
    view->DocToClient(w);
    CRect r(std::min(w.x1, w.x2), std::min(w.y1, w.y2), std::max(w.x1, w.x2) + 1,
            std::max(w.y1, w.y2) + 1);
    CRect client;
    view->GetClientRect(&client);
    CRect meet;
    return meet.IntersectRect(&r, &client) != FALSE;
}

bool CShowItemsTool::SyncSelection() {
    m_pCurrent = nullptr;
    if (!m_pDocument)
        return false;
    const CSelectList& list = m_pDocument->GetObjectSelectionList();
    for (POSITION pos = list.GetTailPosition(); pos;) {
        CSelect* s = list.GetPrev(pos);
        if (s && s->Article() && s->Article()->IsKindOf(m_pArticleClass) &&
            s->Article()->GetItem()) {
            m_pCurrent = s->Article()->GetItem();
            break;
        }
    }
    m_nPos = CurrentIndex(Candidates()) + 1;
    return m_pCurrent != nullptr;
}

int CShowItemsTool::GetItemCount(CDesignView*, CItem* upTo) {
    int n = 0;
    bool counting = false;
    for (CArticle* a : Candidates()) {
        // The count starts at the first item with active data and takes every one after it.
        counting = counting || CArticle::HasActiveData(a);
        if (!counting)
            continue;
        ++n;
        if (upTo && a->GetItem() == upTo)
            break;
    }
    return n;
}

int CShowItemsTool::GetSelectedItemPosition(CDesignView* view) {
    CItem* keep = m_pCurrent;
    const int keepPos = m_nPos;
    int result = -1;
    if (SyncSelection())
        result = GetItemCount(view, m_pCurrent);
    m_pCurrent = keep;
    m_nPos = keepPos;
    return result;
}

int CShowItemsTool::Step(CDesignView* view, const std::vector<CArticle*>& list, int from, int dir) {
    int i = from < 0 ? (dir > 0 ? 0 : int(list.size()) - 1) : from + dir;
    for (; i >= 0 && i < int(list.size()); i += dir)
        if (m_bAutoPan || ItemOnScreen(view, list[size_t(i)]->GetItem()))
            return i;
    return -1;
}

void CShowItemsTool::SelectCurrent(CDesignView* view) {
    if (view)
        Select(view, m_pCurrent ? m_pCurrent->GetArticle() : nullptr, CSelect::kSelectArticle, 0);
}

bool CShowItemsTool::StepTo(CDesignView* view, int dir) {
    return StepTo(view, Candidates(), dir);
}

bool CShowItemsTool::StepTo(CDesignView* view, const std::vector<CArticle*>& list, int dir) {
    // The current item sits at position - 1 while the list is unchanged.
    int at = m_nPos - 1;
    if (at < 0 || at >= int(list.size()) || list[size_t(at)]->GetItem() != m_pCurrent)
        at = CurrentIndex(list);
    const int next = Step(view, list, at, dir);
    if (next < 0)
        return false;
    if (!m_bLeaveOn && m_pCurrent) {
        Hide(m_pCurrent->GetArticle());
        Repaint(view);
    }
    OnShowItem(view, list[size_t(next)]->GetItem());
    m_pCurrent = list[size_t(next)]->GetItem();
    m_nPos = next + 1;
    return true;
}

int CShowItemsTool::OnShowNext(CDesignView* view) {
    SyncSelection();
    if (!StepTo(view, 1))
        return 0;
    SelectCurrent(view);
    if (m_bAutoPan)
        AutoPan(view, m_pCurrent);
    return 1;
}

int CShowItemsTool::OnShowPrev(CDesignView* view) {
    SyncSelection();
    if (!StepTo(view, -1))
        return 0;
    SelectCurrent(view);
    if (m_bAutoPan)
        AutoPan(view, m_pCurrent);
    return 1;
}

void CShowItemsTool::OnShowChangePos(CDesignView* view, int index) {
    SyncSelection();
    // One list for the whole run: a jump to the end stays linear.
    const std::vector<CArticle*> list = Candidates();
    if (!m_pCurrent && index > 0)
        StepTo(view, list, 1);
    while (m_nPos < index && StepTo(view, list, 1)) {
    }
    while (m_nPos > std::max(index, 1) && StepTo(view, list, -1)) {
    }
    if (!m_bLeaveOn) {
        Repaint(view);
        OnShowItem(view, m_pCurrent);
    }
    SelectCurrent(view);
    if (m_bAutoPan)
        AutoPan(view, m_pCurrent);
}

void CShowItemsTool::OnShowStart(CDesignView* view) {
    SyncSelection();
    if (!m_pCurrent)
        StepTo(view, 1);
    OnShowChangePos(view, 1);
}

void CShowItemsTool::OnShowEnd(CDesignView* view) {
    OnShowChangePos(view, int(Candidates().size()));
}

void CShowItemsTool::OnShowItem(CDesignView* view, CItem* item) {
    if (!item || !IsHidden(item))
        return;
    CArticle* a = item->GetArticle();
    Show(a);
    if (!a || !view || !::IsWindow(view->GetSafeHwnd()))
        return;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc);
    a->OnDraw(view, &dc);
}

void CShowItemsTool::OnShowAll(CDesignView* view) {
    ShowEverything();
    Repaint(view);
}

void CShowItemsTool::OnShowClear(CDesignView* view) {
    for (CArticle* a : Candidates())
        Hide(a);
    if (m_pDocument) {
        const CSelectList& list = m_pDocument->GetObjectSelectionList();
        for (POSITION pos = list.GetHeadPosition(); pos;)
            if (CSelect* s = list.GetNext(pos); s && s->Article())
                Show(s->Article());
    }
    SyncSelection();
    Repaint(view);
}

void CShowItemsTool::OnShowDelete(CDesignView* view) {
    if (!m_pCurrent || !view || !m_pDocument)
        return;
    CSelectTool::OnExit(view, 0);
    const int at = CurrentIndex(Candidates());
    m_pCurrent = nullptr;
    SetViewForLastMessage(view);
    OnEditClear();
    // Found after the delete: with recurse the old next may have gone with the selection.
    const std::vector<CArticle*> list = Candidates();
    const int next = Step(view, list, at - 1, 1);
    m_nPos = 0;
    if (next >= 0) {
        m_pCurrent = list[size_t(next)]->GetItem();
        m_nPos = next + 1;
        OnShowItem(view, m_pCurrent);
    }
    CSelectTool::OnInit(view, 0);
    SelectCurrent(view);
    if (m_pDialog) {
        m_pDialog->SetRange(GetItemCount(view));
        m_pDialog->SetPos(m_nPos);
    }
    if (m_pCurrent && m_bAutoPan)
        AutoPan(view, m_pCurrent);
}

void CShowItemsTool::OnShowHide(CDesignView* view) {
    if (!view || !m_pDocument)
        return;
    OnExit(view, 0);
    std::vector<CArticle*> selected;
    const CSelectList& list = m_pDocument->GetObjectSelectionList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (CSelect* s = list.GetNext(pos);
            s && s->Article() && s->Article()->IsKindOf(m_pArticleClass))
            selected.push_back(s->Article());
    for (CArticle* a : selected)
        Hide(a);
    CSelectTool::Select(view, nullptr, CSelect::kSelectArticle, 0);
    Repaint(view);
    OnInit(view, 0);
    m_nPos = std::max(0, GetSelectedItemPosition(view));
    if (m_pDialog)
        m_pDialog->SetPos(m_nPos);
    SyncSelection();
}

void CShowItemsTool::AutoPan(CDesignView* view, CItem* item) {
    if (!view || !item)
        return;
    CRect target;
    view->GetClientRect(&target);
    target.DeflateRect(kPanMargin, kPanMargin);
    CWindow w = item->Extents();
    if (w.x2 < w.x1 || w.y2 < w.y1)
        return;
    view->DocToClient(w);
    const CRect r(std::min(w.x1, w.x2), std::min(w.y1, w.y2), std::max(w.x1, w.x2),
                  std::max(w.y1, w.y2));
    if (r.left > target.left && r.right < target.right && r.top > target.top &&
        r.bottom < target.bottom)
        return;
    const int dx = PanDistance(r.left, r.right, target.left, target.right);
    const int dy = PanDistance(r.top, r.bottom, target.top, target.bottom);
    // At least one step: short moves would otherwise divide by zero.
    const int n = std::max(1, (std::abs(dx) / kPanStepPixels + std::abs(dy) / kPanStepPixels) / 2);
    for (int i = 1; i < n; ++i) {
        view->OnScrollBy(CSize(dx / n, dy / n), 1);
        view->UpdateWindow();
    }
    view->OnScrollBy(CSize(dx - (n - 1) * (dx / n), dy - (n - 1) * (dy / n)), 1);
    view->UpdateWindow();
}

void CShowItemsTool::OnInit(CDesignView* view, int) {
    CSelectTool::OnInit(view, 0);
    if (view && !m_pDocument)
        m_pDocument = view->GetDocument();
    if (m_bFirstInit) {
        // Read before anything writes them, so the stored choices hold.
        m_bAutoPan = QvGetAppParam(L"ShowItemsAutoPan", 0) ? 1 : 0;
        m_bLeaveOn = QvGetAppParam(L"ShowItemsLeaveOn", 0) ? 1 : 0;
        m_bFirstInit = 0;
        if (view && !m_pDialog) {
            m_pDialog = new CShowItems(this, view);
            if (m_pDialog->CreateViewer(m_strTitle, AfxGetMainWnd())) {
                m_pDialog->SetLeaveOn(m_bLeaveOn != 0);
            } else {
                delete m_pDialog;
                m_pDialog = nullptr;
            }
        }
    }
    if (m_pDialog) {
        m_pDialog->SetView(view);
        m_pDialog->SetRange(GetItemCount(view));
        m_pDialog->SetPos(std::max(0, GetSelectedItemPosition(view)));
    }
    SyncSelection();
}

void CShowItemsTool::OnActivate(CDesignView* view, BOOL active, CView* activated,
                                CView* deactivated) {
    CSelectTool::OnActivate(view, active, activated, deactivated);
    if (m_pDialog && ::IsWindow(m_pDialog->GetSafeHwnd()))
        m_pDialog->ShowWindow(active ? SW_SHOWNA : SW_HIDE);
}

void CShowItemsTool::Select(CDesignView* view, CArticle* article, int mode, int keep) {
    CSelectTool::Select(view, article, mode, keep);
    if (!article || !m_pDialog || !article->IsKindOf(m_pArticleClass))
        return;
    const int at = GetSelectedItemPosition(view);
    if (at >= 0) {
        m_nPos = at;
        m_pDialog->SetPos(at);
    }
}

void CShowItemsTool::OnExit(CDesignView* view, int reason) {
    CSelectTool::OnExit(view, reason);
    if (reason) {
        ShowEverything();
        Repaint(view);
    }
}

void CShowItemsTool::OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    if (key == VK_DELETE && view && CWnd::GetCapture() != view) {
        OnShowDelete(view);
        return;
    }
    CSelectTool::OnKeyDown(view, key, repeat, flags);
}

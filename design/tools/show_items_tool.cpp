#include "design/show_items_tool.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/tools/show_items.h"
#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/geometry/plane_geometry.h"
#include "pivora/item.h"
#include "pivora/select.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <cstdlib>
#include <set>

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

CTree* CShowItemsTool::Root() const {
    return m_pDocument ? m_pDocument->RootArticle() : nullptr;
}

bool CShowItemsTool::TakesPart(const CTree* t) const {
    const auto* a = DynamicDowncast<CArticle>(const_cast<CTree*>(t));
    return a && a != Root() && a->IsKindOf(m_pArticleClass) && a->GetItem();
}

bool CShowItemsTool::Prunes(const CTree* t) const {
    return !m_bRecurse && t != Root() && t->IsKindOf(m_pArticleClass) &&
           DynamicDowncast<CArticle>(const_cast<CTree*>(t));
}

CTree* CShowItemsTool::WalkStart(CArticle* article) const {
    CTree* root = Root();
    if (!article || !root || article == root)
        return nullptr;
    CTree* start = article;
    for (CTree* up = article->GetParent(); up != root; up = up->GetParent()) {
        if (!up)
            return nullptr; // no longer in the page's tree
        if (Prunes(up))
            start = up;
    }
    return start;
}

CTree* CShowItemsTool::After(CTree* t) const {
    CTree* root = Root();
    if (t && t->GetFirstChild() && (t == root || !Prunes(t)))
        return t->GetFirstChild();
    for (; t && t != root; t = t->GetParent())
        if (t->GetRsibling())
            return t->GetRsibling();
    return nullptr;
}

CTree* CShowItemsTool::Before(CTree* t) const {
    CTree* root = Root();
    if (!t || t == root)
        return nullptr;
    if (CTree* left = t->GetLsibling()) {
        while (!Prunes(left) && left->GetLastChild())
            left = left->GetLastChild();
        return left;
    }
    CTree* up = t->GetParent();
    return up == root ? nullptr : up;
}

CTree* CShowItemsTool::LastNode() const {
    CTree* t = Root();
    if (!t || !t->GetLastChild())
        return nullptr;
    t = t->GetLastChild();
    while (!Prunes(t) && t->GetLastChild())
        t = t->GetLastChild();
    return t;
}

CArticle* CShowItemsTool::FindForward(CTree* t) const {
    for (; t; t = After(t))
        if (TakesPart(t))
            return static_cast<CArticle*>(t);
    return nullptr;
}

CArticle* CShowItemsTool::FindBackward(CTree* t) const {
    for (; t; t = Before(t))
        if (TakesPart(t))
            return static_cast<CArticle*>(t);
    return nullptr;
}

CItem* CShowItemsTool::Take(CArticle* article, int position) {
    if (!article)
        return nullptr;
    m_pCurrent = article->GetItem();
    m_nPos = position;
    return m_pCurrent;
}

CItem* CShowItemsTool::GetFirstItem(CDesignView* view) {
    CTree* root = Root();
    CArticle* a = FindForward(root ? root->GetFirstChild() : nullptr);
    return a ? Take(a, GetItemCount(view, a->GetItem())) : nullptr;
}

CItem* CShowItemsTool::GetLastItem(CDesignView* view) {
    CArticle* a = FindBackward(LastNode());
    return a ? Take(a, GetItemCount(view)) : nullptr;
}

CItem* CShowItemsTool::GetNextItem(CDesignView*) {
    CTree* start = WalkStart(m_pCurrent ? m_pCurrent->GetArticle() : nullptr);
    return start ? Take(FindForward(After(start)), m_nPos + 1) : nullptr;
}

CItem* CShowItemsTool::GetPrevItem(CDesignView*) {
    CArticle* from = m_pCurrent ? m_pCurrent->GetArticle() : nullptr;
    CTree* start = WalkStart(from);
    if (!start)
        return nullptr;
    // From inside an outermost article of the class the walk goes on from that article, which
    // counts where the current item does.
    if (start != from)
        return Take(FindBackward(start), m_nPos);
    return Take(FindBackward(Before(start)), m_nPos - 1);
}

CItem* CShowItemsTool::PassOffScreen(CDesignView* view, CItem* item, Walk step, CItem* keep,
                                     int keepPos) {
    while (item && !ItemOnScreen(view, item))
        item = (this->*step)(view);
    if (!item) {
        m_pCurrent = keep;
        m_nPos = keepPos;
    }
    return item;
}

CItem* CShowItemsTool::GetFirstVisibleItem(CDesignView* view) {
    CItem* const keep = m_pCurrent;
    const int keepPos = m_nPos;
    return PassOffScreen(view, GetFirstItem(view), &CShowItemsTool::GetNextItem, keep, keepPos);
}

CItem* CShowItemsTool::GetLastVisibleItem(CDesignView* view) {
    CItem* const keep = m_pCurrent;
    const int keepPos = m_nPos;
    return PassOffScreen(view, GetLastItem(view), &CShowItemsTool::GetPrevItem, keep, keepPos);
}

CItem* CShowItemsTool::GetNextVisibleItem(CDesignView* view) {
    CItem* const keep = m_pCurrent;
    const int keepPos = m_nPos;
    return PassOffScreen(view, GetNextItem(view), &CShowItemsTool::GetNextItem, keep, keepPos);
}

CItem* CShowItemsTool::GetPrevVisibleItem(CDesignView* view) {
    CItem* const keep = m_pCurrent;
    const int keepPos = m_nPos;
    return PassOffScreen(view, GetPrevItem(view), &CShowItemsTool::GetPrevItem, keep, keepPos);
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
    if (!meet.IntersectRect(&r, &client))
        return false;
    // A plain path has no control points and a box item none at all: their extents decide.
    auto* path = DynamicDowncast<CVectorItem>(item);
    const int count = path ? path->VectCount() : 0;
    if (count < 2)
        return true;
    // A curve's extents can meet a corner of the window that the curve passes by: its lines
    // between neighbouring points are tested against the window's outcodes.
    CWindow box(client.left, client.top, client.right - 1, client.bottom - 1);
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc);
    auto device = [&](int i) {
        CPoint p(path->Vect(i).pt.x, path->Vect(i).pt.y);
        dc.LPtoDP(p);
        return CLpoint(p.x, p.y);
    };
    CLpoint a = device(0);
    int codeA = FnCheckClip(&a, &box);
    for (int i = 1; i < count; ++i) {
        CLpoint b = device(i);
        const int codeB = FnCheckClip(&b, &box);
        if (codeA == 0 || codeB == 0 || (codeA & codeB) == 0)
            return true;
        codeA = codeB;
    }
    return false;
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
    m_nPos = m_pCurrent ? GetItemCount(nullptr, m_pCurrent) : 0;
    return m_pCurrent != nullptr;
}

int CShowItemsTool::GetItemCount(CDesignView*, CItem* upTo) {
    // Counted backwards from where the count stops: the items after upTo are never walked.
    CTree* from = upTo ? WalkStart(upTo->GetArticle()) : LastNode();
    int walked = 0, counted = 0;
    for (CArticle* a = FindBackward(from); a; a = FindBackward(Before(a))) {
        ++walked;
        if (CArticle::HasActiveData(a))
            counted = walked;
    }
    return counted;
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

void CShowItemsTool::SelectCurrent(CDesignView* view) {
    if (view)
        Select(view, m_pCurrent ? m_pCurrent->GetArticle() : nullptr, CSelect::kSelectArticle, 0);
}

CItem* CShowItemsTool::Candidate(CDesignView* view, int dir) {
    const bool all = m_bAutoPan != 0;
    if (!m_pCurrent)
        return dir > 0 ? (all ? GetFirstItem(view) : GetFirstVisibleItem(view))
                       : (all ? GetLastItem(view) : GetLastVisibleItem(view));
    return dir > 0 ? (all ? GetNextItem(view) : GetNextVisibleItem(view))
                   : (all ? GetPrevItem(view) : GetPrevVisibleItem(view));
}

bool CShowItemsTool::StepTo(CDesignView* view, int dir) {
    CItem* const old = m_pCurrent;
    CItem* const next = Candidate(view, dir);
    if (!next)
        return false;
    if (!m_bLeaveOn && old) {
        Hide(old->GetArticle());
        Repaint(view);
    }
    OnShowItem(view, next);
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
    // Each step walks on from the last: a jump to the end stays linear.
    if (!m_pCurrent && index > 0)
        StepTo(view, 1);
    while (m_nPos < index && StepTo(view, 1)) {
    }
    while (m_nPos > std::max(index, 1) && StepTo(view, -1)) {
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
    OnShowChangePos(view, GetItemCount(view));
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
    CTree* root = Root();
    for (CArticle* a = FindForward(root ? root->GetFirstChild() : nullptr); a;
         a = FindForward(After(a)))
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
    // The item on show is the selected one; another command may have deleted the last one.
    if (!view || !m_pDocument || !SyncSelection())
        return;
    CSelectTool::OnExit(view, 0);
    // The next item as next finds it, passing over what goes with the selection (with recurse
    // the articles inside the current one).
    std::set<const CTree*> going;
    const CSelectList& selection = m_pDocument->GetObjectSelectionList();
    for (POSITION pos = selection.GetHeadPosition(); pos;)
        if (CSelect* s = selection.GetNext(pos); s && s->Article())
            going.insert(s->Article());
    auto goes = [&](CItem* item) {
        for (const CTree* t = item->GetArticle(); t; t = t->GetParent())
            if (going.count(t))
                return true;
        return false;
    };
    CItem* next = Candidate(view, 1);
    while (next && goes(next))
        next = Candidate(view, 1);
    CArticle* const nextArticle = next ? next->GetArticle() : nullptr;
    m_pCurrent = nullptr;
    m_nPos = 0;
    SetViewForLastMessage(view);
    OnEditClear();
    if (nextArticle && m_pDocument->IsInActiveTree(nextArticle)) {
        m_pCurrent = nextArticle->GetItem();
        m_nPos = GetItemCount(view, m_pCurrent);
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

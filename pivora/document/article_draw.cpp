// Drawing and hit testing of the article tree. A paint yields to the user's input: it stops
// at the next article when a key or button waits, leaving what it did not draw in the view's
// deferred paint region, while pending mouse moves are served from inside the paint.
#include "pivora/article.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_frame_wnd.h"
#include "pivora/framework/jox_paint_dc.h"
#include "pivora/framework/jox_view.h"
#include "platform/windowing/queue_status.h"

#include <algorithm>

namespace {

// Keeps one axis of a device rectangle inside what 16-bit device coordinates can take.
void ClampAxis(LONG& lo, LONG& hi, LONG limit) {
    if (lo == hi) {
        ++hi;
        return;
    }
    if (int64_t(hi) - lo <= 0x7FFF)
        return;
    if (lo < -limit) {
        lo = -limit;
        if (hi <= -limit)
            hi = -limit + 1;
    }
    if (hi > limit) {
        hi = limit;
        if (lo >= limit)
            lo = limit - 1;
    }
}

bool Meets(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Removes and dispatches every pending mouse move, client and non-client.
void DispatchMouseMoves() {
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE))
        DispatchMessageW(&m);
    while (PeekMessageW(&m, nullptr, WM_NCMOUSEFIRST, WM_NCMOUSEFIRST, PM_REMOVE))
        DispatchMessageW(&m);
}

} // namespace

CRect CArticle::CalcClientExtents(CJoxDC* dc) {
    CWindow w = FullExtents();
    CPoint lt(w.x1, w.y2), rb(w.x2, w.y1);
    dc->LPtoDP(lt);
    dc->LPtoDP(rb);
    LONG left = lt.x, top = lt.y, right = rb.x, bottom = rb.y;
    ClampAxis(left, right, 16380);
    ClampAxis(top, bottom, 16370);
    return CRect(left, top, right, bottom);
}

int CArticle::IntersectClipRect(CJoxView* view, CJoxDC* dc) {
    if (!view || dc->IsPrinting())
        return 1;
    CRect r = CalcClientExtents(dc);
    r.NormalizeRect();
    CRect clip;
    dc->GetClipBox(&clip);
    clip.InflateRect(3, 3);
    return Meets(r, clip) ? 1 : 0;
}

void CArticle::ProcessBackground(CJoxView* view, CJoxDC* dc) {
    auto* paint = dynamic_cast<CJoxPaintDC*>(dc);
    if (!paint || !m_pParent)
        return;
    const bool erase = NeedBackgroundErase() || IsHidden() || (m_pItem && m_pItem->IsHidden());
    if (!erase) {
        CRect r = CalcClientExtents(dc);
        paint->ExcludeEraseRect(r);
    } else if (paint->EraseBackground() && view) {
        view->DrawGrid(dc);
        view->DrawExtents(dc);
    }
}

bool CArticle::InterruptOnDraw(CJoxView* view, CJoxDC* dc) {
    if (dc->GetCurrentStatus() < 0)
        return true;
    auto* paint = dynamic_cast<CJoxPaintDC*>(dc);
    if (!paint || !view || view->PaintDC() != dc)
        return false;
    if (dc->GetCurrentStatus() == 0 && HIWORD(GetQueueStatus(QS_INPUT))) {
        const DWORD waiting = HIWORD(GetQueueStatus(QS_INPUT));
        const bool movesOnly = (waiting & ~DWORD(QS_MOUSEMOVE)) == 0;
        if (!waiting) {
            if (CJoxFrameWnd* main = JoxGetMainWnd(); main && main->IsResizing())
                dc->SetCurrentStatus(1);
        } else if (movesOnly && ::GetCapture() != view->m_hWnd) {
            // Served from inside the paint; the handlers must leave the tree alone.
            DispatchMouseMoves();
        } else {
            dc->SetCurrentStatus(1);
        }
    }
    if (dc->GetCurrentStatus() == 1) {
        if (!view->DeferredPaintRegion())
            view->DeferredPaintRegion(new CRgn);
        CRect r = CalcClientExtents(dc);
        r.NormalizeRect();
        r.right += 1;
        r.bottom += 1;
        CRgn rest;
        rest.CreateRectRgnIndirect(&r);
        rest.CombineRgn(&rest, paint->GetClipRgn(), RGN_AND);
        view->UpdateDeferredPaintRegion(&rest, RGN_OR);
    }
    return dc->GetCurrentStatus() != 0;
}

void CArticle::DrawChildren(CJoxView* view, CJoxDC* dc) {
    for (CTree* t = m_pFirstChild; t && dc->GetCurrentStatus() >= 0; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t); a && !a->IsHidden())
            a->OnDraw(view, dc);
}

void CArticle::OnDraw(CJoxView* view, CJoxDC* dc) {
    ProcessBackground(view, dc);
    if (InterruptOnDraw(view, dc))
        return;
    const bool childrenFirst = dc->GetDrawOption(0x40) != 0;
    const bool visible = !view || IntersectClipRect(view, dc);
    if (childrenFirst && visible)
        DrawChildren(view, dc);
    if (m_pItem && !m_pItem->GetProperty(CItem::kNotDrawnBit)) {
        if (m_pItem->IntersectClipRect(view, dc) && !m_pItem->IsHidden()) {
            const int passes = dc->GetDrawCount();
            for (int pass = 0; pass < passes && dc->GetCurrentStatus() >= 0; ++pass) {
                dc->SetCurrentArticle(this);
                m_pItem->OnDraw(view, dc);
                dc->SetCurrentArticle(nullptr);
            }
        }
        fnDrawOrientation(dc);
    }
    if (!childrenFirst && visible)
        DrawChildren(view, dc);
}

void CArticle::fnDrawOrientation(CJoxDC* dc) {
    if (!dc || dc->IsPrinting() || m_OrientStart == m_OrientEnd)
        return;
    CPen pen(PS_DASH, 0, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(m_OrientStart.x, m_OrientStart.y);
    dc->LineTo(m_OrientEnd.x, m_OrientEnd.y);
    dc->SelectObject(old);
}

void CArticle::InvalidateView(CJoxView* view) {
    if (!view || !view->m_hWnd)
        return;
    CJoxClientDC dc(view, eClientAll);
    view->OnPrepareDC(&dc, nullptr);
    CRect r = CalcClientExtents(&dc);
    r.NormalizeRect();
    r.InflateRect(12, 12);
    view->InvalidateRect(&r, TRUE);
}

namespace {

CRect HitRect(CArticle* a, CJoxDC& dc) {
    CWindow w = a->FullExtents();
    CRect r(w.x1, w.y2, w.x2, w.y1);
    dc.LPtoDP(static_cast<RECT*>(&r));
    r.NormalizeRect();
    r.InflateRect(2, 2);
    return r;
}

} // namespace

CArticle* CArticle::HitTestIn(CJoxView* view, CJoxDC& dc, const CPoint& pt, CArticleList* list,
                              int* index) {
    const bool inside = HitRect(this, dc).PtInRect(pt) != 0;
    if (inside || !m_pParent) {
        if (m_pItem && !m_pItem->IsInActive() && !m_pItem->IsHidden()) {
            CItemHitTest test(&dc, pt, CItemHitTest::kModePath, 3);
            if (m_pItem->HitTestPoint(&test)) {
                if (index)
                    *index = test.GetHitIndex();
                if (list)
                    list->AddTail(this);
                return this;
            }
        }
        if (index)
            return nullptr;
        for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
            if (auto* a = DynamicDowncast<CArticle>(t))
                a->HitTestIn(view, dc, pt, list, nullptr);
    }
    return list && !list->IsEmpty() ? list->GetHead() : nullptr;
}

CArticle* CArticle::HitTest(CJoxView* view, const CPoint& pt, CArticleList* list, int* index) {
    if (!view || !view->m_hWnd)
        return nullptr;
    CJoxClientDC dc(view, eClientAll);
    view->OnPrepareDC(&dc, nullptr);
    return HitTestIn(view, dc, pt, list, index);
}

CArticle* CArticle::HitTest(CJoxView* view, const CPoint& pt, CArticleList& list) {
    list.RemoveAll();
    return HitTest(view, pt, &list, nullptr);
}

CArticle* CArticle::HitTest(CJoxView* view, const CPoint& pt, int& index) {
    index = -1;
    return HitTest(view, pt, nullptr, &index);
}

CArticle* CArticle::HitTest(CJoxView* view, const CPoint& pt) {
    if (!view || !view->m_hWnd)
        return nullptr;
    if (m_pParent) {
        CJoxClientDC dc(view, eClientAll);
        view->OnPrepareDC(&dc, nullptr);
        if (!HitRect(this, dc).PtInRect(pt))
            return nullptr;
    }
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t))
            if (CArticle* hit = a->HitTest(view, pt))
                return hit;
    return nullptr;
}

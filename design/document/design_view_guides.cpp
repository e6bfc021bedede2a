// Guides dragged out of the rulers, with automatic panning while the pointer is outside, and
// the move of the data origin to a point.
#include "design/design_page.h"
#include "design/design_view.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/grid.h"
#include "platform/framework/wait_cursor.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/scroll_bar.h"
#include "qvutils/qv_utils.h"

#include <algorithm>

namespace {

// "AutoPanDelay" in tenths of a second; nothing at or below 0 may make the timer spin.
UINT AutoPanDelayMs() {
    const int d = QvGetAutoPanDelay();
    return d > 0 && d <= 600 ? UINT(d) * 100 : 100;
}

} // namespace

void CDesignView::EchoGuide() {
    if (CDesignPage* page = GetDocument())
        if (CGrid* grid = page->Grid())
            grid->EchoGridLine(this, m_nGuideKind, CLpoint(m_ptGuide.x, m_ptGuide.y));
}

void CDesignView::ScrollLine(UINT msg, UINT code) {
    SendMessage(msg, MAKEWPARAM(WORD(code), 0), 0);
}

int CDesignView::OnLButtonDownGrid(UINT, CPoint point) {
    if (!Ruler() || ::GetCapture() == m_hWnd)
        return 0;
    const int band = GetRulerSize().cx;
    if (point.x > 0 && point.x < band && point.y > 0 && point.y < band) {
        SetRelativeRulers(!RelativeRulers());
        CJoxClientDC dc(this, eClientRulers);
        OnPrepareDC(&dc, nullptr);
        CJoxView::OnDraw(&dc);
        return 1;
    }
    CDesignPage* page = GetDocument();
    CGrid* grid = page ? page->Grid() : nullptr;
    if (!grid || !grid->showGuides)
        return 0;
    int kind = 0, index = -1;
    if (grid->HitTest(this, point, kind, index)) {
        m_nGuideKind = kind;
        m_nGuideIndex = index;
    } else if (point.y > 0 && point.y < band) {
        m_nGuideKind = CGrid::kHorizontal;
        m_nGuideIndex = -1;
    } else if (point.x > 0 && point.x < band) {
        m_nGuideKind = CGrid::kVertical;
        m_nGuideIndex = -1;
    } else {
        return 0;
    }
    m_bGuideDrag = kGuideDragging;
    SetCapture();
    const UINT cursor = m_nGuideKind == CGrid::kVertical ? IDC_GUIDE_VERTICAL : IDC_GUIDE_OTHER;
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor)));
    CPoint data = point;
    ClientToDoc(data);
    m_ptGuide = data;
    EchoGuide();
    return 1;
}

int CDesignView::OnMouseMoveGuide(UINT flags, CPoint point) {
    if (!m_bGuideDrag)
        return 0;
    // A cancelled drag waits for the right button to come up; its echo is gone.
    if (m_bGuideDrag != kGuideDragging)
        return 1;
    EchoGuide();
    CPoint data = point;
    ClientToDoc(data);
    CLpoint snapped(data.x, data.y);
    if (CDesignPage* page = GetDocument())
        if (CGrid* grid = page->Grid())
            grid->SnapRectGrid(this, snapped);
    m_ptGuide = CPoint(snapped.x, snapped.y);
    if (QvGetAutoPan()) {
        CRect client;
        CWnd::GetClientRect(&client);
        if (client.PtInRect(point)) {
            if (m_bAutoPanTimer)
                KillTimer(kGuideAutoPanTimer);
            m_bAutoPanTimer = 0;
        } else {
            if (!m_bAutoPanTimer) {
                if (point.y < client.top)
                    ScrollLine(WM_VSCROLL, SB_LINEUP);
                else if (point.y >= client.bottom)
                    ScrollLine(WM_VSCROLL, SB_LINEDOWN);
                if (point.x < client.left)
                    ScrollLine(WM_HSCROLL, SB_LINELEFT);
                else if (point.x >= client.right)
                    ScrollLine(WM_HSCROLL, SB_LINERIGHT);
                SetTimer(kGuideAutoPanTimer, AutoPanDelayMs());
                m_bAutoPanTimer = 1;
            }
            m_ptLastPointer = point;
            m_nLastPointerFlags = flags;
        }
    }
    EchoGuide();
    return 1;
}

int CDesignView::OnTimerGuide(UINT_PTR id) {
    if (id != kGuideAutoPanTimer)
        return 0;
    KillTimer(kGuideAutoPanTimer);
    m_bAutoPanTimer = 0;
    // The drag ended meanwhile: nothing to repeat.
    if (m_bGuideDrag == kGuideDragging)
        SendMessage(WM_MOUSEMOVE, m_nLastPointerFlags,
                    MAKELPARAM(WORD(m_ptLastPointer.x), WORD(m_ptLastPointer.y)));
    return 1;
}

int CDesignView::OnLButtonUpGuide(UINT, CPoint point) {
    if (!m_bGuideDrag)
        return 0;
    if (m_bGuideDrag != kGuideDragging)
        return 1;
    m_bGuideDrag = 0;
    if (m_bAutoPanTimer) {
        KillTimer(kGuideAutoPanTimer);
        m_bAutoPanTimer = 0;
    }
    CDesignPage* page = GetDocument();
    CGrid* grid = page ? page->Grid() : nullptr;
    if (page && grid) {
        page->StartUndoTransaction(-1);
        const int band = GetRulerSize().cx;
        const bool onBand = m_nGuideKind == CGrid::kHorizontal ? point.y > 0 && point.y < band
                                                               : point.x > 0 && point.x < band;
        if (onBand) {
            if (m_nGuideIndex >= 0) {
                page->AddGridDeleteUndo(m_nGuideKind, m_nGuideIndex);
                grid->InvalidateGridLine(this, m_nGuideKind, m_nGuideIndex);
                grid->DeleteGridLine(m_nGuideKind, m_nGuideIndex);
                UpdateWindow();
            }
            // The echo of a new guide dropped back on its band is simply gone.
            else
                EchoGuide();
        } else {
            EchoGuide();
            const int pos = m_nGuideKind == CGrid::kVertical ? m_ptGuide.x : m_ptGuide.y;
            if (m_nGuideIndex < 0)
                page->AddGridAddUndo(m_nGuideKind, pos, 1);
            else
                page->AddGridMoveUndo(m_nGuideKind, m_nGuideIndex, pos, 1);
            UpdateWindow();
        }
    }
    ReleaseCapture(0);
    return 1;
}

int CDesignView::OnRButtonDownGuide(UINT, CPoint) {
    if (!m_bGuideDrag)
        return 0;
    if (m_bGuideDrag == kGuideDragging)
        CancelGuideDrag(kGuideCancelled);
    return 1;
}

int CDesignView::OnRButtonUpGuide(UINT, CPoint) {
    if (!m_bGuideDrag)
        return 0;
    m_bGuideDrag = 0;
    return 1;
}

void CDesignView::CancelGuideDrag(int next) {
    if (m_bAutoPanTimer) {
        KillTimer(kGuideAutoPanTimer);
        m_bAutoPanTimer = 0;
    }
    EchoGuide();
    // Marked first: the capture change that the release causes is no second cancel.
    m_bGuideDrag = next;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture(0);
}

LRESULT CDesignView::OnOriginToPoint(WPARAM wx, LPARAM ly) {
    CDesignPage* page = GetDocument();
    if (!page)
        return 0;
    // Signed data units travel as 32-bit values.
    const int32_t x = int32_t(DWORD(wx)), y = int32_t(DWORD(ly));
    CWaitCursor wait;
    NotifyProcessStart();
    page->AddMoveOriginUndo(page->Extents(), 1);
    CMat2d m(CDpoint(-double(x), -double(y)));
    CArticle* root = page->RootArticle();
    page->AddMoveUndo(root, m, 0, 1);
    root->DoTransform(m, 1);
    CGrid* grid = page->Grid();
    if (grid)
        grid->SetOrigin(CLpoint(x, y));
    const CPoint offset = GetOriginOffset();
    SetOriginOffset(CPoint(offset.x + x, offset.y + y));
    const CWindow& e = page->Extents();
    if (!e.fnIsEmptyExtent())
        page->Extents(CWindow(e.x1 - x, e.y1 - y, e.x2 - x, e.y2 - y));
    NotifyProcessEnd();
    page->SetModifiedFlag();
    page->UpdateAllViews(nullptr, kHintRulers, nullptr);
    page->UpdateAllViews(nullptr, kHintSelection, nullptr);
    if (grid && grid->guideDisplayFlag)
        page->UpdateAllViews(nullptr, kHintAll, nullptr);
    return 0;
}

#include "design/transform_tool.h"

#include "design/design_view.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_dc.h"
#include "platform/windowing/cursor.h"

bool HasCardinal(HandleType a, HandleType b) {
    switch (b) {
    case eHandleLeft:
        return a == eHandleLeft || a == eHandleTopLeft || a == eHandleBottomLeft;
    case eHandleRight:
        return a == eHandleRight || a == eHandleTopRight || a == eHandleBottomRight;
    case eHandleTop:
        return a == eHandleTop || a == eHandleTopLeft || a == eHandleTopRight;
    case eHandleBottom:
        return a == eHandleBottom || a == eHandleBottomLeft || a == eHandleBottomRight;
    default:
        return false;
    }
}

CPoint CTransformTool::HandleCentre(const CWindow& e, HandleType handle) {
    // Sums in 64 bits: extents near the data limits must not wrap.
    const LONG cx = LONG((int64_t(e.x1) + e.x2) / 2);
    const LONG cy = LONG((int64_t(e.y1) + e.y2) / 2);
    switch (handle) {
    case eHandleCentre:
        return CPoint(cx, cy);
    case eHandleLeft:
        return CPoint(e.x1, cy);
    case eHandleRight:
        return CPoint(e.x2, cy);
    case eHandleTop:
        return CPoint(cx, e.y2);
    case eHandleBottom:
        return CPoint(cx, e.y1);
    case eHandleTopLeft:
        return CPoint(e.x1, e.y2);
    case eHandleTopRight:
        return CPoint(e.x2, e.y2);
    case eHandleBottomLeft:
        return CPoint(e.x1, e.y1);
    case eHandleBottomRight:
        return CPoint(e.x2, e.y1);
    default:
        return CPoint(cx, cy);
    }
}

CPoint CTransformTool::GetHandleCentre(CDesignView*, HandleType handle) {
    return HandleCentre(m_Extents, handle);
}

void CTransformTool::SetHandleCursor(HandleType handle, int) {
    UINT id = 0;
    switch (handle) {
    case eHandleLeft:
    case eHandleRight:
        id = IDC_SIZEWE;
        break;
    case eHandleTop:
    case eHandleBottom:
        id = IDC_SIZENS;
        break;
    case eHandleTopLeft:
    case eHandleBottomRight:
        id = IDC_SIZENWSE;
        break;
    case eHandleTopRight:
    case eHandleBottomLeft:
        id = IDC_SIZENESW;
        break;
    case eHandleCentre:
    case eHandleBody:
        id = IDC_SIZEALL;
        break;
    default:
        return;
    }
    ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
}

void CTransformTool::OnDrawHandles(CJoxDC* dc) {
    if (!dc)
        return;
    CPoint a(m_Extents.x1, m_Extents.y1);
    CPoint b(m_Extents.x2, m_Extents.y2);
    dc->LPtoDP(a);
    dc->LPtoDP(b);
    CRect r(a.x, a.y, b.x, b.y);
    OnDrawHandlesRect(dc, r);
}

void CTransformTool::OnDrawHandlesRect(CJoxDC* dc, CRect& rect) {
    if (!dc)
        return;
    const int xs[3] = {rect.left, int((int64_t(rect.left) + rect.right) / 2), rect.right};
    const int ys[3] = {rect.top, int((int64_t(rect.top) + rect.bottom) / 2), rect.bottom};
    CBrush brush(CJoxDC::XorPenColour());
    CBrush* old = dc->CDC::SelectObject(&brush);
    const int side = 2 * nHandleSize + 1;
    for (int x : xs)
        for (int y : ys)
            dc->PatBlt(x - nHandleSize, y - nHandleSize, side, side, PATINVERT);
    dc->CDC::SelectObject(old);
}

void CTransformTool::OnDrawExtents(CJoxDC* dc, CWindow& e) {
    CPoint p1(e.x1, e.y1), p2(e.x1, e.y2), p3(e.x2, e.y1), p4(e.x2, e.y2);
    OnDrawExtentsRect(dc, p1, p2, p3, p4);
}

void CTransformTool::OnDrawExtents(CJoxDC* dc) {
    const CWindow& e = m_Extents;
    auto xf = [this](LONG x, LONG y) {
        const CLpoint p = m_Transform * CLpoint(x, y);
        return CPoint(p.x, p.y);
    };
    CPoint p1 = xf(e.x1, e.y1), p2 = xf(e.x1, e.y2), p3 = xf(e.x2, e.y1), p4 = xf(e.x2, e.y2);
    OnDrawExtentsRect(dc, p1, p2, p3, p4);
}

void CTransformTool::OnDrawExtentsRect(CJoxDC* dc, CPoint& p1, CPoint& p2, CPoint& p3, CPoint& p4) {
    if (!dc)
        return;
    CPen pen(PS_DOT, 1, CJoxDC::XorPenColour());
    CPen* oldPen = dc->SelectObject(&pen);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    const int oldRop = dc->SetROP2(R2_XORPEN);
    dc->MoveTo(p2);
    dc->LineTo(p4);
    dc->LineTo(p3);
    dc->LineTo(p1);
    dc->LineTo(p2);
    dc->SetROP2(oldRop);
    dc->SetBkMode(oldBk);
    dc->SelectObject(oldPen);
}

HandleType CTransformTool::HitTestHandles(CDesignView* view, CPoint client) {
    if (!view)
        return eHandleNone;
    // The centre comes first, so it wins where boxes overlap on small selections.
    for (int h = eHandleCentre; h <= eHandleBottomRight; ++h) {
        CPoint c = GetHandleCentre(view, HandleType(h));
        view->DocToClient(c);
        if (client.x >= c.x - nHandleSize && client.x < c.x + nHandleSize &&
            client.y >= c.y - nHandleSize && client.y < c.y + nHandleSize)
            return HandleType(h);
    }
    return eHandleNone;
}

void CTransformTool::EchoExtents(CDesignView* view) {
    if (!view || !::IsWindow(view->GetSafeHwnd()))
        return;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc);
    OnDrawExtents(&dc);
}

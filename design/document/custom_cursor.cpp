#include "design/document/custom_cursor.h"

#include "design/design_view.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_paint_dc.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNCREATE(CCustomCursor, CCmdTarget)

void CCustomCursor::Draw(CDesignView* view, const CPoint* erase, const CPoint* draw) {
    if (!view || !::IsWindow(view->m_hWnd))
        return;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc, nullptr);
    view->GetClientRect(&m_rcClient);
    if (m_pClipRgn && m_pClipRgn->m_hObject)
        dc.SelectClipRgn(m_pClipRgn, RGN_AND);
    CPen pen(PS_SOLID, 0, CJoxDC::XorPenColour());
    CPen* oldPen = dc.CDC::SelectObject(&pen);
    const int oldRop = dc.SetROP2(R2_XORPEN);
    if (erase)
        vfnOnDrawCursor(&dc, *erase);
    if (draw)
        vfnOnDrawCursor(&dc, *draw);
    dc.SetROP2(oldRop);
    dc.CDC::SelectObject(oldPen);
}

void CCustomCursor::vfnOnDrawCursor(CDesignView* view, const CPoint& point) {
    if (!m_bEnabled || !QvGetUseLargeCrossHair())
        return;
    Draw(view, m_bShown ? &m_ptLast : nullptr, &point);
    m_bShown = 1;
    m_ptLast = point;
}

void CCustomCursor::fnHideCursor(CDesignView* view) {
    if (!m_bShown)
        return;
    Draw(view, &m_ptLast, nullptr);
    m_bShown = 0;
}

void CCustomCursor::fnShowCursor(CDesignView* view) {
    // With the option off nothing is ever drawn, so nothing may appear here either.
    if (m_bShown || !QvGetUseLargeCrossHair() || m_ptLast == CPoint(kNeverDrawn, kNeverDrawn))
        return;
    Draw(view, nullptr, &m_ptLast);
    m_bShown = 1;
}

void CCustomCursor::fnEnableCursor(CDesignView* view, int enable) {
    enable = enable ? 1 : 0;
    if (enable == m_bEnabled)
        return;
    if (!enable) {
        fnHideCursor(view);
        m_bEnabled = 0;
    } else {
        m_bEnabled = 1;
        fnShowCursor(view);
    }
}

void CCustomCursor::fnRedrawCursor(CDesignView* view, CJoxDC* dc) {
    m_bShown = 0;
    auto* paint = dynamic_cast<CJoxPaintDC*>(dc);
    if (!paint || !m_bEnabled)
        return;
    m_pClipRgn = paint->GetClipRgn();
    fnShowCursor(view);
    m_pClipRgn = nullptr;
}

void CCustomCursor::fnToggleAppParam(CDesignView* view) {
    if (QvGetUseLargeCrossHair() && m_bShown)
        fnHideCursor(view);
    QvSetUseLargeCrossHair(!QvGetUseLargeCrossHair());
    if (QvGetUseLargeCrossHair() && !m_bShown && m_bEnabled)
        fnShowCursor(view);
}

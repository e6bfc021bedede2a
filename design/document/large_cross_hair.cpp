#include "design/document/large_cross_hair.h"

#include "pivora/framework/jox_client_dc.h"

IMPLEMENT_DYNCREATE(CLargeCrossHair, CCustomCursor)

void CLargeCrossHair::vfnOnDrawCursor(CJoxClientDC* dc, const CPoint& point) {
    // Client pixels: the context's own mapping is off while the lines are drawn.
    const int oldMode = dc->SetMapMode(0);
    dc->CDC::MoveTo(m_rcClient.left, point.y);
    dc->CDC::LineTo(m_rcClient.right, point.y);
    dc->CDC::MoveTo(point.x, m_rcClient.top);
    dc->CDC::LineTo(point.x, m_rcClient.bottom);
    dc->SetMapMode(oldMode);
}

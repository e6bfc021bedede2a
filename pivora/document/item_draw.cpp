// Device extents and clipping of items.
#include "pivora/framework/jox_dc.h"
#include "pivora/item.h"

#include <algorithm>

CRect CItem::CalcClientExtents(CJoxDC* dc) {
    CWindow w = FullExtents();
    CPoint lt(w.x1, w.y2), rb(w.x2, w.y1);
    dc->LPtoDP(lt);
    dc->LPtoDP(rb);
    CRect r(lt.x, lt.y, rb.x, rb.y);
    if (r.left == r.right)
        ++r.right;
    if (r.top == r.bottom)
        ++r.bottom;
    return r;
}

int CItem::IntersectClipRect(CJoxView* view, CJoxDC* dc) {
    if (!view || dc->IsPrinting())
        return 1;
    CRect r = CalcClientExtents(dc);
    r.NormalizeRect();
    CRect clip;
    dc->GetClipBox(&clip);
    clip.InflateRect(3, 3);
    return r.left < clip.right && clip.left < r.right && r.top < clip.bottom && clip.top < r.bottom
               ? 1
               : 0;
}

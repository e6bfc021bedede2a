// Drawing and hit testing of path elements through a drawing context: the part of the path
// elements that needs the drawing contexts and the item hit test, so the geometry needs neither.
#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/pkt.h"
#include "pivora/geometry/plane_geometry.h"
#include "pivora/item.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The device length of an arc element: its device radius times its sweep.
double DeviceLength(CJoxDC* dc, CPkt& p, CPoint& endDev) {
    endDev = CPoint(p.end.x, p.end.y);
    dc->LPtoDP(endDev);
    CLpoint c = CDpoint(p.arc.cx, p.arc.cy).round();
    CPoint centre(c.x, c.y);
    dc->LPtoDP(centre);
    return length(centre, endDev) * std::fabs(p.arc.a1 - p.arc.a0);
}

int Pieces(double g, int step) {
    return int(fnTruncLong(g)) / step + 1;
}

CPoint ToDevice(CJoxDC* dc, const CLpoint& p) {
    CPoint d(p.x, p.y);
    dc->LPtoDP(d);
    return d;
}

} // namespace

void CPkt::Draw(CJoxDC* dc) {
    if (mode != kArc) {
        dc->LineTo(end.x, end.y);
        return;
    }
    CLpoint pts[kMaxPieces];
    const int n = DrawPoints(dc, pts);
    for (int i = 0; i < n; ++i)
        dc->LineTo(pts[i].x, pts[i].y);
}

int CPkt::DrawPoints(CJoxDC* dc, CLpoint* out) {
    if (mode != kArc) {
        out[0] = end;
        return 1;
    }
    CPoint endDev;
    const double g = DeviceLength(dc, *this, endDev);
    if (g < kShortArc) {
        out[0] = mid;
        out[1] = end;
        return 2;
    }
    // One table for the whole process, as arcs are drawn one at a time on the one thread.
    static CLpoint table[kMaxPieces + 2];
    const int n = std::clamp(Pieces(g, kDrawStep), 2, kMaxPieces);
    split_arc(&arc, n, table, 0, 1);
    for (int i = 1; i < n; ++i)
        out[i - 1] = table[i];
    out[n - 1] = end;
    return n;
}

int CPkt::HitTest(CItemHitTest* test) {
    CJoxDC* dc = test->GetDC();
    CPoint s = ToDevice(dc, start);
    CPoint e = ToDevice(dc, end);
    if (mode != kArc) {
        if (!HitTestLineSeg(test, s, e))
            return 0;
        test->SetHitSegment(start, end);
        return 1;
    }
    CPoint endDev;
    const double g = DeviceLength(dc, *this, endDev);
    if (g < kShortArc) {
        CPoint m = ToDevice(dc, mid);
        if (HitTestLineSeg(test, s, m)) {
            test->SetHitSegment(start, mid);
            return 1;
        }
        if (HitTestLineSeg(test, m, e)) {
            test->SetHitSegment(mid, end);
            return 1;
        }
        return 0;
    }
    CLpoint table[kMaxPieces + 1];
    const int n = std::min(Pieces(g, kHitStep), kMaxPieces);
    split_arc(&arc, n, table, 0, 1);
    CPoint from = ToDevice(dc, table[0]);
    for (int i = 1; i <= n; ++i) {
        CPoint to = ToDevice(dc, table[i]);
        if (HitTestLineSeg(test, from, to)) {
            test->SetHitSegment(table[i - 1], table[i]);
            return 1;
        }
        from = to;
    }
    return 0;
}

int HitTestLineSeg(CItemHitTest* test, CPoint& a, CPoint& b) {
    const CPoint h = test->GetHitPoint();
    const int t = test->GetHitAccuracy();
    // In 64 bits: device points of far-off data sit at the ends of the int range.
    const int64_t tol = t;
    if (h.x < int64_t(std::min(a.x, b.x)) - tol || h.x > int64_t(std::max(a.x, b.x)) + tol ||
        h.y < int64_t(std::min(a.y, b.y)) - tol || h.y > int64_t(std::max(a.y, b.y)) + tol)
        return 0;
    CPoint left = a.x <= b.x ? a : b;
    CPoint right = a.x <= b.x ? b : a;
    return on_line(h, left, right, t);
}

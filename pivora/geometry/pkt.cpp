#include "pivora/geometry/pkt.h"

#include "pivora/geometry/plane_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Whether length(a, b) < length(c, d) as the rounded lengths compare. The squares, exact or
// nearly so, decide unless the two are too close for the rounding of the lengths to be ruled out.
bool shorter(CLpoint a, CLpoint b, CLpoint c, CLpoint d) {
    constexpr double kMargin = 1e-9;
    const double abx = double(b.x) - a.x, aby = double(b.y) - a.y;
    const double cdx = double(d.x) - c.x, cdy = double(d.y) - c.y;
    const double ab = abx * abx + aby * aby, cd = cdx * cdx + cdy * cdy;
    if (ab < cd * (1 - kMargin))
        return true;
    if (ab > cd * (1 + kMargin))
        return false;
    return length(a, b) < length(c, d);
}

} // namespace

int CPkt::MakeArc() {
    return arc.make(start, mid, end);
}

int CPkt::TestArc() {
    if (shorter(start, end, start, mid) || shorter(start, end, mid, end)) {
        mode = 0;
        return 0;
    }
    return 1;
}

void CPkt::SplitMid(CPkt& first, CPkt& second) {
    if (mode != kArc) {
        CLpoint m1, m2;
        mid_point(&start, &mid, &m1);
        mid_point(&mid, &end, &m2);
        first.start = start, first.mid = m1, first.end = mid;
        second.start = mid, second.mid = m2, second.end = end;
    } else {
        const CDpoint c(arc.cx, arc.cy);
        const double ts = angle(c, CDpoint(start));
        const double tm = angle(c, CDpoint(mid));
        const double te = angle(c, CDpoint(end));
        double e = (ts + tm) / 2;
        double g = (tm + te) / 2;
        // The halves' middle directions must lie on the arc's side of the cut at +-pi.
        if (!(ts < tm && tm < te)) {
            if (ts <= te && te < tm)
                e += GEO_PI;
            else if (ts > tm && te >= ts)
                g += GEO_PI;
            else if (tm < te && te <= ts)
                e += GEO_PI;
            else if (te <= ts && ts < tm)
                g += GEO_PI;
        }
        first.start = start, first.mid = arc.locus(e).round(), first.end = mid;
        second.start = mid, second.mid = arc.locus(g).round(), second.end = end;
    }
    if (first.MakeArc())
        first.mode = kArc;
    if (second.MakeArc())
        second.mode = kArc;
}

CWindow CPkt::Extents() {
    CWindow w = CWindow::EmptyExtent();
    if (mode == kArc) {
        CLpoint lo, hi;
        arc_extents(arc, &lo, &hi);
        w.fnIncludePoint(lo);
        w.fnIncludePoint(hi);
    } else {
        w.fnIncludePoint(start);
        w.fnIncludePoint(end);
    }
    return w;
}

int CPkt::PointAlongPkt(CPkt& element, double dist, CLpoint& point, double& direction,
                        double* elementLength) {
    const bool isArc = (element.mode & kArc) != 0;
    const double l = isArc ? length(element.arc) : length(element.start, element.end);
    if (elementLength)
        *elementLength = l;
    if (l == 0)
        return 0;
    if (isArc) {
        mid_point(element.arc, dist / l, &point);
        CLpoint ahead;
        mid_point(element.arc, (dist + kDirectionLookAhead) / l, &ahead);
        direction = angle(CDpoint(point), CDpoint(ahead));
    } else {
        mid_point(element.start, element.end, dist / l, &point);
        direction = angle(CDpoint(element.start), CDpoint(element.end));
    }
    return dist < l ? 1 : 0;
}

namespace {

// The band test shared by data and device points.
template <class P> int OnLine(const P& p, const P& a, const P& b, int tol) {
    const double e = b.y < a.y ? tol : -tol;
    const double c1x = p.x + e, c1y = double(p.y) + tol;
    const double c2x = p.x - e, c2y = double(p.y) - tol;
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    return dx * (c1y - a.y) >= dy * (c1x - a.x) && dx * (c2y - a.y) <= dy * (c2x - a.x) ? 1 : 0;
}

} // namespace

int on_line(CLpoint p, CLpoint& a, CLpoint& b, int tol) {
    if (a == b)
        return p == a ? 1 : 0;
    return OnLine(p, a, b, tol);
}

int on_line(CPoint p, CPoint& a, CPoint& b, int tol) {
    return OnLine(p, a, b, tol);
}

int on_segment(CLpoint a, CLpoint b, CLpoint p) {
    CLpoint left = a.x <= b.x ? a : b;
    CLpoint right = a.x <= b.x ? b : a;
    if (!on_line(p, left, right, 10))
        return 0;
    return p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
                   p.y <= std::max(a.y, b.y)
               ? 1
               : 0;
}

#include "pivora/geometry/plane_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

double dot(const CDpoint& a, const CDpoint& b) {
    return a.x * b.x + a.y * b.y;
}

CDpoint midpoint(const CDpoint& a, const CDpoint& b) {
    return (a + b) / 2.0;
}

// Crossing of two segments. Returns -1 when either segment has zero length and out is untouched;
// otherwise 1 or 0 as the plain intersect answers, with out written.
int crossing(const CDline& l1, const CDline& l2, CDpoint* out) {
    CDpoint d1 = l1.end - l1.start, d2 = l2.end - l2.start;
    if ((d1.x == 0 && d1.y == 0) || (d2.x == 0 && d2.y == 0))
        return -1;
    double c = d1.y * d2.x - d1.x * d2.y;
    if (std::fabs(c) < 0.001) {
        // Nearly parallel: a point in the overlap, if there is one.
        const CDline &A = l1, &B = l2;
        double dAe = length(A.end, B), dAs = length(A.start, B);
        double dBe = length(B.end, A), dBs = length(B.start, A);
        if (dAe < dAs) {
            if (dBe < dBs)
                *out = midpoint(A.end, B.end);
            else if (dBe > 0)
                *out = midpoint(A.end, B.start);
            else
                *out = midpoint(B.start, B.end);
        } else if (dAe > 0) {
            if (dBe < dBs)
                *out = midpoint(A.start, B.end);
            else if (dBe > 0)
                *out = midpoint(A.start, B.start);
            else
                *out = midpoint(B.start, B.end);
        } else {
            *out = midpoint(A.start, A.end);
        }
        return length(*out, A) < GEO_ON_ELEMENT && length(*out, B) < GEO_ON_ELEMENT;
    }
    CDpoint e = l2.start - l1.start;
    double t1 = (e.y * d2.x - e.x * d2.y) / c;
    double t2 = (e.y * d1.x - e.x * d1.y) / c;
    *out = l1.start + d1 * t1;
    return t1 >= 0 && t1 <= 1 && t2 >= 0 && t2 <= 1;
}

// The arc's chord, from its start point to its end point.
CDline chord(const CArc& a) {
    return CDline(a.start(), a.end());
}

double direction(const CArc& a, const CDpoint& p) {
    return angle(CDpoint(a.cx, a.cy), p);
}

// Distance of a point near an arc: radial when its direction is within the sweep, else to the
// chord.
double radialOrChord(const CDpoint& p, const CArc& a) {
    if (ang_is_inside(a.a0, a.a1, direction(a, p)))
        return std::fabs(length(p, CDpoint(a.cx, a.cy)) - a.r);
    return length(p, chord(a));
}

// The end of l nearer to p; the end point on a tie.
CDpoint nearerEnd(const CDline& l, const CDpoint& p) {
    return length(p, l.start) < length(p, l.end) ? l.start : l.end;
}

// Samples of an arc at steps of at most ten degrees; bad sweeps give a bounded count.
int sampleCount(const CArc& a) {
    double n = std::fabs(a.a1 - a.a0) / GEO_TEN_DEGREES + 1;
    if (!(n >= 1))
        return 1;
    return n > 100000 ? 100000 : static_cast<int>(n);
}

// Moves p onto the boundaries named by code, first y, then x, along the line through a0 and b0.
// Positions come from the segment's own ends: interpolating from an already clipped point would
// compound the truncations.
CLpoint clipEnd(CLpoint p, int code, const CLpoint& a0, const CLpoint& b0, const CWindow& w) {
    double dx = double(b0.x) - a0.x, dy = double(b0.y) - a0.y;
    if ((code & 3) && dy != 0) {
        LONG y = (code & 1) ? w.y2 : w.y1;
        p = CLpoint(fnTruncLong(a0.x + dx * (double(y) - a0.y) / dy), y);
    }
    if ((code & 12) && dx != 0) {
        LONG x = (code & 4) ? w.x2 : w.x1;
        p = CLpoint(x, fnTruncLong(a0.y + dy * (double(x) - a0.x) / dx));
    }
    return p;
}

} // namespace

// ---- directions ----

double angle(CDpoint v) {
    if (v.x == 0 && v.y == 0)
        return 0.0;
    return std::atan2(v.y, v.x);
}

double angle(CDpoint a, CDpoint b) {
    return angle(b - a);
}

double angle(CDline l) {
    return angle(l.end - l.start);
}

double angle(CDpoint a, CDpoint b, CDpoint c, CDpoint d) {
    double w = std::fabs(angle(a, b) - angle(c, d));
    if (w > GEO_PI)
        w = GEO_2PI - w;
    return w;
}

double angle(CDpoint a, CDpoint b, CDpoint c) {
    return angle(b, a, b, c);
}

int DegAngle(CDpoint a, CDpoint b) {
    double d = angle(a, b) * GEO_DEG_PER_RAD;
    return static_cast<int>(d < 0 ? d - 0.49 : d + 0.49);
}

// ---- lengths ----

double length(CDpoint v) {
    return std::hypot(v.x, v.y);
}

double length(CSize v) {
    return std::hypot(double(v.cx), double(v.cy));
}

double length(CDpoint a, CDpoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

double length(CLpoint a, CLpoint b) {
    return length(CDpoint(a), CDpoint(b));
}

double length(CPoint a, CPoint b) {
    return length(CDpoint(a.x, a.y), CDpoint(b.x, b.y));
}

double length(CDline l) {
    return length(l.start, l.end);
}

double length(CDpoint p, CDline l) {
    CDpoint d = l.end - l.start;
    double dd = dot(d, d);
    if (dd == 0)
        return length(p, l.start);
    double t = dot(p - l.start, d) / dd;
    if (t < 0)
        return length(p, l.start);
    if (t > 1)
        return length(p, l.end);
    return length(p, l.start + d * t);
}

double length(CDline l1, CDline l2) {
    return std::min(std::min(length(l1.start, l2), length(l1.end, l2)),
                    std::min(length(l2.start, l1), length(l2.end, l1)));
}

double length(CLpoint p, CWindow w) {
    double dx = 0, dy = 0;
    if (p.x < w.x1)
        dx = double(w.x1) - p.x;
    else if (p.x > w.x2)
        dx = double(p.x) - w.x2;
    if (p.y < w.y1)
        dy = double(w.y1) - p.y;
    else if (p.y > w.y2)
        dy = double(p.y) - w.y2;
    return std::hypot(dx, dy);
}

double length(CDpoint p, CArc a) {
    if (ang_is_inside(a.a0, a.a1, direction(a, p)))
        return std::fabs(length(p, CDpoint(a.cx, a.cy)) - a.r);
    return std::min(length(p, a.start()), length(p, a.end()));
}

double length(CDline l, CArc a) {
    if (length(l) <= GEO_ON_ELEMENT)
        return length(l.start, a);
    CDpoint pts[2];
    if (intersect(l, a, &pts[0], &pts[1])) {
        for (CDpoint& p : pts) {
            if (length(p, l) <= GEO_ON_ELEMENT) {
                if (ang_is_inside(a.a0, a.a1, direction(a, p)))
                    return 0.0;
            } else {
                p = nearerEnd(l, p);
            }
        }
        return std::min(radialOrChord(pts[0], a), radialOrChord(pts[1], a));
    }
    CDpoint q;
    perp(l.start, l.end, CDpoint(a.cx, a.cy), &q);
    if (length(q, l) > GEO_ON_ELEMENT)
        q = nearerEnd(l, q);
    if (ang_is_inside(a.a0, a.a1, direction(a, q)))
        return std::fabs(length(q, CDpoint(a.cx, a.cy)) - a.r);
    return length(l, chord(a));
}

double length(CArc a1, CArc a2) {
    CDpoint c1(a1.cx, a1.cy), c2(a2.cx, a2.cy);
    double theta = angle(c1, c2);
    bool inFirst = ang_is_inside(a1.a0, a1.a1, theta);
    if (inFirst && ang_is_inside(a2.a0, a2.a1, theta + GEO_PI))
        return std::fabs(length(c1, c2) - (a1.r + a2.r));
    if (inFirst)
        return length(chord(a2), a1);
    return length(chord(a1), a2);
}

double length(CWindow w1, CWindow w2) {
    if (w1.x1 > w1.x2 || w1.y1 > w1.y2 || w2.x1 > w2.x2 || w2.y1 > w2.y2)
        return -2;
    // Half extents against the distance of the centres, in halves to stay exact.
    double dx = std::fabs((double(w1.x1) + w1.x2) - (double(w2.x1) + w2.x2)) / 2;
    double dy = std::fabs((double(w1.y1) + w1.y2) - (double(w2.y1) + w2.y2)) / 2;
    double hw = ((double(w1.x2) - w1.x1) + (double(w2.x2) - w2.x1)) / 2;
    double hh = ((double(w1.y2) - w1.y1) + (double(w2.y2) - w2.y1)) / 2;
    bool apartX = dx > hw, apartY = dy > hh;
    if (!apartX && !apartY)
        return -1;
    if (apartX && !apartY)
        return dx - hw;
    if (apartY && !apartX)
        return dy - hh;
    return -2;
}

double point_length(CLine l1, CLine l2, CLpoint* out) {
    CDline d1(l1), d2(l2);
    CDpoint x;
    if (crossing(d1, d2, &x) >= 0) {
        CLpoint r = x.round();
        if (length(CDpoint(r), d1) <= GEO_ON_ELEMENT && length(CDpoint(r), d2) <= GEO_ON_ELEMENT) {
            *out = r;
            return length(CDpoint(r), d1);
        }
    }
    double best = GEO_FAR_AWAY;
    for (const CLpoint& p : {l2.start, l2.end}) {
        CLpoint foot;
        perp(d1.start, d1.end, CDpoint(p), &foot);
        if (length(CDpoint(foot), d1) <= GEO_ON_ELEMENT) {
            double d = length(foot, p);
            if (d < best)
                best = d, *out = foot;
        }
    }
    for (const CLpoint& p : {l1.start, l1.end}) {
        double d = length(CDpoint(p), d2);
        if (d < best)
            best = d, *out = p;
    }
    return best;
}

double point_length(CLine l, CArc a, CLpoint* out) {
    CDline dl(l);
    int n = sampleCount(a);
    double step = (a.a1 - a.a0) / n, best = GEO_FAR_AWAY;
    for (int i = 0; i <= n; ++i) {
        CDpoint s = a.locus(a.a0 + step * i);
        double d = length(s, dl);
        if (d < best)
            best = d, *out = s.round();
    }
    return best;
}

double point_length(CArc a1, CArc a2, CLpoint* out) {
    int n = sampleCount(a1);
    double step = (a1.a1 - a1.a0) / n, best = GEO_FAR_AWAY;
    for (int i = 0; i <= n; ++i) {
        CDpoint s = a1.locus(a1.a0 + step * i);
        double d = length(s, a2);
        if (d < best)
            best = d, *out = s.round();
    }
    return best;
}

double perp_dist(CDpoint* a, CDpoint* b, CDpoint* p, CDpoint* foot) {
    CDpoint d = *b - *a;
    double dd = dot(d, d);
    if (dd == 0) {
        *foot = *a;
        return length(*p, *a);
    }
    CDpoint f = *a + d * (dot(*p - *a, d) / dd);
    foot->x = fnTruncLong(f.x);
    foot->y = fnTruncLong(f.y);
    return std::fabs(d.x * (p->y - a->y) - d.y * (p->x - a->x)) / std::sqrt(dd);
}

double perp_dist(CLpoint* a, CLpoint* b, CLpoint* p, CLpoint* foot) {
    CDpoint da(*a), db(*b), dp(*p), f;
    double r = perp_dist(&da, &db, &dp, &f);
    *foot = CLpoint(static_cast<LONG>(f.x), static_cast<LONG>(f.y));
    return r;
}

// ---- intersections ----

int intersect(CDline l1, CDline l2, CDpoint* out) {
    return crossing(l1, l2, out) == 1;
}

int intersect(CDline l1, CDline l2, CLpoint* out) {
    CDpoint p;
    int r = crossing(l1, l2, &p);
    if (r >= 0)
        *out = p.round();
    return r == 1;
}

int intersect(CDline l1, CDline l2, CDpoint* out, int onFirst, int onSecond) {
    CDpoint p;
    // Zero-length segments have no crossing point at all.
    if (crossing(l1, l2, &p) < 0)
        return 0;
    *out = p;
    if (onFirst && length(p, l1) > GEO_ON_ELEMENT)
        return 0;
    if (onSecond && length(p, l2) > GEO_ON_ELEMENT)
        return 0;
    return 1;
}

int intersect(CLine l1, CLine l2, CLpoint* out, int onFirst, int onSecond) {
    CDline d1(l1), d2(l2);
    CDpoint p;
    if (crossing(d1, d2, &p) < 0)
        return 0;
    *out = p.round();
    if (onFirst && length(p, d1) > GEO_ON_ELEMENT)
        return 0;
    if (onSecond && length(p, d2) > GEO_ON_ELEMENT)
        return 0;
    return 1;
}

int CheckIntersect(CLpoint& a1, CLpoint& a2, CLpoint& b1, CLpoint& b2) {
    // No point lies within the tolerance of both segments when their boxes are further apart
    // than twice the tolerance: most pairs of a design end here.
    auto apart = [](LONG a, LONG b, LONG c, LONG d) {
        return double(std::min(c, d)) - std::max(a, b) > 2 * GEO_ON_ELEMENT;
    };
    if (apart(a1.x, a2.x, b1.x, b2.x) || apart(b1.x, b2.x, a1.x, a2.x) ||
        apart(a1.y, a2.y, b1.y, b2.y) || apart(b1.y, b2.y, a1.y, a2.y))
        return 0;
    CDpoint p;
    return intersect(CDline(a1, a2), CDline(b1, b2), &p, 1, 1);
}

int intersect(CDline l, CArc a, CDpoint* pFar, CDpoint* pNear) {
    CDpoint s = l.start, d = l.end - l.start;
    double o = dot(d, d);
    if (o < 0.00001)
        return 0;
    CDpoint w = CDpoint(a.cx, a.cy) - s;
    double t = d.x * w.y - d.y * w.x;
    double f = o * a.r * a.r - t * t;
    if (f < -0.00001)
        return 0;
    double g = dot(d, w);
    if (f < 0.00001) {
        *pFar = *pNear = s + d * (g / o);
    } else {
        double root = std::sqrt(f);
        *pFar = s + d * ((g + root) / o);
        *pNear = s + d * ((g - root) / o);
    }
    return 1;
}

int intersect(CDline l, CArc a, CLpoint* pFar, CLpoint* pNear) {
    CDpoint f, n;
    if (!intersect(l, a, &f, &n)) {
        *pFar = *pNear = CLpoint(0, 0);
        return 0;
    }
    *pFar = f.round();
    *pNear = n.round();
    return 1;
}

int intersect(CDline l, CArc a, CDpoint* out, int onLine, int onArc) {
    CDpoint pts[2];
    if (!intersect(l, a, &pts[0], &pts[1]))
        return 0;
    for (const CDpoint& p : pts) {
        if (onLine && length(p, l) > GEO_ON_ELEMENT)
            continue;
        if (onArc && length(p, a) > GEO_ON_ELEMENT)
            continue;
        *out = p;
        return 1;
    }
    return 0;
}

int intersect(CDline l, CArc a, CLpoint* out, int onLine, int onArc) {
    CDpoint p;
    if (!intersect(l, a, &p, onLine, onArc))
        return 0;
    *out = p.round();
    return 1;
}

int intersect(CArc a1, CArc a2, CDpoint* left, CDpoint* right) {
    CDpoint c1(a1.cx, a1.cy), d = CDpoint(a2.cx, a2.cy) - c1;
    double h = dot(d, d);
    if (h < 0.5)
        return 0;
    double r1 = a1.r * a1.r, r2 = a2.r * a2.r;
    double q = r2 - r1;
    double D = 2 * h * (r1 + r2) - h * h - q * q;
    if (D < 0.5)
        return 0;
    CDpoint base = c1 + d * (0.5 - q / (2 * h));
    CDpoint half = CDpoint(-d.y, d.x) * (std::sqrt(D) / (2 * h));
    *left = base + half;
    *right = base - half;
    return 1;
}

int intersect(CArc a1, CArc a2, CLpoint* left, CLpoint* right) {
    CDpoint l, r;
    if (!intersect(a1, a2, &l, &r)) {
        *left = *right = CLpoint(0, 0);
        return 0;
    }
    *left = l.round();
    *right = r.round();
    return 1;
}

int intersect(CArc a1, CArc a2, CDpoint* out, int onFirst, int onSecond) {
    CDpoint pts[2];
    if (!intersect(a1, a2, &pts[0], &pts[1]))
        return 0;
    for (const CDpoint& p : pts) {
        *out = p;
        if (onFirst && length(p, a1) > GEO_ON_ELEMENT)
            continue;
        if (onSecond && length(p, a2) > GEO_ON_ELEMENT)
            continue;
        return 1;
    }
    return 0;
}

// ---- perpendiculars, sides, parallelism ----

int perp(CDpoint a, CDpoint b, CDpoint p, CDpoint* foot) {
    if (a == b) {
        *foot = a;
        return 1;
    }
    CDpoint d = b - a;
    double dd = dot(d, d);
    if (dd < 0.01) {
        *foot = a;
        return 0;
    }
    double t = dot(p - a, d) / dd;
    *foot = a + d * t;
    return t >= 0 && t <= 1;
}

int perp(CDpoint a, CDpoint b, CDpoint p, CLpoint* foot) {
    CDpoint f;
    int r = perp(a, b, p, &f);
    *foot = f.round();
    return r;
}

int perp(CLpoint* a, CLpoint* b, CLpoint* p, CLpoint* foot) {
    return perp(CDpoint(*a), CDpoint(*b), CDpoint(*p), foot);
}

int half_plane(CDpoint p, CDline l) {
    double u = (l.end.x - l.start.x) * (p.y - l.start.y);
    double v = (p.x - l.start.x) * (l.end.y - l.start.y);
    return u < v ? 1 : (u > v ? -1 : 0);
}

int half_plane(CLpoint* p, CLpoint* start, CLpoint* end) {
    // Exact in 128 bits: the products of two 33-bit differences overflow 64.
    __int128 u = __int128(int64_t(end->x) - start->x) * (int64_t(p->y) - start->y);
    __int128 v = __int128(int64_t(p->x) - start->x) * (int64_t(end->y) - start->y);
    return u < v ? 1 : (u > v ? -1 : 0);
}

int point_before_line(CLpoint* p, CLpoint* a, CLpoint* b) {
    int64_t dx = int64_t(b->x) - a->x, dy = int64_t(b->y) - a->y;
    bool alongX = std::llabs(dx) > std::llabs(dy);
    LONG pv = alongX ? p->x : p->y, av = alongX ? a->x : a->y;
    bool backwards = alongX ? dx < 0 : dy < 0;
    return backwards ? pv >= av : pv <= av;
}

bool parallel(const CDpoint& a1, const CDpoint& a2, const CDpoint& b1, const CDpoint& b2,
              double angTol, double distTol) {
    double w = angle(a1, a2, b1, b2);
    bool aligned = std::fabs(w) <= angTol || std::fabs(w - GEO_PI) <= angTol ||
                   std::fabs(w - GEO_2PI) <= angTol;
    if (!aligned)
        return false;
    if (distTol == -1)
        return true;
    CDpoint ca1 = a1, ca2 = a2, cb1 = b1, cb2 = b2, foot;
    double d1 = perp_dist(&ca1, &ca2, &cb1, &foot);
    double d2 = perp_dist(&ca1, &ca2, &cb2, &foot);
    if (d1 > distTol && d2 > distTol)
        return false;
    if (d1 == 0 && d2 == 0 && !(a1 == a2))
        return true;
    struct Projection {
        const CDpoint &base0, &base1, &p;
    } projections[] = {{a1, a2, b1}, {a1, a2, b2}, {b1, b2, a1}, {b1, b2, a2}};
    for (const Projection& pr : projections)
        if (perp(pr.base0, pr.base1, pr.p, &foot) && !(foot == pr.p))
            return true;
    return false;
}

// ---- points along segments, offsets, clipping, fitting ----

void mid_point(CDpoint a, CDpoint b, double t, CDpoint* out) {
    *out = a + (b - a) * t;
}

void mid_point(CLpoint a, CLpoint b, double t, CLpoint* out) {
    CDpoint p;
    mid_point(CDpoint(a), CDpoint(b), t, &p);
    *out = p.round();
}

CLpoint* mid_point(CLpoint* a, CLpoint* b, CLpoint* out) {
    *out = CLpoint(static_cast<LONG>((int64_t(a->x) + b->x) / 2),
                   static_cast<LONG>((int64_t(a->y) + b->y) / 2));
    return out;
}

void split_line(CLpoint* a, CLpoint* b, int n, CLpoint* out, int index, int step) {
    if (n <= 0) {
        out[index] = *b;
        return;
    }
    CLpoint start = *a, end = *b;
    double ix = (double(end.x) - start.x) / n, iy = (double(end.y) - start.y) / n;
    double sx = 0, sy = 0;
    // Each point is rounded half away from zero by its own sign (not the step's), so the
    // first point is exactly a whatever the signs of the coordinates.
    auto coord = [](LONG c, double s) {
        double v = c + s;
        return fnTruncLong(v < 0 ? v - 0.5 : v + 0.5);
    };
    for (int i = 0; i < n; ++i, sx += ix, sy += iy)
        out[index + i * step] = CLpoint(coord(start.x, sx), coord(start.y, sy));
    out[index + n * step] = end;
}

void displace(CLpoint a, CLpoint b, CLpoint* outA, CLpoint* outB, LONG dist, int side) {
    double k = double(dist) * side;
    double L = length(a, b);
    if (k == 0 || L < GEO_ON_ELEMENT) {
        *outA = a;
        *outB = b;
        return;
    }
    LONG ox = fnTruncLong((double(b.y) - a.y) * k / L);
    LONG oy = fnTruncLong((double(a.x) - b.x) * k / L);
    // Points near the 32-bit limits move no further than the limits.
    auto add = [](LONG v, LONG d) {
        return LONG(std::clamp<int64_t>(int64_t(v) + d, INT32_MIN, INT32_MAX));
    };
    *outA = CLpoint(add(a.x, ox), add(a.y, oy));
    *outB = CLpoint(add(b.x, ox), add(b.y, oy));
}

CLpoint* xchg_point(CLpoint* a, CLpoint* b) {
    std::swap(*a, *b);
    return a;
}

LONG lmod(LONG a, LONG b) {
    if (b == 0 || b == -1)
        return 0;
    return a % b;
}

int FnCheckClip(CLpoint* p, CWindow* w) {
    int code = 0;
    if (p->y > w->y2)
        code |= 1;
    if (p->y < w->y1)
        code |= 2;
    if (p->x > w->x2)
        code |= 4;
    if (p->x < w->x1)
        code |= 8;
    return code;
}

int FnClipLine(CLpoint& a, CLpoint& b, CWindow* w) {
    const CLpoint a0 = a, b0 = b;
    for (int pass = 0; pass < 2; ++pass) {
        int ca = FnCheckClip(&a, w), cb = FnCheckClip(&b, w);
        if (ca == 0 && cb == 0)
            return 1;
        if (ca & cb)
            return 0;
        if (ca)
            a = clipEnd(a, ca, a0, b0, *w);
        if (cb)
            b = clipEnd(b, cb, a0, b0, *w);
    }
    // A segment entering through one side of a corner region needs the second pass; when that
    // brought both ends inside, something is left to draw.
    return FnCheckClip(&a, w) == 0 && FnCheckClip(&b, w) == 0;
}

void fnMakeSizeSimilar(CSize& size, const CSize& ref, bool grow) {
    if (ref.cx == 0 || ref.cy == 0) {
        if (ref.cx == 0 && ref.cy != 0)
            size.cx = 0;
        else if (ref.cx != 0 && ref.cy == 0)
            size.cy = 0;
        return;
    }
    double rx = std::fabs(double(size.cx)) / std::fabs(double(ref.cx));
    double ry = std::fabs(double(size.cy)) / std::fabs(double(ref.cy));
    if (rx == ry)
        return;
    bool xWins = grow ? rx > ry : rx < ry;
    if (xWins)
        size.cy = size.cy == 0 ? fnTruncLong(rx * ref.cy) : fnTruncLong(size.cy * rx / ry);
    else
        size.cx = size.cx == 0 ? fnTruncLong(ref.cx * ry) : fnTruncLong(size.cx * ry / rx);
}

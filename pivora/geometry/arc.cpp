#include "pivora/geometry/arc.h"

#include <algorithm>

namespace {

double direction(const CDpoint& from, const CDpoint& to) {
    double dx = to.x - from.x, dy = to.y - from.y;
    if (dx == 0 && dy == 0)
        return 0.0;
    return std::atan2(dy, dx);
}

// Quadrant 1..4 by the signs of cosine and sine; zero counts as positive.
int quadrant(double angle) {
    bool cpos = std::cos(angle) >= 0, spos = std::sin(angle) >= 0;
    if (spos)
        return cpos ? 1 : 2;
    return cpos ? 4 : 3;
}

// Axis directions passed going counter-clockwise from one quadrant to another:
// 1 right, 2 top, 4 left, 8 bottom.
constexpr int kAxesPassed[4][4] = {
    {0, 2, 6, 14},
    {13, 0, 4, 12},
    {9, 11, 0, 8},
    {1, 3, 7, 0},
};

// The order of the directions of a and b as atan2 gives them: the sign of angle(b) - angle(a),
// or 2 when it is too close to call without the angles. Opposite half-planes order by the sign
// of y alone; within one, the cross product decides once it clears its rounding by far.
int direction_order(const CDpoint& a, const CDpoint& b) {
    constexpr double kTiny = 1e-100, kMargin = 1e-9;
    const double ax = std::fabs(a.x), ay = std::fabs(a.y), bx = std::fabs(b.x), by = std::fabs(b.y);
    if (ay <= ax * kTiny || by <= bx * kTiny)
        return 2;
    if ((a.y > 0) != (b.y > 0))
        return b.y > 0 ? 1 : -1;
    const double cross = a.x * b.y - a.y * b.x;
    if (std::fabs(cross) <= kMargin * (ax + ay) * (bx + by))
        return 2;
    return cross > 0 ? 1 : -1;
}

// sort_angles with the middle angle known only by its order against a0 (ms) and a1 (me).
void sort_by_order(double* a0, double* a1, int ms, int me) {
    if ((ms > 0 && me < 0) || (me > 0 && ms < 0))
        return;
    if (ms > 0) {
        *a0 -= GEO_2PI;
        if (std::fabs(*a1 - *a0) >= GEO_2PI) {
            *a0 += GEO_2PI;
            *a1 -= GEO_2PI;
        }
    } else {
        *a1 -= GEO_2PI;
        if (std::fabs(*a1 - *a0) >= GEO_2PI) {
            *a1 += GEO_2PI;
            *a0 -= GEO_2PI;
        }
    }
}

} // namespace

int CArc::make(const CDpoint& start, const CDpoint& mid, const CDpoint& end) {
    cx = start.x, cy = start.y, r = 0.0, a0 = 0.0, a1 = GEO_2PI;
    if (mid == start || end == mid)
        return 0;
    if (end == start) {
        // Start and mid are taken as diametrically opposite points of a full circle.
        CDpoint c = (start + mid) / 2.0;
        cx = c.x, cy = c.y;
        r = std::hypot(mid.x - start.x, mid.y - start.y) / 2.0;
        a0 = direction(c, start);
        a1 = a0 + GEO_2PI;
        return 1;
    }
    CDpoint d1 = mid - start, d2 = end - mid;
    CDpoint m1 = (start + mid) / 2.0, m2 = (mid + end) / 2.0;
    double c1 = d1.x * m1.x + d1.y * m1.y;
    double c2 = d2.x * m2.x + d2.y * m2.y;
    double det = d1.y * d2.x - d1.x * d2.y;
    if (std::fabs(det) < 0.00001)
        return 0;
    CDpoint c(-(c1 * d2.y - c2 * d1.y) / det, (c1 * d2.x - c2 * d1.x) / det);
    double ar = std::hypot(start.x - c.x, start.y - c.y);
    double s = direction(c, start), e = direction(c, end);
    // The middle direction only picks the sweep: ordered without its angle where that is certain.
    const CDpoint vs = start - c, vm = mid - c, ve = end - c;
    const int ms = direction_order(vs, vm), me = direction_order(ve, vm);
    if (ms == 2 || me == 2) {
        double m = direction(c, mid);
        sort_angles(&s, &m, &e);
    } else {
        sort_by_order(&s, &e, ms, me);
    }
    cx = c.x, cy = c.y, r = ar, a0 = s, a1 = e;
    return 1;
}

int CArc::make(const CLpoint& start, const CLpoint& mid, const CLpoint& end) {
    return make(CDpoint(start), CDpoint(mid), CDpoint(end));
}

void sort_angles(double* a0, double* amid, double* a1) {
    double m = *amid;
    if ((*a0 < m && m < *a1) || (*a1 < m && m <= *a0))
        return;
    if (m > *a0 && *a1 <= m) {
        *a0 -= GEO_2PI;
        if (std::fabs(*a1 - *a0) >= GEO_2PI) {
            *a0 += GEO_2PI;
            *a1 -= GEO_2PI;
        }
    } else if (m <= *a0 && *a1 >= m) {
        *a1 -= GEO_2PI;
        if (std::fabs(*a1 - *a0) >= GEO_2PI) {
            *a1 += GEO_2PI;
            *a0 -= GEO_2PI;
        }
    }
}

int ang_is_inside(double a0, double a1, double angle) {
    double lo = std::min(a0, a1), hi = std::max(a0, a1);
    for (double a : {angle, angle - GEO_2PI, angle + GEO_2PI})
        if (a >= lo && a <= hi)
            return 1;
    return 0;
}

double length(CArc a) {
    return std::fabs(a.a1 - a.a0) * a.r;
}

void arc_extents(CArc a, CLpoint* lo, CLpoint* hi) {
    double alo = std::min(a.a0, a.a1), ahi = std::max(a.a0, a.a1);
    int qlo = quadrant(alo), qhi = quadrant(ahi);
    int bits = kAxesPassed[qlo - 1][qhi - 1];
    if (qlo == qhi && ahi - alo > GEO_PI)
        bits = 15;
    CLpoint s = a.start().round(), e = a.end().round();
    hi->x = (bits & 1) ? fnTruncLong(a.cx + a.r) : std::max(s.x, e.x);
    hi->y = (bits & 2) ? fnTruncLong(a.cy + a.r) : std::max(s.y, e.y);
    lo->x = (bits & 4) ? fnTruncLong(a.cx - a.r) : std::min(s.x, e.x);
    lo->y = (bits & 8) ? fnTruncLong(a.cy - a.r) : std::min(s.y, e.y);
}

void split_arc(CArc* a, int n, CLpoint* out, int index, int step) {
    // Offsets round half away from zero by their own sign, then the sum is truncated.
    auto coord = [](double c, double o) { return fnTruncLong(o < 0 ? c + o - 0.5 : c + o + 0.5); };
    double angle = a->a0;
    double inc = n > 0 ? (a->a1 - a->a0) / n : 0.0;
    int count = n > 0 ? n : 0;
    for (int i = 0; i <= count; ++i, angle += inc) {
        CLpoint& p = out[index + i * step];
        p.x = coord(a->cx, a->r * std::cos(angle));
        p.y = coord(a->cy, a->r * std::sin(angle));
    }
}

void mid_point(CArc a, double t, CDpoint* out) {
    *out = a.locus(a.a0 + (a.a1 - a.a0) * t);
}

void mid_point(CArc a, double t, CLpoint* out) {
    CDpoint p;
    mid_point(a, t, &p);
    *out = p.round();
}

void locus(CDpoint* out, CDpoint centre, double r, double angle) {
    out->x = centre.x + r * std::cos(angle);
    out->y = centre.y + r * std::sin(angle);
}

void locus(CLpoint* out, CDpoint* centre, double r, double angle) {
    CDpoint p;
    locus(&p, *centre, r, angle);
    out->x = fnTruncLong(p.x);
    out->y = fnTruncLong(p.y);
}

void locus(CLpoint* out, CLpoint* centre, double r, double angle) {
    CDpoint c(*centre);
    locus(out, &c, r, angle);
}

void displace(CArc a, CLpoint* out, int index, int step, LONG dist, int side) {
    double d = std::fabs(double(dist));
    double r = side == 0 ? a.r + d : a.r - d;
    if (r < 0)
        r = 0;
    CDpoint c(a.cx, a.cy);
    locus(&out[index], &c, r, a.a0);
    locus(&out[index + step], &c, r, (a.a0 + a.a1) / 2);
    locus(&out[index + 2 * step], &c, r, a.a1);
}

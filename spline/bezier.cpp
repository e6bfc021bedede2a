#include "spline/bezier.h"

#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/plane_geometry.h"
#include "pivora/item.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace {

POINT ToPOINT(const CLpoint& p) {
    return POINT{p.x, p.y};
}

// One element through three points: an arc when they make one, else straight.
CPkt ElementThrough(const CLpoint& s, const CLpoint& m, const CLpoint& e) {
    CPkt p;
    p.start = s;
    p.mid = m;
    p.end = e;
    p.mode = p.MakeArc() ? CPkt::kArc : 0;
    return p;
}

// Power-form coefficients of one axis. 64 bits: the differences of points far apart leave the
// 32-bit range.
struct PowerAxis {
    int64_t a, b, c, s;
    PowerAxis(LONG p0, LONG p1, LONG p2, LONG p3) {
        s = p0;
        c = 3 * (int64_t(p1) - p0);
        b = 3 * (int64_t(p2) - p1) - c;
        a = int64_t(p3) - p0 - c - b;
    }
    double At(double t) const {
        return ((double(a) * t + double(b)) * t + double(c)) * t + double(s);
    }
};

// The Bernstein form at t, converted with +0.5 and truncation.
LONG Bernstein(double p0, double p1, double p2, double p3, double t) {
    const double u = 1 - t;
    const double v = p0 * u * u * u + 3 * p1 * u * u * t + 3 * p2 * u * t * t + p3 * t * t * t;
    return fnTruncLong(v + 0.5);
}

// Roots in (0, 1) of the derivative of one axis, appended to roots.
void DerivativeRoots(double p0, double p1, double p2, double p3, double* roots, int& count) {
    const double k2 = 3 * (p3 - 3 * p2 + 3 * p1 - p0);
    const double k1 = 6 * (p2 - 2 * p1 + p0);
    const double k0 = 3 * (p1 - p0);
    auto take = [&](double t) {
        if (t > 0 && t < 1)
            roots[count++] = t;
    };
    if (std::fabs(k2) >= 1e-12) {
        const double disc = k1 * k1 - 4 * k2 * k0;
        if (disc >= 0) {
            const double w = std::sqrt(disc);
            take((-k1 + w) / (2 * k2));
            take((-k1 - w) / (2 * k2));
        }
    } else if (std::fabs(k1) >= 1e-12) {
        take(-k0 / k1);
    }
}

// length(p, l) with a square root for the rounded length: within a few units of the last place.
double Dot(CDpoint a, CDpoint b) {
    return a.x * b.x + a.y * b.y;
}

double RoughDistance(CDpoint p, const CDline& l) {
    auto norm = [](CDpoint v) { return std::sqrt(Dot(v, v)); };
    const CDpoint d = l.end - l.start;
    const double dd = Dot(d, d);
    if (dd == 0)
        return norm(p - l.start);
    const double t = Dot(p - l.start, d) / dd;
    if (t < 0)
        return norm(p - l.start);
    if (t > 1)
        return norm(p - l.end);
    return norm(p - (l.start + d * t));
}

} // namespace

// Drawing ----------------------------------------------------------------------------------------

void CBezier::ReversePoints() {
    std::swap(start, end);
    std::swap(control1, control2);
}

void CBezier::Draw(CJoxDC* dc, bool reverse) {
    if (reverse)
        ReversePoints();
    switch (type) {
    case kCubic:
        DrawCurve(dc);
        break;
    case kLine:
        DrawLine(dc);
        break;
    case kArc:
        DrawArc(dc);
        break;
    default:
        break;
    }
    if (reverse)
        ReversePoints();
}

void CBezier::DrawCurve(CJoxDC* dc) {
    if (curved == 1) {
        const POINT pts[3] = {ToPOINT(control1), ToPOINT(control2), ToPOINT(end)};
        dc->PolyBezierTo(pts, 3);
    } else {
        dc->LineTo(end.x, end.y);
    }
}

void CBezier::DrawLine(CJoxDC* dc) {
    dc->LineTo(end.x, end.y);
}

void CBezier::DrawArc(CJoxDC* dc) {
    if (dc->IsPrinting()) {
        CArc arc;
        if (!arc.make(start, control1, end)) {
            dc->LineTo(end.x, end.y);
            return;
        }
        if (dc->ArcTo(arc))
            return;
    }
    CPkt p = ElementThrough(start, control1, end);
    p.Draw(dc);
}

// Extents ----------------------------------------------------------------------------------------

CWindow CBezier::Extents() {
    switch (type) {
    case kCubic:
        return CurveExtents();
    case kLine:
        return LineExtents();
    case kArc:
        return ArcExtents();
    default:
        return CWindow(0, 0, 0, 0);
    }
}

CWindow CBezier::CurveExtents() {
    CWindow w(std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x),
              std::max(start.y, end.y));
    const double sx = start.x, sy = start.y, ax = control1.x, ay = control1.y;
    const double bx = control2.x, by = control2.y, ex = end.x, ey = end.y;
    double roots[4];
    int count = 0;
    DerivativeRoots(sx, ax, bx, ex, roots, count);
    DerivativeRoots(sy, ay, by, ey, roots, count);
    for (int i = 0; i < count; ++i) {
        const double t = roots[i];
        w.fnIncludePoint(CLpoint(Bernstein(sx, ax, bx, ex, t), Bernstein(sy, ay, by, ey, t)));
    }
    return w;
}

CWindow CBezier::LineExtents() {
    CWindow w = CWindow::EmptyExtent();
    w.fnIncludePoint(start);
    w.fnIncludePoint(end);
    return w;
}

CWindow CBezier::ArcExtents() {
    CPkt p = ElementThrough(start, control1, end);
    if (p.mode == CPkt::kArc)
        return p.Extents();
    CWindow w = CWindow::EmptyExtent();
    w.fnIncludePoint(start);
    w.fnIncludePoint(control1);
    w.fnIncludePoint(end);
    return w;
}

CWindow CBezier::PointExtents() {
    CWindow w = CWindow::EmptyExtent();
    w.fnIncludePoint(start);
    w.fnIncludePoint(control1);
    w.fnIncludePoint(control2);
    w.fnIncludePoint(end);
    return w;
}

// Flattening -------------------------------------------------------------------------------------

int CBezier::NumPkts(int level) {
    switch (type) {
    case kCubic:
        return std::clamp(level, kMinLevel, kMaxLevel);
    case kLine:
    case kArc:
        return 1;
    default:
        return 0;
    }
}

int CBezier::MakePkts(CPkt* out, int level) {
    switch (type) {
    case kCubic:
        return MakeCurvePkts(out, std::clamp(level, kMinLevel, kMaxLevel));
    case kLine:
    case kArc:
        return MakeArcPkts(out);
    default:
        return 0;
    }
}

int CBezier::MakeCurvePkts(CPkt* out, int level) {
    level = std::clamp(level, kMinLevel, kMaxLevel);
    const int m = 2 * level;
    const PowerAxis x(start.x, control1.x, control2.x, end.x);
    const PowerAxis y(start.y, control1.y, control2.y, end.y);
    CLpoint s[2 * kMaxLevel + 1];
    s[0] = start;
    for (int i = 1; i < m; ++i) {
        const double t = double(i) / m;
        s[i] = CLpoint(fnTruncLong(x.At(t)), fnTruncLong(y.At(t)));
    }
    s[m] = end;
    for (int k = 0; k < level; ++k) {
        CPkt& p = out[k];
        p.mode = 0;
        p.start = s[2 * k];
        p.mid = s[2 * k + 1];
        p.end = s[2 * k + 2];
        if (p.MakeArc())
            p.mode = CPkt::kArc;
        p.TestArc();
    }
    return level;
}

int CBezier::MakeArcPkts(CPkt* out) {
    *out = ElementThrough(start, control1, end);
    return 1;
}

// Hit testing ------------------------------------------------------------------------------------

int CBezier::HitTest(CItemHitTest* ht) {
    CJoxDC* dc = ht->GetDC();
    if (!dc || type < kCubic || type > kArc)
        return 0;
    dc->SetDrawMode(1);
    const int a = ht->GetHitAccuracy();
    const CPoint p = ht->GetHitPoint();
    const CWindow w = Extents();
    CPoint lo(w.x1, w.y1), hi(w.x2, w.y2);
    dc->LPtoDP(lo);
    dc->LPtoDP(hi);
    // The box widened by the accuracy, right and bottom edges excluded; wide enough not to
    // overflow at the limits of the device range.
    const int64_t left = int64_t(lo.x) - a, top = int64_t(hi.y) - a;
    const int64_t right = int64_t(hi.x) + a, bottom = int64_t(lo.y) + a;
    if (!(p.x >= left && p.x < right && p.y >= top && p.y < bottom))
        return 0;
    switch (type) {
    case kCubic:
        return HitTestCurve(ht);
    case kLine:
        return HitTestLine(ht);
    default:
        return HitTestArc(ht);
    }
}

int CBezier::HitTestCurve(CItemHitTest* ht) {
    CJoxDC* dc = ht->GetDC();
    if (!dc->BeginPath())
        return 0;
    const POINT pts[4] = {ToPOINT(start), ToPOINT(control1), ToPOINT(control2), ToPOINT(end)};
    dc->PolyBezier(pts, 4);
    if (!dc->EndPath())
        return 0;
    if (!dc->FlattenPath())
        return 0;
    const int n = dc->GetPath(nullptr, nullptr, 0);
    if (n <= 0)
        return 0;
    auto flat = std::make_unique<POINT[]>(n);
    auto kinds = std::make_unique<BYTE[]>(n);
    const int got = std::min(n, dc->GetPath(flat.get(), kinds.get(), n));
    for (int i = 0; i + 1 < got; ++i) {
        CPoint from(flat[i].x, flat[i].y), to(flat[i + 1].x, flat[i + 1].y);
        if (HitTestLineSeg(ht, from, to)) {
            ht->SetHitSegment(CLpoint(from.x, from.y), CLpoint(to.x, to.y));
            return 1;
        }
    }
    return 0;
}

int CBezier::HitTestLine(CItemHitTest* ht) {
    CJoxDC* dc = ht->GetDC();
    ht->SetHitSegment(start, end);
    CPoint s(start.x, start.y), e(end.x, end.y);
    dc->LPtoDP(s);
    dc->LPtoDP(e);
    const int hit = HitTestLineSeg(ht, s, e);
    if (hit)
        ht->SetHitSegment(start, end);
    return hit;
}

int CBezier::HitTestArc(CItemHitTest* ht) {
    CPkt p = ElementThrough(start, control1, end);
    return p.HitTest(ht);
}

// Curvature and sampling -------------------------------------------------------------------------

void CBezier::TestCurvature() {
    const CDline chord(start, end);
    // Decided from the rough lengths unless the ratio lies too near the limit to be sure.
    constexpr double kMargin = 1e-9;
    const double rl = std::sqrt(Dot(chord.end - chord.start, chord.end - chord.start));
    if (rl == 0) {
        curved = 0;
        return;
    }
    const double rk =
        (RoughDistance(CDpoint(control1), chord) + RoughDistance(CDpoint(control2), chord)) / rl;
    if (rk > kFlatness * (1 + kMargin) || rk < kFlatness * (1 - kMargin)) {
        curved = rk > kFlatness ? 1 : 0;
        return;
    }
    const double l = length(chord);
    const double d1 = length(CDpoint(control1), chord);
    const double d2 = length(CDpoint(control2), chord);
    const double k = l == 0 ? 0.0 : (d1 + d2) / l;
    curved = k > kFlatness ? 1 : 0;
}

void CBezier::GetPoints(POINT* pts, int n) {
    if (!pts || n < 1)
        return;
    pts[0] = ToPOINT(start);
    if (n < 2)
        return;
    const PowerAxis x(start.x, control1.x, control2.x, end.x);
    const PowerAxis y(start.y, control1.y, control2.y, end.y);
    for (int i = 1; i <= n - 2; ++i) {
        const double t = double(i) / (n - 1);
        pts[i] = POINT{fnTruncLong(x.At(t)), fnTruncLong(y.At(t))};
    }
    pts[n - 1] = ToPOINT(end);
}

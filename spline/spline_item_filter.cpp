// Point-reduction filters of the spline item: a deviation pass, then a length pass.
#include "spline/spline_item.h"

#include "pivora/geometry/arc.h"
#include "pivora/geometry/plane_geometry.h"

#include "spline/point_hull.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr unsigned kDevCornerException = CSplineItem::kFilterDevCorner;
constexpr unsigned kLenCornerException = CSplineItem::kFilterLenCorner;
// Below this share of the following edge a short edge into a corner is kept.
constexpr double kCornerShare = 0.5;
// Bound on the rounding of a point-to-chord distance, per unit of the largest coordinate; far
// above the few ulps the arithmetic loses.
constexpr double kRoundingShare = 1e-12;

bool IsBreak(const CSb& p) {
    return (p.flags & CSplineItem::kBreak) != 0;
}

double PointToChord(const CLpoint& p, const CLpoint& a, const CLpoint& b) {
    return length(CDpoint(p), CDline(a, b));
}

// The shared window steps; measure gives the value tested against the tolerance.
template <class Measure> bool ApplyWindow(CSb* w, int tolerance, bool exception, Measure measure) {
    if (!IsBreak(w[0]) || !IsBreak(w[2]))
        tolerance /= 2;
    if (!IsBreak(w[1])) {
        // Smooth points are judged where the curve through the window would put them.
        CArc arc;
        arc.make(w[0].pt, w[1].pt, w[2].pt);
        mid_point(arc, 0.5, &w[1].pt);
    }
    bool keep = measure(w) >= tolerance;
    if (!keep && exception && !IsBreak(w[0]) && IsBreak(w[1]) && IsBreak(w[2])) {
        const double next = length(w[1].pt, w[2].pt);
        keep = next > 0 && length(w[0].pt, w[1].pt) / next < kCornerShare;
    }
    if (keep) {
        w[0] = w[1];
        w[1] = w[2];
        return false;
    }
    w[1] = w[2];
    return true;
}

} // namespace

bool CSplineItem::ApplyDeviationFilter(CSb* w, int tolerance, unsigned options) {
    return ApplyWindow(w, tolerance, (options & kDevCornerException) != 0,
                       [](const CSb* v) { return PointToChord(v[1].pt, v[0].pt, v[2].pt); });
}

bool CSplineItem::ApplyLenFilter(CSb* w, int tolerance, unsigned options) {
    return ApplyWindow(w, tolerance, (options & kLenCornerException) != 0,
                       [](const CSb* v) { return length(v[0].pt, v[1].pt); });
}

bool CSplineItem::ApplyDeviationFilter(CSbArray& run, int tolerance, unsigned) {
    const INT_PTR n = run.GetSize();
    if (n < 3)
        return false;
    const CSb& first = run[0];
    const CSb& last = run[n - 1];
    if (!IsBreak(first) || !IsBreak(last))
        tolerance /= 2;
    for (INT_PTR i = 1; i + 1 < n; ++i)
        if (!(PointToChord(run[i].pt, first.pt, last.pt) < tolerance))
            return false;
    return true;
}

// The passes mark points and compact once at the end: the same points go as with deleting each
// at once, without moving the rest of a long import for every one of them.
int CSplineItem::ApplySimpleFilter(int lenTolerance, int devTolerance, unsigned options) {
    if (VectCount() < 3)
        return 0;
    int removed = DeviationPass(devTolerance, options);
    removed += WindowPass(lenTolerance, options, &CSplineItem::ApplyLenFilter);
    if (removed > 0)
        DeselectAllElements();
    return removed;
}

// A run from point s grows while every point between s and the newest lies closer than the
// tolerance to their chord. Only the corners of the inner points' hull can lie farthest from a
// chord, so a long straight run costs its hull, not its length. Rounding could tip a distance
// within a hair of the tolerance either way: there every inner point is measured, as before.
int CSplineItem::DeviationPass(int tolerance, unsigned options) {
    const int n = VectCount();
    bool polyline = true;
    for (int i = 0; i < n && polyline; ++i)
        polyline = IsBreak(m_Points[i]);
    if (!polyline)
        return WindowPass(tolerance, options, &CSplineItem::ApplyDeviationFilter);

    std::vector<bool> drop(size_t(n), false);
    int removed = 0;
    int s = 0;
    CPointHull hull;
    for (int i = 2; i < n; ++i) {
        hull.Add(m_Points[i - 1].pt);
        if (RunWithinTolerance(hull, s, i, tolerance)) {
            drop[size_t(i - 1)] = true;
            ++removed;
            continue;
        }
        s = i - 1;
        hull.Clear();
    }
    Compact(drop);
    return removed;
}

bool CSplineItem::RunWithinTolerance(const CPointHull& hull, int s, int e, int tolerance) {
    if (s + 1 >= e)
        return false;
    // Every point of a polyline is a break: the tolerance is never halved here.
    const CLpoint a = m_Points[s].pt, b = m_Points[e].pt;
    const double tol = tolerance;
    double farthest = 0;
    const bool inside = hull.ForEachCorner([&](const CLpoint& p) {
        const double d = PointToChord(p, a, b);
        if (!(d < tol))
            return false;
        farthest = std::max(farthest, d);
        return true;
    });
    if (!inside)
        return false;
    const double scale = std::max({hull.Scale(), std::fabs(double(a.x)), std::fabs(double(a.y)),
                                   std::fabs(double(b.x)), std::fabs(double(b.y))});
    if (farthest < tol - kRoundingShare * (scale + 1))
        return true;
    for (int k = s + 1; k < e; ++k)
        if (!(PointToChord(m_Points[k].pt, a, b) < tol))
            return false;
    return true;
}

int CSplineItem::WindowPass(int tolerance, unsigned options, WindowFilter filter) {
    const int n = VectCount();
    if (n < 3)
        return 0;
    std::vector<bool> drop(size_t(n), false);
    int removed = 0;
    // The window's middle point stands for the last point not yet decided.
    int middle = 1;
    CSb w[3] = {m_Points[0], m_Points[1], CSb()};
    for (int i = 2; i < n; ++i) {
        w[2] = m_Points[i];
        if (filter(w, tolerance, options)) {
            drop[size_t(middle)] = true;
            ++removed;
        }
        middle = i;
    }
    Compact(drop);
    return removed;
}

void CSplineItem::Compact(const std::vector<bool>& drop) {
    INT_PTR to = 0;
    for (INT_PTR from = 0; from < m_Points.GetSize(); ++from)
        if (!drop[size_t(from)])
            m_Points[to++] = m_Points[from];
    m_Points.SetSize(to);
}

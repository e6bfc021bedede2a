// Measures of a path item on its flattened path: points along it, length, area, distances,
// crossings with a segment, containment, and the mirror-symmetric runs of control points.
#include "pivora/geometry/plane_geometry.h"
#include "vector/vector_item.h"

#include <cmath>
#include <unordered_set>
#include <vector>

namespace {

// Flattening levels the measures ask for.
constexpr int kMeasureLevel = 4;
constexpr int kCrossingLevel = 2;
constexpr int kDistanceLevel = 1;
// Starting value of the running minimum of distances.
constexpr double kFarAway = 10000000.0;
// End points this close to the cutting segment are moved up off it, so that a vertex on the
// segment counts once.
constexpr double kNudgeDistance = 5.0;
constexpr LONG kNudge = 5;
// Arcs shorter than this have no direction to measure along.
constexpr double kTinyArc = 0.00001;
// Beyond this many whole lengths a closed path's distance is reduced at once.
constexpr double kWrapLoopLimit = 1024.0;

bool IsArc(const CPkt& p) {
    return (p.mode & CPkt::kArc) != 0;
}

double ElementLength(const CPkt& p) {
    return IsArc(p) ? length(p.arc) : length(p.start, p.end);
}

// Takes whole lengths off a distance along a closed path of length total.
double Wrap(double dist, double total) {
    if (dist > total * kWrapLoopLimit)
        dist = std::fmod(dist, total);
    while (dist > total)
        dist -= total;
    return dist;
}

template <class T> void SetExtra(CPtrArray* extra, int i, T value) {
    if (extra && extra->GetSize() > i)
        if (auto* p = static_cast<T*>(extra->GetAt(i)))
            *p = value;
}

} // namespace

int CVectorItem::PointAlongPath(double dist, CLpoint& point, double& angle, CPtrArray* extra) {
    if (!std::isfinite(dist))
        return 0;
    double total = 0.0;
    if (IsClosed(0)) {
        total = GetLength();
        if (total > 0) {
            SetExtra(extra, 2, total);
            dist = Wrap(dist, total);
        }
    }
    // An item without control points has no point 0 to answer with: its path is walked.
    if (dist == 0 && total == 0 && VectCount() > 0) {
        angle = 0;
        point = Vect(0).pt;
        return 1;
    }
    EnsurePkts(kMeasureLevel);
    const int n = int(m_PktArray.GetSize());
    if (dist < 0) {
        for (int i = 0; i < n; ++i) {
            CPkt& e = m_PktArray.ElementAt(i);
            if (ElementLength(e) > 0) {
                CPkt::PointAlongPkt(e, dist, point, angle, nullptr);
                return 1;
            }
        }
        return 0;
    }
    int lastPositive = -1;
    for (int i = 0; i < n; ++i) {
        CPkt& e = m_PktArray.ElementAt(i);
        // Only the element that holds the point is asked for it.
        const double len = ElementLength(e);
        if (dist < len && CPkt::PointAlongPkt(e, dist, point, angle, nullptr)) {
            SetExtra(extra, 0, i);
            SetExtra(extra, 1, dist);
            return 1;
        }
        dist -= len;
        if (len > 0)
            lastPositive = i;
    }
    if (lastPositive < 0)
        return 0;
    CPkt& last = m_PktArray.ElementAt(lastPositive);
    CPkt::PointAlongPkt(last, ElementLength(last) + dist, point, angle, nullptr);
    return 1;
}

int CVectorItem::NextPointAlongPath(double dist, CLpoint& point, double& angle, int& element,
                                    double& elementStart) {
    if (!std::isfinite(dist))
        return 0;
    double total = 0.0;
    if (IsClosed(0)) {
        total = GetLength();
        if (total > 0)
            dist = Wrap(dist, total);
    }
    if (dist == 0 && total == 0 && VectCount() > 0) {
        angle = 0;
        point = Vect(0).pt;
        return 1;
    }
    EnsurePkts(kMeasureLevel);
    const int n = int(m_PktArray.GetSize());
    if (dist < 0) {
        for (int i = 0; i < n; ++i) {
            CPkt& e = m_PktArray.ElementAt(i);
            if (ElementLength(e) > 0) {
                CPkt::PointAlongPkt(e, dist, point, angle, nullptr);
                return 1;
            }
        }
        element = -1;
        return 0;
    }
    // Resume only where the cache is valid and lies behind the distance asked for; otherwise
    // walk from the start, and the cache names an element only once the walk has passed one.
    int first = 0;
    if (element >= 0 && element < n && dist >= elementStart) {
        first = element;
        dist -= elementStart;
    } else {
        element = -1;
        elementStart = 0.0;
    }
    int lastPositive = -1;
    for (int i = first; i < n; ++i) {
        CPkt& e = m_PktArray.ElementAt(i);
        const double len = ElementLength(e);
        if (dist < len && CPkt::PointAlongPkt(e, dist, point, angle, nullptr))
            return 1;
        dist -= len;
        element = i + 1;
        elementStart += len;
        if (len > 0)
            lastPositive = i;
    }
    for (int i = first - 1; lastPositive < 0 && i >= 0; --i)
        if (ElementLength(m_PktArray.GetAt(i)) > 0)
            lastPositive = i;
    if (lastPositive < 0) {
        element = -1;
        return 0;
    }
    CPkt& last = m_PktArray.ElementAt(lastPositive);
    CPkt::PointAlongPkt(last, ElementLength(last) + dist, point, angle, nullptr);
    return 1;
}

double CVectorItem::GetLength() {
    EnsurePkts(kMeasureLevel);
    double sum = 0.0;
    for (INT_PTR i = 0; i < m_PktArray.GetSize(); ++i)
        sum += ElementLength(m_PktArray.GetAt(i));
    return sum;
}

double CVectorItem::GetArea() {
    EnsurePkts(kMeasureLevel);
    const double y0 = Extents().y1;
    double sum = 0.0;
    for (INT_PTR i = 0; i < m_PktArray.GetSize(); ++i) {
        const CPkt& p = m_PktArray.GetAt(i);
        const double x1 = p.start.x, y1 = p.start.y, x2 = p.end.x, y2 = p.end.y;
        if (x2 == x1)
            continue;
        const double w = std::fabs(x2 - x1), h = std::fabs(y2 - y1);
        const double a = (std::min(y1, y2) - y0) * w + h * 0.5 * w;
        sum += x1 < x2 ? a : -a;
    }
    return std::fabs(sum);
}

int CVectorItem::fnGetDistance(CLpoint p, double& dist) {
    const int points = VectCount();
    if (points == 0)
        return 0;
    if (points == 1) {
        dist = length(p, GetElementPos(0));
        return 1;
    }
    MakePktArray(kDistanceLevel);
    const CDpoint q(p);
    double best = kFarAway;
    CDpkt d;
    for (int i = 0; GetDpkt(i, d); ++i) {
        double l = (d.flags & CDpkt::kFirstArc) ? length(q, d.arcs[0])
                                                : length(q, CDline(d.start1, d.end1));
        best = std::min(best, l);
        if (d.flags & CDpkt::kSecondPresent) {
            l = (d.flags & CDpkt::kSecondArc) ? length(q, d.arcs[1])
                                              : length(q, CDline(d.start2, d.end2));
            best = std::min(best, l);
        }
    }
    if (best == kFarAway)
        return 0;
    dist = best;
    return 1;
}

double CVectorItem::fnDistanceAlongPath(CLpoint& p, int& element) {
    EnsurePkts(kCrossingLevel);
    const int n = int(m_PktArray.GetSize());
    if (n == 0)
        return 0.0;
    const CDpoint q(p);
    double best = kFarAway;
    element = 0;
    for (int i = 0; i < n; ++i) {
        const CPkt& e = m_PktArray.GetAt(i);
        const double l = IsArc(e) ? length(q, e.arc) : length(q, CDline(e.start, e.end));
        if (l < best) {
            best = l;
            element = i;
        }
    }
    double sum = 0.0;
    for (int i = 0; i < element; ++i)
        sum += ElementLength(m_PktArray.GetAt(i));
    const CPkt& e = m_PktArray.GetAt(element);
    if (!IsArc(e))
        return sum + length(e.start, p);
    const double arcLength = length(e.arc);
    if (arcLength < kTinyArc)
        return sum;
    const CLpoint centre = CDpoint(e.arc.cx, e.arc.cy).round();
    const double sweep = std::fabs(e.arc.a1 - e.arc.a0);
    return sum + angle(CDpoint(e.start), CDpoint(centre), q) / sweep * arcLength;
}

namespace {

// Moves the ends of one element that lie on the cutting line up off it; an arc is re-made
// through its moved points, or becomes straight when that fails.
void Nudge(CLpoint& start, CLpoint& mid, CLpoint& end, CArc& arc, bool& isArc, const CDline& cut) {
    bool moved = false;
    if (length(CDpoint(start), cut) < kNudgeDistance) {
        start.y += kNudge;
        moved = true;
    }
    if (length(CDpoint(end), cut) < kNudgeDistance) {
        end.y += kNudge;
        if (!isArc)
            mid.y += kNudge;
        moved = true;
    }
    if (moved && isArc && !arc.make(start, mid, end))
        isArc = false;
}

void Cross(const CLpoint& start, const CLpoint& end, CArc& arc, bool isArc, CLpoint* a, CLpoint* b,
           int onSegment, std::vector<CLpoint>& out) {
    CLpoint pt;
    if (!isArc) {
        if (intersect(CLine(*a, *b), CLine(start, end), &pt, onSegment, 1))
            out.push_back(pt);
        return;
    }
    if (intersect(CDline(*a, *b), arc, &pt, onSegment, 1))
        out.push_back(pt);
    if (intersect(CDline(*b, *a), arc, &pt, onSegment, 1))
        out.push_back(pt);
}

} // namespace

CLpoint* CVectorItem::fnGetIntersects(CLpoint* a, CLpoint* b, int& count, int onSegment) {
    count = 0;
    if (!a || !b)
        return nullptr;
    EnsurePkts(kCrossingLevel);
    if (m_PktArray.IsEmpty())
        return nullptr;
    const CDline cut(*a, *b);
    std::vector<CLpoint> found;
    CDpkt d;
    for (int i = 0; GetDpkt(i, d); ++i) {
        bool arc1 = (d.flags & CDpkt::kFirstArc) != 0;
        Nudge(d.start1, d.mid1, d.end1, d.arcs[0], arc1, cut);
        Cross(d.start1, d.end1, d.arcs[0], arc1, a, b, onSegment, found);
        if (d.flags & CDpkt::kSecondPresent) {
            bool arc2 = (d.flags & CDpkt::kSecondArc) != 0;
            Nudge(d.start2, d.mid2, d.end2, d.arcs[1], arc2, cut);
            Cross(d.start2, d.end2, d.arcs[1], arc2, a, b, onSegment, found);
        }
    }
    // Each point once, in order of first finding.
    std::vector<CLpoint> unique;
    unique.reserve(found.size());
    std::unordered_set<uint64_t> seen;
    for (const CLpoint& p : found)
        if (seen.insert(uint64_t(uint32_t(p.x)) << 32 | uint32_t(p.y)).second)
            unique.push_back(p);
    if (unique.empty())
        return nullptr;
    auto* out = new CLpoint[unique.size()];
    std::copy(unique.begin(), unique.end(), out);
    count = int(unique.size());
    return out;
}

// Mirror-symmetric runs
// ----------------------------------------------------------------------------

namespace {

struct RunFinder {
    CVectorItem* item;
    int n;

    const CSb& P(int i) const { return *item->VectPtr(i); }
    // Whether points j and k mirror each other across the vertical axis x = c.
    bool Pair(int j, int k, int64_t c) const {
        const CSb& pj = P(j);
        const CSb& pk = P(k);
        return pj.flags == pk.flags && pj.pt.y == pk.pt.y && (int64_t(pj.pt.x) + pk.pt.x) / 2 == c;
    }
    // Walks outwards from the pair (j, k); the outermost pair on the axis closes the run.
    bool WalkOut(int j, int k, int64_t c, int& lo, int& hi) const {
        bool closed = false;
        while (j >= 0 && k < n && Pair(j, k, c)) {
            if (P(j).pt.x == P(k).pt.x) {
                lo = j;
                hi = k;
                closed = true;
            }
            if (j < 1 || k >= n - 1)
                break;
            --j;
            ++k;
        }
        return closed;
    }
    // Whether the points between l0 and h0 mirror each other inwards across c.
    bool SymmetricBetween(int l0, int h0, int64_t c) const {
        for (int j = l0, k = h0; j < k; ++j, --k) {
            if (!Pair(j, k, c))
                return false;
            if (j == k - 1)
                return true;
            if (j == k - 2)
                return P(j + 1).pt.x == c;
        }
        return false;
    }
};

} // namespace

bool CVectorItem::ReflectedVect(int i, int& lo, int& hi) {
    lo = hi = -1;
    const int n = VectCount();
    if (n < 3 || i < 0 || i >= n || !VectPtr(0))
        return false;
    RunFinder f{this, n};
    const CSb& pi = f.P(i);
    if (i > 0 && i < n - 1 && f.WalkOut(i - 1, i + 1, pi.pt.x, lo, hi))
        return true;
    for (int m = 0; m < n; ++m) {
        if (m == i)
            continue;
        const CSb& pm = f.P(m);
        if (pm.flags != pi.flags || pm.pt.y != pi.pt.y)
            continue;
        const int64_t c = (int64_t(pi.pt.x) + pm.pt.x) / 2;
        const int l0 = std::min(i, m), h0 = std::max(i, m);
        if (!f.SymmetricBetween(l0, h0, c))
            continue;
        if (f.WalkOut(l0, h0, c, lo, hi))
            return true;
        lo = hi = -1;
    }
    return false;
}

void CVectorItem::FindReflectednessWrtHitPoint(int hit) {
    if (hit < 0) {
        m_Reflectedness.RemoveAll();
        return;
    }
    const int n = VectCount();
    m_Reflectedness.SetSize(n);
    int lo = -1, hi = -1;
    for (int i = 0; i < n; ++i) {
        if (i > hi)
            ReflectedVect(i, lo, hi);
        const int s = lo + hi;
        UINT value;
        if (i == lo || i == hi || 2 * i == s)
            value = kReflectCentre;
        else if (lo < i && 2 * i < s)
            value = 2 * hit <= s ? kReflectMoved : kReflectMirrored;
        else if (2 * i <= s || i >= hi)
            value = kReflectMoved;
        else
            value = 2 * hit > s ? kReflectMoved : kReflectMirrored;
        m_Reflectedness.SetAt(i, value);
        if (lo >= 0)
            SelectReflection(i, lo + hi - i);
    }
}

void CVectorItem::SelectReflection(int i, int mirror) {
    if (Selected(i) && !Selected(mirror))
        SelectElement(mirror);
}

// Whole-path queries of the spline item: containment, spikes, proximity, hit tests, selection,
// sections, turning direction, copies and offsets.
#include "spline/spline_item.h"

#include "pivora/geometry/arc.h"
#include "pivora/geometry/pkt.h"
#include "pivora/geometry/plane_geometry.h"
#include "pivora/item.h"

#include "pivora/framework/jox_dc.h"

#include <cstdint>
#include <memory>

namespace {

constexpr double kPi = 3.141592654;
constexpr double kTwoPi = 6.283185307;
// Share of the distance that counts as near in Within.
constexpr double kWithinShare = 0.95;
// Turning sums closer to 0 than this give no direction.
constexpr double kDirectionEpsilon = 0.0001;

} // namespace

// Containment ------------------------------------------------------------------------------------

int CSplineItem::IsInside(const CLpoint& p) {
    const CWindow w = Extents();
    if (p.x < w.x1 || p.x > w.x2 || p.y < w.y1 || p.y > w.y2)
        return 0;
    const int n = VectCount();
    for (int i = 0; i + 1 < n; ++i)
        if (m_Points[i].pt == p)
            return -1;
    for (int i = 0; i + 1 < n; ++i)
        if (on_segment(m_Points[i].pt, m_Points[i + 1].pt, p))
            return -2;
    const int k = IsClosed(0) ? n - 1 : n;
    int inside = 0;
    for (int i = 0, j = k - 1; i < k; j = i++) {
        const CLpoint a = m_Points[i].pt, b = m_Points[j].pt;
        if ((a.y <= p.y && p.y < b.y) || (b.y <= p.y && p.y < a.y)) {
            // 128 bits: two coordinate differences can each come near 2^32.
            const __int128 xc =
                __int128(int64_t(b.x) - a.x) * (int64_t(p.y) - a.y) / (int64_t(b.y) - a.y) + a.x;
            if (p.x < xc)
                inside ^= 1;
        }
    }
    return inside;
}

// Spikes -----------------------------------------------------------------------------------------

bool CSplineItem::IsSpike(const CDpoint& a, const CDpoint& b, const CDpoint& c, double angleTol,
                          double distTol) {
    const double t = angle(a, b, c);
    if ((t >= kPi - angleTol && t <= kPi + angleTol) ||
        (t >= kTwoPi - angleTol && t <= kTwoPi + angleTol) || (t >= -angleTol && t <= angleTol))
        return true;
    if (length(a, c) <= distTol)
        return true;
    double d = 2 * distTol;
    CDpoint f;
    if (!perp(a, b, c, &f))
        d = perp(b, c, a, &f) ? length(f, a) : length(f, c);
    return d <= distTol;
}

// The scan looks at i, i + 1 and i + 2 of the list as it shrinks, and i only grows: the points
// up to i are final. They are kept compacted at the front while the rest is read further on, so
// a long straight run costs one pass instead of one move of the tail per deleted point.
int CSplineItem::RemoveSpikes(double angleTol, double distTol) {
    const int total = ElementCount();
    if (total < 4)
        return 0;
    const bool closed = IsClosed(0) != 0;
    // Points [0, kept) are the list's first; the list goes on with [next, total).
    int kept = 1, next = 1;
    auto at = [&](int x) -> const CLpoint& { return m_Points[x < kept ? x : next + x - kept].pt; };
    int n = total;
    int removed = 0;
    int i = 0, k = 2;
    bool closingSpike = false;
    while (i < n - 1 && k < n) {
        const CDpoint a(at(i)), b(at(i + 1)), c(at(k));
        if (IsSpike(a, b, c, angleTol, distTol)) {
            ++next;
            --n;
            ++removed;
            if (closed && k == 1) {
                closingSpike = true;
                break;
            }
        } else {
            m_Points[kept++] = m_Points[next++];
            ++i;
        }
        if (i == n - 2) {
            if (!closed)
                break;
            k = 1;
        } else {
            k = i + 2;
        }
    }
    while (next < total)
        m_Points[kept++] = m_Points[next++];
    m_Points.SetSize(kept);
    if (closingSpike) {
        // The first point was the spike's far end as well: it goes, and the path is re-closed.
        DelVect(0, 1);
        n = ElementCount();
    }
    if (removed > 0)
        DeselectAllElements();
    // A degenerate closed item may have lost every point: there is nothing left to close.
    if (closingSpike && n > 0) {
        CSb first = m_Points[0];
        InsertElement(n, &first, 1);
    }
    return removed;
}

// Proximity --------------------------------------------------------------------------------------

int CSplineItem::Within(CSplineItem* other, double distance) {
    if (!other)
        return 0;
    const int k = IsClosed(0) ? VectCount() - 1 : VectCount();
    for (INT_PTR s = 0; s < other->m_Beziers.GetSize(); ++s) {
        const CBezier& seg = other->m_Beziers[s];
        const CDline l(seg.start, seg.control1);
        for (int i = 0; i < k; ++i)
            if (length(CDpoint(m_Points[i].pt), l) < distance * kWithinShare)
                return 1;
    }
    return 0;
}

// Hit tests and selection ------------------------------------------------------------------------

int CSplineItem::HitTestPoint(CItemHitTest* ht) {
    if (!ht)
        return 0;
    if ((ht->GetStartMode() & 1) && FindHitTestPoint(ht))
        return 1;
    if ((ht->GetStartMode() & 2) && FindHitTestLine(ht))
        return 1;
    return 0;
}

int CSplineItem::FindHitTestPoint(CItemHitTest* ht) {
    const int n = VectCount();
    CJoxDC* dc = ht->GetDC();
    if (n < 1 || !dc)
        return 0;
    const CPoint h = ht->GetHitPoint();
    CRect box(h.x, h.y, h.x, h.y);
    box.InflateRect(ht->GetHitAccuracy(), ht->GetHitAccuracy());
    box.right += 1, box.bottom += 1;
    int hit = 0;
    for (int i = 0; i < n; ++i) {
        CPoint pt(m_Points[i].pt.x, m_Points[i].pt.y);
        dc->LPtoDP(&pt, 1);
        if (box.PtInRect(pt)) {
            ht->AddHitElement(i);
            ht->SetEndMode(1);
            hit = 1;
        }
    }
    return hit;
}

int CSplineItem::FindHitTestLine(CItemHitTest* ht) {
    if (VectCount() < 1)
        return 0;
    int hit = 0;
    for (INT_PTR s = 0; s < m_Beziers.GetSize(); ++s) {
        if (m_Beziers[s].HitTest(ht)) {
            ht->SetEndMode(2);
            ht->SetHitIndex(int(s));
            hit = 1;
        }
    }
    return hit;
}

void CSplineItem::Select(CJoxDC* dc, int i) {
    if (Selected(i))
        return;
    SelectElement(i);
    const int n = VectCount();
    if ((i == 0 || i == n - 1) && IsClosed(0))
        SelectElement(i == 0 ? n - 1 : 0);
    if (dc)
        DrawSelectedPoint(dc, i);
}

// Direction, copies and offsets ------------------------------------------------------------------

int CSplineItem::Direction() {
    const int n = VectCount();
    if (n < 3)
        return 0;
    if (n == 3 && IsClosed(0))
        return 1;
    auto turn = [](const CDpoint& a, const CDpoint& b, const CDpoint& c) {
        return (kPi - angle(a, b, c)) * half_plane(b, CDline(a, c));
    };
    double sum = 0;
    for (int i = 0; i + 2 < n; ++i)
        sum -=
            turn(CDpoint(m_Points[i].pt), CDpoint(m_Points[i + 1].pt), CDpoint(m_Points[i + 2].pt));
    sum -= turn(CDpoint(m_Points[n - 2].pt), CDpoint(m_Points[0].pt), CDpoint(m_Points[1].pt));
    return sum > kDirectionEpsilon ? 1 : sum < -kDirectionEpsilon ? -1 : 0;
}

CSplineItem* CSplineItem::Copy(int reverse) {
    const int n = VectCount();
    auto copy = std::make_unique<CSplineItem>(n);
    copy->DrawLine(DrawLine());
    for (int i = 0; i < n; ++i)
        copy->m_Points[reverse ? n - 1 - i : i] = m_Points[i];
    if (!m_Beziers.IsEmpty()) {
        if (copy->IsClosedCurve(0))
            copy->MakeClosedCurve();
        else
            copy->MakeBezierArray();
    }
    if (!m_PktArray.IsEmpty())
        copy->MakePktArray(kCopyLevel);
    return copy.release();
}

void CSplineItem::Displace(long distance, int side) {
    for (INT_PTR s = 0; s < m_Beziers.GetSize(); ++s)
        m_Beziers[s].Displace(distance, side);
}

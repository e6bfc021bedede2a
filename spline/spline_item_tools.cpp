// Static path tools of the spline item: short corner steps, arc re-centring, neighbours on a
// closed path, crossing counts, duplicate points, flat runs and ellipses.
#include "spline/spline_item.h"

#include "pivora/geometry/arc.h"
#include "pivora/geometry/plane_geometry.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kRadToDeg = 57.29577951;
constexpr double kDegree = 0.017453292;
constexpr double kTwoPi = 6.283185307;
constexpr double kQuarter = 1.570796327;
constexpr double kFullTolerance = 1.7453292e-05;
// A step into a corner shorter than the next edge / this factor is dropped when nearly straight.
constexpr double kShortStepFactor = 4.5;
constexpr double kShortStepAngle = 165;
constexpr DWORD kDeleteMark = 0x400;
// Shrinking below this is no shrinking.
constexpr double kMinShrink = 0.1;
constexpr double kEndShrink = 50.0;
// Flat-run test: deviation tolerance and the corner option.
constexpr int kFlatTolerance = 10;
constexpr unsigned kFlatOptions = CSplineItem::kFilterDevCorner;
constexpr DWORD kDupFirst = 1;
constexpr DWORD kDupMore = 4;
// Points of a full ellipse, and the most an arc may have.
constexpr int kEllipsePoints = 12;
constexpr int kMaxArcPoints = 3 * 4096;

bool IsBreak(const CSb& p) {
    return (p.flags & CSplineItem::kBreak) != 0;
}

} // namespace

int CSplineItem::FilterShortPoints(CSplineItem* item) {
    if (!item)
        return 0;
    const int n = item->VectCount();
    if (n < 4)
        return 0;
    int marked = 0;
    CSb w0 = item->Vect(0), w1 = item->Vect(1);
    for (int i = 2; i < n; ++i) {
        const CSb w2 = item->Vect(i);
        const double l01 = length(w0.pt, w1.pt), l12 = length(w1.pt, w2.pt);
        const double a = angle(CDpoint(w0.pt), CDpoint(w1.pt), CDpoint(w2.pt)) * kRadToDeg;
        if (a > kShortStepAngle && ((IsBreak(w0) && IsBreak(w1) && l01 < l12 / kShortStepFactor) ||
                                    (IsBreak(w1) && IsBreak(w2) && l12 < l01 / kShortStepFactor))) {
            item->Vect(CSb(kDeleteMark, w1.pt), i - 1);
            ++marked;
        }
        w0 = w1;
        w1 = w2;
    }
    for (int i = 0; i < item->VectCount();) {
        if (item->Vect(i).flags & kDeleteMark)
            item->DelVect(i, 1);
        else
            ++i;
    }
    if (marked)
        item->DeselectAllElements();
    return marked;
}

void CSplineItem::BalanceArcPoints(CSplineItem* item) {
    if (!item || item->VectCount() < 4)
        return;
    const int n = item->VectCount();
    CSb w0 = item->Vect(0), w1 = item->Vect(1);
    for (int i = 2; i < n; ++i) {
        const CSb w2 = item->Vect(i);
        if (IsBreak(w0) && !IsBreak(w1) && IsBreak(w2)) {
            CArc arc;
            arc.make(w0.pt, w1.pt, w2.pt);
            mid_point(arc, 0.5, &w1.pt);
            item->Vect(w1, i - 1);
        }
        w0 = w1;
        w1 = w2;
    }
}

void CSplineItem::AddPoint(CSplineItem* item, CLpoint& p) {
    if (item)
        item->Vect(CSb(kBreak, p));
}

CLpoint CSplineItem::GetPrevPoint(CSplineItem* item, int i) {
    const int n = item ? item->VectCount() : 0;
    if (n < 3 || i < 0 || i >= n)
        return CLpoint(0, 0);
    return item->Vect(i == 0 ? n - 2 : i - 1).pt;
}

CLpoint CSplineItem::GetNextPoint(CSplineItem* item, int i) {
    const int n = item ? item->VectCount() : 0;
    if (n < 3 || i < 0 || i >= n)
        return CLpoint(0, 0);
    return item->Vect(i + 1 < n ? i + 1 : 1).pt;
}

int CSplineItem::GetIntersectNo(CSplineItem* item, const CLpoint& a, const CLpoint& b,
                                double shrink, int maxCount) {
    if (!item)
        return 0;
    CLpoint a2 = a, b2 = b;
    const double l = length(a, b);
    if (shrink > kMinShrink && 2 * shrink < l) {
        const double t = (l - shrink) / l;
        mid_point(a, b, t, &b2);
        mid_point(b, a, t, &a2);
    }
    int count = 0;
    for (int k = 1; k < item->VectCount(); ++k) {
        CLpoint p = item->Vect(k - 1).pt, q = item->Vect(k).pt;
        if (::CheckIntersect(a2, b2, p, q) && ++count >= maxCount)
            break;
    }
    return count;
}

int CSplineItem::CheckIntersectEnds(CSplineItem* a, CSplineItem* b, CLpoint& p, CLpoint& q) {
    if (!a || !b || a->VectCount() < 1 || b->VectCount() < 1)
        return 0;
    CLpoint a0 = a->Vect(0).pt, b0 = b->Vect(0).pt;
    if (::CheckIntersect(a0, b0, p, q))
        return 1;
    CLpoint an = a->Vect(a->VectCount() - 1).pt, bn = b->Vect(b->VectCount() - 1).pt;
    return ::CheckIntersect(an, bn, p, q) ? 1 : 0;
}

int CSplineItem::CheckIntersect(CSplineItem* a, CSplineItem* b, CLpoint& p, CLpoint& q) {
    if (CheckIntersectEnds(a, b, p, q))
        return 1;
    if (GetIntersectNo(a, p, q, kEndShrink, 1))
        return 1;
    return GetIntersectNo(b, p, q, kEndShrink, 1) ? 1 : 0;
}

// Duplicates ------------------------------------------------------------------------------------

int CSplineItem::FindDups(CSplineItem* item, CUIntMap& map) {
    const int n = item ? item->VectCount() : 0;
    if (n < 2)
        return 0;
    bool inRun = false;
    for (int i = 0; i + 1 < n; ++i) {
        if (item->Vect(i).pt != item->Vect(i + 1).pt) {
            inRun = false;
            continue;
        }
        map[UINT(i)] = inRun ? kDupMore : kDupFirst;
        map[UINT(i + 1)] = kDupMore;
        inRun = true;
    }
    return int(map.GetCount());
}

int CSplineItem::FindDups(CSplineItem* item, CStartEndArray& runs) {
    const int n = item ? item->VectCount() : 0;
    int start = -1;
    for (int i = 0; i + 1 < n; ++i) {
        const bool same = item->Vect(i).pt == item->Vect(i + 1).pt;
        if (same && start < 0)
            start = i;
        if (!same && start >= 0) {
            stStartEnd run{start, i};
            runs.Add(run);
            start = -1;
        }
    }
    if (start >= 0) {
        stStartEnd run{start, n - 1};
        runs.Add(run);
    }
    return 0;
}

int CSplineItem::FindDupGroups(CSplineItem* item, CUIntMap& map, CStartEndArray& groups) {
    const int n = item ? item->VectCount() : 0;
    if (n < 2)
        return 0;
    groups.RemoveAll();
    if (map.GetCount() == 0)
        return 0;
    stStartEnd open{-1, -1};
    for (int i = 0; i < n; ++i) {
        UINT value = 0;
        if (map.Lookup(UINT(i), value)) {
            if (open.start < 0)
                open.start = i;
            open.end = i;
        } else if (open.start >= 0) {
            groups.Add(open);
            open = {-1, -1};
        }
    }
    if (open.start >= 0)
        groups.Add(open);
    return 0;
}

int CSplineItem::FindArcGroup(CSplineItem* item, stStartEnd& range, stStartEnd& out) {
    if (!item || range.end - range.start <= 2)
        return 0;
    out = {-1, -1};
    const int n = item->VectCount();
    auto flat = [&](int first, int mid) {
        CSb w[3] = {item->Vect(first), item->Vect(mid), item->Vect(mid + 1)};
        return ApplyDeviationFilter(w, kFlatTolerance, kFlatOptions);
    };
    // Indices compare as unsigned: a range reaching past the points stops at the last window.
    int i = range.start < 0 ? 0 : range.start;
    while (i < range.end - 1 && i + 2 < n) {
        const DWORD f0 = item->Vect(i).flags, f1 = item->Vect(i + 1).flags,
                    f2 = item->Vect(i + 2).flags;
        if (out.start < 0) {
            if ((f0 == kBreak || f0 == kSmooth) && f1 == kSmooth && f2 == kSmooth && flat(i, i + 1))
                out = {i, i + 2};
            ++i;
            continue;
        }
        if (f0 == kSmooth && f1 == kSmooth && f2 == kSmooth && flat(out.start, i + 1)) {
            out.end = i + 2;
            ++i;
            continue;
        }
        if (out.end - out.start >= 3)
            return out.end - out.start;
        i = out.start + 1;
        out = {-1, -1};
    }
    return out.end - out.start;
}

// Ellipses ---------------------------------------------------------------------------------------

CSplineItem* CSplineItem::CreateEllipse(const CRect& rect, unsigned short drawLine) {
    stEllipse e;
    e.centre = CLpoint(LONG((int64_t(rect.left) + rect.right) / 2),
                       LONG((int64_t(rect.top) + rect.bottom) / 2));
    const int64_t hx = std::llabs(int64_t(rect.right) - rect.left) / 2;
    const int64_t hy = std::llabs(int64_t(rect.bottom) - rect.top) / 2;
    if (hx == 0)
        return nullptr;
    e.radius = CLpoint(LONG(hx), 0);
    e.ratio = double(hy) / double(hx);
    return CreateEllipse(e, drawLine);
}

// Refuses (null) an end not above the start and values that are not numbers.
CSplineItem* CSplineItem::CreateEllipse(const stEllipse& e, unsigned short drawLine) {
    const double vx = e.radius.x, vy = e.radius.y;
    if (!(e.end > e.start) || !std::isfinite(e.end - e.start) || !std::isfinite(e.ratio))
        return nullptr;
    double a = vx, b = vx * e.ratio, theta = 0;
    const bool turned = vy != 0;
    if (turned) {
        // atan2 keeps the turn on the side the radius points to, whatever the sign of x.
        theta = std::atan2(vy, vx);
        a = std::sqrt(vx * vx + vy * vy);
        b = a * e.ratio;
    }
    const double cx = e.centre.x, cy = e.centre.y;
    const double ct = std::cos(theta), st = std::sin(theta);
    auto at = [&](double phi) {
        if (!turned)
            return CLpoint(fnTruncLong(cx + a * std::cos(phi)),
                           fnTruncLong(cy + b * std::sin(phi)));
        return CLpoint(fnTruncLong(cx + a * std::cos(phi) * ct - b * std::sin(phi) * st),
                       fnTruncLong(cy + a * std::cos(phi) * st + b * std::sin(phi) * ct));
    };
    std::unique_ptr<CSplineItem> item;
    if (e.start <= kFullTolerance && std::fabs(e.end - kTwoPi) <= kFullTolerance) {
        item = std::make_unique<CSplineItem>(kEllipsePoints + 1);
        item->DrawLine(drawLine);
        for (int k = 0; k < kEllipsePoints; ++k)
            item->m_Points[k] = CSb(kSmooth, at((90 - 30 * k) * kDegree));
        item->m_Points[kEllipsePoints] = item->m_Points[0];
    } else {
        const double sweep = e.end - e.start;
        const double pieces = std::ceil(sweep / kQuarter + 0.5);
        if (!(pieces * 3 <= kMaxArcPoints))
            return nullptr;
        const int n = 3 * int(pieces);
        item = std::make_unique<CSplineItem>(n);
        item->DrawLine(drawLine);
        const double step = sweep / n;
        for (int k = 0; k < n; ++k) {
            const double phi = k == n - 1 ? e.end : e.start + k * step;
            item->m_Points[k] = CSb(k == 0 || k == n - 1 ? kBreak : kSmooth, at(phi));
        }
    }
    item->MakeCurves();
    return item.release();
}

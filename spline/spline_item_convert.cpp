// Editing of the spline item's control points: transforms that keep arcs honest, conversions of
// arcs and lines into runs of curve points, corner loops, mirror, reversal and descriptions.
#include "spline/spline_item.h"

#include "pivora/geometry/arc.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/geometry/pkt.h"
#include "pivora/geometry/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace {

constexpr double kDegree = 0.017453292;
// Arcs are cut into this many pieces at least and at most (a cut holds at most 25 points).
constexpr int kMinPieces = 2;
constexpr int kMaxPieces = 24;
// Lines are cut into at least this many pieces, each at least kLinePieceLength long.
constexpr int kMinLinePieces = 3;
constexpr int kLinePieceLength = 10;
// Degrees between points when a transform turns arcs into points.
constexpr int kTransformDegrees = 30;
// Transform thresholds: a shear sum above this or a scale outside [1/f, f] distorts arcs.
constexpr double kShearLimit = 0.3;
constexpr double kScaleLimit = 1.4;
constexpr double kUniformTolerance = 0.001;
// Points nearer than this to a mirror axis stay where they are.
constexpr double kMirrorAxisTolerance = 1.7;
// Points round a corner loop.
constexpr int kLoopPieces = 6;

bool IsBreak(const CSb& p) {
    return (p.flags & CSplineItem::kBreak) != 0;
}

// The pieces an arc of this sweep is cut into; no step (0 degrees or below) gives the finest cut.
int PieceCount(const CArc& arc, int degrees) {
    const double step = degrees * kDegree;
    if (!(step > 0))
        return kMaxPieces;
    const double q = std::fabs(arc.a1 - arc.a0) / step + 0.1;
    if (!(q < kMaxPieces))
        return kMaxPieces;
    return std::max(kMinPieces, int(q));
}

} // namespace

// Runs -------------------------------------------------------------------------------------------

int CSplineItem::SegmentsToVisit() {
    return int(std::min<INT_PTR>(m_Beziers.GetSize(), m_Points.GetSize() - 1));
}

void CSplineItem::InsertRun(int k, int n, const CLpoint* p) {
    if (n < 2)
        return;
    CSb copy = m_Points[k];
    m_Points.InsertAt(k, copy, n - 1);
    for (int j = 1; j < n; ++j)
        m_Points[k + j] = CSb(kSmooth, p[j]);
}

void CSplineItem::CountConvertArcs(stCountArcs* counts, int degrees) {
    if (!counts)
        return;
    for (int k = SegmentsToVisit() - 1; k >= 0; --k) {
        CBezier& seg = m_Beziers[k];
        counts[k].type = seg.type;
        counts[k].count = kMinPieces;
        if (seg.type != CBezier::kArc)
            continue;
        CPkt e;
        seg.MakeArcPkts(&e);
        if (e.Mode() == CPkt::kArc)
            counts[k].count = PieceCount(e.Arc(), degrees);
    }
}

int CSplineItem::ConvertArcs(stCountArcs* counts) {
    if (!counts)
        return 0;
    int any = 0;
    for (int k = SegmentsToVisit() - 1; k >= 0; --k) {
        CBezier seg = m_Beziers[k];
        if (seg.type != CBezier::kArc)
            continue;
        any = 1;
        const int n = std::clamp(int(counts[k].count), kMinPieces, kMaxPieces);
        CLpoint p[kMaxPieces + 1];
        CPkt e;
        seg.MakeArcPkts(&e);
        if (e.Mode() == CPkt::kArc) {
            split_arc(&e.Arc(), n, p, 0, 1);
        } else {
            for (int j = 1; j < n; ++j)
                p[j] = CLpoint(LONG((int64_t(n - j) * seg.start.x + int64_t(j) * seg.end.x) / n),
                               LONG((int64_t(n - j) * seg.start.y + int64_t(j) * seg.end.y) / n));
        }
        InsertRun(k, n, p);
    }
    if (any)
        DeselectAllElements();
    return any;
}

int CSplineItem::ConvertArcs(int degrees) {
    int any = 0;
    for (int k = SegmentsToVisit() - 1; k >= 0; --k) {
        const CBezier seg = m_Beziers[k];
        if (seg.type != CBezier::kArc)
            continue;
        any = 1;
        CPkt e;
        e.Start(seg.start);
        e.Mid(seg.control1);
        e.End(seg.end);
        if (e.MakeArc()) {
            const int n = PieceCount(e.Arc(), degrees);
            CLpoint p[kMaxPieces + 1];
            split_arc(&e.Arc(), n, p, 0, 1);
            InsertRun(k, n, p);
        } else {
            CSb copy = m_Points[k];
            m_Points.InsertAt(k, copy);
            m_Points[k + 1] = CSb(kSmooth, seg.control1);
        }
    }
    if (any)
        DeselectAllElements();
    return any;
}

int CSplineItem::ConvertLines(int force, int pieces) {
    const int n = std::clamp(pieces, kMinLinePieces, kMaxPieces);
    int cut = 0;
    for (int k = SegmentsToVisit() - 1; k >= 0; --k) {
        CBezier seg = m_Beziers[k];
        if (seg.type != CBezier::kLine)
            continue;
        if (!force && length(seg.start, seg.control1) < double(n * kLinePieceLength))
            continue;
        CLpoint p[kMaxPieces + 1];
        split_line(&seg.start, &seg.control1, n, p, 0, 1);
        InsertRun(k, n, p);
        cut = 1;
    }
    if (cut)
        DeselectAllElements();
    return cut;
}

// Transform and mirror ---------------------------------------------------------------------------

bool CSplineItem::TransformDistortsArcs(const CMat2d& m) {
    const double sx = std::fabs(m.m0), sy = std::fabs(m.m4), c = m.m1 + m.m3;
    if (c == 0 && std::fabs(sx - sy) <= kUniformTolerance)
        return false;
    if (VectCount() == 3 && !IsBreak(m_Points[1]))
        return true;
    if (c > kShearLimit)
        return true;
    auto outside = [](double s) { return s < 1 / kScaleLimit || s > kScaleLimit; };
    return (outside(sx) || outside(sy)) && fnCanInsertXformArcs();
}

void CSplineItem::DoTransform(CMat2d& m) {
    DelPkt();
    if (TransformDistortsArcs(m))
        ConvertArcs(kTransformDegrees);
    for (INT_PTR i = m_Points.GetSize() - 1; i >= 0; --i)
        m_Points[i] = m * m_Points[i];
    InvExtents(1);
    if (VectCount() > 1)
        MakeCurves();
}

int CSplineItem::DoMirror(CLine& axis) {
    const CDline line(axis.start, axis.end);
    for (INT_PTR i = 0; i < m_Points.GetSize(); ++i) {
        const CDpoint p(m_Points[i].pt);
        if (!(length(p, line) > kMirrorAxisTolerance))
            continue;
        CLpoint foot;
        perp(line.start, line.end, p, &foot);
        CLpoint mirrored;
        locus(&mirrored, &foot, length(p, CDpoint(foot)), angle(p, CDpoint(foot)));
        m_Points[i].pt = mirrored;
    }
    MakeCurves();
    InvExtents(1);
    return 1;
}

void CSplineItem::fnReverse() {
    const INT_PTR n = m_Points.GetSize();
    for (INT_PTR i = 0; i < n / 2; ++i)
        std::swap(m_Points[i], m_Points[n - 1 - i]);
    MakeCurves();
}

int CSplineItem::ElementStr(int index, CString& out) {
    const CSb p = m_Points[index];
    out.Format(L"%d) %ls X:%ld Y:%ld", index, IsBreak(p) ? L"Break" : L"Curve", long(p.pt.x),
               long(p.pt.y));
    return 1;
}

// Corner loops -----------------------------------------------------------------------------------

void CSplineItem::ConvertPoints(long radius, int side, int maxDegrees) {
    const double limit = maxDegrees * kDegree;
    const int n = VectCount();
    if (n < 3)
        return;
    const bool closed = IsClosed(0) != 0;
    bool changed = false;
    for (int i = closed ? n - 1 : n - 2; i >= 1; --i) {
        if (!IsBreak(m_Points[i]))
            continue;
        const int next = i == n - 1 ? 1 : i + 1;
        const CDpoint a(m_Points[i - 1].pt), p(m_Points[i].pt), b(m_Points[next].pt);
        const int s = half_plane(p, CDline(a, b));
        if (s != 0 && s != side)
            continue;
        const double t = angle(a, p, b);
        if (t < limit)
            changed |= InsertRoundedCorner(radius, t, i);
    }
    if (changed)
        DeselectAllElements();
}

bool CSplineItem::InsertRoundedCorner(long radius, double cornerAngle, int i) {
    const int segments = int(m_Beziers.GetSize());
    // The loop needs a point before the corner and segments built from the current points.
    if (i < 1 || i > segments || segments != VectCount() - 1)
        return false;
    const CLpoint a = m_Points[i - 1].pt, p = m_Points[i].pt;
    const double t = angle(CDpoint(a), CDpoint(p)) + cornerAngle / 2;
    const CLpoint q(fnTruncLong(p.x + std::trunc(radius * std::cos(t))),
                    fnTruncLong(p.y + std::trunc(radius * std::sin(t))));
    CPkt circle;
    circle.Start(m_Beziers[i - 1].end);
    circle.Mid(q);
    circle.End(m_Beziers[i == segments ? 0 : i].start);
    circle.MakeArc();
    CLpoint loop[kLoopPieces + 1];
    split_arc(&circle.Arc(), kLoopPieces, loop, 0, 1);

    CSplineItem round;
    for (const CLpoint& at : loop) {
        CSb point(kSmooth, at);
        round.m_Points.Add(point);
    }
    round.MakeCurves();
    if (round.m_Beziers.GetSize() != kLoopPieces)
        return false;
    CBezier blank;
    m_Beziers.InsertAt(i, blank, kLoopPieces);
    for (int s = 0; s < kLoopPieces; ++s)
        m_Beziers[i + s] = round.m_Beziers[s];
    CSb copy = m_Points[i];
    m_Points.InsertAt(i, copy, kLoopPieces);
    for (int j = 1; j < kLoopPieces; ++j)
        m_Points[i + j] = round.m_Points[j];
    return true;
}

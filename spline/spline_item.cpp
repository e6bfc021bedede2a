#include "spline/spline_item.h"

#include "pivora/geometry/mat2d.h"
#include "pivora/scope_guard.h"
#include "spline/spline_fitting.h"

#include "platform/core/dword_array.h"
#include "platform/core/exceptions.h"

#include <bit>
#include <cstdlib>
#include <utility>

IMPLEMENT_SERIAL(CSplineItem, CPointListItem, 0)

CSplineItem::CSplineItem() : CPointListItem(0) {}

CSplineItem::CSplineItem(int n) : CPointListItem(n) {}

CSplineItem::~CSplineItem() = default;

void CSplineItem::InitSplineItem(int n) {
    InitPoints(n);
}

int IsCSplineItem(const CObject* p) {
    return p && p->IsKindOf(RUNTIME_CLASS(CSplineItem)) ? 1 : 0;
}

// Storage ----------------------------------------------------------------------------------------

void CSplineItem::OnPointsLoaded() {
    MakeCurves();
}

CObject* CSplineItem::CopyObject(CObject* target) {
    CSplineItem* to = target ? DynamicDowncast<CSplineItem>(target) : new CSplineItem;
    if (!to)
        return CVectorItem::CopyObject(target);
    CVectorItem::CopyObject(to);
    if (to != this) {
        to->m_Points.Copy(m_Points);
        // Fitting and flattening the same points again gives the same arrays: take them over.
        if (GetProperty(kKeepOpenBit) == to->GetProperty(kKeepOpenBit) &&
            FlattenedFromPoints(kCopyLevel)) {
            to->m_Beziers.Copy(m_Beziers);
            to->m_PktArray.Copy(m_PktArray);
            to->m_nFitPoints = m_nFitPoints;
            to->m_nFitSegments = m_nFitSegments;
            to->m_bFitted = true;
            to->m_nFlatElements = m_nFlatElements;
            to->m_nFlatLevel = m_nFlatLevel;
            return to;
        }
    }
    to->MakeCurves();
    to->MakePktArray(kCopyLevel);
    return to;
}

// Fingerprints -----------------------------------------------------------------------------------

namespace {

class Fingerprint {
public:
    void Add(uint64_t v) { m_h = std::rotl((m_h ^ v) * 0x9E3779B97F4A7C15ull, 29); }
    void Add(const CLpoint& p) { Add(uint64_t(uint32_t(p.x)) << 32 | uint32_t(p.y)); }
    void Add(double d) { Add(std::bit_cast<uint64_t>(d)); }
    uint64_t Value() const { return m_h; }

private:
    uint64_t m_h = 0xCBF29CE484222325ull;
};

} // namespace

uint64_t CSplineItem::FingerprintPoints() const {
    Fingerprint f;
    f.Add(uint64_t(m_Points.GetSize()) << 1 | uint64_t(GetProperty(kKeepOpenBit)));
    for (INT_PTR i = 0; i < m_Points.GetSize(); ++i) {
        const CSb& p = m_Points.GetData()[i];
        f.Add(uint64_t(p.flags));
        f.Add(p.pt);
    }
    return f.Value();
}

uint64_t CSplineItem::FingerprintSegments() const {
    Fingerprint f;
    f.Add(uint64_t(m_Beziers.GetSize()));
    for (INT_PTR i = 0; i < m_Beziers.GetSize(); ++i) {
        const CBezier& b = m_Beziers.GetData()[i];
        f.Add(uint64_t(uint32_t(b.type)) << 32 | uint32_t(b.curved));
        f.Add(b.start);
        f.Add(b.control1);
        f.Add(b.control2);
        f.Add(b.end);
    }
    return f.Value();
}

uint64_t CSplineItem::FingerprintElements() const {
    Fingerprint f;
    f.Add(uint64_t(m_PktArray.GetSize()));
    for (INT_PTR i = 0; i < m_PktArray.GetSize(); ++i) {
        const CPkt& e = m_PktArray.GetData()[i];
        f.Add(uint64_t(uint32_t(e.mode)));
        f.Add(e.start);
        f.Add(e.mid);
        f.Add(e.end);
        for (double d : {e.arc.cx, e.arc.cy, e.arc.r, e.arc.a0, e.arc.a1})
            f.Add(d);
    }
    return f.Value();
}

bool CSplineItem::FlattenedFromPoints(int level) const {
    return m_bFitted && m_nFlatLevel == level && FingerprintPoints() == m_nFitPoints &&
           FingerprintSegments() == m_nFitSegments && FingerprintElements() == m_nFlatElements;
}

// Segments ---------------------------------------------------------------------------------------

CBezier* CSplineItem::BezierPtr(int i) {
    return &m_Beziers.ElementAt(i);
}

CBezier CSplineItem::Bezier(int i) {
    return m_Beziers.GetAt(i);
}

CBezierArray* CSplineItem::Bezier() {
    return &m_Beziers;
}

// Closedness -------------------------------------------------------------------------------------

int CSplineItem::IsClosed(int tolerance) {
    const int n = VectCount();
    if (n < 2)
        return 0;
    const CLpoint a = m_Points[0].pt, b = m_Points[n - 1].pt;
    const bool near =
        std::llabs(int64_t(a.x) - b.x) <= tolerance && std::llabs(int64_t(a.y) - b.y) <= tolerance;
    if (!near && GetProperty(kKeepOpenBit))
        ClrProperty(kKeepOpenBit);
    return near && !GetProperty(kKeepOpenBit) ? 1 : 0;
}

int CSplineItem::IsClosedCurve(int tolerance) {
    return IsClosed(tolerance) && !(m_Points[0].flags & kBreak) ? 1 : 0;
}

// Building segments ------------------------------------------------------------------------------

void CSplineItem::MakeCurves() {
    // A closed curve needs two distinct neighbours on either side of its joint; with fewer than
    // three points it is built as an open run.
    if (VectCount() >= 3 && IsClosedCurve(0))
        MakeClosedCurve();
    else
        MakeBezierArray();
    m_nFitPoints = FingerprintPoints();
    m_nFitSegments = FingerprintSegments();
    m_bFitted = true;
}

void CSplineItem::MakeBezierArray() {
    const int n = VectCount();
    if (n == 0) {
        // No points, no curve: segments of points that were deleted must not be drawn.
        m_Beziers.RemoveAll();
        return;
    }
    m_Beziers.SetSize(n - 1);
    CalcBezierArray();
}

void CSplineItem::CalcBezierArray() {
    const int n = VectCount();
    int first = 0;
    int next = 0;
    while (first < n - 1) {
        int last = first + 1;
        while (last < n - 1 && !(m_Points[last].flags & kBreak))
            ++last;
        MakeBezier(next, first, last);
        first = last;
    }
}

int CSplineItem::MakeBezier(int& next, int first, int last) {
    const int c = last - first + 1;
    if (c < 2 || first < 0 || last >= VectCount() || next < 0 ||
        next + c - 1 > int(m_Beziers.GetSize()))
        return 0;
    CSb* p = m_Points.GetData();
    CBezier* s = m_Beziers.GetData();
    if (c == 2) {
        CBezier& b = s[next++];
        b.type = CBezier::kLine;
        b.curved = 1;
        b.start = p[first].pt;
        b.control1 = p[last].pt;
        b.control2 = p[first].pt;
        b.end = p[last].pt;
        return 1;
    }
    if (c == 3 && (p[first].flags & kBreak) && (p[last].flags & kBreak)) {
        CPkt whole;
        whole.start = p[first].pt;
        whole.mid = p[first + 1].pt;
        whole.end = p[last].pt;
        whole.mode = whole.MakeArc() ? CPkt::kArc : 0;
        CPkt halves[2];
        whole.SplitMid(halves[0], halves[1]);
        for (const CPkt& h : halves) {
            CBezier& b = s[next++];
            b.type = CBezier::kArc;
            b.curved = 1;
            b.start = h.start;
            b.control1 = h.mid;
            b.control2 = h.mid;
            b.end = h.end;
        }
        return 1;
    }
    CalculateBeziers(p + first, s + next, c);
    next += c - 1;
    return 1;
}

void CSplineItem::MakeClosedCurve() {
    const int n = VectCount();
    if (n < 3) {
        MakeBezierArray();
        return;
    }
    // Two points taken cyclically in front (skipping the repeated closing point) and two
    // behind, so the joint at the first point is fitted like any other.
    CSb before0 = m_Points[n - 3], before1 = m_Points[n - 2];
    CSb after0 = m_Points[1], after1 = m_Points[2];
    CSbArray saved;
    saved.Copy(m_Points);
    CScopeGuard restore([&] { m_Points.Copy(saved); });
    m_Points.InsertAt(0, before1);
    m_Points.InsertAt(0, before0);
    m_Points.Add(after0);
    m_Points.Add(after1);
    MakeBezierArray();
    m_Beziers.RemoveAt(0, 2);
    m_Beziers.SetSize(n - 1);
}

// Path elements ----------------------------------------------------------------------------------

int CSplineItem::MakeArcPkts(CPkt* out, int i) {
    const CBezier& b = m_Beziers.GetAt(i);
    out->start = b.start;
    out->mid = b.control1;
    out->end = b.end;
    out->mode = out->MakeArc() ? CPkt::kArc : 0;
    return 1;
}

int CSplineItem::MakePairArcPkts(CPkt* out, int i) {
    const CBezier& a = m_Beziers.GetAt(i);
    const CBezier& b = m_Beziers.GetAt(i + 1);
    out->start = a.start;
    out->mid = a.end;
    out->end = b.end;
    out->mode = out->MakeArc() ? CPkt::kArc : 0;
    return 1;
}

void CSplineItem::FlattenSegments(const CDWordArray* levels, int level) {
    const int m = int(m_Beziers.GetSize());
    const bool closed = IsClosedCurve(0) != 0;
    const INT_PTR known = levels ? levels->GetSize() : 0;
    auto levelOf = [&](int visit) { return visit < known ? int(levels->GetAt(visit)) : level; };
    auto isPair = [&](int i) {
        return i < m - 1 && m_Beziers[i].type == CBezier::kArc &&
               m_Beziers[i + 1].type == CBezier::kArc && !(i == 0 && closed);
    };
    int64_t count = 0;
    for (int i = 0, visit = 0; i < m; ++visit) {
        if (isPair(i)) {
            count += 1;
            i += 2;
        } else {
            count += m_Beziers[i].NumPkts(levelOf(visit));
            i += 1;
        }
    }
    m_PktArray.SetSize(INT_PTR(count));
    CPkt* out = m_PktArray.GetData();
    int made = 0;
    for (int i = 0, visit = 0; i < m; ++visit) {
        if (isPair(i)) {
            made += MakePairArcPkts(out + made, i);
            i += 2;
        } else if (i == 0 && closed && m > 1 && m_Beziers[0].type == CBezier::kArc &&
                   m_Beziers[1].type == CBezier::kArc) {
            made += MakeArcPkts(out + made, 0);
            i += 1;
        } else {
            made += m_Beziers[i].MakePkts(out + made, levelOf(visit));
            i += 1;
        }
    }
    m_PktArray.SetSize(made);
    m_nFlatLevel = -1;
    if (!levels && m_bFitted && FingerprintPoints() == m_nFitPoints &&
        FingerprintSegments() == m_nFitSegments) {
        m_nFlatElements = FingerprintElements();
        m_nFlatLevel = level;
    }
}

void CSplineItem::MakePktArray(int level) {
    FlattenSegments(nullptr, level);
}

void CSplineItem::MakePktArray(CDWordArray* levels, int level) {
    FlattenSegments(levels && levels->GetSize() > 0 ? levels : nullptr, level);
}

int CSplineItem::GetDpkt(int i, CDpkt& d) {
    if (i < 0 || i >= m_PktArray.GetSize())
        return 0;
    CPkt& e = m_PktArray[i];
    d.flags = e.mode;
    d.start1 = e.start;
    d.mid1 = e.mid;
    d.end1 = e.end;
    if (e.mode & CDpkt::kFirstArc)
        d.arcs[0] = e.arc;
    d.flags &= ~(CDpkt::kSecondPresent | CDpkt::kSecondArc);
    return 1;
}

CWindow CSplineItem::RecalcExtents() {
    CWindow w = CWindow::EmptyExtent();
    if (!m_Beziers.IsEmpty()) {
        for (INT_PTR i = m_Beziers.GetSize() - 1; i >= 0; --i) {
            const CWindow b = m_Beziers[i].Extents();
            w.fnIncludePoint(CLpoint(b.x1, b.y1));
            w.fnIncludePoint(CLpoint(b.x2, b.y2));
        }
        return w;
    }
    if (!m_PktArray.IsEmpty())
        return RecalcPktExtents();
    for (INT_PTR i = m_Points.GetSize() - 1; i >= 0; --i)
        w.fnIncludePoint(m_Points[i].pt);
    return w;
}

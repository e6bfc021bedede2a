#include "bezier/bezier_item.h"

#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/geometry/plane_geometry.h"
#include "spline/spline_item.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

IMPLEMENT_SERIAL(CBezierItem, CPointListItem, 0)

CBezierItem::CBezierItem() : CPointListItem(0) {}

CBezierItem::CBezierItem(int n) : CPointListItem(n) {}

CBezierItem::~CBezierItem() = default;

void CBezierItem::InitBezierItem(int n) {
    InitPoints(n);
}

int IsCBezierItem(const CObject* p) {
    return p && p->IsKindOf(RUNTIME_CLASS(CBezierItem)) ? 1 : 0;
}

// Storage and copies -----------------------------------------------------------------------------

void CBezierItem::OnPointsLoaded() {
    DelPkt();
    InvExtents(1);
}

CObject* CBezierItem::CopyObject(CObject* target) {
    CBezierItem* to = target ? DynamicDowncast<CBezierItem>(target) : new CBezierItem;
    if (!to)
        return CVectorItem::CopyObject(target);
    CVectorItem::CopyObject(to);
    to->m_ControlWindow = m_ControlWindow;
    if (to != this) {
        to->m_Points.SetSize(m_Points.GetSize());
        for (int i = 0; i < VectCount(); ++i)
            to->Vect(m_Points[i], i);
    }
    return to;
}

CBezierItem* CBezierItem::Copy(int perPoint) {
    auto* to = new CBezierItem(VectCount());
    to->m_ControlWindow = m_ControlWindow;
    to->DrawLine(DrawLine());
    if (perPoint) {
        for (int i = 0; i < VectCount(); ++i)
            to->Vect(m_Points[i], i);
    } else {
        to->m_Points.Copy(m_Points);
    }
    return to;
}

void CBezierItem::Displace(long, int) {}

void CBezierItem::CalcIntersects() {}

// Points -----------------------------------------------------------------------------------------

CPoint CBezierItem::Point(int i) {
    const CLpoint p = m_Points.GetAt(i).pt;
    return CPoint(p.x, p.y);
}

int CBezierItem::DeleteElement(int first, int count) {
    DelVect(first, count);
    return 1;
}

int CBezierItem::InsertElement(int at, void* points, int count) {
    if (count > 0 && !points)
        return 0;
    const CSb* block = static_cast<const CSb*>(points);
    for (int k = 0; k < count; ++k) {
        CSb p = block[k];
        if (at < 0)
            m_Points.Add(p);
        else
            m_Points.InsertAt(at + k, p);
    }
    return 1;
}

int CBezierItem::TransformElement(CMat2d* m, int first, int count) {
    if (!m)
        return 1;
    for (int k = 0; k < count; ++k) {
        CSb* p = VectPtr(first + k);
        p->pt = *m * p->pt;
    }
    return 1;
}

int CBezierItem::ElementStr(int i, CString& out) {
    const CSb& p = m_Points.GetAt(i);
    const wchar_t* kind = (p.flags & kHandle)  ? L"Control"
                          : (p.flags & kBreak) ? L"Break"
                                               : L"Curve";
    out.Format(L"%d) %ls X:%d Y:%d", i, kind, int(p.pt.x), int(p.pt.y));
    return 1;
}

int CBezierItem::GetDefaultToolId() {
    return kToolId;
}

void CBezierItem::DoTransform(CMat2d& m) {
    TransformElement(&m, 0, VectCount());
    InvExtents(1);
}

int CBezierItem::DoMirror(CLine& line) {
    const CDpoint a(line.start), b(line.end);
    for (INT_PTR i = 0; i < m_Points.GetSize(); ++i) {
        CSb& p = m_Points[i];
        const CDpoint at(p.pt);
        CDpoint foot;
        perp(a, b, at, &foot);
        const double d = length(at, foot);
        if (d <= kMirrorTolerance)
            continue;
        // Rounded, so a point mirrored across an axis lands exactly on its twin.
        CDpoint mirrored;
        locus(&mirrored, foot, d, angle(at, foot));
        p.pt = mirrored.round();
    }
    InvExtents(1);
    return 1;
}

void CBezierItem::fnReverse() {
    std::reverse(m_Points.GetData(), m_Points.GetData() + m_Points.GetSize());
}

// Closedness -------------------------------------------------------------------------------------

int CBezierItem::IsClosed(int tolerance) {
    const int n = VectCount();
    if (n < 2)
        return 0;
    const CLpoint a = m_Points[0].pt, b = m_Points[n - 1].pt;
    const bool meet =
        std::llabs(int64_t(a.x) - b.x) <= tolerance && std::llabs(int64_t(a.y) - b.y) <= tolerance;
    if (!meet)
        ClrProperty(kKeepOpenBit);
    return meet && !GetProperty(kKeepOpenBit) ? 1 : 0;
}

int CBezierItem::IsClosedCurve(int tolerance) {
    return IsClosed(tolerance) && m_Points[0].flags == kSmooth ? 1 : 0;
}

// Segments and flattening ------------------------------------------------------------------------

CBezier CBezierItem::SegmentAt(int i, bool closed, int& next) const {
    const int n = int(m_Points.GetSize());
    CBezier b;
    b.start = m_Points[i].pt;
    if (IsHandle(i + 1) && i + 2 < n && (i + 3 < n || closed)) {
        b.type = CBezier::kCubic;
        b.control1 = m_Points[i + 1].pt;
        b.control2 = m_Points[i + 2].pt;
        b.end = i + 3 < n ? m_Points[i + 3].pt : m_Points[0].pt;
        next = i + 3;
        return b;
    }
    // A line to the next point; a curve whose handles run past the end of the path is a line
    // to its last point.
    const int to = IsHandle(i + 1) ? n - 1 : i + 1;
    b.type = CBezier::kLine;
    b.end = m_Points[to].pt;
    b.control1 = b.end;
    b.control2 = b.start;
    next = std::max(to, i + 1);
    return b;
}

void CBezierItem::MakePktArray(int) {
    const int n = VectCount();
    const bool closed = IsClosed(0) != 0;
    int64_t count = 0;
    for (int i = 0, next = 0; i < n - 1; i = next)
        count += SegmentAt(i, closed, next).NumPkts(kCurveLevel);
    m_PktArray.SetSize(INT_PTR(count));
    CPkt* out = m_PktArray.GetData();
    int made = 0;
    for (int i = 0, next = 0; i < n - 1; i = next)
        made += SegmentAt(i, closed, next).MakePkts(out + made, kCurveLevel);
    m_PktArray.SetSize(made);
}

CWindow CBezierItem::RecalcVectorExtents() {
    CWindow w = CWindow::EmptyExtent();
    for (INT_PTR i = 0; i < m_Points.GetSize(); ++i)
        w.fnIncludePoint(m_Points[i].pt);
    return w;
}

CWindow CBezierItem::RecalcExtents() {
    m_ControlWindow = RecalcVectorExtents();
    MakePktArray(kCurveLevel);
    if (m_PktArray.IsEmpty())
        return m_ControlWindow;
    return RecalcPktExtents();
}

CWindow CBezierItem::FullExtents() {
    Extents();
    return m_ControlWindow;
}

// Hit testing and containment --------------------------------------------------------------------

int CBezierItem::HitTestPoint(CItemHitTest* ht) {
    const UINT mode = ht->GetStartMode();
    if ((mode & CItemHitTest::kModeNodes) && FindHitTestPoint(ht))
        return 1;
    if ((mode & CItemHitTest::kModePath) && FindHitTestLine(ht))
        return 1;
    return 0;
}

int CBezierItem::FindHitTestPoint(CItemHitTest* ht) {
    CJoxDC* dc = ht->GetDC();
    if (!dc || m_Points.IsEmpty())
        return 0;
    const CPoint h = ht->GetHitPoint();
    const int a = ht->GetHitAccuracy();
    // All four edges count.
    CRect box(h.x - a, h.y - a, h.x + a + 1, h.y + a + 1);
    int found = 0;
    for (int i = 0; i < VectCount(); ++i) {
        CPoint p = Point(i);
        dc->LPtoDP(p);
        if (box.PtInRect(p)) {
            ht->AddHitElement(i);
            ht->SetEndMode(1);
            found = 1;
        }
    }
    return found;
}

int CBezierItem::FindHitTestLine(CItemHitTest* ht) {
    const int n = VectCount();
    const bool closed = IsClosed(0) != 0;
    for (int i = 0, next = 0; i < n - 1; i = next) {
        CBezier b = SegmentAt(i, closed, next);
        if (b.HitTest(ht)) {
            ht->SetEndMode(2);
            return 1;
        }
    }
    return 0;
}

namespace {

// Even-odd rule with edges taken half-open in y, so a ray through a shared vertex crosses once.
bool InsidePolygon(const CDpoint& p, const CSbArray& poly) {
    const INT_PTR m = poly.GetSize();
    bool inside = false;
    for (INT_PTR k = 0, j = m - 1; k < m; j = k++) {
        const CDpoint a(poly[k].pt), b(poly[j].pt);
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x)
                inside = !inside;
        }
    }
    return inside;
}

} // namespace

int CBezierItem::InsideOf(CBezierItem* other) {
    if (!other || !CVectorItem::InsideOf(static_cast<CVectorItem*>(other)))
        return 0;
    int n = VectCount();
    if (IsClosed(0))
        --n;
    for (int i = 0; i < n; ++i) {
        if (!InsidePolygon(CDpoint(m_Points[i].pt), other->m_Points))
            return 0;
    }
    return 1;
}

// Conversion -------------------------------------------------------------------------------------

CSplineItem* CreateSplineItem(CBezierItem* b) {
    // Nothing to build from: no spline (the last point would be point -1).
    if (!b || b->VectCount() == 0)
        return nullptr;
    const int n = b->VectCount();
    auto s = std::make_unique<CSplineItem>();
    for (int i = 0; i < n - 1;) {
        const CSb p = b->Vect(i);
        s->Vect(p);
        if (i < n - 3 && b->Vect(i + 1).flags == CBezierItem::kHandle) {
            CBezier c;
            c.start = p.pt;
            c.control1 = b->Vect(i + 1).pt;
            c.control2 = b->Vect(i + 2).pt;
            c.end = b->Vect(i + 3).pt;
            POINT samples[8];
            c.GetPoints(samples, 8);
            for (int k = 1; k <= 6; ++k)
                s->Vect(CSb(CSplineItem::kSmooth, CLpoint(samples[k].x, samples[k].y)));
            i += 3;
        } else {
            i += 1;
        }
    }
    s->Vect(b->Vect(n - 1));
    s->MakeCurves();
    return s.release();
}

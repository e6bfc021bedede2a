#include "pivora/framework/jox_echo_dc.h"

#include <vector>

IMPLEMENT_DYNAMIC(CJoxEchoDC, CJoxClientDC)

namespace {

std::vector<POINT> Transformed(const CMat2d& m, const POINT* pts, int count) {
    std::vector<POINT> out(size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        CLpoint p = m * CLpoint(pts[i].x, pts[i].y);
        out[size_t(i)] = POINT{p.x, p.y};
    }
    return out;
}

} // namespace

CJoxEchoDC::CJoxEchoDC(const CWnd* wnd) : CJoxClientDC(wnd, eClientDocument) {
    m_xorPen.CreatePen(PS_SOLID, 0, XorPenColour());
    m_oldPen = CJoxDC::SelectObject(&m_xorPen);
    SetROP2(R2_XORPEN);
    SetDrawMode(0);
}

CJoxEchoDC::~CJoxEchoDC() {
    if (m_oldPen)
        CJoxDC::SelectObject(m_oldPen);
}

void CJoxEchoDC::SetEchoPercent(int percent) {
    m_percent = percent;
    m_offered = m_drawn = 0;
}

CGdiObject* CJoxEchoDC::SelectStockObject(int index) {
    if (index == WHITE_PEN || index == BLACK_PEN || index == NULL_PEN)
        return nullptr;
    return CJoxDC::SelectStockObject(index);
}

CGdiObject* CJoxEchoDC::SelectObject(CGdiObject* obj) {
    if (obj && (obj->GetObjectType() == OBJ_PEN || obj->GetObjectType() == OBJ_EXTPEN))
        return nullptr;
    return CJoxDC::SelectObject(obj);
}

CPen* CJoxEchoDC::SelectObject(CPen*) {
    return nullptr;
}

CPoint CJoxEchoDC::MoveTo(int x, int y) {
    CPoint previous = m_saved;
    m_offered = m_drawn = 0;
    m_saved = CPoint(x, y);
    m_pendingMove = true;
    return previous;
}

void CJoxEchoDC::MoveToSaved() {
    CLpoint p = m_xform * CLpoint(m_saved.x, m_saved.y);
    m_pendingMove = false;
    CJoxDC::MoveTo(p.x, p.y);
}

// Offers one segment; true when it is to be drawn.
bool CJoxEchoDC::TakeSegment() {
    ++m_offered;
    return int64_t(m_drawn) * 100 < int64_t(m_offered) * m_percent;
}

int CJoxEchoDC::LineTo(int x, int y) {
    if (!TakeSegment()) {
        m_saved = CPoint(x, y);
        m_pendingMove = true;
        return 1;
    }
    if (m_pendingMove)
        MoveToSaved();
    ++m_drawn;
    CLpoint p = m_xform * CLpoint(x, y);
    return CJoxDC::LineTo(p.x, p.y);
}

BOOL CJoxEchoDC::PolyBezierTo(const POINT* pts, int count) {
    if (!pts || count <= 0)
        return 0;
    if (!TakeSegment()) {
        m_saved = CPoint(pts[count - 1]);
        m_pendingMove = true;
        return 1;
    }
    if (m_pendingMove)
        MoveToSaved();
    ++m_drawn;
    std::vector<POINT> t = Transformed(m_xform, pts, count);
    return CJoxDC::PolyBezierTo(t.data(), count);
}

BOOL CJoxEchoDC::PolyBezier(const POINT* pts, int count) {
    if (!pts || count <= 0)
        return 0;
    std::vector<POINT> t = Transformed(m_xform, pts, count);
    return CJoxDC::PolyBezier(t.data(), count);
}

BOOL CJoxEchoDC::Polyline(POINT* pts, int count) {
    if (!pts || count <= 0)
        return 0;
    // Only an identity transform may skip the transform: rotation or scale without a
    // translation would otherwise echo the outline where it was, not where it goes.
    if (m_percent == 100 && m_xform == CMat2d())
        return CJoxDC::Polyline(pts, count);
    // A polyline leaves the current position alone: put back the device position and the
    // echo's own pending move afterwards.
    CPoint device = CDC::GetCurrentPosition();
    CPoint saved = m_saved;
    bool pending = m_pendingMove;
    MoveTo(pts[0].x, pts[0].y);
    for (int i = 1; i < count; ++i)
        LineTo(pts[i].x, pts[i].y);
    CDC::MoveTo(device.x, device.y);
    m_saved = saved;
    m_pendingMove = pending;
    return 1;
}

#include "felgrin/output_dc.h"

#include "pivora/article.h"
#include "pivora/geometry/plane_geometry.h"

IMPLEMENT_DYNAMIC(COutputDC, CJoxDC)

COutputDC::COutputDC(CCutterInstance* instance, int showCancel, int init) : m_pInstance(instance) {
    CreateCompatibleDC(nullptr);
    m_bPrinting = TRUE;
    SetMapMode(OUTPUT_DC_MAP_MODE);
    SetDrawMode(OUTPUT_DC_DRAW_MODE);
    if (m_pInstance)
        SetCurrentStatus(m_pInstance->fnStartOutput(showCancel, init));
}

COutputDC::~COutputDC() {
    if (m_pInstance)
        m_pInstance->fnEndOutput();
}

CBaseCutter* COutputDC::fnGetCurrentCutter() const {
    return m_pInstance ? m_pInstance->fnGetCutter() : nullptr;
}

CPoint COutputDC::Transform(int x, int y) const {
    CLpoint p = m_xform * CLpoint(x, y);
    return CPoint(p.x, p.y);
}

void COutputDC::CheckLineStyle() {
    CArticle* article = GetCurrentArticle();
    if (!article || !IsCVectorArticle(article, false))
        return;
    fnChangeLineStyle(article->fnGetValue(L".Vector Line Style", 0));
}

void COutputDC::fnChangeLineStyle(int style) {
    if (style != m_nLineStyle && GetCurrentStatus() == 0 && m_pInstance)
        SetCurrentStatus(m_pInstance->fnSetLineStyle(style));
    m_nLineStyle = style;
}

CPoint COutputDC::MoveTo(int x, int y) {
    CheckLineStyle();
    CPoint previous = m_ptCurrent;
    CPoint p = Transform(x, y);
    _MoveTo(p);
    return previous;
}

int COutputDC::LineTo(int x, int y) {
    CPoint p = Transform(x, y);
    return _LineTo(p);
}

int COutputDC::_MoveTo(CPoint& point) {
    bool send = true;
    if (fnGetClip()) {
        CLpoint p(point.x, point.y);
        send = FnCheckClip(&p, &m_wClip) == 0;
    }
    m_ptCurrent = point;
    if (send && GetCurrentStatus() == 0 && m_pInstance) {
        POINT p = {point.x, point.y};
        SetCurrentStatus(m_pInstance->fnPolyMoveTo(&p, 1));
    }
    return 1;
}

int COutputDC::_LineTo(CPoint& point) {
    CPoint target = point;
    if (fnGetClip()) {
        CLpoint a(m_ptCurrent.x, m_ptCurrent.y), b(point.x, point.y);
        if (!FnClipLine(a, b, &m_wClip)) {
            m_ptCurrent = point;
            return 1;
        }
        if (a.x != m_ptCurrent.x || a.y != m_ptCurrent.y) {
            CPoint start(a.x, a.y);
            _MoveTo(start);
        }
        target = CPoint(b.x, b.y);
    }
    if (GetCurrentStatus() == 0 && m_pInstance) {
        POINT p = {target.x, target.y};
        SetCurrentStatus(m_pInstance->fnPolyLineTo(&p, 1));
    }
    m_ptCurrent = point;
    return 1;
}

BOOL COutputDC::Polyline(POINT* pts, int count) {
    if (!pts || count <= 0)
        return 1;
    MoveTo(pts[0].x, pts[0].y);
    for (int i = 1; i < count; ++i) {
        CPoint p = Transform(pts[i].x, pts[i].y);
        _LineTo(p);
    }
    return 1;
}

BOOL COutputDC::PolyBezier(const POINT* pts, int count) {
    if (!pts || count <= 0)
        return 1;
    MoveTo(pts[0].x, pts[0].y);
    return PolyBezierTo(pts + 1, count - 1);
}

BOOL COutputDC::PolyBezierTo(const POINT* pts, int count) {
    if (!pts)
        return 1;
    // Every whole segment of three points; a short tail cannot describe a curve.
    for (int i = 0; i + 3 <= count && GetCurrentStatus() == 0; i += 3)
        OutputBezier(pts + i);
    return 1;
}

int COutputDC::GetArcError() {
    return m_pInstance ? m_pInstance->fnInquireArcError() : CUTTER_ARC_ERROR;
}

void COutputDC::OutputBezier(const POINT* pts) {
    double tolerance = GetArcError();
    if (tolerance == 0)
        tolerance = 1;
    CPoint p1 = Transform(pts[0].x, pts[0].y);
    CPoint p2 = Transform(pts[1].x, pts[1].y);
    CPoint p3 = Transform(pts[2].x, pts[2].y);
    CDpoint P0(m_ptCurrent.x, m_ptCurrent.y), P1(p1.x, p1.y), P2(p2.x, p2.y), P3(p3.x, p3.y);
    CDpoint c = (P1 - P0) * 3.0;
    CDpoint b = (P2 - P1) * 3.0 - c;
    CDpoint a = P3 - P0 - c - b;
    auto at = [&](double t) {
        CDpoint v = ((a * t + b) * t + c) * t + P0;
        return CLpoint(fnTruncLong(v.x), fnTruncLong(v.y));
    };
    CDpoint crossing;
    int n = intersect(CDline(P0, P1), CDline(P2, P3), &crossing) ? 2 : 1;
    std::vector<CLpoint> kept;
    for (;;) {
        kept.clear();
        CLpoint previous(m_ptCurrent.x, m_ptCurrent.y);
        bool fine = true;
        for (int j = 1; j <= n; ++j) {
            CLpoint q = at(double(j) / n);
            CLpoint m = at(double(2 * j - 1) / (2.0 * n));
            if (length(CDpoint(m), CDline(previous, q)) > tolerance && n < 10000) {
                fine = false;
                break;
            }
            kept.push_back(q);
            previous = q;
        }
        if (fine)
            break;
        n += 2;
    }
    for (const CLpoint& q : kept) {
        CPoint p(q.x, q.y);
        _LineTo(p);
    }
}

void COutputDC::SetOrientation(CLpoint& from, CLpoint& to) {
    if (m_pInstance)
        m_pInstance->fnSetOrientation(from, to);
}

int COutputDC::fnStartDesign() {
    return m_pInstance ? m_pInstance->fnStartDesign() : 0;
}
int COutputDC::fnEndDesign() {
    return m_pInstance ? m_pInstance->fnEndDesign() : 0;
}

void COutputDC::fnSetClipArea(CWindow& window) {
    m_wClip = window;
    fnSetClip(1);
}

void COutputDC::fnSetClipTransfrom(CMat2d& matrix) {
    CLpoint low = matrix * CLpoint(m_wClip.x1, m_wClip.y1);
    CLpoint high = matrix * CLpoint(m_wClip.x2, m_wClip.y2);
    m_wClip = CWindow(low.x, low.y, high.x, high.y);
}

#include "pivora/framework/jox_dc.h"

#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_paint_dc.h"
#include "pivora/framework/jox_window_dc.h"
#include "pivora/geometry/plane_geometry.h"

#include <cstdint>
#include <cstdlib>
#include <typeinfo>
#include <vector>

IMPLEMENT_DYNAMIC(CJoxDC, CDC)

namespace {

// Beyond this many device units a line is drawn in pieces, and only points inside the 16-bit
// range are drawn to at all: old device paths wrap coordinates outside it.
constexpr int64_t kPieceLength = 4000;

bool In16Bit(LONG v) {
    return v >= -32768 && v <= 32767;
}

// MulDiv's rounding (half away from zero, -1 on a zero divisor or overflow) inline: every
// point drawn is mapped, and the call through the library costs more than the arithmetic.
inline int Scale(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const int64_t product = int64_t(number) * numerator;
    const int64_t divisor = denominator < 0 ? -int64_t(denominator) : int64_t(denominator);
    int64_t q = ((product < 0 ? -product : product) + divisor / 2) / divisor;
    q = (product < 0) != (denominator < 0) ? -q : q;
    return q > INT32_MAX || q < INT32_MIN ? -1 : int(q);
}

} // namespace

CJoxDC::CJoxDC() = default;

CJoxDC::~CJoxDC() = default;

// Mapping ---------------------------------------------------------------------------------------

int CJoxDC::SetMapMode(int mode) {
    int old = m_mapMode;
    m_mapMode = mode;
    return old;
}

CPoint CJoxDC::SetViewportOrg(int x, int y) {
    m_viewportOrg = CPoint(x, y);
    return m_viewportOrg;
}

CSize CJoxDC::SetViewportExt(int cx, int cy) {
    m_viewportExt = CSize(cx, cy);
    // One scale for both axes: the side that gives the smaller scale wins.
    fnMakeSizeSimilar(m_viewportExt, m_windowExt, false);
    return m_viewportExt;
}

CSize CJoxDC::SetWindowExt(int cx, int cy) {
    m_windowExt = CSize(cx, cy);
    return m_windowExt;
}

void CJoxDC::MapPoint(LONG& x, LONG& y) const {
    x = Scale(x, m_viewportExt.cx, m_windowExt.cx) + m_viewportOrg.x;
    y = Scale(y, m_viewportExt.cy, m_windowExt.cy) + m_viewportOrg.y;
}

void CJoxDC::LPtoDP(POINT* pts, int count) const {
    if (m_mapMode == 0 || !pts)
        return;
    for (int i = 0; i < count; ++i)
        MapPoint(pts[i].x, pts[i].y);
}

void CJoxDC::LPtoDP(int& x, int& y) const {
    if (m_mapMode == 0)
        return;
    MapPoint(x, y);
}

void CJoxDC::LPtoDP(SIZE* size) const {
    if (m_mapMode == 0 || !size)
        return;
    size->cx = MulDiv(size->cx, std::abs(m_viewportExt.cx), std::abs(m_windowExt.cx));
    size->cy = MulDiv(size->cy, std::abs(m_viewportExt.cy), std::abs(m_windowExt.cy));
}

void CJoxDC::DPtoLP(POINT* pts, int count) const {
    if (m_mapMode == 0 || !pts)
        return;
    for (int i = 0; i < count; ++i) {
        pts[i].x = MulDiv(pts[i].x - m_viewportOrg.x, m_windowExt.cx, m_viewportExt.cx);
        pts[i].y = MulDiv(pts[i].y - m_viewportOrg.y, m_windowExt.cy, m_viewportExt.cy);
    }
}

void CJoxDC::DPtoLP(SIZE* size) const {
    if (m_mapMode == 0 || !size)
        return;
    size->cx = MulDiv(size->cx, std::abs(m_windowExt.cx), std::abs(m_viewportExt.cx));
    size->cy = MulDiv(size->cy, std::abs(m_windowExt.cy), std::abs(m_viewportExt.cy));
}

void CJoxDC::ZoomExtents(CRect& deviceRect, CWindow& docWindow) {
    m_viewportOrg = CPoint(0, 0);
    m_windowExt = CSize(640, 480);
    m_viewportExt = CSize(640, 480);
    m_mapMode = 1;
    SetWindowExt(docWindow.x2 - docWindow.x1, docWindow.y2 - docWindow.y1);
    SetViewportExt(deviceRect.Width() - 4, -(deviceRect.Height() - 4));
    SetViewportOrg(0, 0);
    // The window's left and top (y up) as a point, and its size.
    CPoint corner(-docWindow.x1, -docWindow.y2);
    LPtoDP(corner);
    CSize size(docWindow.x2 - docWindow.x1, docWindow.y2 - docWindow.y1);
    LPtoDP(&size);
    int offsetX = size.cx < deviceRect.Width() ? (deviceRect.Width() - size.cx) / 2 : 0;
    int offsetY = size.cy < deviceRect.Height() ? (deviceRect.Height() - size.cy) / 2 : 0;
    SetViewportOrg(corner.x + offsetX, corner.y + offsetY);
    m_mapMode = 1;
}

// Objects --------------------------------------------------------------------------------------

CGdiObject* CJoxDC::SelectStockObject(int index) {
    return CDC::SelectStockObject(index);
}

CFont* CJoxDC::SelectObject(CFont* font) {
    return CDC::SelectObject(font);
}

CGdiObject* CJoxDC::SelectObject(CGdiObject* obj) {
    return CGdiObject::FromHandle(CDC::SelectObject(obj ? obj->m_hObject : HGDIOBJ(nullptr)));
}

CBitmap* CJoxDC::SelectObject(CBitmap* bitmap) {
    return static_cast<CBitmap*>(
        CGdiObject::FromHandle(CDC::SelectObject(bitmap ? bitmap->m_hObject : HGDIOBJ(nullptr))));
}

int CJoxDC::SelectObject(CRgn* rgn) {
    return CDC::SelectObject(rgn);
}

CBrush* CJoxDC::SelectObject(CBrush* brush) {
    return CDC::SelectObject(brush);
}

CPen* CJoxDC::SelectObject(CPen* pen) {
    return CDC::SelectObject(pen);
}

// Paths ------------------------------------------------------------------------------------------

BOOL CJoxDC::AbortPath() {
    return (m_drawMode & DRAW_PATHS) ? CDC::AbortPath() : 1;
}
BOOL CJoxDC::BeginPath() {
    return (m_drawMode & DRAW_PATHS) ? CDC::BeginPath() : 1;
}
BOOL CJoxDC::EndPath() {
    return (m_drawMode & DRAW_PATHS) ? CDC::EndPath() : 1;
}
BOOL CJoxDC::FillPath() {
    return (m_drawMode & DRAW_PATHS) ? CDC::FillPath() : 1;
}
BOOL CJoxDC::StrokeAndFillPath() {
    return (m_drawMode & DRAW_PATHS) ? CDC::StrokeAndFillPath() : 1;
}
BOOL CJoxDC::StrokePath() {
    return (m_drawMode & DRAW_PATHS) ? CDC::StrokePath() : 1;
}

// Drawing ----------------------------------------------------------------------------------------

BOOL CJoxDC::IsCurrentPosition(int x, int y) {
    LPtoDP(x, y);
    CPoint cur = CDC::GetCurrentPosition();
    return cur.x == x && cur.y == y;
}

CPoint CJoxDC::MoveTo(int x, int y) {
    LPtoDP(x, y);
    return CDC::MoveTo(x, y);
}

int CJoxDC::LineTo(int x, int y) {
    LPtoDP(x, y);
    return DeviceLineTo(x, y);
}

bool CJoxDC::PlainLineTo() const {
    const std::type_info& type = typeid(*this);
    return type == typeid(CJoxDC) || type == typeid(CJoxPaintDC) || type == typeid(CJoxClientDC) ||
           type == typeid(CJoxWindowDC);
}

void CJoxDC::PolylineTo(const POINT* pts, int count) {
    if (!pts || count <= 0)
        return;
    if (!PlainLineTo()) {
        for (int i = 0; i < count; ++i)
            LineTo(pts[i].x, pts[i].y);
        return;
    }
    // Lines short enough to go down whole and ending inside the 16-bit range gather into one
    // run; any other line ends the run and goes alone, as LineTo draws it.
    constexpr int kRun = 256;
    POINT run[kRun];
    int n = 0;
    CPoint cur = CDC::GetCurrentPosition();
    const bool mapped = m_mapMode != 0;
    for (int i = 0; i < count; ++i) {
        int x = pts[i].x, y = pts[i].y;
        if (mapped) {
            x = Scale(x, m_viewportExt.cx, m_windowExt.cx) + m_viewportOrg.x;
            y = Scale(y, m_viewportExt.cy, m_windowExt.cy) + m_viewportOrg.y;
        }
        const int64_t dx = std::llabs(int64_t(cur.x) - x), dy = std::llabs(int64_t(cur.y) - y);
        if (dx <= kPieceLength && dy <= kPieceLength && In16Bit(x) && In16Bit(y)) {
            run[n++] = POINT{x, y};
            cur = CPoint(x, y);
            if (n == kRun) {
                CDC::PolylineTo(run, n);
                n = 0;
            }
        } else {
            if (n) {
                CDC::PolylineTo(run, n);
                n = 0;
            }
            DeviceLineTo(x, y);
            // A long line drawn in pieces may end a rounding away from the point.
            cur = CDC::GetCurrentPosition();
        }
    }
    if (n)
        CDC::PolylineTo(run, n);
}

int CJoxDC::DeviceLineTo(int x, int y) {
    CPoint cur = CDC::GetCurrentPosition();
    int64_t dx = std::llabs(int64_t(cur.x) - x), dy = std::llabs(int64_t(cur.y) - y);
    if (dx <= kPieceLength && dy <= kPieceLength) {
        if (In16Bit(x) && In16Bit(y))
            return CDC::LineTo(x, y);
        CDC::MoveTo(x, y);
        return 0;
    }
    // The x difference decides whenever it is long, even when y is longer.
    int64_t n = dx > kPieceLength ? dx / kPieceLength + 1 : dy / kPieceLength + 1;
    CLpoint from(cur.x, cur.y), to(x, y), at;
    double step = 1.0 / double(n), t = 0.0;
    for (int64_t i = 0; i <= n; ++i) {
        mid_point(from, to, t, &at);
        CDC::LineTo(at.x, at.y);
        t += step;
    }
    return 1;
}

int CJoxDC::ArcTo(CArc&) {
    return 0;
}

void CJoxDC::SetOrientation(CLpoint&, CLpoint&) {}

BOOL CJoxDC::Polyline(POINT* pts, int count) {
    LPtoDP(pts, count);
    return CDC::Polyline(pts, count);
}

// The caller's points are const: they are mapped in a copy.
BOOL CJoxDC::PolyBezier(const POINT* pts, int count) {
    if (!pts || count <= 0)
        return CDC::PolyBezier(pts, count);
    std::vector<POINT> mapped(pts, pts + count);
    LPtoDP(mapped.data(), count);
    return CDC::PolyBezier(mapped.data(), count);
}

BOOL CJoxDC::PolyBezierTo(const POINT* pts, int count) {
    if (!pts || count <= 0)
        return CDC::PolyBezierTo(pts, count);
    std::vector<POINT> mapped(pts, pts + count);
    LPtoDP(mapped.data(), count);
    return CDC::PolyBezierTo(mapped.data(), count);
}

BOOL CJoxDC::Ellipse(int l, int t, int r, int b) {
    RECT rc{l, t, r, b};
    LPtoDP(&rc);
    return CDC::Ellipse(&rc);
}

BOOL CJoxDC::Rectangle(int l, int t, int r, int b) {
    RECT rc{l, t, r, b};
    LPtoDP(&rc);
    return CDC::Rectangle(&rc);
}

BOOL CJoxDC::RoundRect(int l, int t, int r, int b, int w, int h) {
    RECT rc{l, t, r, b};
    LPtoDP(&rc);
    return CDC::RoundRect(rc.left, rc.top, rc.right, rc.bottom, w, h);
}

BOOL CJoxDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    POINT p[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    LPtoDP(p, 4);
    return CDC::Arc(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
}

BOOL CJoxDC::Arc(const RECT* rect, POINT start, POINT end) {
    if (!rect)
        return FALSE;
    return Arc(rect->left, rect->top, rect->right, rect->bottom, start.x, start.y, end.x, end.y);
}

void CJoxDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!rect)
        return;
    RECT rc = *rect;
    LPtoDP(&rc);
    CDC::FillRect(&rc, brush);
}

void CJoxDC::FrameRect(const RECT* rect, CBrush* brush) {
    if (!rect)
        return;
    RECT rc = *rect;
    LPtoDP(&rc);
    CDC::FrameRect(&rc, brush);
}

void CJoxDC::InvertRect(const RECT* rect) {
    if (!rect)
        return;
    RECT rc = *rect;
    LPtoDP(&rc);
    CDC::InvertRect(&rc);
}

void CJoxDC::DrawFocusRect(const RECT* rect) {
    if (!rect)
        return;
    CPen pen(PS_COSMETIC | PS_ALTERNATE, 1, XorPenColour());
    CPen* oldPen = SelectObject(&pen);
    int oldBk = CDC::SetBkMode(TRANSPARENT);
    int oldRop = CDC::SetROP2(R2_XORPEN);
    const LONG l = rect->left, t = rect->top, r = rect->right, b = rect->bottom;
    // Alternate pixels stay on one parity of x + y, so each side starts on an even sum and the
    // dots of two adjacent sides never meet on one pixel.
    CDC::MoveTo((l + t) % 2 == 1 ? l + 1 : l, t);
    CDC::LineTo(r, t);
    if ((r + t) % 2 == 1)
        CDC::MoveTo(r, t + 1);
    CDC::LineTo(r, b);
    if ((r + b) % 2 == 1)
        CDC::MoveTo(r - 1, b);
    CDC::LineTo(l, b);
    if ((l + b) % 2 == 1)
        CDC::MoveTo(l, b - 1);
    CDC::LineTo(l, t);
    CDC::SetROP2(oldRop);
    CDC::SetBkMode(oldBk);
    SelectObject(oldPen);
}

HBITMAP CJoxDC::CreateBitmapHandle(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    bi.bmiHeader.biSizeImage = DWORD((((int64_t(width) * 24 + 31) & ~int64_t(31)) / 8) * height);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(m_hDC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && !bits) {
        DeleteObject(bmp);
        return nullptr;
    }
    return bmp;
}

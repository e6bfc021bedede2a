// Drawing of the grid: rectangular and polar grids, origin, middle and guide lines.
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/geometry/arc.h"
#include "pivora/grid.h"
#include "pivora/jox_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr COLORREF kGridColour = RGB(96, 96, 96);
constexpr double kRadiansPerDegree = 0.017453292;
constexpr double kTwoPi = 6.283185307;
constexpr double kPi = 3.141592654;
// Nothing on screen needs more lines than this; a mapping that asks for more is broken.
constexpr int64_t kMaxLines = 20000;
constexpr int kMaxSpokes = 3600;
constexpr int kMaxCirclePoints = 255;

// Own mapping off for device drawing; restored on leaving.
struct DeviceMode {
    CJoxDC* dc;
    int old;
    explicit DeviceMode(CJoxDC* d) : dc(d), old(d->SetMapMode(0)) {}
    ~DeviceMode() { dc->SetMapMode(old); }
};

void Cross(CJoxDC* dc, const CPoint& p) {
    dc->CDC::MoveTo(p.x - 1, p.y);
    dc->CDC::LineTo(p.x + 2, p.y);
    dc->CDC::MoveTo(p.x, p.y - 1);
    dc->CDC::LineTo(p.x, p.y + 2);
}

// Grid values from below lo to beyond hi through origin, in steps of s.
struct Range {
    int64_t first, last; // first value and the bound it stays below
};

Range Values(int64_t lo, int64_t hi, int64_t origin, int64_t s) {
    // The upper bound is measured from the origin too, so no line goes missing at the edge.
    return Range{((lo - origin) / s) * s - 2 * s + origin,
                 ((hi - origin) / s) * s + 2 * s + origin};
}

LONG Clamp32(int64_t v) {
    return LONG(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

void CGrid::AdjustInterval(int& spacing, CJoxDC* dc) {
    if (spacing <= 0 || !dc)
        return;
    CSize ten(10, 1);
    dc->DPtoLP(&ten);
    const int64_t t = ten.cx;
    if (spacing >= t)
        return;
    int64_t v = spacing;
    while (v < t && v <= INT32_MAX / 10)
        v *= 10;
    if (v / 5 > t)
        v /= 5;
    else if (v / 2 > t)
        v /= 2;
    spacing = int(std::min<int64_t>(v, INT32_MAX));
}

void CGrid::OnDraw(CJoxView* view, CJoxDC* dc) {
    if (!view || !dc || (!showRect && !showPolar))
        return;
    CRect client;
    view->GetClientRect(&client);
    CPoint lo(client.left, client.bottom), hi(client.right, client.top);
    dc->DPtoLP(lo);
    dc->DPtoLP(hi);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    if (showRect)
        DrawRectangular(lo, hi, client, dc);
    if (showPolar)
        DrawPolar(lo, hi, client, dc);
    dc->SetBkMode(oldBk);
}

void CGrid::DrawRectangular(CPoint lo, CPoint hi, CRect client, CJoxDC* dc) {
    int sx = rectSpacingX, sy = rectSpacingY;
    if (sx <= 0 || sy <= 0)
        return;
    AdjustInterval(sx, dc);
    AdjustInterval(sy, dc);
    const Range xs = Values(lo.x, hi.x, rectOriginX, sx);
    const Range ys = Values(lo.y, hi.y, rectOriginY, sy);
    if ((xs.last - xs.first) / sx > kMaxLines || (ys.last - ys.first) / sy > kMaxLines)
        return;
    CPen pen(rectStyle == 0 ? PS_DOT : PS_SOLID, 0, kGridColour);
    CPen* old = dc->SelectObject(&pen);
    // Device positions of every line, mapped once.
    std::vector<LONG> px, py;
    for (int64_t x = xs.first; x < xs.last; x += sx) {
        CPoint p(Clamp32(x), 0);
        dc->LPtoDP(p);
        px.push_back(p.x);
    }
    for (int64_t y = ys.first; y < ys.last; y += sy) {
        CPoint p(0, Clamp32(y));
        dc->LPtoDP(p);
        py.push_back(p.y);
    }
    {
        DeviceMode device(dc);
        if (rectStyle == 0) {
            for (LONG x : px) {
                dc->CDC::MoveTo(x, client.top);
                dc->CDC::LineTo(x, client.bottom);
            }
            for (LONG y : py) {
                dc->CDC::MoveTo(client.left, y);
                dc->CDC::LineTo(client.right, y);
            }
        } else {
            for (LONG y : py)
                for (LONG x : px)
                    Cross(dc, CPoint(x, y));
        }
    }
    dc->SelectObject(old);
}

void CGrid::DrawPolar(CPoint lo, CPoint hi, CRect client, CJoxDC* dc) {
    const double step = double(polarAngleStep) * kRadiansPerDegree;
    int radius = polarRadiusStep;
    if (!(step > 0) || !std::isfinite(step) || radius <= 0)
        return;
    AdjustInterval(radius, dc);
    const double R = radius;
    const double cx = polarCentreX, cy = polarCentreY;
    const double ex = std::max(std::fabs(hi.x + R - cx), std::fabs(lo.x - R - cx));
    const double ey = std::max(std::fabs(hi.y + R - cy), std::fabs(lo.y - R - cy));
    const double rmax = std::trunc(std::hypot(ex, ey));
    const double nx = std::clamp(cx, double(lo.x), double(hi.x));
    const double ny = std::clamp(cy, double(lo.y), double(hi.y));
    const double dmin = std::trunc(std::hypot(nx - cx, ny - cy));
    // A tiny step would draw more spokes than there are pixels: bounded.
    const int spokes = int(std::min<double>(std::ceil(kTwoPi / step), kMaxSpokes));
    // Circles wholly outside the visible area are not drawn.
    const double firstRing = std::max(R, std::floor(dmin / R) * R);
    if ((rmax - firstRing) / R > kMaxLines)
        return;
    CPen pen(polarStyle == 0 ? PS_DOT : PS_SOLID, 0, kGridColour);
    CPen* old = dc->SelectObject(&pen);
    if (polarStyle != 0) {
        const double firstCross = std::max(0.0, firstRing - R);
        for (int k = 0; k < spokes; ++k) {
            const double theta = k * step;
            if (theta >= kTwoPi)
                break;
            const double s = std::sin(theta), c = std::cos(theta);
            for (double r = firstCross; r < rmax; r += R) {
                CPoint p(Clamp32(int64_t(std::trunc(cx + r * s))),
                         Clamp32(int64_t(std::trunc(cy + r * c))));
                dc->LPtoDP(p);
                if (!client.PtInRect(p) && (p.x < client.left - 2 || p.x > client.right + 2 ||
                                            p.y < client.top - 2 || p.y > client.bottom + 2))
                    continue;
                DeviceMode device(dc);
                Cross(dc, p);
            }
        }
    } else {
        for (int k = 0; k < spokes; ++k) {
            const double theta = k * step;
            if (theta >= kTwoPi)
                break;
            dc->MoveTo(Clamp32(int64_t(cx)), Clamp32(int64_t(cy)));
            dc->LineTo(Clamp32(int64_t(cx + std::trunc(rmax * std::sin(theta)))),
                       Clamp32(int64_t(cy + std::trunc(rmax * std::cos(theta)))));
        }
        CLpoint pts[kMaxCirclePoints + 1];
        for (double r = firstRing; r < rmax; r += R) {
            if (r <= dmin)
                continue;
            CSize device(Clamp32(int64_t(r)), 0);
            dc->LPtoDP(&device);
            const int n = std::clamp(int(kPi * device.cx), 4, kMaxCirclePoints);
            CArc circle(CDpoint(cx, cy), r, 0.0, kTwoPi);
            split_arc(&circle, n, pts, 0, 1);
            dc->Polyline(reinterpret_cast<POINT*>(pts), n + 1);
        }
    }
    dc->SelectObject(old);
}

void CGrid::OnDrawGuides(CJoxView* view, CJoxDC* dc, int inRuler) {
    if (!view || !dc || (!showGuides && !guideDisplayFlag && !showOriginLines && !showMiddleLines))
        return;
    CRect extent;
    if (inRuler) {
        const CSize band = view->GetRulerSize();
        extent = CRect(3, 3, band.cx - 6, band.cy - 6);
    } else {
        view->CWnd::GetClientRect(&extent);
        extent.InflateRect(1, 1);
    }
    CPoint lo(extent.left, extent.bottom), hi(extent.right, extent.top);
    dc->DPtoLP(lo);
    dc->DPtoLP(hi);
    const int oldBk = dc->SetBkMode(TRANSPARENT);
    auto vertical = [&](LONG x) {
        dc->MoveTo(x, lo.y);
        dc->LineTo(x, hi.y);
    };
    auto horizontal = [&](LONG y) {
        dc->MoveTo(lo.x, y);
        dc->LineTo(hi.x, y);
    };
    CPen* old = nullptr;
    CPen origin(PS_DASH, 0, RGB(255, 0, 0));
    if (showOriginLines) {
        old = dc->SelectObject(&origin);
        vertical(0);
        horizontal(0);
    }
    CPen middle;
    if (showMiddleLines) {
        CJoxPage* page = view->GetDocument();
        CLpoint c = page ? page->Extents().fnCentre() : CLpoint(0, 0);
        CPoint cd(c.x, c.y), od(0, 0);
        dc->LPtoDP(cd);
        dc->LPtoDP(od);
        if (showOriginLines && cd == od)
            middle.CreatePen(PS_DASH, 0, RGB(200, 200, 0));
        else
            middle.CreatePen(PS_DASHDOT, 0, RGB(0, 255, 0));
        CPen* prev = dc->SelectObject(&middle);
        if (!old)
            old = prev;
        vertical(c.x);
        horizontal(c.y);
    }
    CPen guide(PS_DASH, 0, RGB(0, 0, 255));
    if (showGuides) {
        CPen* prev = dc->SelectObject(&guide);
        if (!old)
            old = prev;
        for (POSITION pos = verticalGuides.GetHeadPosition(); pos;)
            vertical(verticalGuides.GetNext(pos));
        for (POSITION pos = horizontalGuides.GetHeadPosition(); pos;)
            horizontal(horizontalGuides.GetNext(pos));
    }
    if (old)
        dc->SelectObject(old);
    dc->SetBkMode(oldBk);
}

void CGrid::EchoGridLine(CJoxView* view, int kind, CLpoint pos) {
    if (!view || (kind != kVertical && kind != kHorizontal))
        return;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc, nullptr);
    CRect client;
    view->CWnd::GetClientRect(&client);
    client.InflateRect(1, 1);
    CPoint p(pos.x, pos.y);
    dc.LPtoDP(p);
    DeviceMode device(&dc);
    CPen pen(PS_DOT, 0, RGB(192, 192, 192));
    CPen* old = dc.SelectObject(&pen);
    const int oldRop = dc.SetROP2(R2_XORPEN);
    const int oldBk = dc.SetBkMode(TRANSPARENT);
    if (kind == kVertical) {
        dc.CDC::MoveTo(p.x, client.top);
        dc.CDC::LineTo(p.x, client.bottom);
    } else {
        dc.CDC::MoveTo(client.left, p.y);
        dc.CDC::LineTo(client.right, p.y);
    }
    dc.SetBkMode(oldBk);
    dc.SetROP2(oldRop);
    dc.SelectObject(old);
}

void CGrid::InvalidateGridLine(CJoxView* view, int kind, int index) {
    int pos = 0;
    if (!view || !GetGridLinePos(pos, kind, index))
        return;
    CPoint p(kind == kVertical ? pos : 0, kind == kVertical ? 0 : pos);
    view->DocToClient(p);
    CRect client;
    view->CWnd::GetClientRect(&client);
    CRect strip = kind == kVertical ? CRect(p.x - 1, client.top, p.x + 2, client.bottom)
                                    : CRect(client.left, p.y - 1, client.right, p.y + 2);
    view->InvalidateRect(&strip, TRUE);
}

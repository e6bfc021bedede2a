// Drawing calls: lines, shapes, fills, pixels, text and block transfers.
#include "platform/graphics/gdi.h"

#include "platform/graphics/gdi_internal.h"

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace platform::detail;
using platform::DrawState;
using platform::GdiCall;
using platform::GdiOp;

namespace {

void FillState(DcImpl* dc, DrawState& s) {
    // Selected objects are kept alive by their selection, so no liveness lookup is needed here.
    if (auto* p = static_cast<PenImpl*>(dc->a.pen)) {
        s.penStyle = p->style;
        s.penWidth = p->width;
        s.penColour = p->colour;
    }
    if (auto* b = static_cast<BrushImpl*>(dc->a.brush)) {
        s.brushStyle = b->style;
        s.brushColour = b->colour;
        s.brushHatch = b->hatch;
    }
    if (auto* f = static_cast<FontImpl*>(dc->a.font))
        s.font = &f->lf;
    s.rop = dc->a.rop;
    s.bkMode = dc->a.bkMode;
    s.polyFillMode = dc->a.polyFillMode;
    s.bkColour = dc->a.bkColour;
    s.textColour = dc->a.textColour;
    s.textAlign = dc->a.textAlign;
    s.clip = dc->a.hasClip ? &dc->a.clip : nullptr;
    s.generation = dc->generation;
    s.owner = dc;
}

RECT PointsBox(const POINT* pts, int n) {
    RECT r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int i = 0; i < n; ++i) {
        r.left = std::min(r.left, pts[i].x);
        r.top = std::min(r.top, pts[i].y);
        r.right = std::max(r.right, pts[i].x);
        r.bottom = std::max(r.bottom, pts[i].y);
    }
    return r;
}

} // namespace

namespace platform::detail {

void Emit(DcImpl* dc, const GdiCall& call) {
    if (!dc->surface)
        return;
    DrawState s;
    FillState(dc, s);
    dc->surface->Draw(call, s);
    if (dc->onDraw) {
        RECT box = call.count ? PointsBox(call.pts, call.count) : call.rect;
        if (call.count && (call.op == GdiOp::Rectangle || call.op == GdiOp::Ellipse ||
                           call.op == GdiOp::RoundRect || call.op == GdiOp::Arc)) {
            box = call.rect;
        }
        int grow = std::max(1, s.penWidth) + 1;
        RECT area{std::min(box.left, box.right) - grow, std::min(box.top, box.bottom) - grow,
                  std::max(box.left, box.right) + grow, std::max(box.top, box.bottom) + grow};
        dc->onDraw(dc, area);
    }
}

void EmitSimple(DcImpl* dc, GdiOp op) {
    GdiCall c{op};
    Emit(dc, c);
}

} // namespace platform::detail

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->a.cur;
    dc->a.cur = POINT{x, y};
    POINT dev = ToDevice(dc, x, y);
    if (dc->path.open) {
        PathAdd(dc, dev, PT_MOVETO);
        dc->path.figureOpen = true;
        return TRUE;
    }
    GdiCall c{GdiOp::MoveTo};
    c.pts = &dev;
    c.count = 1;
    if (dc->surface) {
        DrawState s;
        FillState(dc, s);
        dc->surface->Draw(c, s);
    }
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* pos) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !pos)
        return FALSE;
    *pos = dc->a.cur;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    POINT seg[2] = {ToDevice(dc, dc->a.cur.x, dc->a.cur.y), ToDevice(dc, x, y)};
    dc->a.cur = POINT{x, y};
    if (dc->path.open) {
        PathStartFigure(dc);
        PathAdd(dc, seg[1], PT_LINETO);
        return TRUE;
    }
    GdiCall c{GdiOp::LineTo};
    c.pts = seg;
    c.count = 2;
    Emit(dc, c);
    return TRUE;
}

static std::vector<POINT> DevicePoints(DcImpl* dc, const POINT* pts, int n) {
    std::vector<POINT> out(size_t(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i)
        out[size_t(i)] = ToDevice(dc, pts[i].x, pts[i].y);
    return out;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !pts || count < 2)
        return FALSE;
    std::vector<POINT> dev = DevicePoints(dc, pts, count);
    if (dc->path.open) {
        PathAdd(dc, dev[0], PT_MOVETO);
        for (int i = 1; i < count; ++i)
            PathAdd(dc, dev[size_t(i)], PT_LINETO);
        dc->path.figureOpen = true;
        return TRUE;
    }
    GdiCall c{GdiOp::Polyline};
    c.pts = dev.data();
    c.count = count;
    Emit(dc, c);
    return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* pts, DWORD count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !pts)
        return FALSE;
    if (count == 0)
        return TRUE;
    if (dc->path.open || count > DWORD(INT32_MAX - 1)) {
        for (DWORD i = 0; i < count; ++i)
            LineTo(hdc, pts[i].x, pts[i].y);
        return TRUE;
    }
    // One call for the whole run: the surface steps each line as LineTo would, and the window
    // is marked dirty once.
    static thread_local std::vector<POINT> dev;
    dev.resize(size_t(count) + 1);
    dev[0] = ToDevice(dc, dc->a.cur.x, dc->a.cur.y);
    for (DWORD i = 0; i < count; ++i)
        dev[size_t(i) + 1] = ToDevice(dc, pts[i].x, pts[i].y);
    dc->a.cur = pts[count - 1];
    GdiCall c{GdiOp::PolylineTo};
    c.pts = dev.data();
    c.count = int(count) + 1;
    Emit(dc, c);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !pts || count < 2)
        return FALSE;
    std::vector<POINT> dev = DevicePoints(dc, pts, count);
    if (dc->path.open) {
        std::vector<BYTE> types(dev.size(), PT_LINETO);
        types[0] = PT_MOVETO;
        PathAddClosed(dc, dev.data(), types.data(), count);
        return TRUE;
    }
    GdiCall c{GdiOp::Polygon};
    c.pts = dev.data();
    c.count = count;
    Emit(dc, c);
    return TRUE;
}

BOOL PolyBezier(HDC hdc, const POINT* pts, DWORD count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !pts || count < 4 || (count - 1) % 3 != 0)
        return FALSE;
    std::vector<POINT> dev = DevicePoints(dc, pts, int(count));
    if (dc->path.open) {
        PathAdd(dc, dev[0], PT_MOVETO);
        for (DWORD i = 1; i < count; ++i)
            PathAdd(dc, dev[i], PT_BEZIERTO);
        dc->path.figureOpen = true;
        return TRUE;
    }
    GdiCall c{GdiOp::PolyBezier};
    c.pts = dev.data();
    c.count = int(count);
    Emit(dc, c);
    return TRUE;
}

BOOL PolyBezierTo(HDC hdc, const POINT* pts, DWORD count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !pts || count < 3 || count % 3 != 0)
        return FALSE;
    std::vector<POINT> dev(count + 1);
    dev[0] = ToDevice(dc, dc->a.cur.x, dc->a.cur.y);
    for (DWORD i = 0; i < count; ++i)
        dev[i + 1] = ToDevice(dc, pts[i].x, pts[i].y);
    dc->a.cur = pts[count - 1];
    if (dc->path.open) {
        PathStartFigure(dc);
        for (DWORD i = 1; i <= count; ++i)
            PathAdd(dc, dev[i], PT_BEZIERTO);
        return TRUE;
    }
    // The recorded call starts at the current position, so it reads as one whole curve.
    GdiCall c{GdiOp::PolyBezierTo};
    c.pts = dev.data();
    c.count = int(count + 1);
    Emit(dc, c);
    return TRUE;
}

static BOOL ShapeCall(HDC hdc, GdiOp op, int l, int t, int r, int b, const POINT* extra,
                      int nExtra) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    RECT dev = ToDevice(dc, RECT{l, t, r, b});
    if (dc->path.open) {
        RECT n{std::min(dev.left, dev.right), std::min(dev.top, dev.bottom),
               std::max(dev.left, dev.right), std::max(dev.top, dev.bottom)};
        if (op == GdiOp::Rectangle || op == GdiOp::RoundRect) {
            AddRectToPath(dc, n);
        } else if (op == GdiOp::Ellipse) {
            POINT pts[13];
            BYTE types[13];
            int k = EllipseBeziers(n, pts, types);
            PathAddClosed(dc, pts, types, k);
        }
        return TRUE;
    }
    POINT pts[2];
    GdiCall c{op};
    c.rect = dev;
    if (nExtra) {
        for (int i = 0; i < nExtra && i < 2; ++i)
            pts[i] = op == GdiOp::RoundRect ? extra[i] : ToDevice(dc, extra[i].x, extra[i].y);
        c.pts = pts;
        c.count = nExtra;
    }
    Emit(dc, c);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int l, int t, int r, int b) {
    return ShapeCall(hdc, GdiOp::Rectangle, l, t, r, b, nullptr, 0);
}

BOOL Ellipse(HDC hdc, int l, int t, int r, int b) {
    return ShapeCall(hdc, GdiOp::Ellipse, l, t, r, b, nullptr, 0);
}

BOOL RoundRect(HDC hdc, int l, int t, int r, int b, int w, int h) {
    // The corner size rides along as a point; it is a size, not a position.
    POINT corner{w, h};
    return ShapeCall(hdc, GdiOp::RoundRect, l, t, r, b, &corner, 1);
}

BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    POINT radial[2] = {{xs, ys}, {xe, ye}};
    return ShapeCall(hdc, GdiOp::Arc, l, t, r, b, radial, 2);
}

static BrushImpl* BrushOf(HBRUSH h) {
    return As<BrushImpl>(h, OBJ_BRUSH);
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DcImpl* dc = Dc(hdc);
    BrushImpl* b = BrushOf(brush);
    if (!dc || !rect || !b)
        return 0;
    GdiCall c{GdiOp::FillRect};
    c.rect = ToDevice(dc, *rect);
    c.colour = b->colour;
    c.nullBrush = b->style == BS_NULL;
    Emit(dc, c);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DcImpl* dc = Dc(hdc);
    BrushImpl* b = BrushOf(brush);
    if (!dc || !rect || !b)
        return 0;
    GdiCall c{GdiOp::FrameRect};
    c.rect = ToDevice(dc, *rect);
    c.colour = b->colour;
    c.nullBrush = b->style == BS_NULL;
    Emit(dc, c);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !rect)
        return FALSE;
    GdiCall c{GdiOp::InvertRect};
    c.rect = ToDevice(dc, *rect);
    Emit(dc, c);
    return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
    DcImpl* dc = Dc(hdc);
    RegionImpl* r = Rgn(rgn);
    BrushImpl* b = BrushOf(brush);
    if (!dc || !r || !b)
        return FALSE;
    std::vector<RECT> dev;
    dev.reserve(r->rects.size());
    for (const RECT& rc : r->rects)
        dev.push_back(ToDevice(dc, rc));
    GdiCall c{GdiOp::FillRgn};
    c.rects = &dev;
    c.rect = BoundingBox(dev);
    c.colour = b->colour;
    c.nullBrush = b->style == BS_NULL;
    Emit(dc, c);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn) {
    DcImpl* dc = Dc(hdc);
    return dc ? FillRgn(hdc, rgn, dc->a.brush) : FALSE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return CLR_INVALID;
    POINT p = ToDevice(dc, x, y);
    GdiCall c{GdiOp::SetPixel};
    c.pts = &p;
    c.count = 1;
    c.colour = colour & 0xFFFFFF;
    Emit(dc, c);
    return colour & 0xFFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !dc->surface)
        return CLR_INVALID;
    POINT p = ToDevice(dc, x, y);
    return dc->surface->Pixel(p.x, p.y);
}

static const LOGFONTW* FontOf(DcImpl* dc) {
    auto* f = As<FontImpl>(dc->a.font, OBJ_FONT);
    return f ? &f->lf : nullptr;
}

BOOL TextOutW(HDC hdc, int x, int y, const wchar_t* text, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (!text && count > 0) || count < 0)
        return FALSE;
    POINT p = ToDevice(dc, x, y);
    GdiCall c{GdiOp::TextOut};
    c.pts = &p;
    c.count = 1;
    c.text = text;
    c.textLength = count;
    SIZE extent = platform::detail::MeasureText(FontOf(dc), text, count);
    c.rect = RECT{p.x, p.y, p.x + extent.cx, p.y + extent.cy};
    if (dc->a.textAlign & TA_CENTER) {
        LONG half = extent.cx / 2;
        c.rect.left -= (dc->a.textAlign & TA_CENTER) == TA_CENTER ? half : extent.cx;
        c.rect.right -= (dc->a.textAlign & TA_CENTER) == TA_CENTER ? half : extent.cx;
    }
    Emit(dc, c);
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, const wchar_t* text, int count, SIZE* size) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !size || count < 0 || (!text && count > 0))
        return FALSE;
    *size = platform::detail::MeasureText(FontOf(dc), text, count);
    return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !tm)
        return FALSE;
    *tm = platform::detail::FontMetrics(FontOf(dc));
    return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop) {
    DcImpl* d = Dc(dest);
    if (!d)
        return FALSE;
    DcImpl* s = Dc(src);
    bool needsSource = rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS &&
                       rop != WHITENESS;
    if (needsSource && (!s || !s->surface))
        return FALSE;
    POINT p = ToDevice(d, x, y);
    GdiCall c{needsSource ? GdiOp::BitBlt : GdiOp::PatBlt};
    c.rect = RECT{p.x, p.y, p.x + cx, p.y + cy};
    c.rasterOp = rop;
    if (needsSource) {
        c.source = s->surface;
        c.sourceOrigin = ToDevice(s, sx, sy);
    }
    Emit(d, c);
    return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int cx, int cy, DWORD rop) {
    return BitBlt(hdc, x, y, cx, cy, nullptr, 0, 0, rop);
}

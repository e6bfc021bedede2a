#include "platform/graphics/gdi.h"

#include "platform/graphics/gdi_internal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <unordered_set>

using platform::DrawState;
using platform::GdiCall;
using platform::GdiOp;

namespace {

std::unordered_set<const GdiObjectImpl*>& LiveObjects() {
    static std::unordered_set<const GdiObjectImpl*> live;
    return live;
}

std::unordered_set<const DcImpl*>& LiveDCs() {
    static std::unordered_set<const DcImpl*> live;
    return live;
}

ULONGLONG NextGeneration() {
    static ULONGLONG counter = 0;
    return ++counter;
}

template <class T> T* Track(T* obj) {
    LiveObjects().insert(obj);
    return obj;
}

template <class T> T* As(HGDIOBJ h, DWORD type) {
    if (!h || !LiveObjects().count(h) || h->type != type)
        return nullptr;
    return static_cast<T*>(h);
}

RegionImpl* Rgn(HRGN h) {
    return As<RegionImpl>(h, OBJ_REGION);
}

void FreeObject(GdiObjectImpl* obj) {
    LiveObjects().erase(obj);
    delete obj;
}

void Retain(HGDIOBJ obj) {
    if (obj)
        ++obj->selected;
}

void Release(HGDIOBJ obj) {
    if (!obj)
        return;
    if (--obj->selected <= 0 && obj->deletePending && !obj->stock)
        FreeObject(obj);
}

DcImpl* Dc(HDC hdc) {
    return hdc && LiveDCs().count(hdc) ? hdc : nullptr;
}

void Touch(DcImpl* dc) {
    dc->generation = NextGeneration();
}

LOGFONTW MakeFont(const wchar_t* face, int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

HGDIOBJ MakeStock(int id) {
    GdiObjectImpl* obj = nullptr;
    auto brush = [](UINT style, COLORREF c) {
        auto* b = new BrushImpl;
        b->style = style;
        b->colour = c;
        return b;
    };
    auto pen = [](int style, COLORREF c) {
        auto* p = new PenImpl;
        p->style = style;
        p->colour = c;
        return p;
    };
    switch (id) {
    case WHITE_BRUSH:
        obj = brush(BS_SOLID, 0xFFFFFF);
        break;
    case LTGRAY_BRUSH:
        obj = brush(BS_SOLID, 0xC0C0C0);
        break;
    case GRAY_BRUSH:
        obj = brush(BS_SOLID, 0x808080);
        break;
    case DKGRAY_BRUSH:
        obj = brush(BS_SOLID, 0x404040);
        break;
    case BLACK_BRUSH:
        obj = brush(BS_SOLID, 0);
        break;
    case NULL_BRUSH:
        obj = brush(BS_NULL, 0);
        break;
    case WHITE_PEN:
        obj = pen(PS_SOLID, 0xFFFFFF);
        break;
    case BLACK_PEN:
        obj = pen(PS_SOLID, 0);
        break;
    case NULL_PEN:
        obj = pen(PS_NULL, 0);
        break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: {
        auto* f = new FontImpl;
        f->lf = MakeFont(L"Courier New", 16, FW_NORMAL);
        obj = f;
        break;
    }
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT: {
        auto* f = new FontImpl;
        f->lf = MakeFont(L"MS Sans Serif", id == DEFAULT_GUI_FONT ? -11 : 16,
                         id == SYSTEM_FONT ? FW_BOLD : FW_NORMAL);
        obj = f;
        break;
    }
    case DEFAULT_PALETTE:
        obj = new PaletteImpl;
        break;
    default:
        return nullptr;
    }
    obj->stock = true;
    return Track(obj);
}

HGDIOBJ DefaultBitmap() {
    static HGDIOBJ bmp = [] {
        auto* b = new BitmapImpl;
        b->width = b->height = 1;
        b->stride = 4;
        b->bits.assign(4, 0);
        b->surface = std::make_unique<platform::RasterSurface>(b->bits.data(), 1, 1, 32, 4, true);
        b->stock = true;
        return static_cast<HGDIOBJ>(Track(b));
    }();
    return bmp;
}

// Logical to device under the text map mode.
inline POINT ToDevice(const DcImpl* dc, int x, int y) {
    return POINT{x - dc->a.winOrg.x + dc->a.vpOrg.x, y - dc->a.winOrg.y + dc->a.vpOrg.y};
}

inline POINT ToLogical(const DcImpl* dc, POINT p) {
    return POINT{p.x - dc->a.vpOrg.x + dc->a.winOrg.x, p.y - dc->a.vpOrg.y + dc->a.winOrg.y};
}

RECT ToDevice(const DcImpl* dc, const RECT& r) {
    POINT a = ToDevice(dc, r.left, r.top), b = ToDevice(dc, r.right, r.bottom);
    return RECT{a.x, a.y, b.x, b.y};
}

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

// Paths ---------------------------------------------------------------------------------------

void PathAdd(DcImpl* dc, POINT device, BYTE type) {
    dc->path.pts.push_back(device);
    dc->path.types.push_back(type);
}

// A drawing call inside a path starts a figure at the current position when none is open.
void PathStartFigure(DcImpl* dc) {
    if (!dc->path.figureOpen) {
        PathAdd(dc, ToDevice(dc, dc->a.cur.x, dc->a.cur.y), PT_MOVETO);
        dc->path.figureOpen = true;
    }
}

void PathCloseFigure(DcImpl* dc) {
    if (!dc->path.types.empty() && dc->path.figureOpen) {
        dc->path.types.back() |= PT_CLOSEFIGURE;
        dc->path.figureOpen = false;
    }
}

void PathAddClosed(DcImpl* dc, const POINT* pts, const BYTE* types, int n) {
    for (int i = 0; i < n; ++i)
        PathAdd(dc, pts[i], types[i]);
    dc->path.figureOpen = true;
    PathCloseFigure(dc);
}

constexpr double kKappa = 0.5522847498;

// Four cubic quarter arcs of the ellipse in the rectangle, starting at the right-hand point.
int EllipseBeziers(const RECT& r, POINT* out, BYTE* types) {
    double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
    double kx = rx * kKappa, ky = ry * kKappa;
    auto P = [](double x, double y) { return POINT{LONG(std::lround(x)), LONG(std::lround(y))}; };
    POINT pts[13] = {P(cx + rx, cy), P(cx + rx, cy - ky), P(cx + kx, cy - ry),
                     P(cx, cy - ry), P(cx - kx, cy - ry), P(cx - rx, cy - ky),
                     P(cx - rx, cy), P(cx - rx, cy + ky), P(cx - kx, cy + ry),
                     P(cx, cy + ry), P(cx + kx, cy + ry), P(cx + rx, cy + ky),
                     P(cx + rx, cy)};
    for (int i = 0; i < 13; ++i) {
        out[i] = pts[i];
        types[i] = i == 0 ? PT_MOVETO : PT_BEZIERTO;
    }
    return 13;
}

constexpr double kFlatTolerance = 0.5; // device units
constexpr int kFlatMaxDepth = 10;

void Subdivide(double x0, double y0, double x1, double y1, double x2, double y2, double x3,
               double y3, int depth, void (*sink)(void*, double, double), void* ctx) {
    double dx = x3 - x0, dy = y3 - y0;
    double len = std::sqrt(dx * dx + dy * dy);
    double d1, d2;
    if (len < 1e-9) {
        d1 = std::hypot(x1 - x0, y1 - y0);
        d2 = std::hypot(x2 - x0, y2 - y0);
    } else {
        d1 = std::fabs((x1 - x0) * dy - (y1 - y0) * dx) / len;
        d2 = std::fabs((x2 - x0) * dy - (y2 - y0) * dx) / len;
    }
    if (depth >= kFlatMaxDepth || std::max(d1, d2) <= kFlatTolerance) {
        sink(ctx, x3, y3);
        return;
    }
    double x01 = (x0 + x1) / 2, y01 = (y0 + y1) / 2, x12 = (x1 + x2) / 2, y12 = (y1 + y2) / 2;
    double x23 = (x2 + x3) / 2, y23 = (y2 + y3) / 2;
    double xa = (x01 + x12) / 2, ya = (y01 + y12) / 2, xb = (x12 + x23) / 2, yb = (y12 + y23) / 2;
    double xm = (xa + xb) / 2, ym = (ya + yb) / 2;
    Subdivide(x0, y0, x01, y01, xa, ya, xm, ym, depth + 1, sink, ctx);
    Subdivide(xm, ym, xb, yb, x23, y23, x3, y3, depth + 1, sink, ctx);
}

LONG RoundHalfAway(double v) {
    return LONG(v < 0 ? std::ceil(v - 0.5) : std::floor(v + 0.5));
}

struct FlattenSink {
    void (*sink)(void*, POINT);
    void* ctx;
    POINT last;
    POINT end;
};

void AddRectToPath(DcImpl* dc, const RECT& r) {
    POINT pts[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    BYTE types[4] = {PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO};
    PathAddClosed(dc, pts, types, 4);
}

} // namespace

// Flattening of one cubic; shared by FlattenPath and the raster surface so that both agree.
void FlattenBezier(POINT p0, POINT p1, POINT p2, POINT p3, void (*sink)(void*, POINT), void* ctx) {
    FlattenSink fs{sink, ctx, p0, p3};
    auto emit = [](void* c, double x, double y) {
        auto* f = static_cast<FlattenSink*>(c);
        POINT p{RoundHalfAway(x), RoundHalfAway(y)};
        bool isEnd = x == double(f->end.x) && y == double(f->end.y);
        if (p.x == f->last.x && p.y == f->last.y && !isEnd)
            return;
        f->last = p;
        f->sink(f->ctx, p);
    };
    Subdivide(p0.x, p0.y, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, 0, emit, &fs);
}

namespace platform::detail {

bool IsLiveObject(HGDIOBJ obj) {
    return obj && LiveObjects().count(obj);
}
bool IsLiveDC(HDC hdc) {
    return hdc && LiveDCs().count(hdc);
}

RECT BoundingBox(const std::vector<RECT>& rects) {
    if (rects.empty())
        return RECT{0, 0, 0, 0};
    RECT b = rects[0];
    for (const RECT& r : rects) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

// Band by band: within each horizontal band the x intervals of both sides are combined, then
// bands with equal intervals are merged vertically. Keeps regions small and canonical.
std::vector<RECT> CombineRects(const std::vector<RECT>& a, const std::vector<RECT>& b, int mode) {
    std::vector<LONG> ys;
    for (const auto* src : {&a, &b})
        for (const RECT& r : *src)
            if (r.right > r.left && r.bottom > r.top) {
                ys.push_back(r.top);
                ys.push_back(r.bottom);
            }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    auto inside = [mode](bool ia, bool ib) {
        switch (mode) {
        case RGN_AND:
            return ia && ib;
        case RGN_OR:
            return ia || ib;
        case RGN_XOR:
            return ia != ib;
        case RGN_DIFF:
            return ia && !ib;
        default:
            return ia;
        }
    };
    std::vector<RECT> out;
    std::vector<RECT> prevBand;
    std::vector<std::pair<LONG, int>> edges;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        LONG top = ys[i], bottom = ys[i + 1];
        edges.clear();
        // Coverage counts per side: +1/-1 at interval ends, side encoded in the second member.
        for (const RECT& r : a)
            if (r.top <= top && r.bottom >= bottom && r.right > r.left) {
                edges.push_back({r.left, 1});
                edges.push_back({r.right, -1});
            }
        for (const RECT& r : b)
            if (r.top <= top && r.bottom >= bottom && r.right > r.left) {
                edges.push_back({r.left, 2});
                edges.push_back({r.right, -2});
            }
        std::sort(edges.begin(), edges.end());
        std::vector<RECT> band;
        int ca = 0, cb = 0;
        size_t k = 0;
        bool open = false;
        LONG start = 0;
        while (k < edges.size()) {
            LONG x = edges[k].first;
            while (k < edges.size() && edges[k].first == x) {
                int e = edges[k].second;
                if (e == 1 || e == -1)
                    ca += e;
                else
                    cb += e / 2;
                ++k;
            }
            bool in = inside(ca > 0, cb > 0);
            if (in && !open) {
                open = true;
                start = x;
            } else if (!in && open) {
                open = false;
                band.push_back(RECT{start, top, x, bottom});
            }
        }
        // Merge with the band above when it has the same intervals and touches.
        bool merged = false;
        if (!band.empty() && band.size() == prevBand.size() && prevBand[0].bottom == top) {
            bool same = true;
            for (size_t j = 0; j < band.size() && same; ++j)
                same = band[j].left == prevBand[j].left && band[j].right == prevBand[j].right;
            if (same) {
                size_t first = out.size() - prevBand.size();
                for (size_t j = 0; j < band.size(); ++j) {
                    out[first + j].bottom = bottom;
                    prevBand[j].bottom = bottom;
                }
                merged = true;
            }
        }
        if (!merged) {
            out.insert(out.end(), band.begin(), band.end());
            prevBand = band;
        }
    }
    return out;
}

} // namespace platform::detail

using platform::detail::BoundingBox;
using platform::detail::CombineRects;

// Objects --------------------------------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF colour) {
    auto* p = new PenImpl;
    p->style = style;
    p->width = width < 0 ? 0 : width;
    p->colour = colour & 0xFFFFFF;
    return Track(p);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    return pen ? CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*) {
    if (!brush)
        return nullptr;
    // A cosmetic pen is always one pixel wide.
    if ((style & PS_TYPE_MASK) == PS_COSMETIC && width != 1)
        return nullptr;
    auto* p = new PenImpl;
    p->type = OBJ_EXTPEN;
    p->style = int(style);
    p->width = int(width);
    p->colour = brush->lbColor & 0xFFFFFF;
    if (brush->lbStyle == BS_NULL)
        p->style = (p->style & ~PS_STYLE_MASK) | PS_NULL;
    return Track(p);
}

HPALETTE CreatePalette(const LOGPALETTE* lp) {
    if (!lp || lp->palVersion != 0x300 || lp->palNumEntries == 0)
        return nullptr;
    auto* p = new PaletteImpl;
    p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
    return Track(p);
}

UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, PALETTEENTRY* entries) {
    auto* p = As<PaletteImpl>(pal, OBJ_PAL);
    if (!p)
        return 0;
    if (!entries)
        return UINT(p->entries.size());
    UINT n = 0;
    for (; n < count && start + n < p->entries.size(); ++n)
        entries[n] = p->entries[start + n];
    return n;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto* b = new BrushImpl;
    b->colour = colour & 0xFFFFFF;
    return Track(b);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF colour) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto* b = new BrushImpl;
    b->style = BS_HATCHED;
    b->hatch = hatch;
    b->colour = colour & 0xFFFFFF;
    return Track(b);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb)
        return nullptr;
    switch (lb->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(lb->lbColor);
    case BS_HATCHED:
        return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_NULL: {
        auto* b = new BrushImpl;
        b->style = BS_NULL;
        return Track(b);
    }
    default:
        return nullptr;
    }
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font)
        return nullptr;
    auto* f = new FontImpl;
    f->lf = *font;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return Track(f);
}

HGDIOBJ GetStockObject(int id) {
    static HGDIOBJ stock[DEFAULT_GUI_FONT + 1] = {};
    if (id < 0 || id > DEFAULT_GUI_FONT)
        return nullptr;
    if (!stock[id])
        stock[id] = MakeStock(id);
    return stock[id];
}

BOOL DeleteObject(HGDIOBJ obj) {
    if (!platform::detail::IsLiveObject(obj))
        return FALSE;
    if (obj->stock)
        return TRUE;
    if (obj->selected > 0) {
        // Still selected somewhere: freed when the last context deselects it.
        obj->deletePending = true;
        return TRUE;
    }
    FreeObject(obj);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
    return platform::detail::IsLiveObject(obj) ? obj->type : 0;
}

int GetObjectW(HGDIOBJ obj, int size, void* out) {
    if (!platform::detail::IsLiveObject(obj))
        return 0;
    switch (obj->type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: {
        auto* p = static_cast<PenImpl*>(obj);
        LOGPEN lp{UINT(p->style), POINT{p->width, 0}, p->colour};
        if (!out)
            return sizeof lp;
        if (size < int(sizeof lp))
            return 0;
        std::memcpy(out, &lp, sizeof lp);
        return sizeof lp;
    }
    case OBJ_BRUSH: {
        auto* b = static_cast<BrushImpl*>(obj);
        LOGBRUSH lb{b->style, b->colour, ULONG_PTR(b->hatch)};
        if (!out)
            return sizeof lb;
        if (size < int(sizeof lb))
            return 0;
        std::memcpy(out, &lb, sizeof lb);
        return sizeof lb;
    }
    case OBJ_FONT: {
        auto* f = static_cast<FontImpl*>(obj);
        if (!out)
            return sizeof f->lf;
        if (size < int(sizeof f->lf))
            return 0;
        std::memcpy(out, &f->lf, sizeof f->lf);
        return sizeof f->lf;
    }
    case OBJ_BITMAP: {
        auto* b = static_cast<BitmapImpl*>(obj);
        BITMAP bm{0, b->width, b->height, b->stride, 1, WORD(b->bpp), b->bits.data()};
        if (!out)
            return sizeof bm;
        if (size < int(sizeof bm))
            return 0;
        std::memcpy(out, &bm, sizeof bm);
        return sizeof bm;
    }
    default:
        return 0;
    }
}

COLORREF GetSysColor(int index) {
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_BTNHIGHLIGHT:
        return 0xFFFFFF;
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_BACKGROUND:
    case COLOR_WINDOWFRAME:
        return 0x000000;
    case COLOR_BTNFACE:
        return 0xF0F0F0;
    case COLOR_HIGHLIGHT:
        return 0xD77800;
    case COLOR_BTNSHADOW:
        return 0xA0A0A0;
    case COLOR_GRAYTEXT:
        return 0x6D6D6D;
    case COLOR_SCROLLBAR:
        return 0xC8C8C8;
    default:
        return 0xC0C0C0;
    }
}

HBRUSH GetSysColorBrush(int index) {
    static HBRUSH brushes[32] = {};
    if (index < 0 || index >= 32)
        return nullptr;
    if (!brushes[index]) {
        auto* b = new BrushImpl;
        b->colour = GetSysColor(index);
        b->stock = true;
        brushes[index] = Track(b);
    }
    return brushes[index];
}

// Regions ----------------------------------------------------------------------------------------

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    auto* r = new RegionImpl;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (right > left && bottom > top)
        r->rects.push_back(RECT{left, top, right, bottom});
    return Track(r);
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

static int RegionType(const RegionImpl* r) {
    return r->rects.empty() ? NULLREGION : r->rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    auto* r = Rgn(rgn);
    if (!r)
        return FALSE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    r->rects.clear();
    if (right > left && bottom > top)
        r->rects.push_back(RECT{left, top, right, bottom});
    return TRUE;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    auto* d = Rgn(dest);
    auto* ra = Rgn(a);
    if (!d || !ra || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (mode == RGN_COPY) {
        d->rects = ra->rects;
        return RegionType(d);
    }
    auto* rb = Rgn(b);
    if (!rb)
        return ERROR;
    d->rects = CombineRects(ra->rects, rb->rects, mode);
    return RegionType(d);
}

int GetRgnBox(HRGN rgn, RECT* box) {
    auto* r = Rgn(rgn);
    if (!r || !box)
        return ERROR;
    *box = BoundingBox(r->rects);
    return RegionType(r);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    auto* r = Rgn(rgn);
    if (!r)
        return ERROR;
    for (RECT& rc : r->rects) {
        rc.left += dx, rc.right += dx;
        rc.top += dy, rc.bottom += dy;
    }
    return RegionType(r);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    auto* r = Rgn(rgn);
    if (!r)
        return FALSE;
    for (const RECT& rc : r->rects)
        if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom)
            return TRUE;
    return FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
    auto* r = Rgn(rgn);
    if (!r || !rect)
        return FALSE;
    for (const RECT& rc : r->rects)
        if (std::max(rc.left, rect->left) < std::min(rc.right, rect->right) &&
            std::max(rc.top, rect->top) < std::min(rc.bottom, rect->bottom))
            return TRUE;
    return FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
    auto *ra = Rgn(a), *rb = Rgn(b);
    if (!ra || !rb)
        return FALSE;
    // Both are canonical after combining; compare through a XOR to be safe with hand-made ones.
    return CombineRects(ra->rects, rb->rects, RGN_XOR).empty();
}

int GetRegionRects(HRGN rgn, RECT* out, int max) {
    auto* r = Rgn(rgn);
    if (!r)
        return 0;
    int n = int(r->rects.size());
    for (int i = 0; out && i < n && i < max; ++i)
        out[i] = r->rects[i];
    return n;
}

// Device contexts ------------------------------------------------------------------------------

namespace platform {

HDC CreateSurfaceDC(Surface* surface) {
    auto* dc = new DcImpl;
    dc->surface = surface;
    dc->a.pen = GetStockObject(BLACK_PEN);
    dc->a.brush = GetStockObject(WHITE_BRUSH);
    dc->a.font = GetStockObject(SYSTEM_FONT);
    dc->a.palette = GetStockObject(DEFAULT_PALETTE);
    Retain(dc->a.pen);
    Retain(dc->a.brush);
    Retain(dc->a.font);
    Retain(dc->a.palette);
    dc->generation = NextGeneration();
    LiveDCs().insert(dc);
    return dc;
}

Surface* GetDCSurface(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->surface : nullptr;
}

} // namespace platform

HDC CreateCompatibleDC(HDC) {
    HDC dc = platform::CreateSurfaceDC(nullptr);
    dc->memoryDc = true;
    dc->a.bitmap = DefaultBitmap();
    Retain(dc->a.bitmap);
    dc->surface = static_cast<BitmapImpl*>(dc->a.bitmap)->surface.get();
    return dc;
}

static void ReleaseAttributes(DcAttributes& a) {
    Release(a.pen);
    Release(a.brush);
    Release(a.font);
    Release(a.bitmap);
    Release(a.palette);
}

static void RetainAttributes(DcAttributes& a) {
    Retain(a.pen);
    Retain(a.brush);
    Retain(a.font);
    Retain(a.bitmap);
    Retain(a.palette);
}

BOOL DeleteDC(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    ReleaseAttributes(dc->a);
    for (auto& s : dc->saved)
        ReleaseAttributes(s);
    LiveDCs().erase(dc);
    delete dc;
    return TRUE;
}

int SaveDC(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->a);
    RetainAttributes(dc->saved.back());
    return int(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    int n = int(dc->saved.size());
    int index = saved < 0 ? n + saved : saved - 1;
    if (index < 0 || index >= n)
        return FALSE;
    ReleaseAttributes(dc->a);
    dc->a = dc->saved[size_t(index)];
    for (int i = n - 1; i > index; --i)
        ReleaseAttributes(dc->saved[size_t(i)]);
    dc->saved.resize(size_t(index));
    if (dc->memoryDc)
        dc->surface = static_cast<BitmapImpl*>(dc->a.bitmap)->surface.get();
    Touch(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !platform::detail::IsLiveObject(obj) || obj->deletePending)
        return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (obj->type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        slot = &dc->a.pen;
        break;
    case OBJ_BRUSH:
        slot = &dc->a.brush;
        break;
    case OBJ_FONT:
        slot = &dc->a.font;
        break;
    case OBJ_PAL:
        slot = &dc->a.palette;
        break;
    case OBJ_BITMAP: {
        if (!dc->memoryDc)
            return nullptr;
        auto* bmp = static_cast<BitmapImpl*>(obj);
        // A bitmap lives in one memory context at a time.
        if (bmp->selected > 0 && obj != dc->a.bitmap)
            return nullptr;
        slot = &dc->a.bitmap;
        dc->surface = bmp->surface.get();
        break;
    }
    case OBJ_REGION:
        return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(hdc, obj)));
    default:
        return nullptr;
    }
    HGDIOBJ old = *slot;
    if (old == obj)
        return old;
    Retain(obj);
    *slot = obj;
    Touch(dc);
    Release(old);
    // The caller may delete the old object now; if it was pending and freed, its pointer is
    // still a useful token for re-selection only when it is alive, so return it as is.
    return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return dc->a.pen;
    case OBJ_BRUSH:
        return dc->a.brush;
    case OBJ_FONT:
        return dc->a.font;
    case OBJ_BITMAP:
        return dc->a.bitmap;
    case OBJ_PAL:
        return dc->a.palette;
    default:
        return nullptr;
    }
}

static std::vector<RECT> WholeSurface(DcImpl* dc) {
    if (!dc->surface)
        return {};
    return {RECT{0, 0, dc->surface->Width(), dc->surface->Height()}};
}

static int ClipType(DcImpl* dc) {
    if (!dc->a.hasClip)
        return SIMPLEREGION;
    return dc->a.clip.empty() ? NULLREGION : dc->a.clip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return ERROR;
    RegionImpl* r = Rgn(rgn);
    if (!r) {
        if (mode != RGN_COPY)
            return ERROR;
        dc->a.hasClip = false;
        dc->a.clip.clear();
        Touch(dc);
        return SIMPLEREGION;
    }
    if (mode == RGN_COPY) {
        dc->a.clip = r->rects;
    } else {
        std::vector<RECT> current = dc->a.hasClip ? dc->a.clip : WholeSurface(dc);
        dc->a.clip = CombineRects(current, r->rects, mode);
    }
    dc->a.hasClip = true;
    Touch(dc);
    return ClipType(dc);
}

int SelectClipRgn(HDC hdc, HRGN rgn) {
    return ExtSelectClipRgn(hdc, rgn, RGN_COPY);
}

static int CombineClipRect(HDC hdc, int l, int t, int r, int b, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return ERROR;
    RECT dev = ToDevice(dc, RECT{l, t, r, b});
    std::vector<RECT> current = dc->a.hasClip ? dc->a.clip : WholeSurface(dc);
    std::vector<RECT> rect;
    if (dev.right > dev.left && dev.bottom > dev.top)
        rect.push_back(dev);
    dc->a.clip = CombineRects(current, rect, mode);
    dc->a.hasClip = true;
    Touch(dc);
    return ClipType(dc);
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) {
    return CombineClipRect(hdc, l, t, r, b, RGN_DIFF);
}

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) {
    return CombineClipRect(hdc, l, t, r, b, RGN_AND);
}

int GetClipBox(HDC hdc, RECT* rect) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !rect)
        return ERROR;
    RECT box = dc->a.hasClip ? BoundingBox(dc->a.clip) : BoundingBox(WholeSurface(dc));
    POINT a = ToLogical(dc, POINT{box.left, box.top}),
          b = ToLogical(dc, POINT{box.right, box.bottom});
    *rect = RECT{a.x, a.y, b.x, b.y};
    return ClipType(dc);
}

int GetClipRgn(HDC hdc, HRGN rgn) {
    DcImpl* dc = Dc(hdc);
    RegionImpl* r = Rgn(rgn);
    if (!dc || !r)
        return -1;
    if (!dc->a.hasClip)
        return 0;
    r->rects = dc->a.clip;
    return 1;
}

#define DC_SETTER(Name, field, Type)                                                               \
    Type Set##Name(HDC hdc, Type v) {                                                              \
        DcImpl* dc = Dc(hdc);                                                                      \
        if (!dc)                                                                                   \
            return 0;                                                                              \
        Type old = dc->a.field;                                                                    \
        if (old != v) {                                                                            \
            dc->a.field = v;                                                                       \
            Touch(dc);                                                                             \
        }                                                                                          \
        return old;                                                                                \
    }                                                                                              \
    Type Get##Name(HDC hdc) {                                                                      \
        DcImpl* dc = Dc(hdc);                                                                      \
        return dc ? dc->a.field : 0;                                                               \
    }

int SetROP2(HDC hdc, int rop) {
    DcImpl* dc = Dc(hdc);
    if (!dc || rop < R2_BLACK || rop > R2_WHITE)
        return 0;
    int old = dc->a.rop;
    if (old != rop) {
        dc->a.rop = rop;
        Touch(dc);
    }
    return old;
}

int GetROP2(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->a.rop : 0;
}

int SetBkMode(HDC hdc, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    int old = dc->a.bkMode;
    if (old != mode) {
        dc->a.bkMode = mode;
        Touch(dc);
    }
    return old;
}

int GetBkMode(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->a.bkMode : 0;
}

DC_SETTER(BkColor, bkColour, COLORREF)
DC_SETTER(TextColor, textColour, COLORREF)
DC_SETTER(TextAlign, textAlign, UINT)

int SetMapMode(HDC hdc, int mode) {
    DcImpl* dc = Dc(hdc);
    if (!dc || mode != MM_TEXT)
        return 0;
    int old = dc->a.mapMode;
    dc->a.mapMode = mode;
    return old;
}

int GetMapMode(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    return dc ? dc->a.mapMode : 0;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->a.vpOrg;
    dc->a.vpOrg = POINT{x, y};
    return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, POINT* org) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !org)
        return FALSE;
    *org = dc->a.vpOrg;
    return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->a.winOrg;
    dc->a.winOrg = POINT{x, y};
    return TRUE;
}

BOOL GetWindowOrgEx(HDC hdc, POINT* org) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !org)
        return FALSE;
    *org = dc->a.winOrg;
    return TRUE;
}

BOOL LPtoDP(HDC hdc, POINT* pts, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (!pts && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = ToDevice(dc, pts[i].x, pts[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC hdc, POINT* pts, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || (!pts && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = ToLogical(dc, pts[i]);
    return TRUE;
}

// Drawing ----------------------------------------------------------------------------------------

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
    for (DWORD i = 0; i < count; ++i)
        LineTo(hdc, pts[i].x, pts[i].y);
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

// Paths ------------------------------------------------------------------------------------------

BOOL BeginPath(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    dc->path = PathState{};
    dc->path.open = true;
    EmitSimple(dc, GdiOp::BeginPath);
    return TRUE;
}

BOOL EndPath(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !dc->path.open)
        return FALSE;
    dc->path.open = false;
    dc->path.closed = true;
    EmitSimple(dc, GdiOp::EndPath);
    return TRUE;
}

BOOL AbortPath(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc)
        return FALSE;
    dc->path = PathState{};
    EmitSimple(dc, GdiOp::AbortPath);
    return TRUE;
}

BOOL CloseFigure(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !dc->path.open)
        return FALSE;
    PathCloseFigure(dc);
    return TRUE;
}

static BOOL DrawPath(HDC hdc, GdiOp op) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !dc->path.closed)
        return FALSE;
    PathState path = std::move(dc->path);
    dc->path = PathState{};
    GdiCall c{op};
    c.pts = path.pts.data();
    c.count = int(path.pts.size());
    c.types = path.types.data();
    if (c.count)
        Emit(dc, c);
    return TRUE;
}

BOOL StrokePath(HDC hdc) {
    return DrawPath(hdc, GdiOp::StrokePath);
}
BOOL FillPath(HDC hdc) {
    return DrawPath(hdc, GdiOp::FillPath);
}
BOOL StrokeAndFillPath(HDC hdc) {
    return DrawPath(hdc, GdiOp::StrokeAndFillPath);
}

BOOL FlattenPath(HDC hdc) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !dc->path.closed)
        return FALSE;
    PathState& p = dc->path;
    std::vector<POINT> pts;
    std::vector<BYTE> types;
    struct Out {
        std::vector<POINT>* pts;
        std::vector<BYTE>* types;
    } out{&pts, &types};
    for (size_t i = 0; i < p.pts.size();) {
        BYTE t = p.types[i] & ~PT_CLOSEFIGURE;
        if (t == PT_BEZIERTO && i > 0 && i + 2 < p.pts.size()) {
            POINT p0 = p.pts[i - 1];
            size_t before = pts.size();
            FlattenBezier(
                p0, p.pts[i], p.pts[i + 1], p.pts[i + 2],
                [](void* ctx, POINT q) {
                    auto* o = static_cast<Out*>(ctx);
                    o->pts->push_back(q);
                    o->types->push_back(PT_LINETO);
                },
                &out);
            if (p.types[i + 2] & PT_CLOSEFIGURE && pts.size() > before)
                types.back() |= PT_CLOSEFIGURE;
            i += 3;
        } else {
            pts.push_back(p.pts[i]);
            types.push_back(t == PT_BEZIERTO ? BYTE(PT_LINETO | (p.types[i] & PT_CLOSEFIGURE))
                                             : p.types[i]);
            ++i;
        }
    }
    p.pts = std::move(pts);
    p.types = std::move(types);
    return TRUE;
}

int GetPath(HDC hdc, POINT* pts, BYTE* types, int count) {
    DcImpl* dc = Dc(hdc);
    if (!dc || !dc->path.closed)
        return -1;
    int n = int(dc->path.pts.size());
    if (count == 0)
        return n;
    if (count < n || !pts || !types)
        return -1;
    for (int i = 0; i < n; ++i) {
        pts[i] = ToLogical(dc, dc->path.pts[size_t(i)]);
        types[i] = dc->path.types[size_t(i)];
    }
    return n;
}

// Bitmaps ----------------------------------------------------------------------------------------

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits)
        *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS)
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int bpp = h.biBitCount;
    if ((bpp != 24 && bpp != 32) || h.biCompression != BI_RGB || h.biWidth <= 0 ||
        h.biHeight == 0 || h.biPlanes != 1)
        return nullptr;
    int64_t width = h.biWidth, height = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
    int64_t stride = ((width * bpp + 31) / 32) * 4;
    // Refuse sizes no drawing of this program needs; they would only exhaust memory.
    if (width > 65536 || height > 65536 || stride * height > (int64_t(1) << 31))
        return nullptr;
    auto* b = new BitmapImpl;
    b->width = int(width);
    b->height = int(height);
    b->bpp = bpp;
    b->stride = int(stride);
    b->bottomUp = h.biHeight > 0;
    b->bits.assign(size_t(stride * height), 0);
    b->surface = std::make_unique<platform::RasterSurface>(b->bits.data(), b->width, b->height, bpp,
                                                           b->stride, b->bottomUp);
    if (bits)
        *bits = b->bits.data();
    return Track(b);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
}

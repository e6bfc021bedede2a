// Paths: recording figures between BeginPath and EndPath, stroking, filling and flattening.
#include "platform/graphics/gdi.h"

#include "platform/graphics/gdi_internal.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace platform::detail;
using platform::DrawState;
using platform::GdiCall;
using platform::GdiOp;

namespace platform::detail {

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

void AddRectToPath(DcImpl* dc, const RECT& r) {
    POINT pts[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    BYTE types[4] = {PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO};
    PathAddClosed(dc, pts, types, 4);
}

} // namespace platform::detail

namespace {

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

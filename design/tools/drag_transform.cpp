#include "design/tools/drag_transform.h"

#include <cmath>
#include <cstdlib>

namespace {

struct Box {
    int64_t x1, y1, x2, y2;
};

// Truncation toward zero of a double that may not fit 32 bits.
int64_t Trunc(double v) {
    constexpr double kLimit = 9.0e15;
    if (!(v == v))
        return 0;
    return int64_t(std::trunc(std::fmax(-kLimit, std::fmin(kLimit, v))));
}

int64_t SignLike(int64_t magnitude, int64_t sign) {
    return sign < 0 ? -magnitude : magnitude;
}

} // namespace

bool ComputeDragTransform(const CDragInput& in, CMat2d& out) {
    const CWindow& e = in.extents;
    if (e.x2 < e.x1 || e.y2 < e.y1)
        return false;
    const Box E{e.x1, e.y1, e.x2, e.y2};
    const int64_t W = E.x2 - E.x1, H = E.y2 - E.y1;
    const int64_t cx = (E.x1 + E.x2) / 2, cy = (E.y1 + E.y2) / 2;
    const HandleType h = in.handle;

    int64_t rx = cx, ry = cy;
    switch (h) {
    case eHandleLeft:
        rx = E.x1;
        break;
    case eHandleRight:
        rx = E.x2;
        break;
    case eHandleTop:
        ry = E.y2;
        break;
    case eHandleBottom:
        ry = E.y1;
        break;
    case eHandleTopLeft:
        rx = E.x1, ry = E.y2;
        break;
    case eHandleTopRight:
        rx = E.x2, ry = E.y2;
        break;
    case eHandleBottomLeft:
        rx = E.x1, ry = E.y1;
        break;
    case eHandleBottomRight:
        rx = E.x2, ry = E.y1;
        break;
    case eHandleBody:
        rx = in.press.x, ry = in.press.y;
        break;
    case eHandleCentre:
        break;
    default:
        return false;
    }
    int64_t dx = int64_t(in.pointer.x) - rx, dy = int64_t(in.pointer.y) - ry;
    Box N = E;
    const bool sym = in.symmetric;

    switch (h) {
    case eHandleLeft:
        N.x1 = E.x1 + dx;
        if (sym)
            N.x2 = E.x2 - dx;
        break;
    case eHandleRight:
        N.x2 = E.x2 + dx;
        if (sym)
            N.x1 = E.x1 - dx;
        break;
    case eHandleTop:
        N.y2 = E.y2 + dy;
        if (sym)
            N.y1 = E.y1 - dy;
        break;
    case eHandleBottom:
        N.y1 = E.y1 + dy;
        if (sym)
            N.y2 = E.y2 - dy;
        break;
    case eHandleTopLeft:
    case eHandleTopRight:
    case eHandleBottomLeft:
    case eHandleBottomRight: {
        const bool left = h == eHandleTopLeft || h == eHandleBottomLeft;
        const bool top = h == eHandleTopLeft || h == eHandleTopRight;
        (left ? N.x1 : N.x2) += dx;
        (top ? N.y2 : N.y1) += dy;
        if (sym) {
            (left ? N.x2 : N.x1) -= dx;
            (top ? N.y1 : N.y2) -= dy;
        }
        // Without a width or a height there is no ratio to keep: the drag stays free.
        if (in.free || W == 0 || H == 0)
            break;
        const double r = double(W) / double(H);
        int64_t w = N.x2 - N.x1, ht = N.y2 - N.y1;
        if (double(std::llabs(ht)) * r < double(std::llabs(w))) {
            ht = SignLike(Trunc(double(std::llabs(w)) / r), ht);
            if (sym) {
                N.y1 = cy - ht / 2;
                N.y2 = cy + ht / 2;
            } else if (h == eHandleTopLeft) {
                N.y2 = E.y1 + ht;
            } else if (h == eHandleTopRight) {
                N.y2 = N.y1 + ht;
            } else {
                N.y1 = N.y2 - ht;
            }
        } else {
            w = SignLike(Trunc(double(std::llabs(ht)) * r), w);
            if (sym) {
                N.x1 = cx - w / 2;
                N.x2 = cx + w / 2;
            } else if (left) {
                N.x1 = N.x2 - w;
            } else {
                N.x2 = N.x1 + w;
            }
        }
        break;
    }
    case eHandleCentre:
    case eHandleBody:
        if (sym) {
            if (std::llabs(dy) < std::llabs(dx))
                dy = 0;
            else
                dx = 0;
        }
        N = Box{E.x1 + dx, E.y1 + dy, E.x2 + dx, E.y2 + dy};
        break;
    default:
        break;
    }

    // A side that had a length and lost it would flatten the selection for good.
    if ((W != 0 && N.x2 == N.x1) || (H != 0 && N.y2 == N.y1))
        return false;
    const double sx = W == 0 ? 1.0 : double(N.x2 - N.x1) / double(W);
    const double sy = H == 0 ? 1.0 : double(N.y2 - N.y1) / double(H);
    CMat2d m = CMat2d(CDpoint(-double(E.x1), -double(E.y1))) * CMat2d(CScale(sx, sy)) *
               CMat2d(CDpoint(double(N.x1), double(N.y1)));
    switch (h) {
    case eHandleCentre:
    case eHandleBody:
        m.m0 = 1.0;
        m.m4 = 1.0;
        break;
    case eHandleLeft:
    case eHandleRight:
        m.m4 = 1.0;
        m.m7 = 0.0;
        break;
    case eHandleTop:
    case eHandleBottom:
        m.m0 = 1.0;
        m.m6 = 0.0;
        break;
    default:
        break;
    }
    out = m;
    return true;
}

// Regions: banded rectangle lists and the calls that make, combine and test them.
#include "platform/graphics/gdi.h"

#include "platform/graphics/gdi_internal.h"

#include <algorithm>

namespace platform::detail {

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

using namespace platform::detail;

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

#include "design/tools/arrange_geometry.h"

#include "design/select_tool.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace {

int64_t Centre2(const CWindow& w, bool vertical) {
    return vertical ? int64_t(w.y1) + w.y2 : int64_t(w.x1) + w.x2;
}

LONG Span(const CWindow& w, bool vertical) {
    return vertical ? w.y2 - w.y1 : w.x2 - w.x1;
}

LONG Low(const CWindow& w, bool vertical) {
    return vertical ? w.y1 : w.x1;
}

LONG High(const CWindow& w, bool vertical) {
    return vertical ? w.y2 : w.x2;
}

CSize Along(int64_t d, bool vertical) {
    return vertical ? CSize(0, int(d)) : CSize(int(d), 0);
}

} // namespace

int ArrangeReference(const std::vector<CWindow>& e, int hint, EArrangeWork work,
                     const int band[4]) {
    if (e.empty())
        return -1;
    if (hint == 1)
        return int(e.size()) - 1;
    if (hint < eHandleTopLeft || hint > eHandleBottomRight)
        return -1;
    int best = 0;
    if (work == EArrangeWork::eSize) {
        const double px = band[2], py = band[1];
        double bestD = INFINITY;
        for (size_t i = 0; i < e.size(); ++i) {
            const CLpoint c = e[i].fnCentre();
            const double d = std::hypot(c.x - px, c.y - py);
            if (d < bestD)
                bestD = d, best = int(i);
        }
        return best;
    }
    const bool vertical = work == EArrangeWork::eVertical;
    // Left corners and bottom corners look for the low edge, the others for the high one.
    const bool low = vertical ? (hint == eHandleBottomLeft || hint == eHandleBottomRight)
                              : (hint == eHandleTopLeft || hint == eHandleBottomLeft);
    for (size_t i = 1; i < e.size(); ++i) {
        if (low ? Low(e[i], vertical) < Low(e[best], vertical)
                : High(e[i], vertical) > High(e[best], vertical))
            best = int(i);
    }
    return best;
}

CSize AlignMove(UINT id, const CWindow& ref, const CWindow& o) {
    switch (id) {
    case CSelectTool::ID_ALIGN_LEFT:
        return CSize(ref.x1 - o.x1, 0);
    case CSelectTool::ID_ALIGN_RIGHT:
        return CSize(ref.x2 - o.x2, 0);
    case CSelectTool::ID_ALIGN_TOP:
        return CSize(0, ref.y2 - o.y2);
    case CSelectTool::ID_ALIGN_BOTTOM:
        return CSize(0, ref.y1 - o.y1);
    default:
        return CSize(0, 0);
    }
}

std::vector<int> StableOrder(const std::vector<CWindow>& e, bool vertical, bool byCentre) {
    std::vector<int> order(e.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return byCentre ? Centre2(e[size_t(a)], vertical) < Centre2(e[size_t(b)], vertical)
                        : Low(e[size_t(a)], vertical) < Low(e[size_t(b)], vertical);
    });
    return order;
}

std::vector<CSize> SpacingMoves(const std::vector<CWindow>& e, bool vertical) {
    std::vector<CSize> moves(e.size());
    if (e.size() < 3)
        return moves;
    const std::vector<int> order = StableOrder(e, vertical, true);
    int64_t total = 0;
    for (const CWindow& w : e)
        total += Span(w, vertical);
    const CWindow& first = e[size_t(order.front())];
    const CWindow& last = e[size_t(order.back())];
    const int64_t gap =
        (int64_t(High(last, vertical)) - Low(first, vertical) - total) / int64_t(e.size() - 1);
    int64_t previousEnd = High(first, vertical);
    for (size_t k = 1; k + 1 < order.size(); ++k) {
        const CWindow& w = e[size_t(order[k])];
        const int64_t start = previousEnd + gap;
        moves[size_t(order[k])] = Along(start - Low(w, vertical), vertical);
        previousEnd = start + Span(w, vertical);
    }
    return moves;
}

bool SameSizeBox(UINT id, const CWindow& r, const CWindow& o, CWindow& to) {
    const double rw = double(r.x2) - r.x1, rh = double(r.y2) - r.y1;
    const double ow = double(o.x2) - o.x1, oh = double(o.y2) - o.y1;
    double dw = 0, dh = 0;
    switch (id) {
    case CSelectTool::ID_SIZE_SAME_WIDTH:
        dw = rw - ow;
        dh = rw == 0 || ow == 0 ? 0 : std::trunc((rw / ow - 1) * oh);
        break;
    case CSelectTool::ID_SIZE_STRETCH_WIDTH:
        dw = rw - ow;
        break;
    case CSelectTool::ID_SIZE_STRETCH_HEIGHT:
        dh = rh - oh;
        break;
    case CSelectTool::ID_SIZE_STRETCH_BOTH:
        dw = rw - ow;
        dh = rh - oh;
        break;
    case CSelectTool::ID_SIZE_SAME_HEIGHT:
        dw = rh == 0 || oh == 0 ? 0 : std::trunc((rh / oh - 1) * ow);
        dh = rh - oh;
        break;
    case CSelectTool::ID_SIZE_MIN_MAX:
        if (rw != 0 && rh != 0 && ow != 0 && oh != 0) {
            if (ow / oh > rw / rh) {
                dw = rw - ow;
                dh = std::trunc((rw / ow - 1) * oh);
            } else {
                dw = std::trunc((rh / oh - 1) * ow);
                dh = rh - oh;
            }
        }
        break;
    default:
        return false;
    }
    // A zero side has no scale that makes it grow.
    if ((ow == 0 && dw != 0) || (oh == 0 && dh != 0))
        return false;
    const int64_t hw = int64_t(dw) / 2, hh = int64_t(dh) / 2;
    to = CWindow(LONG(o.x1 - hw), LONG(o.y1 - hh), LONG(o.x2 + hw), LONG(o.y2 + hh));
    return true;
}

CMat2d FlipMatrix(const CWindow& s, bool vertical) {
    const CDpoint c((double(s.x1) + s.x2) / 2, (double(s.y1) + s.y2) / 2);
    return CMat2d(-c) * CMat2d(CScale(vertical ? 1.0 : -1.0, vertical ? -1.0 : 1.0)) * CMat2d(c);
}

std::vector<CSize> JoinMoves(const std::vector<CWindow>& e, int anchor, bool vertical) {
    std::vector<CSize> moves(e.size());
    if (anchor < 0 || size_t(anchor) >= e.size())
        return moves;
    std::vector<CWindow> others;
    std::vector<int> index;
    for (size_t i = 0; i < e.size(); ++i)
        if (int(i) != anchor)
            others.push_back(e[i]), index.push_back(int(i));
    const std::vector<int> order = StableOrder(others, vertical, false);
    const CWindow& a = e[size_t(anchor)];
    const LONG start = Low(a, vertical);
    // Widths of the entries before the anchor that are still to be placed after each.
    int64_t before = 0;
    for (int k : order)
        if (Low(others[size_t(k)], vertical) < start)
            before += Span(others[size_t(k)], vertical);
    int64_t previousEnd = High(a, vertical);
    for (int k : order) {
        const CWindow& w = others[size_t(k)];
        int64_t d;
        if (Low(w, vertical) < start) {
            before -= Span(w, vertical);
            d = int64_t(start) - High(w, vertical) - before;
        } else {
            d = previousEnd - Low(w, vertical);
            previousEnd += Span(w, vertical);
        }
        moves[size_t(index[size_t(k)])] = Along(d, vertical);
    }
    return moves;
}

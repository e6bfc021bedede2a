#include "platform/framework/dock_layout.h"

#include <algorithm>

namespace platform {

namespace {

// Fills lines along an edge: `along` is the room in the line's direction. Each bar gets its
// offset in the line and the line's index; the lines' thicknesses are returned.
struct Placed {
    int offset = 0;
    int line = 0;
};

std::vector<int> FillLines(const std::vector<CSize>& sizes, bool rows, int along,
                           std::vector<Placed>& placed) {
    std::vector<int> thickness;
    int used = 0;
    for (const CSize& s : sizes) {
        const int length = std::min<int>(rows ? s.cx : s.cy, along);
        const int across = std::max<int>(0, rows ? s.cy : s.cx);
        if (thickness.empty() || (used > 0 && used + length > along)) {
            thickness.push_back(0);
            used = 0;
        }
        placed.push_back(Placed{used, int(thickness.size()) - 1});
        used += std::max(0, length);
        thickness.back() = std::max(thickness.back(), across);
    }
    return thickness;
}

} // namespace

DockLayout LayoutDockedBars(const CRect& client, const std::vector<DockedBar>& bars) {
    DockLayout out;
    out.bars.assign(bars.size(), CRect());
    CRect rest = client;
    rest.right = std::max(rest.left, rest.right);
    rest.bottom = std::max(rest.top, rest.bottom);

    for (DockSide side : {DockSide::Top, DockSide::Bottom, DockSide::Left, DockSide::Right}) {
        const bool rows = side == DockSide::Top || side == DockSide::Bottom;
        std::vector<size_t> which;
        std::vector<CSize> sizes;
        for (size_t i = 0; i < bars.size(); ++i)
            if (bars[i].side == side) {
                which.push_back(i);
                sizes.push_back(bars[i].size);
            }
        if (which.empty())
            continue;
        const int along = rows ? rest.Width() : rest.Height();
        std::vector<Placed> placed;
        const std::vector<int> thickness = FillLines(sizes, rows, along, placed);
        // Where each line starts across the edge, the first line outermost.
        std::vector<int> start(thickness.size());
        int total = 0;
        for (size_t l = 0; l < thickness.size(); ++l) {
            switch (side) {
            case DockSide::Top:
                start[l] = rest.top + total;
                break;
            case DockSide::Bottom:
                start[l] = rest.bottom - total - thickness[l];
                break;
            case DockSide::Left:
                start[l] = rest.left + total;
                break;
            case DockSide::Right:
                start[l] = rest.right - total - thickness[l];
                break;
            }
            total += thickness[l];
        }
        for (size_t k = 0; k < which.size(); ++k) {
            const CSize& s = sizes[k];
            const int length = std::max(0, std::min<int>(rows ? s.cx : s.cy, along));
            const int across = std::max<int>(0, rows ? s.cy : s.cx);
            const int at = start[size_t(placed[k].line)];
            CRect& r = out.bars[which[k]];
            if (rows)
                r = CRect(rest.left + placed[k].offset, at, rest.left + placed[k].offset + length,
                          at + across);
            else
                r = CRect(at, rest.top + placed[k].offset, at + across,
                          rest.top + placed[k].offset + length);
        }
        // The bars may want more than there is: the rest shrinks to nothing, not below.
        switch (side) {
        case DockSide::Top:
            rest.top = std::min<LONG>(rest.bottom, rest.top + total);
            break;
        case DockSide::Bottom:
            rest.bottom = std::max<LONG>(rest.top, rest.bottom - total);
            break;
        case DockSide::Left:
            rest.left = std::min<LONG>(rest.right, rest.left + total);
            break;
        case DockSide::Right:
            rest.right = std::max<LONG>(rest.left, rest.right - total);
            break;
        }
    }
    out.rest = rest;
    return out;
}

} // namespace platform

// Where a frame's docked bars go. Bars of the top and bottom edges fill rows side by side in
// their order while they fit the client width; one that does not fit starts the next row (top
// rows stack downwards from the top edge, bottom rows upwards from the bottom edge). Bars of
// the left and right edges then fill columns the same way in the height the rows leave, from
// their edge inwards. What is left over holds the frame's view.
#pragma once

#include "platform/core/crect.h"

#include <vector>

namespace platform {

enum class DockSide { Top, Bottom, Left, Right };

struct DockedBar {
    DockSide side = DockSide::Top;
    CSize size; // what the bar wants; across its edge it gets at most the client's extent
};

struct DockLayout {
    std::vector<CRect> bars; // one per input bar, in input order
    CRect rest;              // what the bars leave; never of negative size
};

DockLayout LayoutDockedBars(const CRect& client, const std::vector<DockedBar>& bars);

} // namespace platform

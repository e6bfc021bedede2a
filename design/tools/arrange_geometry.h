// Arrange geometry: the moves and boxes behind the select tool's align, space, size, flip and
// join commands, over the selection entries' extents (data units, y up) in selection order.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "pivora/geometry/mat2d.h"
#include "platform/core/crect.h"

#include <vector>

// What a reference entry is picked for.
enum class EArrangeWork { eHorizontal, eVertical, eSize };

// The reference entry's index, or -1 for none. hint is the select tool's reference hint (1
// after a click, 6 to 9 the start corner of a band); band holds the band's start and end
// points (x, y, x, y).
int ArrangeReference(const std::vector<CWindow>& e, int hint, EArrangeWork work, const int band[4]);

// The move that aligns entry o with the reference for commands 43031 to 43034.
CSize AlignMove(UINT id, const CWindow& ref, const CWindow& o);

// Entries in the order of key, ascending; equal keys keep their order.
std::vector<int> StableOrder(const std::vector<CWindow>& e, bool vertical, bool byCentre);

// One move per entry (in the given order) that spaces them evenly between the first and the
// last by their centres' order; the ends stay.
std::vector<CSize> SpacingMoves(const std::vector<CWindow>& e, bool vertical);

// The box entry o is stretched onto for commands 43017 to 43022; false when the entry cannot
// take the change (a zero side that would have to grow).
bool SameSizeBox(UINT id, const CWindow& ref, const CWindow& o, CWindow& to);

// The mirror about the selection's horizontal (43038) or vertical (43039) centre line.
CMat2d FlipMatrix(const CWindow& selection, bool vertical);

// One move per entry that packs the entries edge to edge against the anchor: those starting
// before it end at its near edge, the others follow from its far edge.
std::vector<CSize> JoinMoves(const std::vector<CWindow>& e, int anchor, bool vertical);

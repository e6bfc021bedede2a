// The rules of the cut-output sheet's pages and of tiling, as plain functions over the
// settings record, so that they hold the same with or without the sheet's windows.
#pragma once

#include "maltrec/output_settings.h"

#include "pivora/geometry/geometry_types.h"
#include "platform/core/cstring.h"

#include <cstdint>
#include <vector>

// Lengths as the output page shows them: millimetres with one decimal, or inches with two.
CString FnFormatLength(int32_t value, int inch);
// Typed text back to data units, truncated; text that is no number gives 0, and values beyond
// the 32-bit range stop at its ends.
int32_t FnParseLength(const CString& text, int inch);
// One spin click: 0.1 mm or 0.01 in.
int32_t FnLengthStep(int inch);

// The tiling window: the sheet with its top lowered by 1 mm, narrowed against its right and
// bottom edges to the tile size plus the overlap on either side where that is smaller.
CWindow FnTileWindow(const CWindow& sheet, int32_t tileWidth, int32_t tileHeight, int32_t overlap);
// The advance from one tile to the next along an axis whose window is `window` wide: the
// window truncated to whole millimetres less the overlap; 0 or less means tiling cannot advance.
int64_t FnTileAdvance(int64_t window, int32_t overlap);
// Tiles along a job `length` long, counted as the tiling loop steps: 0 when it cannot advance.
int64_t FnTilesAlong(int64_t length, int64_t advance);
// The tile list: "ALL" and then 1 .. count (held at a sane number of rows).
std::vector<CString> FnTileList(int64_t count);

struct StSelectEnables {
    bool currentSelection, colourSelection, velmMarks, eachObject;
};
StSelectEnables FnSelectPageEnables(const StOutputSettings& s);

struct StOutputEnables {
    bool copies, autoRotate, weedBox, weedSize, tiling, tileFields, tileList, feedChoices,
        cutOffAfterFeed, velmSheetMode, preload;
};
StOutputEnables FnOutputPageEnables(const StOutputSettings& s);
// What the output page changes when it opens or becomes active: no cut-off without a feed,
// a feed after each copy in VELM mode or with Brevnar, and weed box and tiling exclusive (the
// weed box wins).
void FnOutputPageCoerce(StOutputSettings& s);
// Order and start-point modes the sorting page cannot show become 0.
void FnSortingPageCoerce(StOutputSettings& s);

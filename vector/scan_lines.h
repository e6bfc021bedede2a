// Scan-line hatching: the inside of a set of path articles filled with parallel straight
// strokes at a given spacing and angle, as a cutter or plotter draws a fill.
#pragma once

#include "pivora/article.h"
#include "vector/vector_item.h"

#include "platform/core/ob_array.h"
#include "platform/core/typed_ptr_array.h"

// Flags of FnGenerateScanLines.
constexpr int SCAN_FIT_HEIGHT = 1; // fit the lines evenly into the shapes' height
constexpr int SCAN_ZIG_ZAG = 2;    // odd-numbered lines run right to left
constexpr int SCAN_BREAK_MODE = 4; // every stroke's mode word is the break mark 0x200

// Hatch strokes for the articles' own path items, each stroke's mode word the index of its
// line from the lowest (or 0x200). step flattens arcs (data units), spacing parts the lines,
// angle (degrees, counter-clockwise) turns them. Returns an array of count strokes that the
// caller deletes with delete[], or null with count 0 when there are none or an argument is
// not usable (step or spacing not positive). The articles are not changed.
CDb* FnGenerateScanLines(CTypedPtrArray<CObArray, CArticle*>& articles, int step, double spacing,
                         double angle, int& count, int flags);
CDb* FnGenerateScanLines(CArticleList& articles, int step, double spacing, double angle, int& count,
                         int flags);

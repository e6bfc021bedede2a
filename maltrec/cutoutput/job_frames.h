// The paths a send adds to a job: the weeding frame round it and the outline of each tile.
#pragma once

#include "pivora/geometry/geometry_types.h"

class CArticle;
class CVectorArticle;

// Two open corner paths round rect, (x1,y2) (x1,y1) (x2,y1) and (x2,y1) (x2,y2) (x1,y2), as
// children of job.
void FnAddWeedBox(CArticle* job, const CWindow& rect);
// An empty frame article for tiling, added to job once.
CVectorArticle* FnAddTileFrame(CArticle* job);
// The frame becomes the closed outline of tile.
void FnSetTileFrame(CVectorArticle* frame, const CWindow& tile);
// For every article of job with an item: the curve filter of the application parameters
// "Filter Length" and "Filter Deviation", then fresh curves and path elements.
void FnApplyCurveFilter(CArticle* job);

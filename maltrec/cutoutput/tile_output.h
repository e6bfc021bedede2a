// Cutting a job in tiles: a window of the tile size plus the overlap on either side, stepped
// across the job column by column, each tile clipped and placed on the medium on its own.
#pragma once

#include "maltrec/output_settings.h"

#include "pivora/geometry/geometry_types.h"

class CArticle;
class CMediaManagerBlk;

struct StTileSteps {
    int64_t w = 0, h = 0;               // the window, truncated to whole millimetres
    int64_t advanceX = 0, advanceY = 0; // w and h less the overlap
    bool CanAdvance() const { return advanceX > 0 && advanceY > 0; }
};
StTileSteps FnTileSteps(CMediaManagerBlk* medMan, const StOutputSettings& s);

// The tiles of one job, for every copy; the media manager's spacing comes back afterwards.
// Returns 0 when a placement failed. The caller has checked that the steps can advance.
int FnCutTiles(CMediaManagerBlk* medMan, CArticle* job, const CWindow& rect,
               const StOutputSettings& s);

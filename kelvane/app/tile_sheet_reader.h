// What the tile library is told of the program's sheet documents: the sheet of the media manager
// block and the drawing of the sheet's active root (the copies placed and their footprints).
#pragma once

#include "outside/quintar/quintar.h"

// The reader the tile views use; installed once, as the templates are registered.
CQuintar::SheetReader FnTileSheetReader();

// The block that loads the registration marks into a VELM cutter before a marked job.
#pragma once

#include "maltrec/send_to_cutter.h"

class CCutterInstance;

// Data units to the cutter's 0.025 mm, rounded half away from zero.
int32_t FnMarkerUnits(int32_t dataUnits);
// The DM/PL block: its start, the four marker lines, the mark count, the sheet-mode line when
// asked, the load and the end; then one reply read and not examined, and the initialisation.
void FnSendVelmMarkerBlock(CCutterInstance* cutter, const StVelmMarkers& marks, int sheetMode);

// The one road from a design to the cutter: marks, media manager, settings, sorted paths moved
// onto copies, weeding frames, the curve filter, tiling and the jobs handed to the media
// manager, which nests them on its sheets and draws them onto the cutter's output context.
// The design is left as it was, whatever way the send ends.
#pragma once

#include <cstdint>

#include "hobrand/media_manager_setup.h"

class CDesignPage;
class CJoxView;

// What the registration-mark finder reports: distances and sizes in data units in the
// cutter's axes (X along the design's y axis), and the number of marks along x.
struct StVelmMarkers {
    int32_t xDist = 0, yDist = 0, xSize = 0, ySize = 0, xN = 0;
};

// The design page's registration-mark finder: first with the coarse tolerance, then the fine.
int FnFindVelmMarks(CDesignPage* page, int mode, StVelmMarkers* out);

// The neighbours the send asks for marks and for its media manager (tests put their own in).
// A missing finder finds no marks; a missing set-up gives no media manager: nothing is sent.
struct StSendServices {
    // marksFound, anyMode, autoSend -> the block to cut with, or null.
    CMediaManagerBlk* (*medManSetup)(int marksFound, int anyMode, int autoSend) = g_fnMedManSetup;
    // mode 0 or 1 -> non-zero when marks were found, with out filled.
    int (*findMarks)(CDesignPage* page, int mode, StVelmMarkers* out) = FnFindVelmMarks;
};
StSendServices& FnSendServices();

// 1 when an output was started (and ended), else 0.
int g_fnSendDesignToCutter(CDesignPage* page, CJoxView* view, int velm, int autoSend);
void g_fnSetDesignSizeToCutter(CDesignPage* page, CJoxView* view);

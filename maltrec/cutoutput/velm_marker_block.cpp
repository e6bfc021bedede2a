#include "maltrec/cutoutput/velm_marker_block.h"

#include "felgrin/cutter_instance.h"
#include "felgrin/dmpl_cutter.h"

#include <string>

namespace {

constexpr int64_t kMarkerUnitsPer = 40;
constexpr int64_t kDataUnitsPer = 1000;

void Send(CCutterInstance* cutter, std::string line) {
    cutter->fnSendString(line);
}

} // namespace

int32_t FnMarkerUnits(int32_t dataUnits) {
    const int64_t scaled = int64_t(dataUnits) * kMarkerUnitsPer;
    const int64_t half = kDataUnitsPer / 2;
    return int32_t(scaled >= 0 ? (scaled + half) / kDataUnitsPer
                               : -((-scaled + half) / kDataUnitsPer));
}

void FnSendVelmMarkerBlock(CCutterInstance* cutter, const StVelmMarkers& marks, int sheetMode) {
    if (!cutter)
        return;
    Send(cutter, DMPL_BLOCK_START);
    Send(cutter, FnFormatDmplCommand(DMPL_MARKER_X_DIS_FORMAT, FnMarkerUnits(marks.xDist)));
    Send(cutter, FnFormatDmplCommand(DMPL_MARKER_Y_DIS_FORMAT, FnMarkerUnits(marks.yDist)));
    Send(cutter, FnFormatDmplCommand(DMPL_MARKER_X_SIZE_FORMAT, FnMarkerUnits(marks.xSize)));
    Send(cutter, FnFormatDmplCommand(DMPL_MARKER_Y_SIZE_FORMAT, FnMarkerUnits(marks.ySize)));
    Send(cutter, FnFormatDmplCommand(DMPL_MARKER_X_N_FORMAT, marks.xN));
    if (sheetMode)
        Send(cutter, DMPL_VELM_SHEET_MODE_ON);
    Send(cutter, DMPL_LOAD_MARKERS);
    Send(cutter, DMPL_BLOCK_END);
    std::string reply;
    cutter->fnReadString(reply);
    Send(cutter, DMPL_INIT);
}

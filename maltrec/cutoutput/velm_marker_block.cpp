#include "maltrec/cutoutput/velm_marker_block.h"

#include "felgrin/cutter_instance.h"

#include <cstdio>
#include <string>

namespace {

constexpr char kEsc = 0x1B;
constexpr const char* kBlockStart = ";@:";
constexpr const char* kBlockEnd = ";:HOA,ECN,U,";
constexpr int64_t kMarkerUnitsPer = 40;
constexpr int64_t kDataUnitsPer = 1000;

void Send(CCutterInstance* cutter, std::string line) {
    cutter->fnSendString(line);
}

std::string Line(const char* name, int32_t value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "SET %s=%d.", name, int(value));
    return buf;
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
    Send(cutter, std::string(1, kEsc) + kBlockStart);
    Send(cutter, Line("MARKER_X_DIS", FnMarkerUnits(marks.xDist)));
    Send(cutter, Line("MARKER_Y_DIS", FnMarkerUnits(marks.yDist)));
    Send(cutter, Line("MARKER_X_SIZE", FnMarkerUnits(marks.xSize)));
    Send(cutter, Line("MARKER_Y_SIZE", FnMarkerUnits(marks.ySize)));
    Send(cutter, Line("MARKER_X_N", marks.xN));
    if (sheetMode)
        Send(cutter, "SET VELM_SHEET_MODE=ON.");
    Send(cutter, "LOAD_MARKERS.");
    Send(cutter, "END.");
    std::string reply;
    cutter->fnReadString(reply);
    Send(cutter, kBlockEnd);
}

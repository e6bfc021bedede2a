#include "maltrec/cutoutput/cut_output_strings.h"

#include "platform/windowing/resources.h"

void FnRegisterCutOutputStrings() {
    static const bool registered = [] {
        platform::RegisterStrings({
            {IDS_OUTPUT_SETUP_DETAILS, L"Output Setup Details"},
            {IDS_SEND_TO_CUTTER, L"Send to cutter"},
            {IDS_NO_DATA_TO_CUT,
             L"There is no data to be cut\nOR all data is set to No-Cut (zero passes) !!"},
            {IDS_VELM_MARKERS_NOT_FOUND, L"VELM Markers not Found\nCutting will be aborted ?"},
            {IDS_TILES_CANNOT_ADVANCE,
             L"The tiles cannot be cut: the tile size (%d x %d mm) must be larger than the "
             L"overlap (%d mm) and fit the medium."},
        });
        return true;
    }();
    (void)registered;
}

CString CutOutputLoadString(UINT id) {
    FnRegisterCutOutputStrings();
    wchar_t buffer[512] = {};
    return LoadStringW(nullptr, id, buffer, 511) > 0 ? CString(buffer) : CString();
}

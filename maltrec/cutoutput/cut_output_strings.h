// The cut output's string table.
#pragma once

#include "platform/core/cstring.h"

constexpr UINT IDS_OUTPUT_SETUP_DETAILS = 34001;
constexpr UINT IDS_SEND_TO_CUTTER = 34004;
constexpr UINT IDS_NO_DATA_TO_CUT = 34019;
constexpr UINT IDS_VELM_MARKERS_NOT_FOUND = 34069;
constexpr UINT IDS_TILES_CANNOT_ADVANCE = 34090;

// Registers the table once; safe to call often.
void FnRegisterCutOutputStrings();
// The text of a string id; empty for an unknown id.
CString CutOutputLoadString(UINT id);

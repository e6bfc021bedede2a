// Resource numbers of opening and importing: the open dialog's remembered values, its filters
// and check box, and the messages of the open and import road.
#pragma once

#include "platform/core/cstring.h"

namespace kelvane {

// Names of the remembered values.
constexpr UINT IDS_LAST_OPEN_DIR = 155;
constexpr UINT IDS_LAST_OPEN_EXTENSION = 156;
constexpr UINT IDS_LAST_OPEN_CHOOSE_TEMPLATE = 157;
// The open dialog's custom template and its check box.
constexpr UINT IDD_OPEN_TEMPLATE = 153;
constexpr int IDC_CHOOSE_TEMPLATE = 1000;
// Filters.
constexpr UINT IDS_DESIGN_FILTER = 61480;
constexpr UINT IDS_ALL_FILES_FILTER = 61530;
// Messages.
constexpr UINT IDS_IMPORT_FAILED_CONTINUE = 61452;
constexpr UINT IDS_IMPORT_FAILED = 61453;
constexpr UINT IDS_DXF_TO_INCHES = 61521;
constexpr UINT IDS_CLOSE_ALL_DESIGNS = 12124;

// The text of a string resource; empty when there is none.
CString LoadAppString(UINT id);
void RegisterOpenResources();

} // namespace kelvane

// Strings and cursors of the frame, zoom, pan and line sub tools.
#include "design/frame_tool.h"
#include "design/tools/line_sub_tool.h"
#include "design/tools/pan_sub_tool.h"
#include "design/tools/show_length_tool.h"
#include "design/zoom_sub_tool.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/resources.h"

namespace {

using L = CLineSubTool;

const bool kRegistered = [] {
    platform::RegisterStrings({
        {CZoomSubTool::IDS_ZOOM_PROMPT,
         L"Click to zoom in, drag for an area, or Ctrl+click to zoom out"},
        {CPanSubTool::IDS_PAN_PROMPT, L"Drag to pan the view"},
        {L::IDS_FIRST_POINT, L"Enter first point"},
        {L::IDS_NEXT_POINT, L"Enter next point"},
        {L::IDS_LAST_POINT, L"Enter last point"},
        {L::IDS_LENGTH, L"Length: %.2fmm "},
        {L::IDS_ANGLE, L"Angle: %.2f\u00B0"},
        {CShowLengthTool::IDS_MOVE_TO_SHOW, L"Move to show length"},
        {CShowLengthTool::IDS_MARK_HINT, L", or press 'X' to mark position"},
    });
    for (UINT id : {CZoomSubTool::IDC_ZOOM_IN, CZoomSubTool::IDC_ZOOM_OUT, CPanSubTool::IDC_PAN})
        platform::RegisterCursor(id);
    return true;
}();

} // namespace

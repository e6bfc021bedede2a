// The tools' strings and cursors, registered when the library loads so that a language
// library registered later replaces them.
#include "design/design_tool.h"
#include "design/select_tool.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/resources.h"

namespace {

using S = CSelectTool;

const bool kRegistered = [] {
    platform::RegisterStrings({
        {CDesignTool::IDS_MOVE_PROMPT, L"Move: %+.2fmm %+.2fmm"},
        {S::IDS_RESIZE_WIDTH, L"Width: %.2fmm "},
        {S::IDS_RESIZE_HEIGHT, L"Height: %.2fmm "},
        {S::IDS_RESIZE_CHANGE, L"(%+.2fmm) "},
        {S::IDS_AN_OBJECT, L"An Object"},
        {S::IDS_OBJECTS, L"Objects"},
        {S::IDS_NO_SELECTION, L"There are no objects selected."},
    });
    for (UINT id :
         {S::IDC_SELECT_SELF, S::IDC_SELECT_BAND, S::IDC_SELECT_COLOUR, S::IDC_SELECT_GROUP})
        platform::RegisterCursor(id);
    return true;
}();

} // namespace

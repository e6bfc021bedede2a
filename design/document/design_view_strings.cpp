// The design view's strings, menus and cursors, registered when the library loads so that a
// language library registered later replaces them.
#include "design/design_view.h"
#include "design/select_tool.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"

namespace {

using V = CDesignView;

const bool kRegistered = [] {
    platform::RegisterStrings({
        {V::IDS_IDLE_PROMPT, L"Ready"},
        {V::IDS_UNDO, L"Undo the last action\nUndo"},
        {V::IDS_REDO, L"Redo the previously undone action\nRedo"},
        {V::IDS_EXTENTS_FORMAT, L"%.2fmm x %.2fmm"},
        {V::ID_ZOOM_IN, L"Zoom in on the design\nZoom In"},
        {V::ID_ZOOM_OUT, L"Zoom out of the design\nZoom Out"},
        {V::ID_ZOOM_SELECTED, L"Zoom to the selected objects\nZoom Selected"},
        {V::ID_ZOOM_RESIZE, L"Resize the design to its contents\nZoom Resize"},
        {V::ID_ZOOM_FIT, L"Show the whole design\nZoom to Fit (Full View)"},
        {CSelectTool::ID_EDIT_COPY, L"Copy the selection to the clipboard\nCopy"},
        {CSelectTool::ID_EDIT_PASTE, L"Insert the clipboard's contents\nPaste"},
        {V::ID_SELECT_TOOL, L"Select, move and size objects\nSelector"},
        {V::ID_PAN, L"Move the view with the pointer\nPan"},
        {V::ID_GROUP, L"Group the selected objects\nGroup"},
        {V::ID_UNGROUP, L"Break the selected groups up\nUn-Group"},
    });
    platform::RegisterMenuTemplate(
        {V::IDR_ZOOM_MENU,
         {{MF_POPUP,
           0,
           L"Zooming",
           {{MF_STRING, V::ID_ZOOM_400, L"400%", {}},
            {MF_STRING, V::ID_ZOOM_200, L"200%", {}},
            {MF_STRING, V::ID_ZOOM_100, L"100% (Zoom to Scale)", {}},
            {MF_STRING, V::ID_ZOOM_50, L"50%", {}},
            {MF_STRING, V::ID_ZOOM_25, L"25%", {}},
            {MF_SEPARATOR, 0, nullptr, {}},
            {MF_STRING, V::ID_ZOOM_IN, L"Zoom In", {}},
            {MF_STRING, V::ID_ZOOM_OUT, L"Zoom Out", {}},
            {MF_STRING, V::ID_ZOOM_SELECTED, L"Zoom Selected", {}},
            {MF_STRING, V::ID_ZOOM_RESIZE, L"Zoom Resize", {}},
            {MF_STRING, V::ID_ZOOM_FIT, L"Zoom to Fit (Full View)", {}},
            {MF_SEPARATOR, 0, nullptr, {}},
            {MF_STRING, V::ID_SCREEN_WIDTH, L"Set Screen Width...", {}}}}}});
    platform::RegisterCursor(V::IDC_GUIDE_VERTICAL);
    platform::RegisterCursor(V::IDC_GUIDE_OTHER);
    return true;
}();

} // namespace

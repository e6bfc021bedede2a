#include "varnholm/design_resources.h"

#include "platform/framework/mfc_tool_bar.h"
#include "platform/windowing/accelerator.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"

namespace {

MenuTemplateItem S(UINT id, const wchar_t* text) {
    return {MF_STRING, id, text, {}};
}

MenuTemplateItem Sep() {
    return {MF_SEPARATOR, 0, nullptr, {}};
}

MenuTemplateItem Options() {
    return {MF_POPUP,
            0,
            L"&Options",
            {S(59393, L"&Status Bar"), S(23077, L"Direct mode"), S(23080, L"Output settings")}};
}

MenuTemplateItem Help() {
    return {MF_POPUP, 0, L"&Help", {S(57667, L"&Help Topics"), Sep(), S(57664, L"&About")}};
}

ACCEL Ctrl(char key, WORD cmd) {
    return {BYTE(FVIRTKEY | FCONTROL), WORD(key), cmd};
}

constexpr WORD kVkDelete = 0x2E;
constexpr WORD kVkF5 = 0x74;

const bool kRegistered = [] {
    FnRegisterDesignResources();
    return true;
}();

} // namespace

void FnRegisterDesignResources() {
    platform::RegisterStrings({
        {IDR_DESIGN_WINDOW,
         L"\nFerolin\nFerolin\nKDX Files (*.Kdx)\n.Kdx\nDrawing.Document\nDrawing Document"},
        {23070, L"New roll put into cutter\nNew Roll"},
        {23071, L"Send design to cutter\nSend to Cutter"},
        {23072, L"Send design to VELM cutter\nSend to VELM Cutter"},
        {23073, L"Set design size to cutter size\nCutter Design Size"},
    });
    platform::RegisterMenuTemplate(
        {IDR_DESIGN_WINDOW,
         {{MF_POPUP,
           0,
           L"&Design",
           {S(57600, L"&New\tCtrl+N"), S(57601, L"&Open...\tCtrl+O"), S(57602, L"&Close"),
            S(49509, L"Close All"), S(57603, L"&Save\tCtrl+S"), S(57604, L"Save &As..."), Sep(),
            S(57616, L"Recent File"), Sep(), S(57665, L"E&xit")}},
          {MF_POPUP,
           0,
           L"&Output",
           {S(23070, L"New Roll"), S(23071, L"Send to Cutter"), S(23072, L"Send to VELM Cutter")}},
          {MF_POPUP,
           0,
           L"&Edit",
           {S(57643, L"&Undo\tCtrl+Z"),
            S(57644, L"&Redo\tCtrl+Y"),
            Sep(),
            S(57635, L"Cu&t\tCtrl+X"),
            S(57634, L"&Copy\tCtrl+C"),
            S(43023, L"Copy to Windows"),
            S(57637, L"&Paste\tCtrl+V"),
            S(57632, L"&Delete\tDel"),
            S(43037, L"Select &All\tCtrl+A"),
            S(43275, L"Invert Selection"),
            Sep(),
            S(43172, L"&Hide"),
            S(43173, L"&Show All"),
            Sep(),
            S(43221, L"Rescale..."),
            Sep(),
            S(43052, L"&Rotate\tCtrl+E"),
            Sep(),
            S(43039, L"Mirror Horizontal"),
            S(43038, L"Mirror Vertical"),
            Sep(),
            S(43351, L"Group"),
            S(43352, L"Un-Group"),
            Sep(),
            {MF_POPUP,
             0,
             L"Placement",
             {{MF_POPUP,
               0,
               L"Align",
               {S(43034, L"Bottom"), S(43033, L"Top"), S(43032, L"Right"), S(43031, L"Left")}},
              {MF_POPUP, 0, L"Join", {S(43044, L"Horizontal"), S(43045, L"Vertical")}},
              {MF_POPUP, 0, L"Space", {S(43025, L"Horizontal"), S(43026, L"Vertical")}},
              {MF_POPUP, 0, L"Flip", {S(43039, L"Horizontal"), S(43038, L"Vertical")}},
              {MF_POPUP,
               0,
               L"Change Size",
               {S(43017, L"Same Width"), S(43021, L"Same Height"), S(43022, L"MinMax Fit")}},
              {MF_POPUP,
               0,
               L"Centre",
               {S(43036, L"Horizontal"), S(43035, L"Vertical"), S(43202, L"Horz. Last"),
                S(43203, L"Vert. Last"), S(43204, L"Centre Last")}}}},
            Sep(),
            S(23073, L"Cutter Design Size...")}},
          {MF_POPUP,
           0,
           L"&View",
           {S(43055, L"&Redraw\tCtrl+R"),
            Sep(),
            S(43001, L"Zoom &In"),
            S(43002, L"Zoom &Out"),
            S(43003, L"Zoom &Selected"),
            S(43061, L"Zoom Resi&ze"),
            S(43004, L"Zoom to &Fit"),
            S(43214, L"&Pan"),
            Sep(),
            {MF_POPUP, 0, L"&Options", {S(43006, L"&Ruler"), S(43326, L"Display Inches")}}}},
          {MF_POPUP,
           0,
           L"&Tools",
           {S(34619, L"Simulate output"), Sep(), S(43046, L"Selector"), Sep(),
            S(43186, L"Show Length"), Sep(), S(43397, L"Add color")}},
          {MF_POPUP,
           0,
           L"&Window",
           {S(57648, L"&New Window"),
            S(49508, L"&Close"),
            Sep(),
            {MF_POPUP, 0, L"Background", {S(43237, L"Colour On"), S(43238, L"Set Colour...")}}}},
          Options(),
          Help()}});
    platform::RegisterMenuTemplate(
        {IDR_NO_DESIGN,
         {{MF_POPUP,
           0,
           L"&Design",
           {S(57600, L"&New\tCtrl+N"),
            S(57601, L"&Open...\tCtrl+O"),
            Sep(),
            {MF_POPUP,
             0,
             L"Cutters",
             {S(32816, L"Install Cutter..."), S(50014, L"Setup Cutter..."),
              S(32820, L"Delete Cutter...")}},
            Sep(),
            S(57616, L"Recent File"),
            Sep(),
            S(57665, L"E&xit")}},
          Options(),
          Help()}});
    platform::RegisterAcceleratorTable(IDR_DESIGN_WINDOW, {Ctrl('A', 43037),
                                                           Ctrl('C', 57634),
                                                           Ctrl('E', 43052),
                                                           Ctrl('N', 57600),
                                                           Ctrl('O', 57601),
                                                           Ctrl('R', 43055),
                                                           Ctrl('S', 57603),
                                                           Ctrl('V', 57637),
                                                           {FVIRTKEY, kVkDelete, 57632},
                                                           {FVIRTKEY, kVkF5, 43052},
                                                           Ctrl('X', 57635),
                                                           Ctrl('Y', 57644),
                                                           Ctrl('Z', 57643)});
    platform::RegisterAcceleratorTable(IDR_NO_DESIGN, {Ctrl('N', 57600), Ctrl('O', 57601)});
    platform::RegisterToolBarTemplate(
        {IDR_CUTTING_TOOLBAR,
         int(kCuttingButtonSize),
         int(kCuttingButtonSize),
         {57634, 57637, 0,     57643, 57644, 0,     43046, 0,     43001, 43003, 43002,
          43004, 0,     43214, 0,     43052, 43053, 0,     23070, 23071, 23072, 23073}});
    FnRegisterCuttingToolBarPictures();
}

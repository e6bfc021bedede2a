// The program's resource numbers and the registration of its strings, menus and toolbars.
#pragma once

#include "platform/core/types.h"

namespace kelvane {

// The main frame: title, menu, icon and the "Files" toolbar.
constexpr UINT IDR_MAINFRAME = 23012;
// The design documents' strings.
constexpr UINT IDR_DESIGN = 23011;
// The tile documents' strings.
constexpr UINT IDR_TILE = 13000;
// Toolbars of the slot table.
constexpr UINT IDR_LAYOUT_TOOLBAR = 28228;
constexpr UINT IDR_VIEW_TOOLBAR = 23013;
constexpr UINT IDR_COLOUR_TOOLBAR = 1034;
// The toolbar toggle menu (message 40013).
constexpr UINT IDR_TOOLBAR_TOGGLE = 1005;
// The design tabs' right-click menu.
constexpr UINT IDR_MDI_TABS = 138;

// Status bar indicators after the message pane.
constexpr UINT ID_PANE_1 = 17655;
constexpr UINT ID_PANE_2 = 17656;
constexpr UINT ID_PANE_3 = 17657;
constexpr UINT ID_INDICATOR_CAP = 59137;
constexpr UINT ID_INDICATOR_NUM_LOCK = 59138;
constexpr UINT ID_INDICATOR_INS = 59140;
constexpr UINT ID_STATUS_BAR = 59393;
constexpr UINT ID_MENU_BAR = 59398;

// Commands.
constexpr UINT ID_NEW_DESIGN = 57600;
constexpr UINT ID_OPEN_DESIGN = 57601;
constexpr UINT ID_SAVE_DESIGN = 57603;
constexpr UINT ID_SAVE_DESIGN_AS = 57604;
constexpr UINT ID_NEW_WINDOW = 57648;
constexpr UINT ID_ABOUT = 57664;
constexpr UINT ID_EXIT = 57665;
constexpr UINT ID_HELP_INDEX = 57667;
constexpr UINT ID_HELP_FINDER = 57670;
constexpr UINT ID_TOGGLE_MENU_BAR = 49506;
constexpr UINT ID_CLOSE_DESIGN = 49508;
constexpr UINT ID_CLOSE_ALL = 49509;
constexpr UINT ID_INSTALL_CUTTER = 32816;
constexpr UINT ID_SETUP_CUTTER = 50014;
constexpr UINT ID_DELETE_CUTTER = 32820;
constexpr UINT ID_DISPLAY_INCHES = 43326;
constexpr UINT ID_UNITS_CHANGED = 43332;
constexpr UINT ID_SILENT_MODE = 23077;
constexpr UINT ID_OUTPUT_SETTINGS = 23080;
constexpr UINT ID_HIDDEN_ITEM = 17658;
constexpr UINT ID_MAIN_TOOLBAR = 40014;

// Messages.
constexpr UINT WM_TOOLBAR_MENU = 40013;

// Strings.
constexpr UINT IDS_SCREEN_COLOURS = 61448;
constexpr UINT IDS_SCREEN_SIZE = 61449;
constexpr UINT IDS_EXIT_LAUNCH_FAILED = 61455;
constexpr UINT IDS_RESTORE_AUTOSAVE = 50039;
constexpr UINT IDS_ILLEGAL_AUTOSAVE_METHOD = 32801;
constexpr UINT IDS_TEMPLATE_FAILED = 61700;
// The About item's text, "%1" the application name.
constexpr UINT IDS_ABOUT_APP = 50003;

// Registers every string, menu and toolbar the program's windows load; once is enough, more
// is harmless.
void RegisterAppResources();
// The button pictures of the main and layout toolbars, width x height each.
void RegisterAppToolBarPictures(int width, int height);

} // namespace kelvane

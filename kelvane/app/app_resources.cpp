#include "kelvane/app/app_resources.h"

#include "design/design_view.h"
#include "design/select_tool.h"
#include "kelvane/app/language.h"
#include "kelvane/app/open_resources.h"
#include "maltrec/colour_tool_bar.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"
#include "varnholm/design_resources.h"

namespace kelvane {

namespace {

void RegisterTexts() {
    platform::RegisterStrings({
        {IDR_MAINFRAME, L"Vanter Ferolin"},
        {IDR_DESIGN, L"\nFerolin\nFerolin\nKDX Files (*.Kdx)\n.Kdx\nDrawing.Document\nDrawing "
                     L"Document"},
        {IDR_TILE, L"\nTiles\nTiles"},
        {61545, L"Files"},
        {61555, L"Layout"},
        {61580, L"Select/Zoom"},
        {61591, L"Colour List"},
        {ID_INDICATOR_CAP, L"CAP"},
        {ID_INDICATOR_NUM_LOCK, L"NUM"},
        {ID_INDICATOR_INS, L"INS"},
        {ID_PANE_1, L" "},
        {ID_PANE_2, L" "},
        {ID_PANE_3, L" "},
        {ID_NEW_DESIGN, L"Create a new design\nNew"},
        {ID_OPEN_DESIGN, L"Open a design\nOpen"},
        {ID_SAVE_DESIGN, L"Save the design\nSave"},
        {IDS_SCREEN_COLOURS,
         L"This program currently requires 16bit or 24bit Display Drivers\nPlease change "
         L"settings in Windows control panel\n\nQuit program?"},
        {IDS_SCREEN_SIZE, L"This program currently requires minimum 800x600 screen "
                          L"resolution\nPlease change settings in Windows control panel\n\nQuit "
                          L"program?"},
        {IDS_EXIT_LAUNCH_FAILED, L"Failed to launch application on exit.\n"},
        {IDS_RESTORE_AUTOSAVE, L"Auto-recovery file found\nDo you want to restore file %1"},
        {IDS_ILLEGAL_AUTOSAVE_METHOD,
         L"Illegal Registry Entry in Key \"AutoSaveMethod\"\nValue will be set to \"Single "
         L"Document\" (default)"},
        {IDS_TEMPLATE_FAILED, L"Failed to create the document."},
        {IDS_ABOUT_APP, L"About %1"},
        {CDesignView::IDR_RIGHT_CLICK_MENU, L"Right Click Default"},
    });
}

void RegisterMenus() {
    // The frame's menu (no design open) and the design window's come with the cutting view.
    FnRegisterDesignResources();
    platform::RegisterMenuTemplate({IDR_TOOLBAR_TOGGLE,
                                    {{MF_POPUP,
                                      0,
                                      L"Toolbar Toggle",
                                      {{MF_STRING, ID_TOGGLE_MENU_BAR, L"Menu Bar", {}},
                                       {MF_STRING, ID_MAIN_TOOLBAR, L"Main Toolbar", {}}}}}});
    // What a right-click on selected articles offers.
    platform::RegisterMenuTemplate({CDesignView::IDR_RIGHT_CLICK_MENU,
                                    {{MF_POPUP,
                                      0,
                                      L"Right Click Default",
                                      {{MF_STRING, CSelectTool::ID_EDIT_CUT, L"Cu&t", {}},
                                       {MF_STRING, CSelectTool::ID_EDIT_COPY, L"&Copy", {}},
                                       {MF_STRING, CSelectTool::ID_EDIT_PASTE, L"&Paste", {}},
                                       {MF_STRING, CSelectTool::ID_EDIT_CLEAR, L"&Delete", {}},
                                       {MF_SEPARATOR, 0, nullptr, {}},
                                       {MF_STRING, CDesignView::ID_GROUP, L"Group", {}},
                                       {MF_STRING, CDesignView::ID_UNGROUP, L"Un-Group", {}}}}}});
    platform::RegisterMenuTemplate({IDR_MDI_TABS,
                                    {{MF_POPUP,
                                      0,
                                      L"MDI Tabs",
                                      {{MF_STRING, ID_CLOSE_DESIGN, L"Close", {}},
                                       {MF_STRING, ID_CLOSE_ALL, L"Close All", {}},
                                       {MF_STRING, ID_SAVE_DESIGN, L"Save", {}},
                                       {MF_STRING, ID_SAVE_DESIGN_AS, L"Save As", {}}}}}});
}

void RegisterToolbars() {
    constexpr int kButtonWidth = 16, kButtonHeight = 15;
    platform::RegisterToolBarTemplate({IDR_MAINFRAME,
                                       kButtonWidth,
                                       kButtonHeight,
                                       {ID_NEW_DESIGN, ID_OPEN_DESIGN, ID_SAVE_DESIGN}});
    platform::RegisterToolBarTemplate({IDR_LAYOUT_TOOLBAR,
                                       kButtonWidth,
                                       kButtonHeight,
                                       {CDesignView::ID_GROUP, CDesignView::ID_UNGROUP}});
    platform::RegisterToolBarTemplate(
        {IDR_COLOUR_TOOLBAR, kButtonWidth, kButtonHeight, {CColourToolBar::ID_COLOUR_LIST}});
    RegisterAppToolBarPictures(kButtonWidth, kButtonHeight);
}

} // namespace

void RegisterAppResources() {
    RegisterTexts();
    RegisterMenus();
    RegisterToolbars();
    RegisterOpenResources();
    CLanguage::RegisterResources();
}

} // namespace kelvane

// CMainFrame: the program's main window: tabbed design windows, the toolbar slot table, the
// status bar with the message pane and the key indicators, and the autosave timer.
#pragma once

#include "kelvane/app/menu_bar_keys.h"
#include "platform/framework/status_bar.h"
#include "platform/framework/tab_tooltip.h"
#include "platform/windowing/window_placement.h"
#include "toolbars/jox_toolbar_frame_wnd.h"

#include <memory>

namespace platform {
class InstanceChannelServer;
}

class CMainFrame : public CJoxToolbarFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)

public:
    // The number of status bar panes: the message pane, three design panes, CAP, NUM, INS.
    static constexpr int kPaneCount = 7;

    CMainFrame();
    ~CMainFrame() override;

    bool IsBusy() const { return m_bBusy; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }

    int OnCreate(CREATESTRUCTW* cs) override;
    CCustomToolBar* NewToolbar(int slot) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    // Asks about modified designs first; the recovery copies go only when the close goes
    // through.
    void OnClose() override;
    void OnTimer(UINT_PTR id) override;

    // Arms the autosave timer when "AutoSaveOn" is set.
    void fnStartAutoSaveTimer();
    // Writes the recovery copies ("AutoSaveMethod": the active design or all).
    void fnAutoSave();
    // Offers each recovery copy left by an earlier run for restoring.
    void fnLoadAutoSaveFiles();
    // Deletes the recovery copies in the autosave folder.
    void fnRemoveAutoSaveFiles();

    // The stored place ("WindowPos"): read (false when missing or damaged), applied when it
    // still fits the screens before the window shows with showCmd, and written at close.
    bool fnReadWindowPlacement(WINDOWPLACEMENT& wp);
    void fnRestoreWindowPlacement(int showCmd);
    void fnSaveWindowPlacement();

    // A second start's requests (main_frame_instance.cpp): open the exchange file under the
    // home folder, or the path it stored. Dropped while the frame or a cutting view is busy.
    LRESULT OnImportTempAi();
    LRESULT OnImportPath();
    // Listens for second starts; only the copy holding the instance lock does.
    bool fnStartInstanceChannel();
    void fnPollInstanceChannel();
    // Stops listening (the frame goes).
    void fnStopInstanceChannel();
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    // The menu bar that Alt and F10 show and hide (main_frame_menu_bar.cpp).
    BOOL PreTranslateMessage(MSG* msg) override;
    bool IsMenuBarVisible() const;
    // Shows the menu of the active design window (or the frame's own) or hides the bar.
    void fnShowMenuBar(bool show);
    void fnToggleMenuBar();

    // A design tab's tooltip: its design's title, "*" when modified; a tab without a design
    // its window's text (main_frame_tab_tooltip.cpp).
    void OnGetTabToolTip(TabToolTipRequest& request);

    // Right-click menus (main_frame_popup_menus.cpp): the design tabs' menu at the click point,
    // and the toolbar menu (message 40013, the screen point packed in lp).
    BOOL OnShowMDITabContextMenu(POINT screen) override;
    void OnToolbarMenu(LPARAM lp);

    // Window messages beyond the commands (main_frame_messages.cpp): true when handled.
    BOOL OnFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // Brings the popup's items up to date, then trims it: marked disabled items, empty
    // sub-menus and stray separators are hidden (sub-menus are brought up to date first).
    void fnInitPopupMenu(HMENU popup);
    // Puts a filter on each pane docked now: a right button released on it shows the toolbar
    // menu (message 40013 to the main window) at that point.
    void fnFilterDockedPanes();
    // Message filters (main_frame_filters.cpp). The client area's offers each message to
    // IgnoreMessage first and gives each tab control made in it a filter whose left release
    // ends a splitter or resize drag (and is swallowed then); other tab windows made below
    // the frame get the IgnoreMessage filter alone. A held-back paint is repainted when
    // redraw comes back on.
    void fnFilterClientArea();
    void fnFilterTabWindow(HWND wnd);
    static bool fnHeldBack(HWND frame, HWND wnd, UINT msg);
    // The active design window's view, or null.
    CView* fnActiveView() const;

    // The frame's own commands (main_frame_commands.cpp): true when handled.
    BOOL OnFrameCommand(UINT id, int code, void* extra, void* handlerInfo);
    // The help commands: the application's help call (HELP_INDEX or HELP_FINDER), which opens
    // the help file or tells why it cannot.
    void fnOpenHelp(UINT cmd);

protected:
    // Runs a cutter command under the busy flag; dropped while the frame or a cutting view is
    // busy.
    void fnRunBusy(void (*command)());
    // The slot table: names and toolbar resources of the frame's own slots.
    void LoadSlotTable();

    CStatusBar m_wndStatusBar;
    kelvane::MenuBarKeys m_MenuKeys;
    bool m_bBusy = false;
    std::unique_ptr<platform::InstanceChannelServer> m_pInstanceChannel;
    bool m_bChannelWatched = false;
};

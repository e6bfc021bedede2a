// How the display learns that a model it mirrors has changed: frames, MDI tabs, menus,
// toolbars, the status bar and scroll bars call NotifyUi after every change, and the display
// (or a test) listens and reads the model's state back. Nothing listens without a display.
#pragma once

#include "platform/windowing/window.h"

#include <functional>

namespace platform {

enum class UiChange {
    FrameLayout,    // a frame's control bars or client moved (RecalcLayout)
    FrameTitle,     // a frame's title text
    FrameMenu,      // the menu bar of a frame was set or changed (DrawMenuBar)
    MenuItems,      // items of a menu were added, removed, enabled, checked or renamed
    TabsChanged,    // tabs were added, removed or moved, or a tab group came or went
    ActiveTab,      // the active tab of a tab control
    ActiveChild,    // the active MDI child frame
    ToolbarButtons, // buttons of a toolbar: added, hidden, shown, enabled, checked
    StatusText,     // the text of a status bar pane
    ScrollBar,      // range, page or position of a window's scroll bar, or its visibility
    Cursor,         // the cursor was set
    Redraw,         // WM_SETREDRAW switched a window's redraw on or off
};

// window: the model's window, or null (a menu); object: the model object (the CWnd-derived
// class, or the HMENU for MenuItems), or null.
using UiListener = std::function<void(UiChange what, HWND window, void* object)>;

// Returns an id for RemoveUiListener.
int AddUiListener(UiListener listener);
void RemoveUiListener(int id);
void NotifyUi(UiChange what, HWND window, void* object = nullptr);

} // namespace platform

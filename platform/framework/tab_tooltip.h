// The tooltip of a tab in a tab group: the display asks the top-level frame that holds the
// group (message WM_GET_TAB_TOOLTIP, lParam the request) and shows what it answers; a frame
// that does not answer leaves the tab without one.
#pragma once

#include "platform/core/cstring.h"
#include "platform/windowing/window.h"

constexpr UINT WM_GET_TAB_TOOLTIP = 0x8000 + 0x03F1;

struct TabToolTipRequest {
    HWND tabs = nullptr; // the tab group's window
    int index = -1;
    CString text;
};

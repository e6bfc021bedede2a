// Maximised and minimised top-level windows and their placement record. A maximised window
// covers the work area of the monitor it is on (below its menu bar); its normal rectangle is
// kept to come back to.
#pragma once

#include "platform/windowing/window.h"

constexpr int SW_MAXIMIZE = SW_SHOWMAXIMIZED;

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = 0;
    POINT ptMinPosition{-1, -1};
    POINT ptMaxPosition{-1, -1};
    RECT rcNormalPosition{0, 0, 0, 0};
};

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
// Sets the normal rectangle, then shows the window with the record's show command.
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
BOOL IsZoomed(HWND hwnd);

namespace platform::detail {
// The state part of ShowWindow: a top-level window is maximised, minimised or restored; a
// child only minimised or not.
void ApplyShowState(HWND hwnd, int cmd);
} // namespace platform::detail

// The move and size notice a window gets before SetWindowPos applies a change: the handler
// may change the flags (SWP_NOMOVE, SWP_NOSIZE, SWP_NOREDRAW ...) of the WINDOWPOS.
#pragma once

#include "platform/windowing/window.h"

constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

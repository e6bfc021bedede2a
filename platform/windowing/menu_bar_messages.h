// A right button released on a window's menu bar reaches the window as a non-client release
// with the menu hit code and the point on the screen (x low 16 bits, y high 16).
#pragma once

#include "platform/core/types.h"

constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT HTMENU = 5;

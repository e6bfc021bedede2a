// Palette messages a top-level window gets: another window realised its palette (wParam: that
// window), or the window is about to be activated and may realise its own (answer TRUE when
// it did).
#pragma once

#include "platform/core/types.h"

constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;

// The main window's stored place ("WindowPos": flags, show command, minimised x y, maximised
// x y, normal left top right bottom) and the test that it still lies on the screens.
#pragma once

#include "platform/core/cstring.h"
#include "platform/windowing/window_placement.h"

namespace kelvane {

constexpr int kWindowPosFields = 10;

CString FormatWindowPlacement(const WINDOWPLACEMENT& wp);
// True only for exactly ten whole numbers separated by commas (blanks allowed around them);
// wp is untouched otherwise.
bool ParseWindowPlacement(const CString& text, WINDOWPLACEMENT& wp);
// Whether the window's top edge (at its left, or its right when the left is off the screens)
// lies on the virtual screen and its normal size is one a window may have.
bool WindowPlacementFits(const WINDOWPLACEMENT& wp);

} // namespace kelvane

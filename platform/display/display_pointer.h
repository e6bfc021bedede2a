// The pointer as a person moves it, for scripted runs and for tests of deliverables that may
// not use Qt themselves: the events go to whatever widget shows at a point of a window's
// client area (a button on a toolbar, a row of a list), as the window system delivers them.
#pragma once

#include "platform/windowing/window.h"

namespace platform::display {

// Moves the pointer to client x, y of hwnd; false when hwnd has no widget there.
bool MovePointer(HWND hwnd, int x, int y);
// Presses and releases the left button at client x, y of hwnd (the display is brought up to
// date first and after); false when hwnd has no widget there.
bool ClickPointer(HWND hwnd, int x, int y);

} // namespace platform::display

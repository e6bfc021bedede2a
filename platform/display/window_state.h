// The screens as the model's monitor list, and a top-level widget kept in its window's
// maximised state: a maximised window fills its screen's free area with its menu bar on the
// screen.
#pragma once

#include "platform/windowing/window.h"

class QWidget;

namespace platform::display {

// The model's monitors become the screens Qt knows, the primary one first.
void MirrorScreens();

// Brings the model window's place and the widget's state together; barHeight is the height of
// the menu bar the widget holds above the window's client area. True when the model window
// moved.
bool FollowShowState(HWND hwnd, QWidget* widget, int barHeight);

} // namespace platform::display

// The slider control of the window model as a QSlider. The model holds the range and the
// position; a drag, a click beside the thumb or a key moves the model's slider, which tells its
// parent, and the widget then shows where the model put it (a refused position snaps back).
#pragma once

#include "platform/windowing/window.h"

class QWidget;

namespace platform::display {

QWidget* CreateSliderWidget(HWND hwnd, QWidget* parent);
// Model to widget: orientation, range, steps and position (not while the person drags).
void SyncSliderWidget(HWND hwnd, QWidget* widget);

} // namespace platform::display

// The display: real windows for the window model when there is a screen. The model stays the
// one source of truth; the display mirrors it and turns what the person does into messages.
// One model pixel is one device pixel (Qt's own high-density scaling is off).
#pragma once

#include "platform/windowing/window.h"

#include <string>

namespace platform::display {

// Uses the display unless KELVANE_HEADLESS=1 or none is configured (no QT_QPA_PLATFORM,
// DISPLAY nor WAYLAND_DISPLAY): makes the Qt application and installs the presenter's hooks
// in the window model. True when windows are shown.
bool Start(int& argc, char** argv);
// Removes the hooks, the widgets and the Qt application.
void Stop();
bool IsActive();
// Brings the screen up to date with the model: paints what is waiting and presents it.
void Flush();
// Delivers a mouse event to a window's widget as the window system does (benchmarks and
// scripted runs): WM_MOUSEMOVE, WM_LBUTTONDOWN or WM_LBUTTONUP at client x, y, the left button
// held while it is down. False without a widget.
bool SendMouse(HWND hwnd, UINT kind, int x, int y);
// Saves what the screen shows of a top-level window as a PNG; false without a display.
bool SaveScreenshot(HWND hwnd, const std::string& path);

} // namespace platform::display

// What a person does to presented controls, as Qt events on their widgets, for tests, scripted
// runs and benchmarks that must not include Qt: a slider's thumb dragged, a toolbar control's
// button clicked, text typed into an edit, what its tip and a window's visibility show. The model
// hears of it as it would from the person (at the next Flush). False when the window has no such
// widget.
#pragma once

#include "platform/windowing/window.h"

#include <string>

namespace platform::display {

// Presses the slider's thumb, moves it to the place of value to, and lets go.
bool DragSlider(HWND slider, int to);
// Clicks button index of a toolbar control with the left mouse button.
bool ClickToolBarCtrlButton(HWND toolbar, int index);
// The tip the display shows for button index of a toolbar control.
std::wstring ToolBarCtrlTip(HWND toolbar, int index);
// Whether the window's widget is on the screen.
bool IsShownOnScreen(HWND hwnd);

// Selects everything in an edit's widget and types text over it, one key at a time.
bool TypeIntoEditWidget(HWND edit, const std::wstring& text);
// What an edit's widget shows.
std::wstring EditWidgetText(HWND edit);

// Picks entry index of a combo box's widget as a click in its open list does.
bool ChooseComboWidgetEntry(HWND combo, int index);
// The entry a combo box's widget shows.
std::wstring ComboWidgetText(HWND combo);

} // namespace platform::display

// Radio buttons in groups. A group starts at a control with WS_GROUP and runs, in the order of
// the dialog's controls, up to the next control with WS_GROUP; checking an automatic radio
// button unchecks the others of its group only.
#pragma once

#include "platform/windowing/window.h"

#include <vector>

// Checks `check` and unchecks the other buttons whose ids lie in [first, last].
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

namespace platform {

// The radio buttons of the group that holds `button`, in control order.
std::vector<HWND> RadioGroupOf(HWND button);
// The id of the checked radio button with an id in [first, last], or 0.
int GetCheckedRadioButton(HWND dialog, int first, int last);

} // namespace platform

// Where the display cannot show a dialog's texts whole: static texts, check boxes and radio
// buttons as laid out on the screen, measured in the fonts their widgets draw with. For tests
// and checks of dialog templates in deliverables that do not use Qt themselves.
#pragma once

#include "platform/windowing/window.h"

#include <string>
#include <vector>

namespace platform::display {

struct TextMisfit {
    int id;            // the control's id
    std::wstring text; // as shown
    // What is wrong, with the pixels needed and given: "wider than its control: 130 > 112",
    // "higher than its control", "outside its group box", "runs into control 1004".
    std::wstring problem;
};

// Every text of the dialog's controls that is cut, leaves its group box's frame or runs into a
// shown neighbour. Brings the widgets up to date first; empty without a display.
std::vector<TextMisfit> DialogTextMisfits(HWND dialog);

} // namespace platform::display

// The font the display draws dialogs in, and the measure through which the window model takes
// its dialog units from that font.
#pragma once

#include <QFont>

namespace platform::display {

// The display draws every dialog's controls in the interface font, whatever face and size the
// template names: the dialogs match the rest of the program.
QFont DialogFont(const wchar_t* face, int pointSize);

// While on, the window model's dialog units come from DialogFont.
void MeasureDialogsInDisplayFont(bool on);

} // namespace platform::display

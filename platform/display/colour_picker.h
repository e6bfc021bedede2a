// The colour dialog's picker on the display: a colour chooser inside the model's dialog, above
// its OK and Cancel. The colour the person picks becomes the dialog's colour at once; the
// model's buttons end the dialog as always.
#pragma once

#include "platform/windowing/window.h"

class QWidget;

namespace platform::display {

// Puts the picker into the dialog's widget, showing the dialog's colour, and grows the dialog
// when the picker needs more room.
void AttachColourPicker(HWND dialog, QWidget* widget);

} // namespace platform::display

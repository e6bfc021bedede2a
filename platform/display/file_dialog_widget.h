// The file dialog on the display: Qt's own dialog (not the desktop's, so that it behaves the
// same offscreen and can carry the extra check box), in open or save mode, with the filter
// pairs, the proposed name and folder. The model's messages keep flowing while it is up.
#pragma once

#include "platform/windowing/file_dialog.h"

class QString;

namespace platform::display {

// Shows the dialog for `state` over the owner's top-level window; true on OK, with
// state.chosen, filterIndex and checked set.
bool ShowFileDialog(HWND owner, FileDialogState& state);

// One filter pair as Qt names it: the description followed by its patterns in brackets,
// unless the description already ends with them.
QString QtNameFilter(const FileFilter& filter);

} // namespace platform::display

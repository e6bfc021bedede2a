// Files dragged from the desktop onto a window: only a window that accepts files takes them,
// and only local files; the drop reaches the model as WM_DROPFILES, posted like other input.
#pragma once

#include "platform/windowing/window.h"

class QMimeData;

namespace platform::display {

// Whether the window would take this drag (it accepts files and the drag carries local files).
bool WantsFileDrop(HWND hwnd, const QMimeData* data);
// Posts WM_DROPFILES with the local files of the drop; false when the window takes none.
bool PostFileDrop(HWND hwnd, const QMimeData* data);

} // namespace platform::display

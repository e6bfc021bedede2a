// Mirrors the window model's clipboard onto the system's whenever it changes: Unicode text as
// text, a metafile picture as its old-style bytes ("image/x-wmf") and as a PNG of the picture.
#pragma once

class QMimeData;

namespace platform::display {

void InstallClipboardBridge();
void RemoveClipboardBridge();
// What the model's clipboard holds now, as the system clipboard gets it; null when it holds
// nothing the system knows. The caller owns it.
QMimeData* ClipboardMimeData();

} // namespace platform::display

// Mirrors the window model's clipboard onto the system's whenever it changes: Unicode text as
// text, a metafile picture as its old-style bytes ("image/x-wmf") and as a PNG of the picture,
// and the data of each registered format under a private type ("application/x-kelvane-" and
// the format's name). What another program puts on the system clipboard becomes the model's
// clipboard: its text and the private types, each under its registered format again.
#pragma once

class QMimeData;
class QString;

namespace platform::display {

void InstallClipboardBridge();
void RemoveClipboardBridge();
// What the model's clipboard holds now, as the system clipboard gets it; null when it holds
// nothing the system knows. The caller owns it.
QMimeData* ClipboardMimeData();
// The system clipboard's type for a registered format's name.
QString PrivateClipboardType(const QString& formatName);
// Empties the model's clipboard and fills it from what the system clipboard holds now (its
// text and private types); false when the model's clipboard could not be opened. Changes made
// by other programs are taken so by themselves.
bool TakeSystemClipboard();

} // namespace platform::display

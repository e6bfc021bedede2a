// The clipboard: formats by number (the standard ones) or by registered name, each holding one
// handle the clipboard owns from SetClipboardData until it is emptied. One window at a time
// has it open. The display mirrors every change to the system's clipboard.
#pragma once

#include "platform/windowing/window.h"

#include <functional>

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_ENHMETAFILE = 14;
// Registered names get numbers from here on.
constexpr UINT kFirstRegisteredClipboardFormat = 0xC000;

// Fails while another window has the clipboard open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees every held handle and makes the opener the owner; fails unless the caller opened it.
BOOL EmptyClipboard();
// The clipboard takes data (a global block; an enhanced metafile for CF_ENHMETAFILE; for
// CF_METAFILEPICT a block whose picture's metafile goes with it). Null when not open.
HANDLE SetClipboardData(UINT format, HANDLE data);
// Still the clipboard's; null when the format is not there or the clipboard is not open.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// The same number for the same name in any case; 0 for an empty name.
UINT RegisterClipboardFormatW(LPCWSTR name);
int GetClipboardFormatNameW(UINT format, LPWSTR buffer, int max);
HWND GetClipboardOwner();
int CountClipboardFormats();
// The format after format (0 starts), 0 after the last.
UINT EnumClipboardFormats(UINT format);

namespace platform {

// Called after the clipboard closes with changed contents (the display mirrors them).
using ClipboardObserver = std::function<void()>;
void SetClipboardObserver(ClipboardObserver observer);
// Empties and closes the clipboard (between tests).
void ResetClipboard();

} // namespace platform

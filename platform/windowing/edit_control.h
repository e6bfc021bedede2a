// The edit control, kept headless: one line of text with a limit, a selection and a modified
// flag. The owner hears EN_CHANGE after every change of the text (typed or set), EN_SETFOCUS and
// EN_KILLFOCUS (GetFocus() then names the window gaining the focus), EN_MAXTEXT when typing
// would pass the limit; it answers WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC while read-only or
// disabled) with the colours to paint in. The display reports what the person types through
// TypeIntoEdit.
#pragma once

#include "platform/windowing/window.h"

#include <string>

#define WC_EDIT L"Edit"

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;

constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
// The grey text an empty edit shows (lParam: the text; wParam unused). EM_GETCUEBANNER copies
// it into wParam's buffer of lParam characters.
constexpr UINT EM_SETCUEBANNER = 0x1501;
constexpr UINT EM_GETCUEBANNER = 0x1502;

constexpr UINT EN_SETFOCUS = 0x0100;
constexpr UINT EN_KILLFOCUS = 0x0200;
constexpr UINT EN_MAXTEXT = 0x0501;

constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;

// The limit of a new edit, and what EM_LIMITTEXT 0 restores.
constexpr int kEditDefaultLimit = 0x7FFE;

namespace platform {

// The person typed `text` over the selection (a backspace, L"\b", removes the selection or the
// character before the caret). Refused, wholly, when the edit is disabled or read-only, when
// ES_NUMBER meets a character that is no digit, or when the result would pass the limit
// (EN_MAXTEXT). True when the text changed; the owner then hears EN_CHANGE.
bool TypeIntoEdit(HWND edit, const std::wstring& text);

// The colours the owner chose through WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC: text and background
// (the returned brush's colour). False when the owner left the defaults.
struct EditColours {
    COLORREF text;
    COLORREF background;
};
bool QueryEditColours(HWND edit, EditColours* colours);

// The grey text the edit shows while it is empty (EM_SETCUEBANNER); empty when none.
std::wstring EditCueBanner(HWND edit);

namespace detail {
void RegisterEditControl();
}

} // namespace platform

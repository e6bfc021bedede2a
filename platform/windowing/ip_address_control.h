// The IP address control, kept headless: four fields of 0 to 255, each of which may be blank.
// Its text is the dotted address ("192.168.0.7", blank fields empty). Typed characters (WM_CHAR)
// go to the current field: "." after a number, or a third digit, moves on to the next field
// (IPM_SETFOCUS picks one). The display mirrors the fields, moves its caret by the same rule and
// reports the user's edits through EditIPAddressField.
#pragma once

#include "platform/windowing/window.h"

#define WC_IPADDRESS L"SysIPAddress32"

constexpr UINT IPM_CLEARADDRESS = WM_USER + 100;
constexpr UINT IPM_SETADDRESS = WM_USER + 101;
constexpr UINT IPM_GETADDRESS = WM_USER + 102; // returns the count of fields that are not blank
constexpr UINT IPM_SETRANGE = WM_USER + 103;
constexpr UINT IPM_SETFOCUS = WM_USER + 104;
constexpr UINT IPM_ISBLANK = WM_USER + 105;

// The address packs the first field in the high byte.
constexpr DWORD MAKEIPADDRESS(BYTE b1, BYTE b2, BYTE b3, BYTE b4) {
    return (DWORD(b1) << 24) | (DWORD(b2) << 16) | (DWORD(b3) << 8) | DWORD(b4);
}
constexpr BYTE FIRST_IPADDRESS(DWORD a) {
    return BYTE(a >> 24);
}
constexpr BYTE SECOND_IPADDRESS(DWORD a) {
    return BYTE(a >> 16);
}
constexpr BYTE THIRD_IPADDRESS(DWORD a) {
    return BYTE(a >> 8);
}
constexpr BYTE FOURTH_IPADDRESS(DWORD a) {
    return BYTE(a);
}
constexpr LPARAM MAKEIPRANGE(BYTE low, BYTE high) {
    return LPARAM((WORD(high) << 8) | low);
}

namespace platform {

// Digits a field holds at most; a field typed full moves the caret on.
constexpr int IP_FIELD_DIGITS = 3;

// The user typed `value` into field 0-3 (-1 blanks it). A value outside the field's range is
// brought into it, as the control does. The owner hears EN_CHANGE.
bool EditIPAddressField(HWND control, int field, int value);
// The field's value, -1 when blank or out of reach.
int GetIPAddressField(HWND control, int field);

namespace detail {
void RegisterIPAddressControl();
}

} // namespace platform

// The up-down control, kept headless: a position within a range, and perhaps a buddy window
// that shows it. A click asks the owner first with WM_NOTIFY / UDN_DELTAPOS (a nonzero answer
// denies the step; the owner may change the delta), then moves the position, writes it into the
// buddy (UDS_SETBUDDYINT) and sends WM_VSCROLL (WM_HSCROLL with UDS_HORZ) / SB_THUMBPOSITION.
// The default range runs from 100 down to 0: the up arrow steps towards the upper end, so there
// it gives delta -1.
#pragma once

#include "platform/windowing/window.h"

#define UPDOWN_CLASS L"msctls_updown32"

constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;

constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

constexpr UINT WM_NOTIFY = 0x004E;

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

constexpr UINT UDN_FIRST = 0U - 721U;
constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};

namespace platform {

// The person pressed the up (or right) arrow, or the down (left) one. False when the control
// is disabled or the owner denied the step.
bool ClickUpDown(HWND control, bool up);

namespace detail {
void RegisterUpDownControl();
}

} // namespace platform

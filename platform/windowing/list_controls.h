// The combo box and the list box, kept headless: a list of texts, each with a number of the
// caller's (item data), and one selection. The display mirrors the list and reports the
// user's choices through ChooseListItem and DoubleClickListItem below.
#pragma once

#include "platform/windowing/window.h"

#define WC_COMBOBOX L"ComboBox"
#define WC_LISTBOX L"ListBox"

// Combo box styles, messages and notifications. A drop-down combo box is made with the height of
// its open list; its window then keeps the height of the closed field, and
// CB_GETDROPPEDCONTROLRECT gives the open one (screen coordinates).
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;
constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr int CB_OKAY = 0;
constexpr int CB_ERR = -1;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_DBLCLK = 2;

// List box styles, messages and notifications (sent only with LBS_NOTIFY).
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
constexpr DWORD LBS_STANDARD = 0x00A00003;
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_SELITEMRANGEEX = 0x0183;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr int LB_OKAY = 0;
constexpr int LB_ERR = -1;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;

namespace platform {

// The height of a closed drop-down combo box, in pixels.
constexpr int kComboFieldHeight = 22;
// The height of a list box entry, in pixels.
constexpr int kListItemHeight = 16;

// The user picked entry `index` (-1 none): the selection moves and the owner hears
// CBN_SELCHANGE or LBN_SELCHANGE, as from a click in the real control. In a list box of
// several selected entries a plain click selects just that one (LBS_EXTENDEDSEL) or turns it
// on or off (LBS_MULTIPLESEL); the entry gets the caret (LB_GETCURSEL) either way.
bool ChooseListItem(HWND control, int index);
// The pointer rests on entry `index` (the display's list follows it): the list box is scrolled
// to show the entry and hears a mouse move at the entry's middle, as a real list would.
bool PointListItem(HWND control, int index);
// The user double-clicked entry `index`: it is selected, then LBN_SELCHANGE and LBN_DBLCLK
// (CBN_DBLCLK for a simple combo box) reach the owner.
bool DoubleClickListItem(HWND control, int index);

// Told after a control's list, selection or fields changed (the display mirrors them).
enum class ControlChange { Items, Selection, Fields };
typedef void (*ControlChangeHook)(HWND control, ControlChange what);
void SetControlChangeHook(ControlChangeHook hook);

namespace detail {
void NotifyControlChange(HWND control, ControlChange what);
void RegisterListControls();
} // namespace detail

} // namespace platform

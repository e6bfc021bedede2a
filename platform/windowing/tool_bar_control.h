// The toolbar control, kept headless: a row of buttons (each a command, an image of the
// control's bitmap strips, a state and a style) and separators, laid out left to right; hidden
// buttons take no room. A pressed button sends WM_COMMAND (BN_CLICKED, the control as lParam)
// to the parent. With TBSTYLE_TOOLTIPS a button's tip is asked for by WM_NOTIFY with
// TTN_GETDISPINFOW, then TTN_GETDISPINFOA, sent to the control; what it does not answer
// itself goes on to its parent.
#pragma once

#include "platform/windowing/up_down_control.h"
#include "platform/windowing/window.h"

#include <string>

#define TOOLBARCLASSNAME L"ToolbarWindow32"

// Common control styles.
constexpr DWORD CCS_TOP = 0x0001;
constexpr DWORD CCS_NOMOVEY = 0x0002;
constexpr DWORD CCS_BOTTOM = 0x0003;
constexpr DWORD CCS_NORESIZE = 0x0004;
constexpr DWORD CCS_NOPARENTALIGN = 0x0008;
constexpr DWORD CCS_NODIVIDER = 0x0040;

// Toolbar control styles.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_LIST = 0x1000;

// Button styles.
constexpr BYTE TBSTYLE_BUTTON = 0x00;
constexpr BYTE TBSTYLE_SEP = 0x01;
constexpr BYTE TBSTYLE_CHECK = 0x02;
constexpr BYTE TBSTYLE_GROUP = 0x04;
constexpr BYTE TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK;
constexpr BYTE BTNS_BUTTON = TBSTYLE_BUTTON;
constexpr BYTE BTNS_SEP = TBSTYLE_SEP;
constexpr BYTE BTNS_CHECK = TBSTYLE_CHECK;

// Button states.
constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;

constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;
constexpr UINT TB_CHECKBUTTON = WM_USER + 2;
constexpr UINT TB_PRESSBUTTON = WM_USER + 3;
constexpr UINT TB_HIDEBUTTON = WM_USER + 4;
constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;
constexpr UINT TB_ISBUTTONCHECKED = WM_USER + 10;
constexpr UINT TB_ISBUTTONPRESSED = WM_USER + 11;
constexpr UINT TB_ISBUTTONHIDDEN = WM_USER + 12;
constexpr UINT TB_SETSTATE = WM_USER + 17;
constexpr UINT TB_GETSTATE = WM_USER + 18;
constexpr UINT TB_ADDBITMAP = WM_USER + 19;
constexpr UINT TB_DELETEBUTTON = WM_USER + 22;
constexpr UINT TB_GETBUTTON = WM_USER + 23;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;
constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;
constexpr UINT TB_SETBUTTONSIZE = WM_USER + 31;
constexpr UINT TB_SETBITMAPSIZE = WM_USER + 32;
constexpr UINT TB_AUTOSIZE = WM_USER + 33;
constexpr UINT TB_GETBUTTONSIZE = WM_USER + 58;
constexpr UINT TB_INSERTBUTTONW = WM_USER + 67;
constexpr UINT TB_ADDBUTTONSW = WM_USER + 68;

struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    DWORD_PTR dwData;
    INT_PTR iString;
};

// Here a bitmap is the id of an image strip registered for toolbars (tool_bar_images.h).
struct TBADDBITMAP {
    HINSTANCE hInst;
    UINT_PTR nID;
};

// Tooltip text requests.
constexpr UINT TTN_FIRST = 0U - 520U;
constexpr UINT TTN_GETDISPINFOA = TTN_FIRST - 0;
constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
constexpr UINT TTN_NEEDTEXTA = TTN_GETDISPINFOA;
constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;
constexpr int kTipTextLength = 80;

struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText;
    wchar_t szText[kTipTextLength];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};

struct NMTTDISPINFOA {
    NMHDR hdr;
    char* lpszText;
    char szText[kTipTextLength];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};

namespace platform {

// The person pressed button index: a check button toggles, and the parent gets WM_COMMAND.
// False for a separator, a hidden or disabled button, or a disabled control.
bool ClickToolBarButton(HWND toolbar, int index);
// The tip of button index as the control's owner answers it (UTF-8 for the narrow request);
// empty without TBSTYLE_TOOLTIPS or an answer.
std::wstring ToolBarButtonTip(HWND toolbar, int index);
// The image of button index: the registered strip and the image's place in it; false when the
// button has none.
bool ToolBarButtonImage(HWND toolbar, int index, UINT* strip, int* image);

namespace detail {
void RegisterToolBarControl();
}

} // namespace platform

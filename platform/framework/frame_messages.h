// The class library's private messages between frames, views and control bars, and the
// window messages frames handle beyond those of platform/windowing/window.h.
#pragma once

#include "platform/core/types.h"
#include "platform/windowing/window_pos.h"

constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_INPUT = 0x00FF;
constexpr UINT WM_MOUSEHWHEEL = 0x020E;
// To the ancestors of a child window just made: wp: WM_CREATE (low word), the child's id (high);
// lp: the child.
constexpr UINT WM_PARENTNOTIFY = 0x0210;
constexpr UINT WM_MDIACTIVATE = 0x0222;
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;

constexpr UINT WM_SIZEPARENT = 0x0361;
constexpr UINT WM_SETMESSAGESTRING = 0x0362; // wp: string id, or lp: the text
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;  // wp: disable commands nobody handles
constexpr UINT WM_INITIALUPDATE = 0x0364;
constexpr UINT WM_RECALCPARENT = 0x0368; // lp: RECT* of the client the parent gives
// To the top of a window's owner chain when the activation moves to or from a window whose
// chain ends elsewhere (or to none): wp and lp as WM_ACTIVATE's.
constexpr UINT WM_ACTIVATETOPLEVEL = 0x036E;

// A child with this extended style tells no ancestor that it was made.
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;

// Frame styles.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// Child window ids a frame gives its parts.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;

// The standard idle prompt of the status bar and the command that closes a window.
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;
// The standard document and application commands.
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_APP_EXIT = 0xE141;

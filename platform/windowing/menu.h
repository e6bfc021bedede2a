// Menus as a plain model: menu bars and popups with command items, separators and sub-menus,
// their enabled and checked states, loaded from the resource tables a deliverable registers.
// The display draws them from this model (platform/windowing/ui_notify.h says when).
#pragma once

#include "platform/windowing/window.h"

#include <functional>
#include <vector>

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its sub-menus.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// idOrPopup is the command id, or the HMENU of a sub-menu with MF_POPUP (then owned).
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
// DeleteMenu destroys a sub-menu, RemoveMenu hands it back to the caller.
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);
// 0 for a separator, 0xFFFFFFFF for a sub-menu or a position outside the menu.
UINT GetMenuItemID(HMENU menu, int pos);
HMENU GetSubMenu(HMENU menu, int pos);
// MF_ flags of the item (with MF_POPUP for a sub-menu); 0xFFFFFFFF when there is none.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int max, UINT flags);
// The previous MF_CHECKED / MF_GRAYED state, or 0xFFFFFFFF when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);
HMENU LoadMenuW(HINSTANCE instance, UINT id);
// Item information: only the command id and the item data are kept.
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_DATA = 0x0020;
struct MENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HANDLE hbmpChecked;
    HANDLE hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
    HANDLE hbmpItem;
};
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);
// Shows a popup menu. With TPM_RETURNCMD the chosen command id is returned (0 for none),
// otherwise it is posted to owner as WM_COMMAND.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect);

struct MenuTemplateItem {
    UINT flags; // MF_STRING, MF_SEPARATOR, MF_POPUP, MF_GRAYED, MF_CHECKED
    UINT id;
    const wchar_t* text;
    std::vector<MenuTemplateItem> popup;
};

struct MenuTemplate {
    UINT id;
    std::vector<MenuTemplateItem> items;
};

namespace platform {

// Later registrations of an id replace earlier ones.
void RegisterMenuTemplate(const MenuTemplate& tmpl);
const MenuTemplate* FindMenuTemplate(UINT id);

// Picks the command of a popup menu: the display shows it, a test answers for the user.
// Returns the command id, 0 to cancel.
using MenuResponder = std::function<UINT(HMENU menu, int x, int y, HWND owner)>;
void SetMenuResponder(MenuResponder responder);

} // namespace platform

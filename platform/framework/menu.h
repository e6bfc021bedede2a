// CMenu: the class library's wrapper of a menu handle.
#pragma once

#include "platform/core/object.h"
#include "platform/windowing/menu.h"

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)

public:
    CMenu() = default;
    // Destroys the menu it still holds.
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL LoadMenu(UINT id);
    BOOL DestroyMenu();
    // The sub-menu's handle, kept by this menu; null when there is none at pos.
    HMENU GetSubMenu(int pos) const { return ::GetSubMenu(m_hMenu, pos); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    BOOL SetMenuItemInfo(UINT item, const MENUITEMINFOW* info, BOOL byPosition = FALSE) {
        return ::SetMenuItemInfoW(m_hMenu, item, byPosition, info);
    }
    BOOL GetMenuItemInfo(UINT item, MENUITEMINFOW* info, BOOL byPosition = FALSE) const {
        return ::GetMenuItemInfoW(m_hMenu, item, byPosition, info);
    }
};

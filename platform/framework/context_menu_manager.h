// CContextMenuManager: shows the application's right-click menus as popups. The menu goes
// through the platform's popup road (the display shows it, a test's responder answers), and
// the chosen command is sent to the owner as WM_COMMAND. Menus can be registered under a name;
// the names and their menu ids are the state kept in the settings store.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/object.h"
#include "platform/windowing/menu.h"

#include <utility>
#include <vector>

class CWnd;

class CContextMenuManager : public CObject {
    DECLARE_DYNAMIC(CContextMenuManager)

public:
    CContextMenuManager() = default;
    ~CContextMenuManager() override;
    CContextMenuManager(const CContextMenuManager&) = delete;
    CContextMenuManager& operator=(const CContextMenuManager&) = delete;

    // Loads the menu resource and keeps it under the name (names ignore case; a second
    // registration of a name replaces the first). FALSE for an empty name or a missing menu.
    BOOL AddMenu(LPCWSTR name, UINT menuId);
    // The first popup of the menu registered under the name, owned by the manager; null when
    // there is none. menuId, when given, receives its resource id.
    HMENU GetMenuByName(LPCWSTR name, UINT* menuId = nullptr) const;
    // The registered names and their menu ids, in the order they were added.
    std::vector<std::pair<CString, UINT>> GetMenuNames() const;

    // The names and ids as integer values of the per-user settings key path (a trailing "\"
    // is allowed). Saving replaces what the key held.
    BOOL SaveState(LPCWSTR keyPath) const;
    // Registers the stored names not registered yet whose menus exist; other values are
    // skipped. FALSE when the key is missing.
    BOOL LoadState(LPCWSTR keyPath);
    // x, y in screen coordinates. With sendCommand the chosen command is sent to owner at once;
    // otherwise it is returned. 0 when nothing was chosen or the menu is not a menu.
    UINT ShowPopupMenu(HMENU popup, int x, int y, CWnd* owner, BOOL sendCommand = TRUE);

    // The last popup shown, for tests and the display: its position and owner.
    POINT LastPoint() const { return m_lastPoint; }
    HWND LastOwner() const { return m_lastOwner; }
    int ShownCount() const { return m_nShown; }

private:
    struct Named {
        CString name;
        UINT id = 0;
        HMENU menu = nullptr; // owned
    };
    std::vector<Named> m_menus;
    POINT m_lastPoint{0, 0};
    HWND m_lastOwner = nullptr;
    int m_nShown = 0;
};

// The application's manager; null until the application made one (CWinAppEx).
CContextMenuManager* AfxGetContextMenuManager();

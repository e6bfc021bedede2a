// CContextMenuManager: shows the application's right-click menus as popups. The menu goes
// through the platform's popup road (the display shows it, a test's responder answers), and
// the chosen command is sent to the owner as WM_COMMAND.
#pragma once

#include "platform/core/object.h"
#include "platform/windowing/menu.h"

class CWnd;

class CContextMenuManager : public CObject {
    DECLARE_DYNAMIC(CContextMenuManager)

public:
    CContextMenuManager() = default;
    // x, y in screen coordinates. With sendCommand the chosen command is sent to owner at once;
    // otherwise it is returned. 0 when nothing was chosen or the menu is not a menu.
    UINT ShowPopupMenu(HMENU popup, int x, int y, CWnd* owner, BOOL sendCommand = TRUE);

    // The last popup shown, for tests and the display: its position and owner.
    POINT LastPoint() const { return m_lastPoint; }
    HWND LastOwner() const { return m_lastOwner; }
    int ShownCount() const { return m_nShown; }

private:
    POINT m_lastPoint{0, 0};
    HWND m_lastOwner = nullptr;
    int m_nShown = 0;
};

// The application's manager; null until the application made one (CWinAppEx).
CContextMenuManager* AfxGetContextMenuManager();

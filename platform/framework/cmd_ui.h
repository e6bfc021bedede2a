// CCmdUI: the user-interface state of one command (menu item, toolbar button, status pane)
// that the command's update handler sets while the idle update walks the interface.
#pragma once

#include "platform/core/cstring.h"
#include "platform/framework/cmd_target.h"
#include "platform/windowing/window.h"

class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    // Each acts on the menu item (m_pMenu, m_nIndex) or on the window m_pOther.
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
    virtual void SetText(LPCWSTR text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks target to update the command; when no handler updates it and disableIfNoHandler is
    // set, the command is disabled unless some target handles the command itself. TRUE when a
    // handler updated it.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    UINT m_nIndexMax = 0;
    HMENU m_pMenu = nullptr;
    HMENU m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

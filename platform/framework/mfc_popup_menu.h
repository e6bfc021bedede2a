// CMFCPopupMenu: the popup window a drop-down button opens. It owns itself: closing it (the
// close message, Escape, another popup opening, losing the activation) destroys the window and
// deletes the object. A
// derived popup puts its own bar inside (OnCreateBar); keys pressed on the popup go to that
// bar. At most one popup is open at a time.
#pragma once

#include "platform/framework/wnd.h"

class CMFCToolBarMenuButton;

class CMFCPopupMenu : public CWnd {
    DECLARE_DYNAMIC(CMFCPopupMenu)

public:
    CMFCPopupMenu();
    ~CMFCPopupMenu() override;

    // Makes the popup with its top-left corner at (x, y) on the screen, owned by owner; menu
    // is what a plain popup lists (the display shows it).
    virtual BOOL Create(CWnd* owner, int x, int y, HMENU menu = nullptr);
    // The bar inside the popup, or null.
    virtual CWnd* GetMenuBar() { return nullptr; }
    HMENU GetMenu() const { return m_hMenu; }
    CMFCToolBarMenuButton* GetParentButton() const { return m_pParentBtn; }
    void SetParentButton(CMFCToolBarMenuButton* button) { m_pParentBtn = button; }
    // Closes the popup (it is deleted).
    void CloseMenu();

    // The popup open now, or null.
    static CMFCPopupMenu* GetActiveMenu();

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    // Makes the bar inside the client area; FALSE fails the creation.
    virtual BOOL OnCreateBar() { return TRUE; }
    // The size the popup takes: its bar's window size, or a small empty square.
    virtual CSize CalcSize();
    void PostNcDestroy() override;

    HMENU m_hMenu = nullptr;
    CMFCToolBarMenuButton* m_pParentBtn = nullptr;
};

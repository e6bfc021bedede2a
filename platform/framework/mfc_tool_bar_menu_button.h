// CMFCToolBarMenuButton: a toolbar button with a drop-down arrow. Clicking the arrow opens a
// popup (CMFCPopupMenu) under the button; a deliverable's button class says what the popup
// holds by overriding CreatePopupMenu. The popup closes itself; the button only keeps track
// of the one it opened.
#pragma once

#include "platform/framework/mfc_tool_bar_button.h"
#include "platform/windowing/window.h"

class CMFCPopupMenu;

class CMFCToolBarMenuButton : public CMFCToolBarButton {
    DECLARE_DYNCREATE(CMFCToolBarMenuButton)

public:
    CMFCToolBarMenuButton() = default;
    CMFCToolBarMenuButton(UINT id, HMENU menu, int image, LPCWSTR text = nullptr);
    // Copies share no popup.
    CMFCToolBarMenuButton(const CMFCToolBarMenuButton& other);
    CMFCToolBarMenuButton& operator=(const CMFCToolBarMenuButton&) = delete;
    // Closes a popup still open.
    ~CMFCToolBarMenuButton() override;

    void CopyFrom(const CMFCToolBarButton& src) override;
    // On a toolbar the button shows its arrow; elsewhere (a menu) it does not.
    void OnChangeParentWnd(CWnd* parent) override;
    // The arrow takes room beside the face.
    int GetLayoutWidth(int standard) const override;

    // The popup to open, or null for none: here a plain popup for the button's menu, or an
    // empty one when empty menus are allowed.
    virtual CMFCPopupMenu* CreatePopupMenu();
    virtual BOOL IsEmptyMenuAllowed() const { return FALSE; }
    // An exclusive button's popup closes every other open popup first.
    virtual BOOL IsExclusive() const { return FALSE; }
    // Opens the popup under the button on wnd (its toolbar); FALSE when none opened.
    virtual BOOL OpenPopupMenu(CWnd* wnd = nullptr);

    BOOL IsDroppedDown() const { return m_pPopupMenu != nullptr; }
    CMFCPopupMenu* GetPopupMenu() const { return m_pPopupMenu; }
    HMENU GetMenu() const { return m_hMenu; }
    // The popup is going: forget it.
    void OnPopupClosed(CMFCPopupMenu* popup);

    BOOL m_bDrawDownArrow = TRUE;

protected:
    HMENU m_hMenu = nullptr;
    CMFCPopupMenu* m_pPopupMenu = nullptr;
};

#include "platform/framework/mfc_tool_bar_menu_button.h"

#include "platform/framework/mfc_popup_menu.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/tool_bar_button_face.h"

IMPLEMENT_DYNCREATE(CMFCToolBarMenuButton, CMFCToolBarButton)

CMFCToolBarMenuButton::CMFCToolBarMenuButton(UINT id, HMENU menu, int image, LPCWSTR text)
    : CMFCToolBarButton(id), m_hMenu(menu) {
    m_iImage = image;
    if (text)
        m_strText = text;
}

CMFCToolBarMenuButton::CMFCToolBarMenuButton(const CMFCToolBarMenuButton& other)
    : CMFCToolBarButton(other), m_bDrawDownArrow(other.m_bDrawDownArrow), m_hMenu(other.m_hMenu) {}

CMFCToolBarMenuButton::~CMFCToolBarMenuButton() {
    if (CMFCPopupMenu* popup = m_pPopupMenu) {
        m_pPopupMenu = nullptr;
        popup->SetParentButton(nullptr);
        popup->CloseMenu();
    }
}

void CMFCToolBarMenuButton::CopyFrom(const CMFCToolBarButton& src) {
    CMFCToolBarButton::CopyFrom(src);
    if (const auto* menu = dynamic_cast<const CMFCToolBarMenuButton*>(&src)) {
        m_hMenu = menu->m_hMenu;
        m_bDrawDownArrow = menu->m_bDrawDownArrow;
    }
}

void CMFCToolBarMenuButton::OnChangeParentWnd(CWnd* parent) {
    CMFCToolBarButton::OnChangeParentWnd(parent);
    m_bDrawDownArrow = dynamic_cast<CMFCToolBar*>(parent) != nullptr;
}

CMFCPopupMenu* CMFCToolBarMenuButton::CreatePopupMenu() {
    if (!m_hMenu && !IsEmptyMenuAllowed())
        return nullptr;
    return new CMFCPopupMenu;
}

BOOL CMFCToolBarMenuButton::OpenPopupMenu(CWnd* wnd) {
    if (m_pPopupMenu)
        return FALSE;
    if (!wnd)
        wnd = m_pWndParent;
    if (IsExclusive())
        if (CMFCPopupMenu* other = CMFCPopupMenu::GetActiveMenu())
            other->CloseMenu();
    CMFCPopupMenu* popup = CreatePopupMenu();
    if (!popup)
        return FALSE;
    // Under the button, in screen coordinates.
    POINT at{m_rect.left, m_rect.bottom};
    if (wnd && ::IsWindow(wnd->m_hWnd))
        ::ClientToScreen(wnd->m_hWnd, &at);
    popup->SetParentButton(this);
    m_pPopupMenu = popup;
    if (!popup->Create(wnd, at.x, at.y, m_hMenu)) {
        // A popup that made no window is not deleted by closing.
        m_pPopupMenu = nullptr;
        if (!::IsWindow(popup->m_hWnd))
            delete popup;
        return FALSE;
    }
    return TRUE;
}

void CMFCToolBarMenuButton::OnPopupClosed(CMFCPopupMenu* popup) {
    if (m_pPopupMenu == popup)
        m_pPopupMenu = nullptr;
}

int CMFCToolBarMenuButton::GetLayoutWidth(int standard) const {
    return standard + (m_bDrawDownArrow ? platform::kDropDownArrowWidth : 0);
}

#include "design/view_toolbar.h"

#include "design/design_view.h"
#include "platform/framework/mfc_tool_bar_menu_button.h"
#include "platform/windowing/menu.h"

IMPLEMENT_DYNCREATE(CViewToolbar, CCustomToolBar)

CViewToolbar::~CViewToolbar() {
    // The buttons go first: none may keep a popup of a menu destroyed here.
    RemoveAllButtons();
    for (HMENU m : m_menus)
        ::DestroyMenu(m);
}

void CViewToolbar::OnReset() {
    const int index = CommandToIndex(CDesignView::ID_ZOOM_IN);
    if (index < 0)
        return;
    HMENU loaded = ::LoadMenuW(nullptr, CDesignView::IDR_ZOOM_MENU);
    if (!loaded)
        return;
    // The first sub-menu is kept for the button; the rest of the loaded menu goes.
    HMENU popup = ::GetSubMenu(loaded, 0);
    if (popup)
        ::RemoveMenu(loaded, 0, MF_BYPOSITION);
    ::DestroyMenu(loaded);
    if (!popup)
        return;
    m_menus.push_back(popup);
    const CMFCToolBarButton* old = GetButton(index);
    CMFCToolBarMenuButton button(CDesignView::ID_ZOOM_IN, popup, old ? old->GetImage() : -1);
    ReplaceButton(CDesignView::ID_ZOOM_IN, button);
}

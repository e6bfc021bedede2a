#include "platform/framework/menu.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu() {
    DestroyMenu();
}

BOOL CMenu::Attach(HMENU menu) {
    if (m_hMenu || !::IsMenu(menu))
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::LoadMenu(UINT id) {
    if (m_hMenu)
        return FALSE;
    m_hMenu = ::LoadMenuW(nullptr, id);
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu)
        return FALSE;
    const BOOL ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return ok;
}

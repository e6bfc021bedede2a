#include "platform/framework/win_app_ex.h"

#include "platform/framework/context_menu_manager.h"

IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

CWinAppEx::~CWinAppEx() {
    delete m_pContextMenuManager;
}

BOOL CWinAppEx::InitContextMenuManager() {
    if (!m_pContextMenuManager)
        m_pContextMenuManager = new CContextMenuManager;
    return TRUE;
}

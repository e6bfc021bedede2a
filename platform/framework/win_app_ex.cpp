#include "platform/framework/win_app_ex.h"

#include "platform/framework/context_menu_manager.h"
#include "platform/framework/tooltip_manager.h"

IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

CWinAppEx::~CWinAppEx() {
    delete m_pContextMenuManager;
    delete m_pTooltipManager;
}

BOOL CWinAppEx::InitTooltipManager() {
    if (!m_pTooltipManager)
        m_pTooltipManager = new CTooltipManager;
    return TRUE;
}

BOOL CWinAppEx::InitContextMenuManager() {
    if (!m_pContextMenuManager)
        m_pContextMenuManager = new CContextMenuManager;
    return TRUE;
}

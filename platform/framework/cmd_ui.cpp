#include "platform/framework/cmd_ui.h"

#include "platform/framework/wnd.h"
#include "platform/windowing/menu.h"

void CCmdUI::Enable(BOOL on) {
    if (m_pMenu) {
        if (!m_pSubMenu)
            EnableMenuItem(m_pMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    } else if (m_pOther) {
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
    if (m_pMenu) {
        if (!m_pSubMenu)
            CheckMenuItem(m_pMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        m_pOther->SendMessage(BM_SETCHECK, WPARAM(check));
    }
}

void CCmdUI::SetText(LPCWSTR text) {
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        UINT state = GetMenuState(m_pMenu, m_nIndex, MF_BYPOSITION);
        if (state == 0xFFFFFFFF)
            return;
        ModifyMenuW(m_pMenu, m_nIndex,
                    MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_CHECKED)), m_nID, text);
    } else if (m_pOther) {
        m_pOther->SetWindowText(text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
    if (!target)
        return FALSE;
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (handled && m_bContinueRouting)
        handled = FALSE;
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        int query = 0;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &query));
    }
    return handled;
}

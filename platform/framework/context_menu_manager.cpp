#include "platform/framework/context_menu_manager.h"

#include "platform/framework/win_app_ex.h"
#include "platform/framework/wnd.h"

IMPLEMENT_DYNAMIC(CContextMenuManager, CObject)

UINT CContextMenuManager::ShowPopupMenu(HMENU popup, int x, int y, CWnd* owner, BOOL sendCommand) {
    if (!::IsMenu(popup))
        return 0;
    m_lastPoint = POINT{x, y};
    m_lastOwner = owner ? owner->m_hWnd : nullptr;
    ++m_nShown;
    const UINT cmd = UINT(::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                           x, y, 0, m_lastOwner, nullptr));
    if (cmd && sendCommand && owner && ::IsWindow(owner->m_hWnd))
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(cmd), 0), 0);
    return cmd;
}

CContextMenuManager* AfxGetContextMenuManager() {
    auto* app = dynamic_cast<CWinAppEx*>(AfxGetApp());
    return app ? app->GetContextMenuManager() : nullptr;
}

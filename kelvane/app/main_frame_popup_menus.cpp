#include "kelvane/app/app_resources.h"
#include "kelvane/app/main_frame.h"
#include "platform/framework/context_menu_manager.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/window.h"

namespace {

// Shows the first popup of the menu resource at the screen point, its items brought up to
// date first; the chosen command goes through the frame's routing.
void ShowFirstPopup(CMainFrame* frame, UINT menuId, POINT at) {
    HMENU menu = ::LoadMenuW(nullptr, menuId);
    if (!menu)
        return;
    if (HMENU popup = ::GetSubMenu(menu, 0)) {
        frame->fnInitPopupMenu(popup);
        CContextMenuManager fallback;
        CContextMenuManager* manager = AfxGetContextMenuManager();
        (manager ? manager : &fallback)->ShowPopupMenu(popup, at.x, at.y, frame, TRUE);
    }
    ::DestroyMenu(menu);
}

} // namespace

BOOL CMainFrame::OnShowMDITabContextMenu(POINT screen) {
    ShowFirstPopup(this, kelvane::IDR_MDI_TABS, screen);
    return TRUE;
}

void CMainFrame::OnToolbarMenu(LPARAM lp) {
    // Screen coordinates may be negative on a screen left of or above the first.
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ShowFirstPopup(this, kelvane::IDR_TOOLBAR_TOGGLE, at);
}

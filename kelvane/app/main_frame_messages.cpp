// Window messages of the main frame beyond its commands: popups trimmed after their items
// were brought up to date, the toolbar menu on a right-click on the menu bar or a pane, and
// the palette messages handed on to the design views.
#include "design/design_view.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/popup_menu_hook.h"
#include "platform/framework/mdi_child_wnd_ex.h"
#include "platform/framework/message_filter.h"
#include "platform/framework/palette_messages.h"
#include "platform/framework/view.h"
#include "platform/framework/win_app.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/menu_bar_messages.h"

namespace {

// The toolbar menu at a point of the screen, shown by the main window.
void ToolbarMenuAt(POINT screen) {
    if (CWnd* main = AfxGetMainWnd(); main && ::IsWindow(main->m_hWnd))
        main->SendMessage(kelvane::WM_TOOLBAR_MENU, 0, MAKELPARAM(WORD(screen.x), WORD(screen.y)));
}

// The About item of a popup (there is one on the Help menu of the frame and of the design
// windows) reads string 50003 with the application name.
void FnSetAboutItemText(HMENU popup) {
    if (!popup || ::GetMenuState(popup, kelvane::ID_ABOUT, MF_BYCOMMAND) == 0xFFFFFFFFu)
        return;
    CString text;
    if (!AfxLoadString(kelvane::IDS_ABOUT_APP, text) || text.IsEmpty())
        return;
    CWinApp* app = AfxGetApp();
    text.Replace(L"%1", app && app->m_pszAppName ? app->m_pszAppName : L"");
    ::ModifyMenuW(popup, kelvane::ID_ABOUT, MF_BYCOMMAND | MF_STRING, kelvane::ID_ABOUT, text);
}

// The message to every window below parent, depth first.
void SendToDescendants(HWND parent, UINT msg, WPARAM wp) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, msg, wp, 0);
        if (::IsWindow(child))
            SendToDescendants(child, msg, wp);
    }
}

} // namespace

CView* CMainFrame::fnActiveView() const {
    CMDIChildWndEx* child = MDIGetActive();
    return child ? child->GetActiveView() : nullptr;
}

void CMainFrame::fnFilterDockedPanes() {
    const HWND frame = m_hWnd;
    for (CControlBar* pane : m_docking.GetPanes()) {
        if (!pane || !m_docking.IsDocked(pane) || !::IsWindow(pane->m_hWnd))
            continue;
        // The frame is looked up at each message: a pane may outlive it on a mini-frame.
        platform::AddMessageFilter(
            pane->m_hWnd, [frame](HWND hwnd, UINT msg, WPARAM, LPARAM lp, LRESULT* result) {
                if (fnHeldBack(frame, hwnd, msg))
                    return true;
                if (msg != WM_RBUTTONUP)
                    return false;
                POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                ::ClientToScreen(hwnd, &at);
                ToolbarMenuAt(at);
                *result = 0;
                return true;
            });
    }
}

void CMainFrame::fnInitPopupMenu(HMENU popup) {
    FnSetAboutItemText(popup);
    OnInitMenuPopup(popup, 0, FALSE);
    kelvane::TrimPopupMenu(popup, [this](HMENU sub) { OnInitMenuPopup(sub, 0, FALSE); });
}

BOOL CMainFrame::OnFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    LRESULT r = 0;
    switch (msg) {
    case WM_INITMENUPOPUP:
        if (HIWORD(DWORD_PTR(lp)))
            return FALSE; // the system menu is not trimmed
        fnInitPopupMenu(reinterpret_cast<HMENU>(wp));
        break;
    case WM_PALETTECHANGED: {
        if (!CJoxToolbarFrameWnd::OnWndMsg(msg, wp, lp, &r))
            r = DefWindowProc(msg, wp, lp);
        CView* view = fnActiveView();
        SendToDescendants(m_hWnd, CDesignView::WM_REALISE_PALETTE,
                          reinterpret_cast<WPARAM>(view ? view->m_hWnd : nullptr));
        break;
    }
    case WM_QUERYNEWPALETTE:
        if (CView* view = fnActiveView())
            view->SendMessage(CDesignView::WM_REALISE_PALETTE, 0, 0);
        r = TRUE;
        break;
    case WM_PARENTNOTIFY:
        // Tab windows made anywhere below the frame get the frame's filter; the message goes
        // on to the base.
        if (LOWORD(DWORD(wp)) == WM_CREATE)
            fnFilterTabWindow(reinterpret_cast<HWND>(lp));
        return FALSE;
    case WM_NCRBUTTONUP:
        if (wp != HTMENU)
            return FALSE;
        ToolbarMenuAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        break;
    default:
        return FALSE;
    }
    if (result)
        *result = r;
    return TRUE;
}

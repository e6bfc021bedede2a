#include "platform/framework/mfc_popup_menu.h"

#include "platform/framework/mfc_tool_bar_menu_button.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMFCPopupMenu, CWnd)

namespace {

CMFCPopupMenu* g_active = nullptr;

// A popup with nothing inside still shows as a small square.
constexpr int kEmptySize = 16;

} // namespace

CMFCPopupMenu::CMFCPopupMenu() = default;

CMFCPopupMenu::~CMFCPopupMenu() {
    if (g_active == this)
        g_active = nullptr;
    if (m_pParentBtn)
        m_pParentBtn->OnPopupClosed(this);
}

CMFCPopupMenu* CMFCPopupMenu::GetActiveMenu() {
    return g_active;
}

BOOL CMFCPopupMenu::Create(CWnd* owner, int x, int y, HMENU menu) {
    m_hMenu = menu;
    if (g_active && g_active != this)
        g_active->CloseMenu();
    if (!CreateEx(0, nullptr, L"", WS_POPUP, CRect(x, y, x + kEmptySize, y + kEmptySize), owner, 0))
        return FALSE;
    if (!OnCreateBar()) {
        DestroyWindow();
        return FALSE;
    }
    const CSize size = CalcSize();
    MoveWindow(x, y, size.cx, size.cy);
    ShowWindow(SW_SHOWNOACTIVATE);
    g_active = this;
    return TRUE;
}

CSize CMFCPopupMenu::CalcSize() {
    CWnd* bar = GetMenuBar();
    if (!bar || !::IsWindow(bar->m_hWnd))
        return CSize(kEmptySize, kEmptySize);
    CRect r;
    bar->GetWindowRect(&r);
    return CSize(std::max(1, r.Width()), std::max(1, r.Height()));
}

void CMFCPopupMenu::CloseMenu() {
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    else
        delete this;
}

BOOL CMFCPopupMenu::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    // A click elsewhere takes the activation away: the popup closes, as a menu does.
    if (msg == WM_ACTIVATE && LOWORD(DWORD(wp)) == WA_INACTIVE && ::IsWindow(m_hWnd))
        PostMessage(WM_CLOSE);
    if (msg == WM_KEYDOWN || msg == WM_MOUSEWHEEL) {
        CWnd* bar = GetMenuBar();
        if (bar && ::IsWindow(bar->m_hWnd)) {
            const LRESULT r = bar->SendMessage(msg, wp, lp);
            if (result)
                *result = r;
            return TRUE;
        }
        if (msg == WM_KEYDOWN && int(wp) == VK_ESCAPE) {
            PostMessage(WM_CLOSE);
            if (result)
                *result = 0;
            return TRUE;
        }
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

void CMFCPopupMenu::PostNcDestroy() {
    if (g_active == this)
        g_active = nullptr;
    delete this;
}

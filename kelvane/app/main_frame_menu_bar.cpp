// The main frame's menu bar, hidden and shown by the Toggle Menu Bar command and, while it is
// hidden, for the moment by Alt or F10 alone or an Alt mnemonic.
#include "kelvane/app/main_frame.h"
#include "platform/framework/mdi_child_wnd_ex.h"
#include "platform/windowing/menu.h"

#include <cwctype>

namespace {

// Whether the key is the "&" letter of one of the bar's items.
bool IsMnemonic(HMENU menu, WPARAM key) {
    if (!menu)
        return false;
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
        for (const wchar_t* p = text; *p; ++p)
            if (p[0] == L'&' && p[1] && p[1] != L'&' &&
                WPARAM(std::towupper(p[1])) == WPARAM(std::towupper(wchar_t(key))))
                return true;
    }
    return false;
}

} // namespace

bool CMainFrame::IsMenuBarVisible() const {
    return ::GetMenu(m_hWnd) != nullptr;
}

void CMainFrame::fnShowMenuBar(bool show) {
    HMENU menu = nullptr;
    if (show) {
        CMDIChildWndEx* child = MDIGetActive();
        menu = child && child->m_hMenuShared && ::IsMenu(child->m_hMenuShared)
                   ? child->m_hMenuShared
                   : m_hMenuDefault;
    }
    ::SetMenu(m_hWnd, menu);
    RecalcLayout();
}

void CMainFrame::fnToggleMenuBar() {
    fnShowMenuBar(!IsMenuBarVisible());
    m_MenuKeys.SetTemporary(false);
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
    if (!msg)
        return CJoxToolbarFrameWnd::PreTranslateMessage(msg);
    const bool modifiers = (GetKeyState(VK_CONTROL) < 0) || (GetKeyState(VK_SHIFT) < 0);
    CMDIChildWndEx* child = MDIGetActive();
    HMENU bar = child && child->m_hMenuShared ? child->m_hMenuShared : m_hMenuDefault;
    const bool keyMessage = msg->message >= WM_KEYDOWN && msg->message <= WM_SYSKEYUP;
    const auto action =
        m_MenuKeys.OnMessage(msg->message, msg->wParam, msg->lParam, IsMenuBarVisible(), modifiers,
                             keyMessage && IsMnemonic(bar, msg->wParam), GetCapture() != nullptr);
    switch (action) {
    case kelvane::MenuBarKeys::Action::Swallow:
        return TRUE;
    case kelvane::MenuBarKeys::Action::ShowForNow:
        fnShowMenuBar(true);
        break;
    case kelvane::MenuBarKeys::Action::HideAfterPass: {
        const BOOL done = CJoxToolbarFrameWnd::PreTranslateMessage(msg);
        fnShowMenuBar(false);
        return done;
    }
    case kelvane::MenuBarKeys::Action::Pass:
        break;
    }
    return CJoxToolbarFrameWnd::PreTranslateMessage(msg);
}

// The text of the main window's status bar.
#include "platform/framework/frame_messages.h"
#include "platform/framework/status_bar.h"
#include "qvutils/qv_utils.h"

namespace {

// The descendant window with that id, depth first.
HWND FindDescendant(HWND parent, int id) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(c) == id)
            return c;
        if (HWND deeper = FindDescendant(c, id))
            return deeper;
    }
    return nullptr;
}

} // namespace

void QvSetStatusText(int pane, const wchar_t* text) {
    CWnd* main = AfxGetMainWnd();
    if (!main || !::IsWindow(main->m_hWnd))
        return;
    HWND h = FindDescendant(main->m_hWnd, int(AFX_IDW_STATUS_BAR));
    auto* bar = dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(h));
    if (!bar)
        return;
    bar->SetPaneText(pane, text ? text : L" ");
    bar->UpdateWindow();
}

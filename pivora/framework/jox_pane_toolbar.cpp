#include "pivora/framework/jox_pane_toolbar.h"

IMPLEMENT_SERIAL(CJoxPaneToolbar, CJoxToolbar, 1)

BOOL CJoxPaneToolbar::Create(CWnd* parent, DWORD style, UINT id, UINT toolbarResourceId) {
    if (!Create(parent, style, id))
        return FALSE;
    return LoadToolBar(toolbarResourceId, 0, 0, TRUE, 0, 0, 0);
}

void CJoxPaneToolbar::OnUpdateCmdUI(CFrameWnd*, BOOL disableIfNoHandler) {
    UpdateButtons(GetOwner(), disableIfNoHandler);
}

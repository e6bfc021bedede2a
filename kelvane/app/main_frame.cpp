#include "kelvane/app/main_frame.h"

#include "kelvane/app/kelvane_app.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/menu.h"

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWndEx)

int CMainFrame::OnCreate(CREATESTRUCTW* cs) {
    if (CMDIFrameWndEx::OnCreate(cs) == -1)
        return -1;
    platform::RegisterStrings({{ID_FILE_NEW, L"Create a new design\nNew"},
                               {CKelvaneApp::ID_WINDOW_NEW_GROUP,
                                L"Put the design window in a tab group of its own\nNew Group"},
                               {AFX_IDS_IDLEMESSAGE, L"Ready"},
                               {ID_INDICATOR_CAPS, L"CAP"},
                               {ID_INDICATOR_NUM, L"NUM"}});
    platform::RegisterToolBarTemplate(
        {CKelvaneApp::IDR_MAINFRAME, 16, 15, {ID_FILE_NEW, 0, CKelvaneApp::ID_WINDOW_NEW_GROUP}});
    if (!m_wndToolBar.CreateEx(this) || !m_wndToolBar.LoadToolBar(CKelvaneApp::IDR_MAINFRAME))
        return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 3))
        return -1;
    RecalcLayout();
    return 0;
}

void CMainFrame::OnDestroy() {
    HMENU menu = ::GetMenu(m_hWnd);
    ::SetMenu(m_hWnd, nullptr);
    if (menu)
        ::DestroyMenu(menu);
    CMDIFrameWndEx::OnDestroy();
}

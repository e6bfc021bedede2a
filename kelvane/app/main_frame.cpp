#include "kelvane/app/main_frame.h"

#include "platform/windowing/menu.h"

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWndEx)

void CMainFrame::OnDestroy() {
    HMENU menu = ::GetMenu(m_hWnd);
    ::SetMenu(m_hWnd, nullptr);
    if (menu)
        ::DestroyMenu(menu);
    CMDIFrameWndEx::OnDestroy();
}

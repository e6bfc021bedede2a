#include "platform/framework/pane_frame_wnd.h"

#include "platform/framework/control_bar.h"
#include "platform/framework/frame_wnd.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CPaneFrameWnd, CWnd)

namespace {

// The mini-frames open now.
std::vector<HWND>& Open() {
    static std::vector<HWND> open;
    return open;
}

CControlBar* PaneOf(HWND hwnd) {
    return ::IsWindow(hwnd) ? dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(hwnd)) : nullptr;
}

// The window at topLeft, of the pane's floating size: the model's windows have no frame of
// their own (the display draws the caption round the client area).
CRect FrameRect(CControlBar* pane, CPoint topLeft) {
    const CSize size = pane ? pane->CalcFloatingSize() : CSize(1, 1);
    return CRect(topLeft.x, topLeft.y, topLeft.x + std::max<LONG>(1, size.cx),
                 topLeft.y + std::max<LONG>(1, size.cy));
}

} // namespace

BOOL CPaneFrameWnd::Create(CFrameWnd* frame, CControlBar* pane, CPoint topLeft) {
    if (!frame || !pane || !::IsWindow(pane->m_hWnd))
        return FALSE;
    CString caption;
    pane->GetWindowText(caption);
    if (!CreateEx(0, nullptr, caption, kStyle, FrameRect(pane, topLeft), frame, 0))
        return FALSE;
    m_hPane = pane->m_hWnd;
    ::SetParent(m_hPane, m_hWnd);
    m_hSelf = m_hWnd;
    Open().push_back(m_hSelf);
    Place(topLeft);
    return TRUE;
}

void CPaneFrameWnd::Place(CPoint topLeft) {
    CControlBar* pane = PaneOf(m_hPane);
    const CRect r = FrameRect(pane, topLeft);
    MoveWindow(&r);
    if (pane) {
        CRect client;
        GetClientRect(&client);
        pane->MoveWindow(0, 0, client.Width(), client.Height());
    }
}

void CPaneFrameWnd::ReleasePane(CFrameWnd* frame) {
    if (::IsWindow(m_hPane) && ::GetParent(m_hPane) == m_hWnd && frame && ::IsWindow(frame->m_hWnd))
        ::SetParent(m_hPane, frame->m_hWnd);
    m_hPane = nullptr;
    DestroyWindow();
}

BOOL CPaneFrameWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_CLOSE) {
        // The pane is hidden, not destroyed: it can be shown again where it was.
        if (::IsWindow(m_hPane))
            ::ShowWindow(m_hPane, SW_HIDE);
        ShowWindow(SW_HIDE);
        if (result)
            *result = 0;
        return TRUE;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

void CPaneFrameWnd::UpdateFloatingPanes(CWnd* owner, BOOL disableIfNoHandler) {
    if (!owner)
        return;
    const std::vector<HWND> open = Open(); // an update may close one
    for (HWND mini : open)
        if (::IsWindow(mini) && ::GetWindow(mini, GW_OWNER) == owner->m_hWnd)
            if (HWND pane = ::GetWindow(mini, GW_CHILD); pane && ::IsWindow(pane))
                ::SendMessageW(pane, WM_IDLEUPDATECMDUI, WPARAM(disableIfNoHandler), 0);
}

void CPaneFrameWnd::PostNcDestroy() {
    std::vector<HWND>& open = Open();
    open.erase(std::remove(open.begin(), open.end(), m_hSelf), open.end());
    delete this;
}

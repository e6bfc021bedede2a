#include "platform/framework/control_bar.h"

#include "platform/framework/frame_messages.h"
#include "platform/framework/frame_wnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {
// A floating bar that knows no size of its own.
constexpr int kFloatingWidth = 120;
} // namespace

CControlBar::~CControlBar() {
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL horizontal) {
    CRect r;
    if (m_pDockSite)
        m_pDockSite->GetClientRect(&r);
    return horizontal ? CSize(r.Width(), m_nHeight) : CSize(m_nHeight, r.Height());
}

CSize CControlBar::CalcFloatingSize() {
    CRect r;
    GetWindowRect(&r);
    return r.IsRectEmpty() ? CSize(kFloatingWidth, m_nHeight) : r.Size();
}

CWnd* CControlBar::GetOwner() const {
    if (m_pOwner)
        return m_pOwner;
    return m_pDockSite;
}

BOOL CControlBar::CreateBar(LPCWSTR name, DWORD style, CWnd* parent, UINT id) {
    if (!parent)
        return FALSE;
    m_dwStyle = style & 0xFFFF;
    DWORD windowStyle = (style & ~0xFFFFu) | WS_CHILD;
    if (!CWnd::Create(nullptr, name, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    m_pDockSite = dynamic_cast<CFrameWnd*>(parent);
    if (m_pDockSite)
        m_pDockSite->AddControlBar(this);
    return TRUE;
}

BOOL CControlBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_IDLEUPDATECMDUI) {
        if (CFrameWnd* frame = m_pDockSite)
            OnUpdateCmdUI(frame, BOOL(wp));
        if (result)
            *result = 0;
        return TRUE;
    }
    if (msg == WM_DESTROY && m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

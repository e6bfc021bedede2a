#include "pivora/framework/jox_frame_wnd.h"

#include "pivora/framework/jox_tab_ctrl.h"
#include "pivora/framework/jox_view.h"
#include "platform/framework/mdi_child_wnd_ex.h"
#include "platform/windowing/ui_notify.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CJoxFrameWnd, CMDIFrameWndEx)

CJoxFrameWnd* JoxGetMainWnd() {
    return dynamic_cast<CJoxFrameWnd*>(AfxGetMainWnd());
}

CJoxFrameWnd::CJoxFrameWnd() {
    m_pTabCtrlClass = RUNTIME_CLASS(CJoxTabCtrl);
}

CJoxFrameWnd::~CJoxFrameWnd() = default;

BOOL CJoxFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message == WM_PAINT && m_bRedrawSuppressed) {
        HoldPaint(msg->hwnd);
        return TRUE;
    }
    return CMDIFrameWndEx::PreTranslateMessage(msg);
}

bool CJoxFrameWnd::IgnoreMessage(UINT msg) const {
    switch (msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
        return m_bRedrawSuppressed;
    default:
        if ((msg >= 0x201 && msg <= 0x20D) || (msg >= 0x100 && msg <= 0x109))
            return m_bRedrawSuppressed;
        return false;
    }
}

void CJoxFrameWnd::AdjustClientArea() {
    if (!m_bRedrawSuppressed)
        CMDIFrameWndEx::AdjustClientArea();
}

void CJoxFrameWnd::HoldPaint(HWND wnd) {
    if (!::IsWindow(wnd))
        return;
    ::ValidateRect(wnd, nullptr);
    if (std::find(m_HeldPaints.begin(), m_HeldPaints.end(), wnd) == m_HeldPaints.end())
        m_HeldPaints.push_back(wnd);
}

LRESULT CJoxFrameWnd::OnSetRedraw(WPARAM redraw, LPARAM) {
    m_bRedrawSuppressed = redraw == 0;
    if (!m_bRedrawSuppressed) {
        std::vector<HWND> held;
        held.swap(m_HeldPaints);
        for (HWND h : held)
            if (::IsWindow(h))
                ::InvalidateRect(h, nullptr, TRUE);
    }
    platform::NotifyUi(platform::UiChange::Redraw, m_hWnd, this);
    return 0;
}

LRESULT CJoxFrameWnd::OnEnterSizeMove(WPARAM, LPARAM) {
    Default();
    m_bResizing = true;
    return 0;
}

LRESULT CJoxFrameWnd::OnExitSizeMove(WPARAM, LPARAM) {
    m_bResizing = false;
    return Default();
}

LRESULT CJoxFrameWnd::OnActivateTopLevel(WPARAM, LPARAM) {
    Default();
    if (AfxGetMainWnd() == this) {
        CFrameWnd* active = GetActiveFrame();
        if (auto* view = dynamic_cast<CJoxView*>(active ? active->GetActiveView() : nullptr))
            view->OnActivateView(FALSE, view, nullptr);
    }
    return 0;
}

void CJoxFrameWnd::Queue(HWND wnd, bool evenWhenPresent) {
    if (wnd && (evenWhenPresent || !m_WindowList.Find(wnd)))
        m_WindowList.AddTail(wnd);
}

LRESULT CJoxFrameWnd::OnChangedActiveTab(WPARAM tabIndex, LPARAM tabControl) {
    if (auto* tabs = reinterpret_cast<CMFCTabCtrl*>(tabControl))
        Queue(tabs->GetTabHwnd(int(tabIndex)), false);
    return 0;
}

LRESULT CJoxFrameWnd::OnMoveTab(WPARAM, LPARAM tabIndex) {
    if (CMFCTabCtrl* tabs = GetActiveTabGroup())
        if (POSITION pos = m_WindowList.Find(tabs->GetTabHwnd(int(tabIndex))))
            m_WindowList.RemoveAt(pos);
    return 0;
}

LRESULT CJoxFrameWnd::OnMoveToTabGroup(WPARAM fromTabControl, LPARAM toTabControl) {
    auto tabsOf = [](HWND h) { return dynamic_cast<CMFCTabCtrl*>(CWnd::FromHandlePermanent(h)); };
    if (CMFCTabCtrl* from = tabsOf(reinterpret_cast<HWND>(fromTabControl)))
        Queue(from->GetTabHwnd(from->GetActiveTab()), false);
    if (CMFCTabCtrl* to = tabsOf(reinterpret_cast<HWND>(toTabControl)))
        Queue(to->GetTabHwnd(to->GetActiveTab()), true);
    return 0;
}

void CJoxFrameWnd::OnIdleUpdateCmdUI() {
    if (!m_WindowList.IsEmpty()) {
        HWND capture = ::GetCapture();
        const bool tabDrag = capture &&
                             dynamic_cast<CMFCTabCtrl*>(CWnd::FromHandlePermanent(capture)) &&
                             (GetKeyState(VK_LBUTTON) & 0x8000);
        // While a tab is dragged the list waits for a later idle.
        if (!capture || !tabDrag) {
            CJoxView::SetRedrawAll(1);
            while (!m_WindowList.IsEmpty()) {
                HWND h = m_WindowList.RemoveHead();
                if (::IsWindow(h))
                    ::RedrawWindow(h, nullptr, nullptr,
                                   RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
            }
        }
    } else {
        CJoxView::SetRedrawAll(1);
    }
    CMDIFrameWndEx::OnIdleUpdateCmdUI();
}

BOOL CJoxFrameWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    LRESULT r = 0;
    switch (msg) {
    case WM_SETREDRAW:
        r = OnSetRedraw(wp, lp);
        break;
    case WM_ENTERSIZEMOVE:
        r = OnEnterSizeMove(wp, lp);
        break;
    case WM_EXITSIZEMOVE:
        r = OnExitSizeMove(wp, lp);
        break;
    case WM_ACTIVATETOPLEVEL:
        r = OnActivateTopLevel(wp, lp);
        break;
    case AFX_WM_CHANGE_ACTIVE_TAB:
        OnChangedActiveTab(wp, lp);
        return CMDIFrameWndEx::OnWndMsg(msg, wp, lp, result);
    case AFX_WM_ON_MOVE_TAB:
        r = OnMoveTab(wp, lp);
        break;
    case AFX_WM_ON_MOVETOTABGROUP:
        r = OnMoveToTabGroup(wp, lp);
        break;
    default:
        return CMDIFrameWndEx::OnWndMsg(msg, wp, lp, result);
    }
    if (result)
        *result = r;
    return TRUE;
}

#include "kelvane/app/child_frame.h"

#include "design/design_view.h"
#include "pivora/framework/jox_frame_wnd.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/mfc_tab_ctrl.h"

IMPLEMENT_DYNCREATE(CChildFrame, CJoxChildWnd)

namespace {

CView* ActiveViewOf(HWND frame) {
    auto* f = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(frame));
    return f ? f->GetActiveView() : nullptr;
}

// Whether going from one view to the other changes the toolbars: design views by their
// context, others by their class; a missing view differs from any.
bool Differ(CView* mine, CView* other) {
    if (!other)
        return true;
    auto* a = dynamic_cast<CDesignView*>(mine);
    auto* b = dynamic_cast<CDesignView*>(other);
    if (a && b)
        return a->Context() != b->Context();
    return mine->GetRuntimeClass() != other->GetRuntimeClass();
}

} // namespace

BOOL CChildFrame::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg != WM_MDIACTIVATE)
        return CJoxChildWnd::OnWndMsg(msg, wp, lp, result);
    if (m_nActivating++ == 0)
        CJoxView::SetRedrawAll(0);
    const BOOL handled = CJoxChildWnd::OnWndMsg(msg, wp, lp, result);
    if (--m_nActivating == 0)
        OnMDIActivate(reinterpret_cast<HWND>(wp), reinterpret_cast<HWND>(lp));
    return handled;
}

void CChildFrame::ActivateFrame(int cmdShow) {
    CJoxChildWnd::ActivateFrame(cmdShow);
    if (m_bViewAwaited && GetActiveView()) {
        m_bViewAwaited = false;
        OnMDIActivate(m_hAwaitedFrom, m_hWnd);
    }
}

void CChildFrame::MarkTabForRefresh() {
    // The views held back during the activation are drawn at the next idle.
    auto* main = dynamic_cast<CJoxFrameWnd*>(GetMDIFrame());
    CMFCTabCtrl* tabs = main ? main->FindTabGroup(m_hWnd) : nullptr;
    if (tabs)
        main->OnChangedActiveTab(WPARAM(tabs->GetTabFromHwnd(m_hWnd)),
                                 reinterpret_cast<LPARAM>(tabs));
}

void CChildFrame::OnMDIActivate(HWND deactivated, HWND activated) {
    CView* mine = GetActiveView();
    const bool activating = activated == m_hWnd;
    if (activating)
        MarkTabForRefresh();
    if (activating && !mine) {
        // Made active while it was being made: the view is told once it is in place.
        m_bViewAwaited = true;
        m_hAwaitedFrom = deactivated;
        return;
    }
    if (!mine || !::IsWindow(mine->m_hWnd) || (!activating && deactivated != m_hWnd))
        return;
    if (!Differ(mine, ActiveViewOf(activating ? deactivated : activated)))
        return;
    if (activating)
        mine->PostMessage(CDesignView::WM_CONTEXT_ACTIVATED, 0, 0);
    else
        mine->SendMessage(CDesignView::WM_CONTEXT_DEACTIVATED,
                          activated ? 0 : CDesignView::kDeactivateNoContext, 0);
}

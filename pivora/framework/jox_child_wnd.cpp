#include "pivora/framework/jox_child_wnd.h"

#include "pivora/jox_page.h"

IMPLEMENT_DYNCREATE(CJoxChildWnd, CMDIChildWndEx)

void CJoxChildWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    auto* page = dynamic_cast<CJoxPage*>(GetActiveDocument());
    if (addToTitle && (GetStyle() & FWS_ADDTOTITLE) && page && page->IsModified()) {
        const CString title = page->GetTitle();
        page->SetTitle(title + L"*", false);
        CMDIChildWndEx::OnUpdateFrameTitle(addToTitle);
        page->SetTitle(title, false);
        m_bModifiedInTitle = 1;
        return;
    }
    CMDIChildWndEx::OnUpdateFrameTitle(addToTitle);
    m_bModifiedInTitle = 0;
}

void CJoxChildWnd::OnWindowPosChanging(WINDOWPOS* pos) {
    if (!pos)
        return;
    CRect r;
    CWnd::GetClientRect(&r);
    POINT tl{r.left, r.top};
    ::ClientToScreen(m_hWnd, &tl);
    if (HWND parent = ::GetParent(m_hWnd))
        ::ScreenToClient(parent, &tl);
    if (tl.x == pos->x && tl.y == pos->y)
        pos->flags |= SWP_NOMOVE;
    if (r.Width() == pos->cx && r.Height() == pos->cy)
        pos->flags |= SWP_NOSIZE;
    const UINT still = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
    if ((pos->flags & still) == still)
        pos->flags |= SWP_NOREDRAW;
}

BOOL CJoxChildWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_WINDOWPOSCHANGING) {
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lp));
        if (result)
            *result = Default();
        return TRUE;
    }
    return CMDIChildWndEx::OnWndMsg(msg, wp, lp, result);
}

// The design view's window messages: its own steps first, then the current tool.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "design/document/route_frames.h"
#include "design/sub_tool.h"
#include "platform/framework/frame_messages.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/scroll_bar.h"

namespace {
StRouteFrame* g_innerFrame = nullptr;
} // namespace

void FnMarkViewGone(CDesignView* view) {
    for (StRouteFrame* f = g_innerFrame; f; f = f->outer)
        if (f->view == view)
            f->alive = false;
}

BOOL CDesignView::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    LRESULT r = 0;
    ++m_nRouteDepth;
    StRouteFrame frame{this, true, g_innerFrame};
    g_innerFrame = &frame;
    BOOL handled = RouteMessage(msg, wp, lp, r);
    if (!handled && frame.alive)
        handled = CJoxView::OnWndMsg(msg, wp, lp, &r);
    g_innerFrame = frame.outer;
    if (!frame.alive) {
        // The handler closed this view's document: the view is freed.
        if (result)
            *result = r;
        return handled;
    }
    // Tools replaced while the message ran are freed only now that no handler of theirs is
    // still on the stack.
    if (--m_nRouteDepth == 0)
        if (CDesignPage* page = GetDocument())
            page->DeleteRetiredTools();
    if (result)
        *result = r;
    return handled;
}

BOOL CDesignView::RouteMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
    const CPoint pt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    const UINT flags = UINT(wp);
    CDesignTool* tool = GetDesignTool();
    switch (msg) {
    case WM_LBUTTONDOWN:
        m_pDownTool = nullptr;
        if (OnLButtonDownGrid(flags, pt))
            return TRUE;
        m_pDownTool = tool;
        if (tool)
            tool->OnLButtonDown(this, flags, pt);
        return TRUE;
    case WM_LBUTTONUP:
        if (OnLButtonUpGuide(flags, pt))
            return TRUE;
        if (tool && tool == m_pDownTool)
            tool->OnLButtonUp(this, flags, pt);
        return TRUE;
    case WM_LBUTTONDBLCLK:
        if (tool && tool == m_pDownTool)
            tool->OnLButtonDblClk(this, flags, pt);
        return TRUE;
    case WM_MBUTTONDOWN:
        m_pDownTool = tool;
        if (tool)
            tool->OnMButtonDown(this, flags, pt);
        return TRUE;
    case WM_MBUTTONUP:
        if (tool && tool == m_pDownTool)
            tool->OnMButtonUp(this, flags, pt);
        return TRUE;
    case WM_MBUTTONDBLCLK:
        if (tool && tool == m_pDownTool)
            tool->OnMButtonDblClk(this, flags, pt);
        return TRUE;
    case WM_MOUSEMOVE:
        if (CJoxView::OnMouseMove(flags, pt))
            return TRUE;
        if (OnMouseMoveGuide(flags, pt))
            return TRUE;
        if (tool)
            tool->OnMouseMove(this, flags, pt);
        return TRUE;
    case WM_TIMER:
        if (OnTimerGuide(UINT_PTR(wp)))
            return TRUE;
        if (tool)
            tool->OnTimer(this, UINT(wp));
        return TRUE;
    case WM_RBUTTONDOWN:
        m_pDownTool = nullptr;
        if (OnRButtonDownGuide(flags, pt))
            return TRUE;
        m_pDownTool = tool;
        if (tool && tool->ContextMenuID(this) == 0)
            tool->OnRButtonDown(this, flags, pt);
        return TRUE;
    case WM_RBUTTONUP:
        if (OnRButtonUpGuide(flags, pt))
            return TRUE;
        if (tool && tool == m_pDownTool) {
            const int id = tool->ContextMenuID(this);
            if (id < 1)
                tool->OnRButtonUp(this, flags, pt);
            else
                ShowContextMenu(id, pt);
        }
        return TRUE;
    case WM_RBUTTONDBLCLK:
        if (tool && tool == m_pDownTool)
            tool->OnRButtonDblClk(this, flags, pt);
        return TRUE;
    case WM_SETCURSOR: {
        CWnd* wnd = CWnd::FromHandle(reinterpret_cast<HWND>(wp));
        const UINT hit = LOWORD(DWORD_PTR(lp)), mouse = HIWORD(DWORD_PTR(lp));
        if (CJoxView::OnSetCursor(wnd, hit, mouse)) {
            r = TRUE;
            return TRUE;
        }
        if (!tool || !tool->OnSetCursor(this, wnd, hit, mouse))
            ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW)));
        r = TRUE;
        return TRUE;
    }
    case WM_CAPTURECHANGED:
        m_bReCapture = reinterpret_cast<HWND>(lp) != m_hWnd;
        // A guide drag without the capture would scroll for ever: it ends as a cancel.
        if (m_bGuideDrag == kGuideDragging && m_bReCapture)
            CancelGuideDrag(0);
        return TRUE;
    case WM_KEYDOWN:
        m_pDownTool = tool;
        if (tool)
            tool->OnKeyDown(this, UINT(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        return TRUE;
    case WM_KEYUP:
        if (tool && tool == m_pDownTool)
            tool->OnKeyUp(this, UINT(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        return TRUE;
    case WM_CHAR:
        if (tool)
            tool->OnChar(this, UINT(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        return TRUE;
    case WM_IDLEUPDATECMDUI:
        if (m_bActive && tool)
            tool->OnIdleUpdateCmdUI(this, wp, lp);
        r = CJoxView::OnIdleUpdateCmdUI(wp, lp);
        return TRUE;
    case WM_CONTEXTMENU: {
        const int id = tool ? tool->ContextMenuID(this) : 0;
        if (id >= 1)
            ShowContextMenu(id, CPoint(0, 0));
        return TRUE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!tool)
            return FALSE;
        tool->OnScroll(this, msg == WM_VSCROLL, LOWORD(wp), HIWORD(wp),
                       reinterpret_cast<CScrollBar*>(lp));
        return TRUE;
    case WM_MOUSEWHEEL: {
        const short delta = short(HIWORD(wp));
        const UINT keys = LOWORD(wp);
        if (keys & MK_CONTROL)
            ScrollLine(WM_VSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN);
        else if (keys & MK_SHIFT)
            ScrollLine(WM_HSCROLL, delta > 0 ? SB_LINERIGHT : SB_LINELEFT);
        else if (tool)
            tool->OnZoom(this, delta > 0);
        r = TRUE;
        return TRUE;
    }
    case WM_ERASEBKGND:
        r = 1;
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_REALISE_PALETTE:
        r = OnRealisePalette(wp);
        return TRUE;
    case WM_CONTEXT_ACTIVATED:
        r = OnContextActivated();
        return TRUE;
    case WM_CONTEXT_DEACTIVATED:
        r = OnContextDeactivated(wp);
        return TRUE;
    case WM_RESET_CONTEXT_TOOLBARS:
        r = OnResetContextToolbars();
        return TRUE;
    case WM_ORIGIN_TO_POINT:
        r = OnOriginToPoint(wp, lp);
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CDesignView::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_IME_STARTCOMPOSITION)
        fnOnStartComposition();
    return CJoxView::DefWindowProc(msg, wp, lp);
}

// The base tool's answers to the pointer, keys, timers, scrolling and zoom of its view.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/scroll_bar.h"
#include "qvutils/qv_utils.h"

#include <climits>

namespace {

// The pointer in the view's client coordinates.
CPoint PointerInClient(CDesignView* view) {
    POINT p{0, 0};
    ::GetCursorPos(&p);
    ::ScreenToClient(view->GetSafeHwnd(), &p);
    return CPoint(p.x, p.y);
}

bool Held(int vk) {
    return (::GetKeyState(vk) & 0x8000) != 0;
}

} // namespace

CLpoint CDesignTool::DataPoint(CDesignView* view, UINT flags, const CPoint& point) const {
    CPoint p = point;
    if (flags & kExactPointFlag)
        p = view->ExactDocPoint();
    else
        view->ClientToDoc(p);
    return CLpoint(p.x, p.y);
}

void CDesignTool::OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    if (!view)
        return;
    if (m_bCaptureOnPress)
        view->SetCapture();
    m_ptDown = m_ptLast = point;
    m_lpDown = DataPoint(view, flags, point);
    m_lpCurrent = m_lpDown;
}

void CDesignTool::OnLButtonUp(CDesignView* view, UINT, const CPoint&) {
    if (!view)
        return;
    if (m_bCaptureOnPress && CWnd::GetCapture() == view)
        ::ReleaseCapture();
    if (m_bAutoPanning) {
        view->KillTimer(kTimerAutoPan);
        m_bAutoPanning = 0;
    }
}

void CDesignTool::OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) {
    if (!view)
        return;
    m_ptLast = point;
    if (m_bAutoPanEnabled && QvGetAutoPan() && CWnd::GetCapture() == view) {
        CRect client;
        view->GetClientRect(&client);
        if (client.PtInRect(point)) {
            if (m_bAutoPanning)
                view->KillTimer(kTimerAutoPan);
            m_bAutoPanning = 0;
        } else {
            if (!m_bAutoPanning) {
                m_bDynamicDrawingAllowed = 0;
                if (point.y < client.top)
                    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
                else if (point.y >= client.bottom)
                    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
                if (point.x < client.left)
                    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), 0);
                else if (point.x >= client.right)
                    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
                // A delay of 0 or less would re-arm at once and pan as fast as the clock runs.
                const int delay = std::max(1, QvGetAutoPanDelay());
                view->SetTimer(kTimerAutoPan, UINT(std::min(delay, 100) * 100));
                m_pTimerView = view;
                m_bAutoPanning = 1;
                m_bDynamicDrawingAllowed = 1;
            }
            m_nPanFlags = flags;
            m_ptPan = point;
        }
    }
    m_lpCurrent = DataPoint(view, flags, point);
    if (m_pCustomCursor)
        DrawCustomCursor(view, PointerInClient(view));
}

void CDesignTool::OnTimer(CDesignView* view, UINT id) {
    if (!view)
        return;
    if (id == kTimerAutoPan) {
        view->KillTimer(kTimerAutoPan);
        m_bAutoPanning = 0;
        OnMouseMove(view, m_nPanFlags, m_ptPan);
    } else if (id == kTimerTypedNumber) {
        view->KillTimer(kTimerTypedNumber);
        const int number = m_nTypedNumber;
        m_nTypedNumber = 0;
        OnTypedNumber(view, number);
    }
}

void CDesignTool::OnKeyDown(CDesignView* view, UINT key, UINT, UINT flags) {
    if (!view)
        return;
    if (key == 'L') {
        if (Held(VK_CONTROL))
            QvSetAutoPan(!QvGetAutoPan());
        return;
    }
    if (key == 'X') {
        CDesignPage* page = m_pDocument ? m_pDocument : view->GetDocument();
        if (!page)
            return;
        page->StartUndoTransaction(0);
        page->AddGridAddUndo(0, m_lpCurrent.x, 1);
        page->AddGridAddUndo(1, m_lpCurrent.y, 1);
        return;
    }
    if ((flags & kKeyRepeatFlag) || m_nNumericKeypressTime <= 0)
        return;
    int digit = -1;
    if (key >= '0' && key <= '9')
        digit = int(key - '0');
    else if (key >= UINT(VK_NUMPAD0) && key <= UINT(VK_NUMPAD9))
        digit = int(key) - VK_NUMPAD0;
    if (digit < 0)
        return;
    // Ten digits fill the 32-bit number: further digits are ignored.
    if (m_nTypedNumber <= (INT_MAX - digit) / 10)
        m_nTypedNumber = m_nTypedNumber * 10 + digit;
    view->KillTimer(kTimerTypedNumber);
    view->SetTimer(kTimerTypedNumber, UINT(m_nNumericKeypressTime));
    m_pTimerView = view;
}

void CDesignTool::OnChar(CDesignView* view, UINT ch, UINT, UINT) {
    if (ch == 'z')
        OnZoom(view, true);
    else if (ch == 'Z')
        OnZoom(view, false);
}

void CDesignTool::OnZoom(CDesignView* view, bool zoomIn) {
    if (!view)
        return;
    const CPoint p = PointerInClient(view);
    CRect client;
    view->GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    // A minimised view has no size to zoom about.
    if (w <= 0 || h <= 0)
        return;
    const int nw = zoomIn ? w * 2 / 3 : w * 3 / 2;
    const int nh = zoomIn ? h * 2 / 3 : h * 3 / 2;
    CRect r;
    if (client.PtInRect(p)) {
        const double dx = double(p.x - client.left) / w;
        const double dy = double(p.y - client.top) / h;
        r.left = p.x - int(nw * dx);
        r.right = int((1 - dx) * nw) + p.x;
        r.top = p.y - int(nh * dy);
        r.bottom = int((1 - dy) * nh) + p.y;
    } else {
        const CPoint c = client.CenterPoint();
        r = CRect(c.x - nw / 2, c.y - nh / 2, c.x + nw / 2, c.y + nh / 2);
    }
    CPoint last = m_ptLast, down = m_ptDown;
    view->ClientToDoc(last);
    view->ClientToDoc(down);
    view->Zoom(r);
    view->DocToClient(last);
    view->DocToClient(down);
    m_ptLast = last;
    m_ptDown = down;
}

void CDesignTool::OnScroll(CDesignView* view, bool vertical, UINT code, UINT pos, CScrollBar*) {
    if (!view)
        return;
    vfnEnableCursor(view, FALSE);
    view->OnScroll(vertical ? code * 256 + 255 : (0xFF00 | code), pos, 1);
    vfnEnableCursor(view, TRUE);
    const CPoint p = PointerInClient(view);
    WPARAM keys = 0;
    if (Held(VK_CONTROL))
        keys |= MK_CONTROL;
    if (Held(VK_SHIFT))
        keys |= MK_SHIFT;
    view->PostMessage(WM_MOUSEMOVE, keys, MAKELPARAM(p.x, p.y));
}

void CDesignTool::KillToolTimers(CDesignView* view) {
    CDesignView* v = view ? view : m_pTimerView;
    if (v && ::IsWindow(v->GetSafeHwnd())) {
        v->KillTimer(kTimerDragStart);
        v->KillTimer(kTimerAutoPan);
        v->KillTimer(kTimerTypedNumber);
    }
    m_bAutoPanning = 0;
    m_bDynamicDrawingAllowed = 1;
    m_nTypedNumber = 0;
    m_pTimerView = nullptr;
}

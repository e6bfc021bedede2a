// The frame's message filters on windows it does not own: the client area that holds the
// design tabs, the tab controls made in it and other tab windows below the frame.
#include "kelvane/app/main_frame.h"
#include "pivora/framework/jox_tab_ctrl.h"
#include "pivora/framework/jox_view.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/message_filter.h"

namespace {

// Ends a splitter or resize drag of the tab control on its left release; the release is
// swallowed then. Asked before IgnoreMessage: a release held back would leave the drag on.
bool EndsTabDrag(HWND hwnd, UINT msg) {
    if (msg != WM_LBUTTONUP)
        return false;
    auto* tabs = dynamic_cast<CJoxTabCtrl*>(CWnd::FromHandlePermanent(hwnd));
    return tabs && tabs->StopSplitOrResize();
}

} // namespace

bool CMainFrame::fnHeldBack(HWND frame, HWND wnd, UINT msg) {
    // The frame is looked up at each message: the filtered window may outlive it.
    auto* owner = dynamic_cast<CJoxFrameWnd*>(CWnd::FromHandlePermanent(frame));
    if (!owner || !owner->IgnoreMessage(msg))
        return false;
    if (msg == WM_PAINT)
        owner->HoldPaint(wnd);
    return true;
}

void CMainFrame::fnFilterClientArea() {
    const HWND frame = m_hWnd;
    const HWND client = GetClientArea()->m_hWnd;
    platform::AddMessageFilter(client, [frame](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                               LRESULT*) {
        if (msg == WM_PARENTNOTIFY && LOWORD(DWORD(wp)) == WM_CREATE) {
            const auto made = reinterpret_cast<HWND>(lp);
            if (::GetParent(made) != hwnd ||
                !dynamic_cast<CJoxTabCtrl*>(CWnd::FromHandlePermanent(made)) ||
                platform::MessageFilterCount(made) > 0)
                return false;
            // The views repaint whole again at the next idle.
            CJoxView::SetRedrawAll(0);
            platform::AddMessageFilter(made, [frame](HWND tabs, UINT m, WPARAM, LPARAM, LRESULT*) {
                return EndsTabDrag(tabs, m) || fnHeldBack(frame, tabs, m);
            });
            return false;
        }
        return fnHeldBack(frame, hwnd, msg);
    });
}

void CMainFrame::fnFilterTabWindow(HWND wnd) {
    // A tab control of the client area has its own filter by now.
    if (!dynamic_cast<CMFCTabCtrl*>(CWnd::FromHandlePermanent(wnd)) ||
        platform::MessageFilterCount(wnd) > 0)
        return;
    const HWND frame = m_hWnd;
    platform::AddMessageFilter(wnd, [frame](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT*) {
        return fnHeldBack(frame, hwnd, msg);
    });
}

#include "design/zoom_sub_tool.h"

#include "design/design_view.h"
#include "design/tools/tool_text.h"
#include "platform/windowing/cursor.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNCREATE(CZoomSubTool, CFrameTool)

namespace {

constexpr UINT kVkAdd = 107, kVkPlus = 187, kVkSubtract = 109, kVkMinus = 189;
// Virtual key, no inversion.
constexpr BYTE kOverrideFlags = 3;

bool CtrlHeld() {
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

} // namespace

CZoomSubTool::CZoomSubTool() : CFrameTool(0, 0) {
    m_bExitOnRelease = 0;
}

void CZoomSubTool::OnInit(CDesignView* view, int) {
    // The plus and minus keys leave the accelerator table and reach the tool.
    TKeyOverride rows[] = {{kOverrideFlags, kVkAdd, 0, 0},
                           {kOverrideFlags, kVkPlus, 0, 0},
                           {kOverrideFlags, kVkSubtract, 0, 0},
                           {kOverrideFlags, kVkMinus, 0, 0}};
    OverrideKeyAccelerators(view, rows, 4);
    CFrameTool::OnInit(view, 0);
}

void CZoomSubTool::OnExit(CDesignView* view, int reason) {
    if (reason)
        DestroyKeyAccelerators();
    CFrameTool::OnExit(view, reason);
}

void CZoomSubTool::OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) {
    if (!view || CWnd::GetCapture() != view)
        return;
    CFrameTool::OnLButtonUp(view, flags, point);
    const bool out = CtrlHeld();
    const CRect frame = Extents();
    if (TooSmall(frame, kMinFrame)) {
        CDesignTool::OnZoom(view, !out);
        return;
    }
    CRect target = frame;
    if (out) {
        CRect client;
        view->GetClientRect(&client);
        const CPoint c = frame.CenterPoint();
        target = CRect(c.x - client.Width() * 3 / 4, c.y - client.Height() * 3 / 4,
                       c.x + client.Width() * 3 / 4, c.y + client.Height() * 3 / 4);
    }
    CPoint down = m_ptDown;
    view->ClientToDoc(down);
    view->Zoom(target);
    view->DocToClient(down);
    m_ptDown = down;
}

BOOL CZoomSubTool::OnSetCursor(CDesignView* view, CWnd*, UINT, UINT) {
    if (!view)
        return TRUE;
    if (CWnd::GetCapture() != view) {
        POINT p{0, 0};
        ::GetCursorPos(&p);
        ::ScreenToClient(view->GetSafeHwnd(), &p);
        CRect client;
        view->GetClientRect(&client);
        if (!client.PtInRect(CPoint(p.x, p.y)))
            return TRUE;
    }
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(CtrlHeld() ? IDC_ZOOM_OUT : IDC_ZOOM_IN)));
    return TRUE;
}

void CZoomSubTool::OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    const bool repeated = (flags & kKeyRepeatFlag) != 0;
    switch (key) {
    case VK_CONTROL:
        if (!repeated && view)
            view->SendMessage(WM_SETCURSOR, WPARAM(view->GetSafeHwnd()), MAKELPARAM(HTCLIENT, 0));
        return;
    case kVkAdd:
    case kVkPlus:
        if (!repeated)
            OnZoom(view, true);
        return;
    case kVkSubtract:
    case kVkMinus:
        if (!repeated)
            OnZoom(view, false);
        return;
    default:
        CFrameTool::OnKeyDown(view, key, repeat, flags);
    }
}

void CZoomSubTool::OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags) {
    if (key == VK_CONTROL && view)
        view->SendMessage(WM_SETCURSOR, WPARAM(view->GetSafeHwnd()), MAKELPARAM(HTCLIENT, 0));
    else
        CFrameTool::OnKeyUp(view, key, repeat, flags);
}

void CZoomSubTool::DisplayPrompt(CDesignView* view) {
    QvSetStatusText(0, ToolText(IDS_ZOOM_PROMPT));
    CFrameTool::DisplayPrompt(view);
}

void CZoomSubTool::OnZoom(CDesignView* view, bool zoomIn) {
    if (view && CWnd::GetCapture() != view)
        CDesignTool::OnZoom(view, zoomIn);
}

#include "design/tools/pan_sub_tool.h"

#include "design/design_view.h"
#include "design/tools/tool_text.h"
#include "platform/windowing/cursor.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNCREATE(CPanSubTool, CSubTool)

void CPanSubTool::OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) {
    CSubTool::OnMouseMove(view, flags, point);
    if (view && CWnd::GetCapture() == view) {
        CRect client;
        view->GetClientRect(&client);
        CPoint to(m_ptDown.x - m_ptLast.x + client.left, m_ptDown.y - m_ptLast.y + client.top);
        view->ClientToDoc(to);
        view->ScrollToPosition(to, 1);
        view->UpdateWindow();
        m_ptDown = m_ptLast;
        m_lpDown = m_lpCurrent;
    }
    DisplayPrompt(view);
}

void CPanSubTool::OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) {
    CSubTool::OnLButtonUp(view, flags, point);
    Exit(view);
}

BOOL CPanSubTool::OnSetCursor(CDesignView*, CWnd*, UINT, UINT) {
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_PAN)));
    return TRUE;
}

void CPanSubTool::DisplayPrompt(CDesignView*) {
    QvSetStatusText(0, ToolText(IDS_PAN_PROMPT));
}

// The base tool's answers to the view's messages. They act on the view once it is built;
// until then they keep the tool's own state only.
#include "design/design_tool.h"

CDesignTool::~CDesignTool() {
    DestroyKeyAccelerators();
}

void CDesignTool::OnInit(CDesignView*, int) {}

void CDesignTool::OnExit(CDesignView*, int reason) {
    if (reason)
        m_nTypedNumber = 0;
}

void CDesignTool::OnDraw(CDesignView*, CJoxDC*) {}
void CDesignTool::OnLButtonDown(CDesignView*, UINT, const CPoint& point) {
    m_ptDown = m_ptLast = point;
}
void CDesignTool::OnLButtonUp(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnMouseMove(CDesignView*, UINT, const CPoint& point) {
    m_ptLast = point;
}
BOOL CDesignTool::OnSetCursor(CDesignView*, CWnd*, UINT, UINT) {
    return FALSE;
}
void CDesignTool::OnTimer(CDesignView*, UINT) {}
void CDesignTool::OnKeyDown(CDesignView*, UINT, UINT, UINT) {}
void CDesignTool::OnChar(CDesignView*, UINT, UINT, UINT) {}
void CDesignTool::OnScroll(CDesignView*, bool, UINT, UINT, CScrollBar*) {}
void CDesignTool::OnZoom(CDesignView*, bool) {}
void CDesignTool::vfnSetCursor(CCustomCursor*) {}
void CDesignTool::vfnEnableCursor(CDesignView*, BOOL) {}

BOOL CDesignTool::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    return CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CDesignTool::IsSubTool(CDesignView*, const CDesignTool*) const {
    return FALSE;
}
BOOL CDesignTool::IsDesignTool(CDesignView*, const CDesignTool*) const {
    return FALSE;
}
void CDesignTool::SetCursor(HICON cursor) {
    m_hCursor = cursor;
}
CStatusBar* CDesignTool::GetStatusBar() {
    return nullptr;
}
void CDesignTool::DisplayMove() {}
void CDesignTool::OverrideKeyAccelerators(CDesignView*, TKeyOverride*, int) {}
void CDesignTool::DestroyKeyAccelerators() {
    if (m_hAccelTable)
        DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = nullptr;
}
CLpoint CDesignTool::DataPoint(CDesignView*, UINT, const CPoint& point) const {
    return CLpoint(point.x, point.y);
}
void CDesignTool::KillToolTimers(CDesignView*) {}

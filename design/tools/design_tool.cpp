#include "design/design_tool.h"

#include "pivora/framework/app_params.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDesignTool, CCmdTarget)

namespace {

int ReadNumericKeypressTime() {
    // 0 or less switches typed numbers off; a huge wait would leave the timer armed for ever.
    const int t = QvGetAppParam(L"Numeric Keypress Time", CDesignTool::kDefaultNumericKeypressTime);
    return std::min(t, CDesignTool::kMaxNumericKeypressTime);
}

} // namespace

CDesignTool::CDesignTool(int autoPanEnabled)
    : m_bAutoPanEnabled(autoPanEnabled), m_nNumericKeypressTime(ReadNumericKeypressTime()) {}

void CDesignTool::SetDocument(CDesignPage* page) {
    m_pDocument = page;
}

void CDesignTool::OnActivate(CDesignView*, BOOL, CView*, CView*) {}

BOOL CDesignTool::OnPaint(CDesignView*) {
    return FALSE;
}

void CDesignTool::OnDraw(CDesignView*, CJoxDC*, CArticle*, int) {}
void CDesignTool::OnLButtonDblClk(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnMButtonDown(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnMButtonUp(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnMButtonDblClk(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnRButtonDown(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnRButtonUp(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnRButtonDblClk(CDesignView*, UINT, const CPoint&) {}
void CDesignTool::OnKeyUp(CDesignView*, UINT, UINT, UINT) {}
void CDesignTool::OnTypedNumber(CDesignView*, int) {}

LRESULT CDesignTool::OnIdleUpdateCmdUI(CDesignView*, WPARAM, LPARAM) {
    return 0;
}

int CDesignTool::ContextMenuID(CDesignView*) {
    return 0;
}

void CDesignTool::DisplayPrompt(CDesignView*) {}
void CDesignTool::OnSubToolExit(CDesignView*, CSubTool*) {}

BOOL CDesignTool::OnNotify(UINT) {
    return FALSE;
}

BOOL CDesignTool::SetToolColour(CDesignView*, int) {
    return FALSE;
}

void CDesignTool::OnUndoComplete(CBaseUndo*) {}

BOOL CDesignTool::fnGetCaretPos(CPoint&, CPoint&) {
    return FALSE;
}

bool CDesignTool::AffectsCombo(UINT) const {
    return false;
}

void CDesignTool::DrawSelection(CDesignView*, bool) {}

// The base tool's life, its place in the page, the status bar, its commands and its keys.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "design/sub_tool.h"
#include "design/tools/key_override_table.h"
#include "design/tools/tool_text.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/status_bar.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/resources.h"
#include "qvutils/qv_utils.h"

#include <vector>

namespace {

// Whether view is still one of the page's views: a tool may outlive the view that last
// routed a command to it.
bool IsValidView(CDesignPage* page, CDesignView* view) {
    if (!page || !view)
        return false;
    POSITION pos = page->GetFirstViewPosition();
    while (pos)
        if (page->GetNextView(pos) == view)
            return true;
    return false;
}

HWND FindDescendant(HWND parent, int id) {
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(h) == id)
            return h;
        if (HWND below = FindDescendant(h, id))
            return below;
    }
    return nullptr;
}

} // namespace

CDesignTool::~CDesignTool() {
    vfnSetCursor(nullptr);
    DestroyKeyAccelerators();
    if (m_pTimerView && IsValidView(m_pDocument, m_pTimerView))
        KillToolTimers(m_pTimerView);
    if (m_nDestructionMsg && IsValidView(m_pDocument, m_pViewForLastMessage) &&
        ::IsWindow(m_pViewForLastMessage->GetSafeHwnd()))
        m_pViewForLastMessage->PostMessage(WM_COMMAND, m_nDestructionMsg, 0);
}

void CDesignTool::OnInit(CDesignView* view, int) {
    vfnEnableCursor(view, TRUE);
}

void CDesignTool::OnExit(CDesignView* view, int reason) {
    vfnEnableCursor(view, FALSE);
    // The next tool must not drag, recolour or pan from points this one set.
    if (reason)
        KillToolTimers(view);
}

void CDesignTool::OnDraw(CDesignView* view, CJoxDC* dc) {
    if (m_pCustomCursor && view)
        RedrawCustomCursor(view, dc);
}

BOOL CDesignTool::OnSetCursor(CDesignView*, CWnd*, UINT, UINT) {
    ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW)));
    return TRUE;
}

BOOL CDesignTool::IsSubTool(CDesignView* view, const CDesignTool* tool) const {
    CDesignPage* page = view ? view->GetDocument() : m_pDocument;
    const CDesignTool* t = tool ? tool : this;
    return page && page->GetSubTool() && page->GetSubTool() == t;
}

BOOL CDesignTool::IsDesignTool(CDesignView* view, const CDesignTool* tool) const {
    CDesignPage* page = view ? view->GetDocument() : m_pDocument;
    const CDesignTool* t = tool ? tool : this;
    return page && page->GetDesignTool() == t;
}

void CDesignTool::SetCursor(HICON cursor) {
    m_hCursor = cursor;
    if (m_pCustomCursor && QvGetUseLargeCrossHair())
        ::SetCursor(nullptr);
    else
        ::SetCursor(cursor);
}

CStatusBar* CDesignTool::GetStatusBar() {
    CWnd* main = AfxGetMainWnd();
    if (!main || !::IsWindow(main->GetSafeHwnd()))
        return nullptr;
    HWND h = FindDescendant(main->GetSafeHwnd(), int(AFX_IDW_STATUS_BAR));
    return dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(h));
}

void CDesignTool::DisplayMove() {
    CString text;
    text.Format(ToolText(IDS_MOVE_PROMPT), (double(m_lpCurrent.x) - m_lpDown.x) * 0.001,
                (double(m_lpCurrent.y) - m_lpDown.y) * 0.001);
    if (QvGetInchDisplayOn())
        QvConvertDisplayPrompt(text);
    QvSetStatusText(1, text);
}

BOOL CDesignTool::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (id == ID_STATUS_INFO && code == CN_UPDATE_COMMAND_UI) {
        if (IsQuery(handlerInfo))
            return TRUE;
        CStatusBar* bar = GetStatusBar();
        if (CCmdUI* ui = UpdateUI(code, extra))
            ui->Enable(bar && bar->GetPaneText(1) != L" ");
        return TRUE;
    }
    if (id == ID_UNITS_CHANGED && code == CN_COMMAND)
        return FALSE;
    if (id == ID_TOGGLE_CUSTOM_CURSOR && code == CN_COMMAND) {
        if (!m_pCustomCursor)
            return FALSE;
        if (IsQuery(handlerInfo))
            return TRUE;
        ToggleCustomCursor(m_pViewForLastMessage);
        SetCursor(m_hCursor);
        return TRUE;
    }
    return CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo);
}

void CDesignTool::OverrideKeyAccelerators(CDesignView* view, TKeyOverride* rows, int count) {
    if (m_hAccelTable || !view)
        return;
    std::vector<ACCEL> entries;
    if (CFrameWnd* frame = view->GetParentFrame())
        if (HACCEL table = frame->m_hAccelTable) {
            entries.resize(size_t(CopyAcceleratorTableW(table, nullptr, 0)));
            CopyAcceleratorTableW(table, entries.data(), int(entries.size()));
        }
    entries = ApplyKeyOverrides(std::move(entries), rows, count);
    m_hAccelTable = CreateAcceleratorTableW(entries.data(), int(entries.size()));
}

void CDesignTool::DestroyKeyAccelerators() {
    if (m_hAccelTable)
        DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = nullptr;
}

#include "kelvane/app/main_frame.h"

#include "design/view_toolbar.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/workspace_settings.h"
#include "maltrec/colour_tool_bar.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/visual_look.h"
#include "platform/system/instance_channel.h"
#include "toolbars/custom_tool_bar.h"
#include "toolbars/toolbar_registry.h"

IMPLEMENT_DYNAMIC(CMainFrame, CJoxToolbarFrameWnd)

namespace {

struct SlotEntry {
    int slot;
    UINT nameId;
    UINT resourceId;
};

constexpr int kViewSlot = 36;
constexpr SlotEntry kSlotTable[] = {{0, 61545, kelvane::IDR_MAINFRAME},
                                    {11, 61555, kelvane::IDR_LAYOUT_TOOLBAR},
                                    {kViewSlot, 61580, kelvane::IDR_VIEW_TOOLBAR},
                                    {CColourToolBar::kSlot, 61591, kelvane::IDR_COLOUR_TOOLBAR}};

// The look setting the class library's workspace keeps: 210 plus the "Theme" value.
constexpr int kApplicationLookBase = 210;
constexpr DWORD kAllContexts = 0xFFFFFFFFu;

constexpr UINT kIndicators[CMainFrame::kPaneCount] = {ID_SEPARATOR,
                                                      kelvane::ID_PANE_1,
                                                      kelvane::ID_PANE_2,
                                                      kelvane::ID_PANE_3,
                                                      kelvane::ID_INDICATOR_CAP,
                                                      kelvane::ID_INDICATOR_NUM_LOCK,
                                                      kelvane::ID_INDICATOR_INS};
// Widths of panes 1 to 3 in pixels.
constexpr int kPaneWidths[3] = {340, 110, 38};

} // namespace

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame() {
    fnStopInstanceChannel();
}

int CMainFrame::OnCreate(CREATESTRUCTW* cs) {
    if (CJoxToolbarFrameWnd::OnCreate(cs) == -1)
        return -1;
    m_bBusy = true;
    const int theme = QvGetAppParam(L"Theme", 4);
    platform::SetVisualLook(theme);
    kelvane::WriteWorkspaceInt(L"Workspace", L"ApplicationLook", kApplicationLookBase + theme);
    // The design windows are always tabbed here.
    fnFilterClientArea();
    LoadSlotTable();
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, kelvane::ID_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, kPaneCount)) {
        m_bBusy = false;
        return -1;
    }
    for (int i = 0; i < 3; ++i) {
        UINT id = 0, style = 0;
        int width = 0;
        m_wndStatusBar.GetPaneInfo(i + 1, id, style, width);
        m_wndStatusBar.SetPaneInfo(i + 1, id, style, kPaneWidths[i]);
    }
    if (QvCreateToolbar(0, kelvane::IDR_MAINFRAME, kAllContexts))
        QvPlaceToolbar(0, AFX_IDW_DOCKBAR_TOP, -1, TRUE);
    fnFilterDockedPanes();
    RecalcLayout();
    fnStartAutoSaveTimer();
    m_bBusy = false;
    return 0;
}

void CMainFrame::LoadSlotTable() {
    InitContents();
    for (int slot = 0; slot < kSlotCount; ++slot)
        SetToolbarResourceId(slot, -1);
    for (const SlotEntry& e : kSlotTable) {
        CString name;
        AfxLoadString(e.nameId, name);
        SetToolbarName(e.slot, name);
        SetToolbarResourceId(e.slot, int(e.resourceId));
    }
}

CCustomToolBar* CMainFrame::NewToolbar(int slot) {
    if (slot == kViewSlot)
        return new CViewToolbar;
    if (slot == CColourToolBar::kSlot)
        return new CColourToolBar;
    return CJoxToolbarFrameWnd::NewToolbar(slot);
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (OnFrameCommand(id, code, extra, handlerInfo))
        return TRUE;
    if (CCmdUI* ui = UpdateUI(code, extra)) {
        // The design panes' texts come from the views (QvSetStatusText); a blank written at
        // every idle would wipe them before anyone read them, so the update only enables.
        if (id == kelvane::ID_PANE_1 || id == kelvane::ID_PANE_2 || id == kelvane::ID_PANE_3) {
            if (!IsQuery(handlerInfo))
                ui->Enable(TRUE);
            return TRUE;
        }
    }
    return CJoxToolbarFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

// The main frame's own commands: the cutter commands under the busy flag, silent mode, inch
// display, the help file, closing the active design window, a second window on the active
// design, the stored output settings and the lock-key indicators.
#include "design/design_view.h"
#include "gastelo/browser.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "maltrec/cut_output_sheet.h"
#include "maltrec/output_settings.h"
#include "pivora/framework/app_params.h"
#include "pivora/jox_page.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/doc_template.h"
#include "platform/framework/document.h"
#include "platform/framework/mdi_child_wnd_ex.h"
#include "platform/framework/menu.h"
#include "platform/windowing/message_box.h"
#include "qvutils/qv_utils.h"
#include "toolbars/toolbar_registry.h"
#include "varnholm/sorvane_view.h"

namespace {

constexpr DWORD kAllContexts = 0xFFFFFFFFu;

// The lock key behind a status bar indicator; 0 for other commands.
int LockKeyOf(UINT id) {
    constexpr int kCapsLock = 0x14, kNumLock = 0x90, kInsert = 0x2D;
    switch (id) {
    case kelvane::ID_INDICATOR_CAP:
        return kCapsLock;
    case kelvane::ID_INDICATOR_NUM_LOCK:
        return kNumLock;
    case kelvane::ID_INDICATOR_INS:
        return kInsert;
    default:
        return 0;
    }
}

// The command to every window below this one, depth first.
void SendToDescendants(HWND parent, UINT command) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_COMMAND, command, 0);
        if (::IsWindow(child))
            SendToDescendants(child, command);
    }
}

// The design of the active design window, or null.
CDocument* ActiveDocument(const CMainFrame& frame) {
    CMDIChildWndEx* child = frame.MDIGetActive();
    return child ? child->GetActiveDocument() : nullptr;
}

// The page of the active design window, or null (a tile sheet's window has none).
CJoxPage* ActivePage(const CMainFrame& frame) {
    return DynamicDowncast<CJoxPage>(ActiveDocument(frame));
}

// Save: a page opened read-only has nothing to save under its name.
bool CanSave(const CJoxPage* page) {
    return page && !page->FlagsOn(kPageFlagReadOnly) &&
           (const_cast<CJoxPage*>(page)->IsModified() || page->ViewModified());
}

// A further window on the active design, as the template frames any of its designs.
void NewWindow(const CMainFrame& frame) {
    CMDIChildWndEx* child = frame.MDIGetActive();
    CDocument* doc = child ? child->GetActiveDocument() : nullptr;
    CDocTemplate* tmpl = doc ? doc->GetDocTemplate() : nullptr;
    if (!tmpl)
        return;
    // The design stays while the frame is made, even if making it fails half way.
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* made = tmpl->CreateNewFrame(doc, child);
    doc->m_bAutoDelete = autoDelete;
    if (!made) {
        AfxMessageBox(kelvane::IDS_TEMPLATE_FAILED);
        return;
    }
    tmpl->InitialUpdateFrame(made, doc);
}

// The stored output settings in the sheet, saved back only on OK; dropped while busy.
void OutputSettings(CMainFrame& frame) {
    if (frame.IsBusy() || CSorvaneView::IsBusy())
        return;
    StOutputSettings settings(eGeneralMode, 0);
    settings.LoadFromReg();
    CCutOutputSheet sheet(nullptr, nullptr, CCutOutputSheet::IDS_OUTPUT_SETUP, &settings, &frame,
                          0);
    if (sheet.DoModal() == IDOK)
        settings.SaveToReg();
}

} // namespace

void CMainFrame::fnRunBusy(void (*command)()) {
    // A command arriving from a nested loop of one that runs is dropped.
    if (m_bBusy || CSorvaneView::IsBusy())
        return;
    m_bBusy = true;
    command();
    m_bBusy = false;
}

void CMainFrame::fnOpenHelp(UINT cmd) {
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(0, cmd);
}

BOOL CMainFrame::OnFrameCommand(UINT id, int code, void* extra, void* handlerInfo) {
    if (CCmdUI* ui = UpdateUI(code, extra)) {
        if (IsQuery(handlerInfo))
            return id == kelvane::ID_SILENT_MODE || id == kelvane::ID_DISPLAY_INCHES ||
                   id == kelvane::ID_TOGGLE_MENU_BAR || id == kelvane::ID_NEW_WINDOW ||
                   id == kelvane::ID_HIDDEN_ITEM || id == kelvane::ID_SAVE_DESIGN ||
                   id == kelvane::ID_SAVE_DESIGN_AS || LockKeyOf(id) != 0;
        if (int key = LockKeyOf(id)) {
            // The indicator shows (enabled) while its lock key is on.
            ui->Enable((GetKeyState(key) & 1) != 0);
            return TRUE;
        }
        if (id == kelvane::ID_HIDDEN_ITEM) {
            // Left out of menus: the popup hook hides a disabled item carrying the mark.
            if (ui->m_pMenu && !ui->m_pOther) {
                CMenu menu;
                menu.m_hMenu = ui->m_pMenu;
                CDesignView::MarkMenuItemHidden(&menu, ui->m_nIndex, TRUE);
                menu.m_hMenu = nullptr;
            }
            ui->Enable(FALSE);
            return TRUE;
        }
        if (id == kelvane::ID_NEW_WINDOW) {
            ui->Enable(ActiveDocument(*this) != nullptr);
            return TRUE;
        }
        if (id == kelvane::ID_SAVE_DESIGN) {
            ui->Enable(CanSave(ActivePage(*this)));
            return TRUE;
        }
        if (id == kelvane::ID_SAVE_DESIGN_AS) {
            ui->Enable(ActivePage(*this) != nullptr);
            return TRUE;
        }
        if (id == kelvane::ID_TOGGLE_MENU_BAR) {
            ui->SetCheck(IsMenuBarVisible() ? 1 : 0);
            return TRUE;
        }
        if (id == kelvane::ID_SILENT_MODE) {
            ui->SetCheck(QvGetSilentModeOn() ? 1 : 0);
            return TRUE;
        }
        if (id == kelvane::ID_DISPLAY_INCHES) {
            ui->SetCheck(QvGetInchDisplayOn() ? 1 : 0);
            return TRUE;
        }
        return FALSE;
    }
    if (code != CN_COMMAND)
        return FALSE;
    switch (id) {
    case kelvane::ID_INSTALL_CUTTER:
    case kelvane::ID_SETUP_CUTTER:
    case kelvane::ID_DELETE_CUTTER:
    case kelvane::ID_SILENT_MODE:
    case kelvane::ID_DISPLAY_INCHES:
    case kelvane::ID_HELP_INDEX:
    case kelvane::ID_HELP_FINDER:
    case kelvane::ID_CLOSE_DESIGN:
    case kelvane::ID_TOGGLE_MENU_BAR:
    case kelvane::ID_NEW_WINDOW:
    case kelvane::ID_OUTPUT_SETTINGS:
        break;
    default:
        return FALSE;
    }
    if (IsQuery(handlerInfo))
        return TRUE;
    switch (id) {
    case kelvane::ID_INSTALL_CUTTER:
        fnRunBusy([] { CSorvaneView::FnInstallCutter(0); });
        break;
    case kelvane::ID_SETUP_CUTTER:
        fnRunBusy(&CSorvaneView::FnSetupCutter);
        break;
    case kelvane::ID_DELETE_CUTTER:
        fnRunBusy(&CSorvaneView::FnDeleteCutter);
        break;
    case kelvane::ID_SILENT_MODE:
        QvSetSilentModeOn(QvGetSilentModeOn() ? 0 : 1);
        break;
    case kelvane::ID_DISPLAY_INCHES: {
        QvSetAppParam(L"Display Inches", QvGetInchDisplayOn() ? 0 : 1);
        QvCmdMsgToContextToolbars(kelvane::ID_UNITS_CHANGED, kAllContexts);
        SendToDescendants(GetClientArea()->GetSafeHwnd(), kelvane::ID_UNITS_CHANGED);
        break;
    }
    case kelvane::ID_HELP_INDEX:
    case kelvane::ID_HELP_FINDER:
        fnOpenHelp(id == kelvane::ID_HELP_INDEX ? HELP_INDEX : HELP_FINDER);
        break;
    case kelvane::ID_TOGGLE_MENU_BAR:
        fnToggleMenuBar();
        break;
    case kelvane::ID_NEW_WINDOW:
        NewWindow(*this);
        break;
    case kelvane::ID_OUTPUT_SETTINGS:
        OutputSettings(*this);
        break;
    case kelvane::ID_CLOSE_DESIGN:
        if (CMDIChildWndEx* child = MDIGetActive())
            child->PostMessage(WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
    (void)extra;
    return TRUE;
}

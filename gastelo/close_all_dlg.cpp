#include "gastelo/close_all_dlg.h"

#include "gastelo/gastelo_strings.h"

#include "platform/windowing/dialog_template.h"

IMPLEMENT_DYNAMIC(CCloseAllDlg, CTavrinDialog)

namespace {

// At load, so that a language library registering later replaces the template.
const bool kRegistered = [] {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    platform::RegisterDialogTemplate(DialogTemplate{
        CCloseAllDlg::IDD,
        DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        236,
        62,
        L"Save Designs Before Closing",
        L"MS Sans Serif",
        8,
        {{CCloseAllDlg::IDC_QUESTION, WC_STATIC, L"", child, 7, 7, 222, 20},
         {CCloseAllDlg::IDC_SAVE_ALL, WC_BUTTON, L"&Save All",
          child | WS_TABSTOP | BS_DEFPUSHBUTTON, 7, 38, 50, 14},
         {CCloseAllDlg::IDC_PROMPT, WC_BUTTON, L"&Prompt", child | WS_TABSTOP, 64, 38, 50, 14},
         {CCloseAllDlg::IDC_NO_SAVE, WC_BUTTON, L"&No Save", child | WS_TABSTOP, 121, 38, 50, 14},
         {IDCANCEL, WC_BUTTON, L"&Cancel", child | WS_TABSTOP, 179, 38, 50, 14}}});
    return true;
}();

} // namespace

CCloseAllDlg::CCloseAllDlg(CWnd* parent) : CTavrinDialog(IDD, parent) {
    (void)kRegistered;
}

void CCloseAllDlg::SetDesignCount(int total, int unsaved) {
    m_nTotal = total;
    m_nUnsaved = unsaved;
}

BOOL CCloseAllDlg::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    if (m_nUnsaved < 2) {
        m_strQuestion = GasteloLoadString(IDS_CLOSE_ALL_ONE);
        SetDlgItemText(IDC_SAVE_ALL, GasteloLoadString(IDS_CLOSE_ALL_SAVE));
        if (CWnd* prompt = GetDlgItem(IDC_PROMPT))
            prompt->EnableWindow(FALSE);
    } else {
        m_strQuestion.Format(GasteloLoadString(IDS_CLOSE_ALL_MANY), m_nUnsaved);
    }
    SetDlgItemText(IDC_QUESTION, m_strQuestion);
    return TRUE;
}

BOOL CCloseAllDlg::OnCommand(WPARAM wp, LPARAM lp) {
    if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
        case IDC_SAVE_ALL:
            OnSaveAll();
            return TRUE;
        case IDC_PROMPT:
            OnPrompt();
            return TRUE;
        case IDC_NO_SAVE:
            OnNoSave();
            return TRUE;
        default:
            break;
        }
    }
    return CTavrinDialog::OnCommand(wp, lp);
}

void CCloseAllDlg::Choose(CloseModAction action) {
    m_eAction = action;
    // Closing with OK keeps the dialog's place, as every OK does.
    OnOK();
}

#include "varnholm/cut_plot_setup.h"

#include "platform/windowing/edit_control.h"

#include "felgrin/base_cutter.h"
#include "qvutils/com_setup.h"
#include "varnholm/detect_cutter_dlg.h"

IMPLEMENT_DYNAMIC(CCutPlotSetup, CDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    using D = CCutPlotSetup;
    platform::RegisterDialogTemplate(DialogTemplate{
        D::IDD,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        200,
        110,
        L"Plotter-Cutter Setup",
        L"MS Sans Serif",
        8,
        {{-1, WC_STATIC, L"Name:", kChild, 10, 12, 40, 10},
         {D::IDC_NAME, WC_EDIT, L"", kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 55, 10, 135,
          14},
         {D::IDC_PORT_GROUP, WC_BUTTON, L"Port setup", kChild | BS_GROUPBOX, 5, 30, 190, 50},
         {-1, WC_STATIC, L"Port:", kChild, 10, 44, 40, 10},
         {D::IDC_PORT, WC_EDIT, L"", kChild | WS_BORDER | ES_READONLY | WS_DISABLED, 55, 42, 135,
          14},
         {D::ID_MANUAL_INPUT, WC_BUTTON, L"Manual input", kChild | WS_TABSTOP, 55, 60, 65, 14},
         {D::ID_AUTO_DETECT, WC_BUTTON, L"Auto detect", kChild | WS_TABSTOP, 125, 60, 65, 14},
         {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 85, 88, 50, 14},
         {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 140, 88, 50, 14}}});
    return true;
}();

} // namespace

CCutPlotSetup::CCutPlotSetup(CBaseCutter* cutter, CWnd* parent, int autoDetect)
    : CDialog(IDD, parent), m_pCutter(cutter), m_bAutoDetect(autoDetect) {
    (void)kRegistered;
    if (m_pCutter)
        m_OpeningParams = *m_pCutter->fnGetCommsParams();
}

void CCutPlotSetup::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_NAME, m_strName);
    DDX_Text(dx, IDC_PORT, m_strPort);
}

BOOL CCutPlotSetup::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pCutter) {
        m_strPort = m_pCutter->GetPortName();
        m_strName = m_pCutter->fnGetName();
    }
    UpdateData(FALSE);
    ::SetActiveWindow(m_hWnd);
    if (m_bAutoDetect)
        SetTimer(kDetectTimer, kDetectDelayMs);
    return TRUE;
}

void CCutPlotSetup::OnTimer(UINT_PTR id) {
    if (id != kDetectTimer) {
        CDialog::OnTimer(id);
        return;
    }
    KillTimer(kDetectTimer);
    OnAutoDetect();
}

BOOL CCutPlotSetup::OnCommand(WPARAM wp, LPARAM lp) {
    switch (LOWORD(wp)) {
    case ID_MANUAL_INPUT:
        OnManualInput();
        return TRUE;
    case ID_AUTO_DETECT:
        OnAutoDetect();
        return TRUE;
    default:
        return CDialog::OnCommand(wp, lp);
    }
}

void CCutPlotSetup::OnManualInput() {
    UpdateData(TRUE);
    if (m_pCutter && SetupComPort(m_pCutter->fnGetCommsParams()))
        m_strPort = m_pCutter->GetPortName();
    UpdateData(FALSE);
}

void CCutPlotSetup::OnAutoDetect() {
    UpdateData(TRUE);
    CDetectCutterDlg dlg(this);
    if (dlg.DoModal() == IDOK && !dlg.m_strChosenAddress.IsEmpty()) {
        m_strPort = dlg.m_strChosenAddress;
        if (m_pCutter)
            m_pCutter->SetPortName(m_strPort);
    }
    UpdateData(FALSE);
}

void CCutPlotSetup::OnOK() {
    if (!UpdateData(TRUE))
        return;
    if (m_pCutter)
        m_pCutter->fnSetName(m_strName);
    EndDialog(IDOK);
}

void CCutPlotSetup::OnCancel() {
    // The registry keeps the old port: so does the live cutter.
    if (m_pCutter)
        *m_pCutter->fnGetCommsParams() = m_OpeningParams;
    CDialog::OnCancel();
}

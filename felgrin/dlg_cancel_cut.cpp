#include "felgrin/dlg_cancel_cut.h"

#include "felgrin/base_cutter.h"

IMPLEMENT_DYNAMIC(CDlgCancelCut, CDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int kStatic = -1;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(
        DialogTemplate{IDD_CANCEL_CUT,
                       WS_POPUP | WS_CAPTION | DS_MODALFRAME,
                       200,
                       80,
                       L"Cutting in Progress",
                       L"MS Sans Serif",
                       8,
                       {{kStatic, WC_STATIC, L"Cutter :", kChild | SS_RIGHT, 5, 8, 35, 8},
                        {IDC_CANCEL_CUTTER, WC_STATIC, L"", kChild, 45, 8, 150, 8},
                        {kStatic, WC_STATIC, L"Port :", kChild | SS_RIGHT, 5, 20, 35, 8},
                        {IDC_CANCEL_PORT, WC_STATIC, L"", kChild, 45, 20, 150, 8},
                        {kStatic, WC_STATIC, L"Status:", kChild | SS_RIGHT, 5, 32, 35, 8},
                        {IDC_CANCEL_STATUS, WC_STATIC, L"", kChild, 45, 32, 150, 8},
                        {IDCANCEL, WC_BUTTON, L"Cancel Cutting",
                         kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 65, 56, 70, 14}}});
    return true;
}();

} // namespace

CDlgCancelCut::CDlgCancelCut(CBaseCutter* cutter, CWnd* parent)
    : CDialog(IDD_CANCEL_CUT, parent), m_pCutter(cutter), m_pParent(parent) {
    (void)kRegistered;
}

CDlgCancelCut::~CDlgCancelCut() {
    if (m_hWnd)
        DestroyWindow();
}

BOOL CDlgCancelCut::Create() {
    if (m_hWnd)
        return TRUE;
    return CDialog::Create(m_nTemplate, m_pParent);
}

BOOL CDlgCancelCut::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowWindow(SW_SHOW);
    ::SetActiveWindow(m_hWnd);
    CenterWindow(m_pParentWnd);
    return TRUE;
}

void CDlgCancelCut::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_CANCEL_CUTTER, m_strCutter);
    DDX_Text(dx, IDC_CANCEL_PORT, m_strPort);
    DDX_Text(dx, IDC_CANCEL_STATUS, m_strStatus);
}

void CDlgCancelCut::SetStatus(const CString& status) {
    m_strStatus = FormatString(L"%s", static_cast<LPCWSTR>(status));
    if (!m_hWnd)
        return;
    UpdateData(FALSE);
    UpdateWindow();
}

void CDlgCancelCut::OnCancel() {
    m_bCancelled = 1;
    if (m_pCutter)
        m_pCutter->SetCutCancelled(1);
    // The window goes; the cutter keeps this object and its own flag until the output ends.
    if (m_hWnd)
        DestroyWindow();
}

#include "hobrand/choose_cutter.h"

#include "platform/framework/data_exchange.h"

IMPLEMENT_DYNAMIC(CChooseCutter, CDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(
        DialogTemplate{IDD_CHOOSE_CUTTER,
                       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                       180,
                       120,
                       L"Select Cutter",
                       L"MS Sans Serif",
                       8,
                       {{IDC_CHOOSE_CUTTER_LIST, WC_LISTBOX, L"",
                         kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 7, 7, 166, 85},
                        {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP,
                         35, 99, 50, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 95, 99, 50, 14}}});
    return true;
}();

} // namespace

CChooseCutter::CChooseCutter(CStringArray* names, int selected, CWnd* parent)
    : CDialog(IDD_CHOOSE_CUTTER, parent), m_nSelected(selected), m_pNames(names) {
    (void)kRegistered;
}

void CChooseCutter::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CHOOSE_CUTTER_LIST, m_lbNames);
}

BOOL CChooseCutter::OnInitDialog() {
    CDialog::OnInitDialog();
    m_lbNames.ResetContent();
    if (m_pNames)
        for (INT_PTR i = 0; i < m_pNames->GetSize(); ++i)
            m_lbNames.AddString(m_pNames->GetAt(i));
    m_lbNames.SetCurSel(m_nSelected);
    ShowWindow(SW_SHOW);
    ::SetActiveWindow(m_hWnd);
    CenterWindow();
    return TRUE;
}

void CChooseCutter::OnOK() {
    m_nSelected = m_lbNames.GetCurSel();
    CDialog::OnOK();
}

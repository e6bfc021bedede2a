#include "felgrin/select_cutter.h"

#include "felgrin/cutter_utils.h"
#include "platform/framework/data_exchange.h"

IMPLEMENT_DYNAMIC(CSelectCutter, CTavrinDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_SELECT_CUTTER,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        180,
        120,
        L"Cutter Selection",
        L"MS Sans Serif",
        8,
        {{IDC_CUTTER_LIST, WC_LISTBOX, L"",
          kChild | LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 7, 7, 166, 85},
         {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 35, 99, 50,
          14},
         {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 95, 99, 50, 14}}});
    return true;
}();

} // namespace

CSelectCutter::CSelectCutter(CWnd* parent) : CTavrinDialog(IDD_SELECT_CUTTER, parent) {
    (void)kRegistered;
}

void CSelectCutter::DoDataExchange(CDataExchange* dx) {
    CTavrinDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CUTTER_LIST, m_lbCutters);
    DDX_LBString(dx, IDC_CUTTER_LIST, m_strSelectedName);
}

BOOL CSelectCutter::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    m_lbCutters.ResetContent();
    for (int i = 0; i < int(CCutterUtils::m_oaCutters.GetSize()); ++i) {
        CBaseCutter* cutter = CCutterUtils::m_oaCutters.GetAt(i);
        if (!cutter)
            continue;
        CString name = cutter->fnGetName();
        if (!m_strOmitName.IsEmpty() && name == m_strOmitName)
            continue;
        int at = m_lbCutters.AddString(name);
        m_lbCutters.SetItemData(at, DWORD_PTR(i));
    }
    return TRUE;
}

void CSelectCutter::OnOK() {
    int at = m_lbCutters.GetCurSel();
    m_nChosenIndex = at >= 0 ? int(m_lbCutters.GetItemData(at)) : -1;
    CTavrinDialog::OnOK();
}

BOOL CSelectCutter::OnCommand(WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) == IDC_CUTTER_LIST && HIWORD(wp) == LBN_DBLCLK) {
        OnOK();
        return TRUE;
    }
    return CTavrinDialog::OnCommand(wp, lp);
}

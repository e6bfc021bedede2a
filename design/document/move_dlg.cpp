#include "design/document/move_dlg.h"

#include "design/document/dialog_numbers.h"
#include "platform/framework/data_exchange.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/up_down_control.h"

IMPLEMENT_DYNAMIC(CMoveDlg, CTavrinDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kSpin = kChild | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
constexpr int kStatic = -1;
// Positions are shown to the micrometre.
constexpr int kDecimals = 3;

const bool kRegistered = [] {
    using D = CMoveDlg;
    platform::RegisterDialogTemplate(
        DialogTemplate{D::IDD,
                       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                       150,
                       80,
                       L"Move",
                       L"MS Sans Serif",
                       8,
                       {{kStatic, WC_STATIC, L"X:", kChild, 7, 9, 20, 8},
                        {D::IDC_MOVE_X, WC_EDIT, L"", kEdit, 30, 7, 60, 12},
                        {D::IDC_MOVE_X_SPIN, UPDOWN_CLASS, L"", kSpin, 90, 7, 10, 12},
                        {IDC_UNIT_LABEL_FIRST, WC_STATIC, L"mm", kChild, 104, 9, 30, 8},
                        {kStatic, WC_STATIC, L"Y:", kChild, 7, 27, 20, 8},
                        {D::IDC_MOVE_Y, WC_EDIT, L"", kEdit, 30, 25, 60, 12},
                        {D::IDC_MOVE_Y_SPIN, UPDOWN_CLASS, L"", kSpin, 90, 25, 10, 12},
                        {IDC_UNIT_LABEL_FIRST + 1, WC_STATIC, L"mm", kChild, 104, 27, 30, 8},
                        {D::IDC_MOVE_ABSOLUTE, WC_BUTTON, L"Move absolute",
                         kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 7, 44, 100, 10},
                        {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP,
                         20, 60, 50, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 80, 60, 50, 14}}});
    return true;
}();

} // namespace

CMoveDlg::CMoveDlg(CWnd* parent) : CTavrinDialog(IDD, parent) {
    (void)kRegistered;
}

void CMoveDlg::DoDataExchange(CDataExchange* dx) {
    CTavrinDialog::DoDataExchange(dx);
    dialog_numbers::DDX_Number(dx, IDC_MOVE_X, m_dX, kDecimals);
    dialog_numbers::DDX_Number(dx, IDC_MOVE_Y, m_dY, kDecimals);
    DDX_Check(dx, IDC_MOVE_ABSOLUTE, m_bAbsolute);
}

BOOL CMoveDlg::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_NOTIFY && lp) {
        const auto* n = reinterpret_cast<const NMUPDOWN*>(lp);
        const int id = int(n->hdr.idFrom);
        if (n->hdr.code == UDN_DELTAPOS && (id == IDC_MOVE_X_SPIN || id == IDC_MOVE_Y_SPIN)) {
            UpdateData(TRUE);
            double& v = id == IDC_MOVE_X_SPIN ? m_dX : m_dY;
            v = dialog_numbers::Step(v, n->iDelta, kSpinStep, kDecimals);
            UpdateData(FALSE);
            if (result)
                *result = 0;
            return TRUE;
        }
    }
    return CTavrinDialog::OnWndMsg(msg, wp, lp, result);
}

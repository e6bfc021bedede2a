#include "maltrec/cutoutput/cut_sorting_pp.h"

#include "maltrec/cutoutput/cut_output_rules.h"

#include "platform/framework/data_exchange.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/up_down_control.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNAMIC(CCutSortingPP, CPropertyPage)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    using P = CCutSortingPP;
    platform::RegisterDialogTemplate(DialogTemplate{
        P::IDD,
        WS_CHILD | WS_CAPTION,
        220,
        150,
        L"Sorting",
        L"MS Sans Serif",
        8,
        {{P::IDC_ORDER_DESIGN, WC_BUTTON, L"Keep design order",
          kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 7, 100, 10},
         {P::IDC_ORDER_CLOSEST, WC_BUTTON, L"Closest item first", kChild | BS_AUTORADIOBUTTON, 7,
          20, 100, 10},
         {P::IDC_ORDER_LEAST_MOVEMENT, WC_BUTTON, L"Least media movement",
          kChild | BS_AUTORADIOBUTTON, 7, 33, 100, 10},
         {P::IDC_INSIDE_FIRST, WC_BUTTON, L"Inside objects first",
          kChild | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 7, 50, 100, 10},
         {P::IDC_START_UNCHANGED, WC_BUTTON, L"Don't change",
          kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 115, 7, 100, 10},
         {P::IDC_START_CLOSEST, WC_BUTTON, L"Closest to previous", kChild | BS_AUTORADIOBUTTON, 115,
          20, 100, 10},
         {P::IDC_START_RIGHT, WC_BUTTON, L"Always right", kChild | BS_AUTORADIOBUTTON, 115, 33, 100,
          10},
         {P::IDC_START_BOTTOM, WC_BUTTON, L"Always bottom", kChild | BS_AUTORADIOBUTTON, 115, 46,
          100, 10},
         {-1, WC_STATIC, L"Max. deviation:", kChild | WS_GROUP, 7, 72, 60, 8},
         {P::IDC_MAX_DEVIATION, WC_EDIT, L"", kChild | WS_BORDER | WS_TABSTOP, 70, 70, 40, 12},
         {P::IDC_MAX_DEVIATION_SPIN, UPDOWN_CLASS, L"", kChild | UDS_ALIGNRIGHT, 110, 70, 10, 12},
         {P::IDC_MAX_DEVIATION_UNIT, WC_STATIC, L"(mm)", kChild, 124, 72, 30, 8}}});
    return true;
}();

} // namespace

CCutSortingPP::CCutSortingPP(StOutputSettings* settings)
    : CPropertyPage(IDD), m_pSettings(settings), m_bInchDisplay(QvGetInchDisplayOn()) {
    (void)kRegistered;
    FnSortingPageCoerce(*m_pSettings);
}

void CCutSortingPP::DoDataExchange(CDataExchange* dx) {
    CPropertyPage::DoDataExchange(dx);
    DDX_Radio(dx, IDC_ORDER_DESIGN, m_pSettings->m_nOrderMode);
    DDX_Check(dx, IDC_INSIDE_FIRST, m_pSettings->m_bInsideFirst);
    DDX_Radio(dx, IDC_START_UNCHANGED, m_pSettings->m_nStartPointMode);
}

BOOL CCutSortingPP::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    for (int id : {IDC_ORDER_CLOSEST, IDC_START_CLOSEST}) {
        GetDlgItem(id)->ShowWindow(SW_HIDE);
        GetDlgItem(id)->EnableWindow(FALSE);
    }
    return TRUE;
}

BOOL CCutSortingPP::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    if (HIWORD(wp) == BN_CLICKED &&
        ((id >= IDC_ORDER_DESIGN && id <= IDC_ORDER_LEAST_MOVEMENT) || id == IDC_INSIDE_FIRST)) {
        UpdateData(TRUE);
        UpdateData(FALSE);
        return TRUE;
    }
    return CPropertyPage::OnCommand(wp, lp);
}

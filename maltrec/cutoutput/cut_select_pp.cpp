#include "maltrec/cutoutput/cut_select_pp.h"

#include "maltrec/cutoutput/cut_output_rules.h"

#include "platform/framework/data_exchange.h"

IMPLEMENT_DYNAMIC(CCutSelectPP, CPropertyPage)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    using P = CCutSelectPP;
    platform::RegisterDialogTemplate(
        DialogTemplate{P::IDD,
                       WS_CHILD | WS_CAPTION,
                       220,
                       150,
                       L"Selection",
                       L"MS Sans Serif",
                       8,
                       {{P::IDC_EACH_OBJECT, WC_BUTTON, L"Each object individually",
                         kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 7, 7, 150, 10},
                        {P::IDC_SCOPE_DESIGN, WC_BUTTON, L"Design",
                         kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 30, 150, 10},
                        {P::IDC_SCOPE_SELECTION, WC_BUTTON, L"Current Selection",
                         kChild | BS_AUTORADIOBUTTON, 14, 44, 150, 10},
                        {P::IDC_SCOPE_COLOUR, WC_BUTTON, L"Colour in Selection",
                         kChild | BS_AUTORADIOBUTTON, 14, 58, 150, 10},
                        {P::IDC_CUT_VELM_MARKS, WC_BUTTON, L"Cut VELM marks",
                         kChild | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 7, 80, 150, 10}}});
    return true;
}();

} // namespace

CCutSelectPP::CCutSelectPP(StOutputSettings* settings) : CPropertyPage(IDD), m_pSettings(settings) {
    (void)kRegistered;
}

void CCutSelectPP::DoDataExchange(CDataExchange* dx) {
    CPropertyPage::DoDataExchange(dx);
    DDX_Check(dx, IDC_EACH_OBJECT, m_pSettings->m_bCutObjectsSeparately);
    DDX_Radio(dx, IDC_SCOPE_DESIGN, m_pSettings->m_nCutScope);
    DDX_Check(dx, IDC_CUT_VELM_MARKS, m_pSettings->m_bCutVelmMarks);
}

BOOL CCutSelectPP::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    const StSelectEnables e = FnSelectPageEnables(*m_pSettings);
    GetDlgItem(IDC_SCOPE_SELECTION)->EnableWindow(e.currentSelection);
    GetDlgItem(IDC_SCOPE_COLOUR)->EnableWindow(e.colourSelection);
    GetDlgItem(IDC_CUT_VELM_MARKS)->EnableWindow(e.velmMarks);
    GetDlgItem(IDC_EACH_OBJECT)->EnableWindow(e.eachObject);
    return TRUE;
}

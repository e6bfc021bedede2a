#include "maltrec/cutoutput/cut_med_man_pp.h"

#include "design/design_page.h"
#include "hobrand/media_manager_blk.h"

IMPLEMENT_DYNAMIC(CCutMedManPP, CPropertyPage)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(DialogTemplate{
        CCutMedManPP::IDD,
        WS_CHILD | WS_CAPTION,
        220,
        150,
        L"Cutter",
        L"MS Sans Serif",
        8,
        {{-1, WC_STATIC, L"Cutter:", kChild, 7, 10, 50, 8},
         {CCutMedManPP::IDC_DEVICE_NAME, WC_STATIC, L"", kChild | WS_BORDER, 60, 8, 150, 12},
         {-1, WC_STATIC, L"Port:", kChild, 7, 28, 50, 8},
         {CCutMedManPP::IDC_PORT_NAME, WC_STATIC, L"", kChild | WS_BORDER, 60, 26, 150, 12}}});
    return true;
}();

} // namespace

CMediaManagerBlk* FnSheetMediaManager(CDesignPage* sheetPage) {
    return sheetPage
               ? dynamic_cast<CMediaManagerBlk*>(sheetPage->FindParam(CParamBlk::kMediaManagerId))
               : nullptr;
}

CCutMedManPP::CCutMedManPP(CDesignPage* sheetPage)
    : CPropertyPage(IDD), m_pMedMan(FnSheetMediaManager(sheetPage)) {
    (void)kRegistered;
}

BOOL CCutMedManPP::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (m_pMedMan) {
        m_pMedMan->fnDeviceName(m_strDeviceName);
        m_pMedMan->fnGetPortName(m_strPortName);
    }
    SetDlgItemTextW(m_hWnd, IDC_DEVICE_NAME, m_strDeviceName);
    SetDlgItemTextW(m_hWnd, IDC_PORT_NAME, m_strPortName);
    return TRUE;
}

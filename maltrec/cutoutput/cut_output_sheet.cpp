#include "maltrec/cut_output_sheet.h"

#include "maltrec/cutoutput/cut_output_strings.h"

IMPLEMENT_DYNAMIC(CCutOutputSheet, CPropertySheet)

CCutOutputSheet::CCutOutputSheet(CDesignPage* sheetPage, CDesignPage* designPage, UINT caption,
                                 StOutputSettings* settings, CWnd* parent, UINT firstPage)
    : CPropertySheet((FnRegisterCutOutputStrings(), caption), parent, firstPage),
      m_CutMedManPP(sheetPage), m_CutSelectPP(settings),
      m_CutOutPP(sheetPage, designPage, settings), m_CutSortingPP(settings), m_pSettings(settings) {
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    for (CPropertyPage* p : std::initializer_list<CPropertyPage*>{&m_CutMedManPP, &m_CutSelectPP,
                                                                  &m_CutOutPP, &m_CutSortingPP})
        p->m_psp.dwFlags &= ~PSP_HASHELP;
    if (!settings->IsGeneralMode())
        AddPage(&m_CutMedManPP);
    AddPage(&m_CutOutPP);
    AddPage(&m_CutSelectPP);
    AddPage(&m_CutSortingPP);
    SetActivePage(settings->ItemsSelected() ? static_cast<CPropertyPage*>(&m_CutSelectPP)
                                            : &m_CutOutPP);
}

BOOL CCutOutputSheet::OnInitDialog() {
    CPropertySheet::OnInitDialog();
    if (!m_pSettings->IsGeneralMode())
        if (CWnd* ok = GetDlgItem(IDOK))
            ok->SetWindowText(CutOutputLoadString(IDS_SEND_TO_CUTTER));
    return TRUE;
}

// CCutOutputSheet: the sheet, caption 34001 "Output Setup Details", in which the operator edits
// one output settings record before a send, or the stored settings without a design. Its pages
// write straight into the caller's record; the caller saves it when the sheet ends with OK.
#pragma once

#include "maltrec/cutoutput/cut_med_man_pp.h"
#include "maltrec/cutoutput/cut_out_pp.h"
#include "maltrec/cutoutput/cut_select_pp.h"
#include "maltrec/cutoutput/cut_sorting_pp.h"

#include "platform/framework/property_sheet.h"

class CDesignPage;

class CCutOutputSheet : public CPropertySheet {
    DECLARE_DYNAMIC(CCutOutputSheet)
public:
    static constexpr UINT IDS_OUTPUT_SETUP = 34001;
    static constexpr UINT IDS_SEND_TO_CUTTER = 34004;

    // Either page may be null (general mode).
    CCutOutputSheet(CDesignPage* sheetPage, CDesignPage* designPage, UINT caption,
                    StOutputSettings* settings, CWnd* parent, UINT firstPage);

    BOOL OnInitDialog() override;

    CCutMedManPP m_CutMedManPP;
    CCutSelectPP m_CutSelectPP;
    CCutOutPP m_CutOutPP;
    CCutSortingPP m_CutSortingPP;

private:
    StOutputSettings* m_pSettings;
};

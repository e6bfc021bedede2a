// The sheet's "Selection" page: what is cut, and whether each object is a job of its own.
#pragma once

#include "maltrec/output_settings.h"

#include "platform/framework/property_page.h"

class CCutSelectPP : public CPropertyPage {
    DECLARE_DYNAMIC(CCutSelectPP)
public:
    static constexpr UINT IDD = 1097;
    static constexpr int IDC_EACH_OBJECT = 2023;
    static constexpr int IDC_SCOPE_DESIGN = 2024;
    static constexpr int IDC_SCOPE_SELECTION = 2025;
    static constexpr int IDC_SCOPE_COLOUR = 2026;
    static constexpr int IDC_CUT_VELM_MARKS = 2027;

    explicit CCutSelectPP(StOutputSettings* settings);
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    StOutputSettings* m_pSettings;
};

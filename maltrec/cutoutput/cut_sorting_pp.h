// The sheet's "Sorting" page: the order of the paths and where each path starts.
#pragma once

#include "maltrec/output_settings.h"

#include "platform/framework/property_page.h"

class CCutSortingPP : public CPropertyPage {
    DECLARE_DYNAMIC(CCutSortingPP)
public:
    static constexpr UINT IDD = 1110;
    static constexpr int IDC_ORDER_DESIGN = 2205;
    static constexpr int IDC_ORDER_CLOSEST = 2206;
    static constexpr int IDC_ORDER_LEAST_MOVEMENT = 2207;
    static constexpr int IDC_MAX_DEVIATION_SPIN = 2209;
    static constexpr int IDC_START_UNCHANGED = 2211;
    static constexpr int IDC_START_CLOSEST = 2212;
    static constexpr int IDC_START_RIGHT = 2213;
    static constexpr int IDC_START_BOTTOM = 2214;
    static constexpr int IDC_MAX_DEVIATION = 2215;
    static constexpr int IDC_INSIDE_FIRST = 2216;
    static constexpr int IDC_MAX_DEVIATION_UNIT = 2217;

    explicit CCutSortingPP(StOutputSettings* settings);
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;

private:
    StOutputSettings* m_pSettings;
    // Neither shown nor used.
    int m_nMaxDeviation = 10000;
    int m_bInchDisplay;
};

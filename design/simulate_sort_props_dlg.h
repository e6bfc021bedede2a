// CSimulateSortPropsDlg: asks how the output to simulate is sorted (scope, order, start points,
// inside first, maximum deviation) and keeps the answers as application parameters.
#pragma once

#include "platform/core/cstring.h"
#include "platform/framework/dialog.h"

class CDesignPage;

class CSimulateSortPropsDlg : public CDialog {
    DECLARE_DYNCREATE(CSimulateSortPropsDlg)

public:
    static constexpr UINT IDD = 43396;
    static constexpr int IDC_SCOPE_DESIGN = 1001;
    static constexpr int IDC_SCOPE_SELECTION = 1002;
    static constexpr int IDC_SCOPE_COLOUR = 1003;
    static constexpr int IDC_ORDER_DESIGN = 1004;
    static constexpr int IDC_ORDER_CLOSEST = 1005;
    static constexpr int IDC_ORDER_LEAST_MOVEMENT = 1006;
    static constexpr int IDC_INSIDE_FIRST = 1007;
    static constexpr int IDC_START_UNCHANGED = 1008;
    static constexpr int IDC_START_CLOSEST = 1009;
    static constexpr int IDC_START_RIGHT = 1010;
    static constexpr int IDC_START_BOTTOM = 1011;
    static constexpr int IDC_MAX_DEVIATION_CAPTION = 1012;
    static constexpr int IDC_MAX_DEVIATION = 1013;
    static constexpr int IDC_MAX_DEVIATION_SPIN = 1014;
    static constexpr int IDC_MAX_DEVIATION_UNIT = 1015;
    static constexpr int kDefaultScope = 0;
    static constexpr int kDefaultOrder = 2;
    static constexpr int kDefaultStart = 0;
    static constexpr int kDefaultInsideFirst = 1;
    static constexpr int kDefaultMaxDeviation = 10000;
    // Deviations beyond a metre are no deviation a cutter can use.
    static constexpr int kMaxDeviation = 1000000;

    CSimulateSortPropsDlg() : CSimulateSortPropsDlg(nullptr, nullptr) {}
    CSimulateSortPropsDlg(CDesignPage* page, CWnd* parent);

    // The deviation text as a number: negative, overflowing or unreadable text counts as 0.
    static double ParseDeviation(const CString& text);
    // Micrometres of a deviation in millimetres, or in inches.
    static int ToMicrometres(double value, bool inches);

    int m_nScope;
    int m_nOrderMode;
    int m_nStartMode;
    int m_bInsideFirst;
    CString m_strMaxDeviation;
    int m_nMaxDeviation;
    int m_bSelectionPresent;
    int m_bInchDisplay;

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void ReadParameters();
    // The radios, check box and text; the deviation follows the text when the order changed.
    void ApplyOptionRule();
    void SetDeviationText(double value);
};

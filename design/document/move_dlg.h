// The Move dialog: an offset, or with "Move absolute" a position, for the selection, in
// millimetres (inches with the inch display). The select tool opens it and applies the values.
#pragma once

#include "qvutils/tavrin_dialog.h"

class CMoveDlg : public CTavrinDialog {
    DECLARE_DYNAMIC(CMoveDlg)

public:
    enum { IDD = 28060 };
    static constexpr int IDC_MOVE_X = 28223;
    static constexpr int IDC_MOVE_Y = 28224;
    static constexpr int IDC_MOVE_X_SPIN = 28149;
    static constexpr int IDC_MOVE_Y_SPIN = 28150;
    static constexpr int IDC_MOVE_ABSOLUTE = 28161;
    // One spin step, in display units.
    static constexpr double kSpinStep = 0.1;

    explicit CMoveDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    double m_dX = 0;
    double m_dY = 0;
    int m_bAbsolute = 0;
};

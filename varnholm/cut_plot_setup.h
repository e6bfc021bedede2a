// "Plotter-Cutter Setup": the name and port of one cutter. The port buttons change the cutter
// at once; Cancel puts back the port settings it had when the dialog opened.
#pragma once

#include "platform/framework/dialog.h"
#include "qvutils/comms_params.h"

class CBaseCutter;

class CCutPlotSetup : public CDialog {
    DECLARE_DYNAMIC(CCutPlotSetup)

public:
    static constexpr UINT IDD = 23015;
    static constexpr int IDC_NAME = 23101;
    static constexpr int IDC_PORT = 23102;
    static constexpr int IDC_PORT_GROUP = 23103;
    static constexpr int ID_MANUAL_INPUT = 55051;
    static constexpr int ID_AUTO_DETECT = 55055;
    // The one-shot timer that starts detection after the dialog is shown.
    static constexpr UINT_PTR kDetectTimer = 13133;
    static constexpr UINT kDetectDelayMs = 100;

    CCutPlotSetup(CBaseCutter* cutter, CWnd* parent, int autoDetect);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void OnTimer(UINT_PTR id) override;
    void DoDataExchange(CDataExchange* dx) override;

    void OnManualInput();
    void OnAutoDetect();

    CBaseCutter* m_pCutter;
    CString m_strName;
    CString m_strPort;
    int m_bAutoDetect;

private:
    _CommsParams m_OpeningParams;
};

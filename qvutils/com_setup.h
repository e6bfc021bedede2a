// "Communications Setup": the port of a cutter and, for serial ports, its speed, framing and
// handshake, edited on a port settings record.
#pragma once

#include "platform/framework/button.h"
#include "platform/framework/combo_box.h"
#include "qvutils/comms_params.h"
#include "qvutils/tavrin_dialog.h"

constexpr UINT IDD_COMSETUP = 17510;
constexpr int IDC_DATA_7 = 17511;
constexpr int IDC_DATA_8 = 17512;
constexpr int IDC_STOP_ONE = 17513;
constexpr int IDC_STOP_TWO = 17514;
constexpr int IDC_BAUD = 17519;
constexpr int IDC_PORT = 17520;
constexpr int IDC_PARITY_ODD = 17521;
constexpr int IDC_PARITY_NONE = 17522;
constexpr int IDC_FLOW_XONXOFF = 17525;
constexpr int IDC_FLOW_DTRDSR = 17526;
constexpr int IDC_FLOW_RTSCTS = 17527;
constexpr int IDC_FLOW_NONE = 17528;
constexpr int IDC_PARITY_EVEN = 17529;
constexpr int IDC_CONFIGURE_IP = 18623;

// The four remembered network addresses offered in the port list.
extern const wchar_t* const kCommsIPAddrParams[4];

// Runs the set-up modally on the record; 1 after OK. The record changes only on OK.
int SetupComPort(_CommsParams* params);

class ComSetup : public CTavrinDialog {
    DECLARE_DYNAMIC(ComSetup)

public:
    ComSetup(_CommsParams* params, int unused, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void DoDataExchange(CDataExchange* dx) override;

    // How long the printer queues may take to list, in milliseconds.
    static void SetPrinterListTimeout(int ms);

protected:
    void OnPortChange();
    void OnConfigureIP();
    void FillPortList();

    _CommsParams* m_pParams;
    int m_nUnused;
    CComboBox m_cbPort;
    CComboBox m_cbBaud;
    CButton m_rbData7, m_rbData8, m_rbStopOne, m_rbStopTwo, m_rbXonXoff, m_rbDtrDsr, m_rbRtsCts,
        m_rbFlowNone, m_rbParityNone, m_rbParityOdd, m_rbParityEven;
    BYTE m_nFlowCode = 0;
    BYTE m_nParityCode = 0;
    BYTE m_nStopCode = 0;
    BYTE m_nDataBits = 8;
};

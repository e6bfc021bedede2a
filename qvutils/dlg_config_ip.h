// "Configure IP Address": edits one network address as four octets.
#pragma once

#include "platform/framework/dialog.h"
#include "platform/framework/ip_address_ctrl.h"

constexpr UINT IDD_CONFIG_IP = 17541;
constexpr int IDC_IP_ADDRESS = 18624;

class CDlgConfigIP : public CDialog {
    DECLARE_DYNAMIC(CDlgConfigIP)

public:
    explicit CDlgConfigIP(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;

    CIPAddressCtrl m_ipAddress;
    // Set before DoModal, read after OK. A text that is not a number from 0 to 255 shows as a
    // blank field.
    CString m_strOctet[4];
};

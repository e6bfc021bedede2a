#include "qvutils/dlg_config_ip.h"

#include "qvutils/host_services.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CDlgConfigIP, CDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_CONFIG_IP,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        150,
        60,
        L"Configure IP Address",
        L"MS Sans Serif",
        8,
        {{IDC_IP_ADDRESS, WC_IPADDRESS, L"", kChild | WS_TABSTOP | WS_GROUP, 10, 12, 100, 14},
         {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 20, 38, 50,
          14},
         {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 80, 38, 50, 14}}});
    return true;
}();

// A whole decimal number from 0 to 255, else -1.
int Octet(const CString& text) {
    CString t = text;
    t.Trim();
    if (t.IsEmpty() || t.GetLength() > 3)
        return -1;
    int v = 0;
    for (int i = 0; i < t.GetLength(); ++i) {
        if (t[i] < L'0' || t[i] > L'9')
            return -1;
        v = v * 10 + (t[i] - L'0');
    }
    return v <= 255 ? v : -1;
}

} // namespace

CDlgConfigIP::CDlgConfigIP(CWnd* parent) : CDialog(IDD_CONFIG_IP, parent) {
    (void)kRegistered;
}

void CDlgConfigIP::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_IP_ADDRESS, m_ipAddress);
}

BOOL CDlgConfigIP::OnInitDialog() {
    CDialog::OnInitDialog();
    m_ipAddress.ClearAddress();
    for (int i = 0; i < 4; ++i) {
        int v = Octet(m_strOctet[i]);
        if (v >= 0)
            platform::EditIPAddressField(m_ipAddress.m_hWnd, i, v);
    }
    return TRUE;
}

void CDlgConfigIP::OnOK() {
    if (!UpdateData(TRUE))
        return;
    for (int i = 0; i < 4; ++i)
        if (platform::GetIPAddressField(m_ipAddress.m_hWnd, i) < 0) {
            qvhost::MessageBox(L"Please enter a number from 0 to 255 in each part of the address.",
                               qvhost::kMbOk | qvhost::kMbIconExclamation);
            return;
        }
    BYTE b[4];
    m_ipAddress.GetAddress(b[0], b[1], b[2], b[3]);
    for (int i = 0; i < 4; ++i)
        m_strOctet[i] = FormatString(L"%u", unsigned(b[i]));
    EndDialog(IDOK);
}

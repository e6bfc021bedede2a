#include "qvutils/com_setup.h"

#include "platform/system/printer_queue.h"
#include "qvutils/dlg_config_ip.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <vector>

IMPLEMENT_DYNAMIC(ComSetup, CTavrinDialog)

const wchar_t* const kCommsIPAddrParams[4] = {L"Comms IP Addr", L"Comms IP Addr 2",
                                              L"Comms IP Addr 3", L"Comms IP Addr 4"};

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadio = kChild | BS_AUTORADIOBUTTON;
constexpr DWORD kGroupBox = kChild | BS_GROUPBOX | WS_GROUP;
constexpr int kStatic = -1;

int g_printerTimeoutMs = 3000;

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_COMSETUP,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        230,
        200,
        L"Communications Setup",
        L"MS Sans Serif",
        8,
        {{kStatic, WC_STATIC, L"Communication Port ", kChild, 8, 10, 90, 8},
         {IDC_PORT, WC_COMBOBOX, L"", kChild | CBS_DROPDOWNLIST | WS_TABSTOP | WS_GROUP, 102, 8,
          120, 100},
         {IDC_CONFIGURE_IP, WC_BUTTON, L"Configure IP", kChild | WS_TABSTOP, 102, 24, 60, 14},
         {kStatic, WC_BUTTON, L"RS232 Port Settings", kGroupBox, 5, 44, 220, 130},
         {kStatic, WC_STATIC, L"Baud Rate", kChild, 12, 58, 50, 8},
         {IDC_BAUD, WC_COMBOBOX, L"", kChild | CBS_DROPDOWNLIST | WS_TABSTOP | WS_GROUP, 70, 56, 60,
          100},
         {kStatic, WC_BUTTON, L"Data Bits", kGroupBox, 12, 74, 100, 30},
         {IDC_DATA_7, WC_BUTTON, L"7 Bits", kRadio | WS_GROUP | WS_TABSTOP, 18, 86, 40, 10},
         {IDC_DATA_8, WC_BUTTON, L"8 Bits", kRadio, 62, 86, 40, 10},
         {kStatic, WC_BUTTON, L"Stop Bits", kGroupBox, 118, 74, 100, 30},
         {IDC_STOP_ONE, WC_BUTTON, L"One", kRadio | WS_GROUP | WS_TABSTOP, 124, 86, 40, 10},
         {IDC_STOP_TWO, WC_BUTTON, L"Two", kRadio, 168, 86, 40, 10},
         {kStatic, WC_BUTTON, L"Parity", kGroupBox, 12, 108, 100, 60},
         {IDC_PARITY_NONE, WC_BUTTON, L"None", kRadio | WS_GROUP | WS_TABSTOP, 18, 120, 60, 10},
         {IDC_PARITY_ODD, WC_BUTTON, L"Odd", kRadio, 18, 135, 60, 10},
         {IDC_PARITY_EVEN, WC_BUTTON, L"Even", kRadio, 18, 150, 60, 10},
         {kStatic, WC_BUTTON, L"Flow Control", kGroupBox, 118, 108, 100, 62},
         {IDC_FLOW_XONXOFF, WC_BUTTON, L"Xon/Xoff", kRadio | WS_GROUP | WS_TABSTOP, 124, 118, 60,
          10},
         {IDC_FLOW_DTRDSR, WC_BUTTON, L"DTR/DSR", kRadio, 124, 130, 60, 10},
         {IDC_FLOW_RTSCTS, WC_BUTTON, L"RTS/CTS", kRadio, 124, 142, 60, 10},
         {IDC_FLOW_NONE, WC_BUTTON, L"None", kRadio, 124, 154, 60, 10},
         {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 60, 180, 50,
          14},
         {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 120, 180, 50, 14}}});
    return true;
}();

constexpr int kBauds[] = {115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200, 300};

bool IsSerialEntry(const CString& entry) {
    return entry.Left(3) == L"COM"; // as the operator sees it: "com1" is not offered
}

} // namespace

int SetupComPort(_CommsParams* params) {
    if (!params)
        return 0;
    // The dialog edits a copy, so that nothing it does reaches the record unless OK is pressed.
    _CommsParams work = *params;
    ComSetup dlg(&work, 0, nullptr);
    if (dlg.DoModal() != IDOK)
        return 0;
    *params = work;
    return 1;
}

ComSetup::ComSetup(_CommsParams* params, int unused, CWnd* parent)
    : CTavrinDialog(IDD_COMSETUP, parent), m_pParams(params), m_nUnused(unused) {
    (void)kRegistered;
}

void ComSetup::SetPrinterListTimeout(int ms) {
    g_printerTimeoutMs = ms;
}

void ComSetup::DoDataExchange(CDataExchange* dx) {
    CTavrinDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PORT, m_cbPort);
    DDX_Control(dx, IDC_BAUD, m_cbBaud);
    DDX_Control(dx, IDC_DATA_7, m_rbData7);
    DDX_Control(dx, IDC_DATA_8, m_rbData8);
    DDX_Control(dx, IDC_STOP_ONE, m_rbStopOne);
    DDX_Control(dx, IDC_STOP_TWO, m_rbStopTwo);
    DDX_Control(dx, IDC_FLOW_XONXOFF, m_rbXonXoff);
    DDX_Control(dx, IDC_FLOW_DTRDSR, m_rbDtrDsr);
    DDX_Control(dx, IDC_FLOW_RTSCTS, m_rbRtsCts);
    DDX_Control(dx, IDC_FLOW_NONE, m_rbFlowNone);
    DDX_Control(dx, IDC_PARITY_NONE, m_rbParityNone);
    DDX_Control(dx, IDC_PARITY_ODD, m_rbParityOdd);
    DDX_Control(dx, IDC_PARITY_EVEN, m_rbParityEven);
}

void ComSetup::FillPortList() {
    m_cbPort.ResetContent();
    m_cbPort.AddString(L"FILE");
    for (const wchar_t* name : kCommsIPAddrParams) {
        CString address;
        if (qvhost::GetAppParam(name, address) && !address.IsEmpty())
            m_cbPort.AddString(address);
    }
    m_cbPort.AddString(L"USB");
    for (int i = 2; i <= 4; ++i)
        m_cbPort.AddString(FormatString(L"USB%d", i));
    for (int i = 1; i <= 3; ++i)
        m_cbPort.AddString(FormatString(L"LPT%d", i));
    std::vector<CString> queues;
    std::string error;
    if (platform::ListPrinterQueues(queues, &error, g_printerTimeoutMs)) {
        for (const CString& q : queues)
            if (q.CompareNoCase(L"FAX") != 0)
                m_cbPort.AddString(q);
    } else {
        qvhost::MessageBox(FormatString(L"Error attempting to enumerate local printers: %s",
                                        static_cast<LPCWSTR>(CString::FromUtf8(error))),
                           qvhost::kMbOk | qvhost::kMbIconExclamation);
    }
    for (int i = 1; i <= 9; ++i)
        m_cbPort.AddString(FormatString(L"COM%d", i));
}

BOOL ComSetup::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    const _CommsParams& p = *m_pParams;
    FillPortList();
    int at = m_cbPort.FindString(-1, p.szPortName);
    m_cbPort.SetCurSel(at >= 0 ? at : 0);

    m_cbBaud.ResetContent();
    for (int baud : kBauds) {
        int i = m_cbBaud.AddString(FormatString(L"%d", baud));
        m_cbBaud.SetItemData(i, DWORD_PTR(baud));
        if (baud == p.nBaudRate)
            m_cbBaud.SetCurSel(i);
    }

    // A count no byte can hold is no count of data bits: the 8 that the radios show.
    m_nDataBits = p.nDataBits >= 0 && p.nDataBits <= 255 ? BYTE(p.nDataBits) : 8;
    (p.nDataBits == 7 ? m_rbData7 : m_rbData8).SetCheck(BST_CHECKED);
    m_nStopCode = p.nStopBits != 0 ? 2 : 0;
    (p.nStopBits != 0 ? m_rbStopTwo : m_rbStopOne).SetCheck(BST_CHECKED);
    m_nParityCode = p.nParity == 0 ? 0 : (p.nParity == 1 ? 1 : 2);
    (p.nParity == 0   ? m_rbParityNone
     : p.nParity == 1 ? m_rbParityOdd
                      : m_rbParityEven)
        .SetCheck(BST_CHECKED);
    if (p.nFlowControl & COMMS_FLOW_XONXOFF) {
        m_nFlowCode = COMMS_FLOW_XONXOFF;
        m_rbXonXoff.SetCheck(BST_CHECKED);
    } else if (p.nFlowControl & COMMS_FLOW_DTRDSR) {
        m_nFlowCode = COMMS_FLOW_DTRDSR;
        m_rbDtrDsr.SetCheck(BST_CHECKED);
    } else if (p.nFlowControl & COMMS_FLOW_RTSCTS) {
        m_nFlowCode = COMMS_FLOW_RTSCTS;
        m_rbRtsCts.SetCheck(BST_CHECKED);
    } else {
        m_nFlowCode = 0;
        m_rbFlowNone.SetCheck(BST_CHECKED);
    }
    OnPortChange();
    return TRUE;
}

void ComSetup::OnPortChange() {
    CString entry;
    m_cbPort.GetLBText(m_cbPort.GetCurSel(), entry);
    BOOL serial = IsSerialEntry(entry);
    m_cbBaud.EnableWindow(serial);
    for (CButton* b :
         {&m_rbData7, &m_rbData8, &m_rbStopOne, &m_rbStopTwo, &m_rbXonXoff, &m_rbDtrDsr,
          &m_rbRtsCts, &m_rbFlowNone, &m_rbParityNone, &m_rbParityOdd, &m_rbParityEven})
        b->EnableWindow(serial);
}

BOOL ComSetup::OnCommand(WPARAM wp, LPARAM lp) {
    int id = LOWORD(wp);
    UINT code = HIWORD(wp);
    if (id == IDC_PORT && code == CBN_SELCHANGE) {
        OnPortChange();
        return TRUE;
    }
    if (code == BN_CLICKED) {
        struct {
            int id;
            BYTE* code;
            BYTE value;
        } radios[] = {{IDC_DATA_7, &m_nDataBits, 7},
                      {IDC_DATA_8, &m_nDataBits, 8},
                      {IDC_STOP_ONE, &m_nStopCode, 0},
                      {IDC_STOP_TWO, &m_nStopCode, 2},
                      {IDC_PARITY_NONE, &m_nParityCode, 0},
                      {IDC_PARITY_ODD, &m_nParityCode, 1},
                      {IDC_PARITY_EVEN, &m_nParityCode, 2},
                      {IDC_FLOW_NONE, &m_nFlowCode, 0},
                      {IDC_FLOW_DTRDSR, &m_nFlowCode, COMMS_FLOW_DTRDSR},
                      {IDC_FLOW_RTSCTS, &m_nFlowCode, COMMS_FLOW_RTSCTS},
                      {IDC_FLOW_XONXOFF, &m_nFlowCode, COMMS_FLOW_XONXOFF}};
        for (const auto& r : radios)
            if (r.id == id) {
                *r.code = r.value;
                return TRUE;
            }
        if (id == IDC_CONFIGURE_IP) {
            OnConfigureIP();
            return TRUE;
        }
    }
    return CTavrinDialog::OnCommand(wp, lp);
}

void ComSetup::OnConfigureIP() {
    CString slots[4];
    for (int i = 0; i < 4; ++i)
        qvhost::GetAppParam(kCommsIPAddrParams[i], slots[i]);
    CString entry;
    m_cbPort.GetLBText(m_cbPort.GetCurSel(), entry);
    int slot = 3;
    if (QvIsIPv4Address(entry)) {
        for (int i = 0; i < 4; ++i)
            if (slots[i] == entry) {
                slot = i;
                break;
            }
    } else {
        for (int i = 0; i < 4; ++i)
            if (slots[i].IsEmpty()) {
                slot = i;
                break;
            }
    }
    const CString old = slots[slot];
    CDlgConfigIP dlg(this);
    if (!old.IsEmpty()) {
        int field = 0, from = 0;
        for (int i = 0; i <= old.GetLength() && field < 4; ++i)
            if (i == old.GetLength() || old[i] == L'.') {
                dlg.m_strOctet[field++] = old.Mid(from, i - from);
                from = i + 1;
            }
    }
    if (dlg.DoModal() != IDOK)
        return;
    CString address = FormatString(L"%s.%s.%s.%s", static_cast<LPCWSTR>(dlg.m_strOctet[0]),
                                   static_cast<LPCWSTR>(dlg.m_strOctet[1]),
                                   static_cast<LPCWSTR>(dlg.m_strOctet[2]),
                                   static_cast<LPCWSTR>(dlg.m_strOctet[3]));
    m_pParams->szPortName = address;
    if (!old.IsEmpty()) {
        // The edited slot's own entry goes, wherever it stands in the list.
        int stale = m_cbPort.FindStringExact(-1, old);
        if (stale >= 0)
            m_cbPort.DeleteString(UINT(stale));
    }
    m_cbPort.InsertString(1, address);
    m_cbPort.SetCurSel(1);
    OnPortChange();
    qvhost::SetAppParam(kCommsIPAddrParams[slot], address);
}

void ComSetup::OnOK() {
    int port = m_cbPort.GetCurSel();
    if (port >= 0)
        m_cbPort.GetLBText(port, m_pParams->szPortName);
    // A record whose baud rate is none of the list's keeps it rather than take a bogus one.
    int baud = m_cbBaud.GetCurSel();
    if (baud >= 0)
        m_pParams->nBaudRate = int(m_cbBaud.GetItemData(baud));
    m_pParams->nStopBits = m_nStopCode;
    m_pParams->nDataBits = m_nDataBits;
    m_pParams->nParity = m_nParityCode;
    m_pParams->nFlowControl = m_nFlowCode;
    CTavrinDialog::OnOK();
}

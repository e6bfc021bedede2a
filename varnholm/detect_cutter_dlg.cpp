#include "varnholm/detect_cutter_dlg.h"

#include "felgrin/dmpl_cutter.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/vanter_ping.h"

#include <memory>

IMPLEMENT_DYNAMIC(CDetectCutterDlg, CDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const bool kRegistered = [] {
    using D = CDetectCutterDlg;
    platform::RegisterDialogTemplate(DialogTemplate{
        D::IDD,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        200,
        130,
        L"Detected cutters",
        L"MS Sans Serif",
        8,
        {{D::IDC_DEVICES, WC_LISTVIEW, L"",
          kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 5, 5,
          190, 95},
         {D::ID_REFRESH, WC_BUTTON, L"Refresh", kChild | WS_TABSTOP, 5, 108, 50, 14},
         {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 90, 108, 50, 14},
         {IDCANCEL, WC_BUTTON, L"Cancel", kChild | WS_TABSTOP, 145, 108, 50, 14}}});
    return true;
}();

// A reply field as the list shows it; bytes that are no text become '?'.
CString FieldText(const std::string& field) {
    CString text;
    for (unsigned char c : field)
        text += wchar_t(c >= 0x20 && c < 0x7F ? c : '?');
    return text;
}

} // namespace

CDetectCutterDlg::CDetectCutterDlg(CWnd* parent) : CDialog(IDD, parent) {
    (void)kRegistered;
}

void CDetectCutterDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_DEVICES, m_lcDevices);
}

BOOL CDetectCutterDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_lcDevices.SetExtendedStyle(m_lcDevices.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_lcDevices.InsertColumn(0, L"Device", LVCFMT_LEFT, kDeviceColumnWidth);
    m_lcDevices.InsertColumn(1, L"Address", LVCFMT_LEFT, kAddressColumnWidth);
    CRect r;
    m_lcDevices.GetWindowRect(&r);
    POINT topLeft{r.left, r.top};
    ::ScreenToClient(m_hWnd, &topLeft);
    m_lcDevices.MoveWindow(topLeft.x, topLeft.y, kListWidth, r.Height());
    FillList();
    return TRUE;
}

BOOL CDetectCutterDlg::OnCommand(WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) == ID_REFRESH) {
        FillList();
        return TRUE;
    }
    return CDialog::OnCommand(wp, lp);
}

void CDetectCutterDlg::FillList() {
    m_lcDevices.DeleteAllItems();
    m_lcDevices.UpdateWindow();
    for (PING_DEVICETYPE type : {PING_DEVICE_VANTERCUT, PING_DEVICE_YRD}) {
        VanterPing ping(type);
        // The answers take their time: the windows keep painting meanwhile.
        ping.SetWhileWaiting(&CDetectCutterDlg::RepaintWhileWaiting);
        if (!ping.ConnectToBroadcast() || !ping.Ping())
            continue;
        ping.DisconnectFromBroadcast();
        for (int i = 0; i < ping.CountInfo(); ++i) {
            const PING_INFO* info = ping.GetInfoAt(i);
            if (!info)
                continue;
            const int row = m_lcDevices.InsertItem(0, FieldText(info->first));
            m_lcDevices.SetItemText(row, 1, FieldText(info->third));
        }
    }
    auto usb = std::make_unique<CDMPLCutter>();
    for (int n = 1; n <= kUsbPorts; ++n) {
        CString port;
        port.Format(L"USB%d", n);
        usb->SetPortName(port);
        if (!usb->DeviceOpen(0))
            continue;
        usb->DeviceClose();
        const int row = m_lcDevices.InsertItem(0, L"");
        m_lcDevices.SetItemText(row, 1, port);
    }
    m_lcDevices.SetFocus();
    m_lcDevices.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CDetectCutterDlg::OnOK() {
    const int row = m_lcDevices.GetNextItem(-1, LVNI_SELECTED);
    // Rows with none chosen give no address.
    if (row >= 0) {
        m_strChosenAddress = m_lcDevices.GetItemText(row, 1);
        StoreAddress(m_strChosenAddress);
    }
    EndDialog(IDOK);
}

void CDetectCutterDlg::RepaintWhileWaiting() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        ::DispatchMessageW(&msg);
}

CString CDetectCutterDlg::SlotName(int slot) {
    CString name(L"Comms IP Addr");
    if (slot > 1) {
        CString number;
        number.Format(L" %d", slot);
        name += number;
    }
    return name;
}

void CDetectCutterDlg::StoreAddress(const CString& address) {
    if (address.IsEmpty() || address.Find(L"USB") >= 0)
        return;
    int target = 1;
    for (int slot = 1; slot <= kAddressSlots; ++slot) {
        CString stored;
        if (!QvGetAppParam(SlotName(slot).GetString(), stored) || stored.IsEmpty()) {
            target = slot;
            break;
        }
        if (stored == address)
            return;
    }
    QvSetAppParam(SlotName(target).GetString(), address);
}

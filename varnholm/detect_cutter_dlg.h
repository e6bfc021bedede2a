// "Detected cutters": the cutters that answer on the network and the USB ports that open, the
// USB ports first (highest first), then the network replies (last first). OK takes the chosen
// row's address and keeps a network address in one of four address slots.
#pragma once

#include "platform/framework/dialog.h"
#include "platform/framework/list_ctrl.h"

class CBaseCutter;

class CDetectCutterDlg : public CDialog {
    DECLARE_DYNAMIC(CDetectCutterDlg)

public:
    static constexpr UINT IDD = 23017;
    static constexpr int IDC_DEVICES = 23111;
    static constexpr int ID_REFRESH = 55062;
    static constexpr int kDeviceColumnWidth = 95;
    static constexpr int kAddressColumnWidth = 190;
    static constexpr int kListWidth = 290;
    static constexpr int kUsbPorts = 4;
    static constexpr int kAddressSlots = 4;

    explicit CDetectCutterDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    void DoDataExchange(CDataExchange* dx) override;

    // Network answers first (about VanterPing::kCollectMs for each of the two kinds of
    // cutter, painting meanwhile), then the USB ports.
    void FillList();
    // Paints what waits to be painted, in every window.
    static void RepaintWhileWaiting();
    // Keeps a network address in the first free slot, nowhere when a slot holds it already,
    // else in slot 1. USB ports and empty addresses are not kept.
    static void StoreAddress(const CString& address);
    // The slot's parameter name: "Comms IP Addr", then "Comms IP Addr 2" to 4.
    static CString SlotName(int slot);

    CString m_strChosenAddress;
    CListCtrl m_lcDevices;
};

// The IP address control of the class library over the headless model.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/ip_address_control.h"

class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)

public:
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, WC_IPADDRESS, L"", style | WS_CHILD, rect, parent, id);
    }
    void SetAddress(BYTE f0, BYTE f1, BYTE f2, BYTE f3) {
        SendMessage(IPM_SETADDRESS, 0, LPARAM(MAKEIPADDRESS(f0, f1, f2, f3)));
    }
    void SetAddress(DWORD address) { SendMessage(IPM_SETADDRESS, 0, LPARAM(address)); }
    // The count of fields that are not blank; blank fields read as 0.
    int GetAddress(BYTE& f0, BYTE& f1, BYTE& f2, BYTE& f3) const;
    int GetAddress(DWORD& address) const {
        return int(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
    }
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
    BOOL IsBlank() const { return BOOL(SendMessage(IPM_ISBLANK)); }
    void SetFieldRange(int field, BYTE low, BYTE high) {
        SendMessage(IPM_SETRANGE, WPARAM(field), MAKEIPRANGE(low, high));
    }
};

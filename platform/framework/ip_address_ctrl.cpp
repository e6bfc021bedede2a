#include "platform/framework/ip_address_ctrl.h"

IMPLEMENT_DYNAMIC(CIPAddressCtrl, CWnd)

int CIPAddressCtrl::GetAddress(BYTE& f0, BYTE& f1, BYTE& f2, BYTE& f3) const {
    DWORD a = 0;
    int n = GetAddress(a);
    f0 = FIRST_IPADDRESS(a);
    f1 = SECOND_IPADDRESS(a);
    f2 = THIRD_IPADDRESS(a);
    f3 = FOURTH_IPADDRESS(a);
    return n;
}

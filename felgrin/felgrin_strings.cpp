#include "felgrin/felgrin_strings.h"

CString FelgrinLoadString(UINT id) {
    switch (id) {
    case IDS_FAILED_OPEN_DEVICE:
        return L"Failed to Open Device %s\nCheck Machine Online, Port Settings and Cable";
    case IDS_DEVICE_WRITE_TIMEOUT:
        return L"Device Write Time-out\nIs the cutter off-line?";
    case IDS_CONNECTION_LOST:
        return L"The cutter refused or reset the connection\nCheck that it takes jobs on this port "
               L"and that no other program is sending to it";
    case IDS_CUTTER_NOT_FOUND:
        return L"The Cutter named '%s'\ndoes not exist\n";
    case IDS_NO_USB_DEVICE:
        return L"No USB device detected, \nplease check cable connections and \ncheck that the "
               L"machine is switched on.";
    case IDS_FAILED_OPEN_SPOOLER:
        return L"Failed to Open Spooler file for %s";
    case IDS_MEDIA_SIZE_FAILED:
        return L"Failed to get the media size from the cutter - \n%1";
    case IDS_FAILED_OPEN_PORT:
        return L"Failed to Open the communication Port";
    case IDS_FAILED_TIMEOUT:
        return L"Failed due to Timeout\nCheck if the cutter is online and the cable is connected";
    case IDS_FAILED_GET_INFO:
        return L"Failed to get info from cutter\nCheck if the cutter is online and the cable is "
               L"connected";
    case IDS_CUTTER_BUSY:
        return L"Cutter is Busy";
    case IDS_NO_DEVICE:
        return L"No Device Available";
    case IDS_CLOSE_HANDLE_FAILED:
        return L"ERROR - Unable to CloseHandle()";
    case IDS_USB_LOAD_FAILED:
        return L"Unable to load vanterusb.dll\nContact your distrbutor for more information";
    case IDS_QX3_LOAD_FAILED:
        return L"Unable to load vanterQX3.dll\nContact your distrbutor for more information";
    case IDS_USB_OPEN_PORT_FAILED:
        return L"Unable to open Port %1\nContact you distributor for more information";
    default:
        return CString();
    }
}

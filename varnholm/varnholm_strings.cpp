#include "varnholm/varnholm_strings.h"

CString VarnholmLoadString(UINT id) {
    switch (id) {
    case IDS_CUTTER_NAME_EXISTS:
        return L"The Cutter Name\n'%s' \nalready exists!\n";
    case IDS_CUTTER_NAME_EMPTY:
        return L"Please enter a name for the cutter.";
    case IDS_CUTTER_NAME_BACKSLASH:
        return L"The Cutter Name\n'%s'\nmay not contain '\\'.";
    default:
        return CString();
    }
}

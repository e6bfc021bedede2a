#include "platform/system/port_devices.h"

#include <map>

namespace platform {
namespace {

std::map<std::wstring, std::string>& Configured() {
    static std::map<std::wstring, std::string> paths;
    return paths;
}

std::wstring Key(const CString& name) {
    CString k(name);
    k.Trim();
    k.MakeUpper();
    return k.str();
}

// The number after a three-letter prefix; 0 when it is not all digits or out of range.
int PortNumber(const std::wstring& key) {
    if (key.size() <= 3 || key.size() > 6)
        return 0;
    int n = 0;
    for (size_t i = 3; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9')
            return 0;
        n = n * 10 + (key[i] - L'0');
    }
    return n;
}

} // namespace

std::string PortDevicePath(const CString& portName) {
    std::wstring key = Key(portName);
    auto it = Configured().find(key);
    if (it != Configured().end())
        return it->second;
    if (key == L"DIRECT")
        return "/dev/usb/lp0";
    if (key == L"NETWORK")
        return "NETWORK";
    int n = PortNumber(key);
    if (n <= 0)
        return {};
    if (key.compare(0, 3, L"COM") == 0)
        return "/dev/ttyS" + std::to_string(n - 1);
    if (key.compare(0, 3, L"LPT") == 0)
        return "/dev/lp" + std::to_string(n - 1);
    return {};
}

void SetPortDevicePath(const CString& portName, const std::string& path) {
    if (path.empty())
        Configured().erase(Key(portName));
    else
        Configured()[Key(portName)] = path;
}

void ResetPortDevicePaths() {
    Configured().clear();
}

} // namespace platform

#include "platform/system/port_devices.h"

#include <gtest/gtest.h>

namespace {

TEST(PortDevices, DefaultsAndConfiguredPaths) {
    platform::ResetPortDevicePaths();
    struct Case {
        const wchar_t* port;
        const char* path;
    } defaults[] = {
        {L"COM1", "/dev/ttyS0"}, {L"com12", "/dev/ttyS11"},
        {L"LPT1", "/dev/lp0"},   {L"DIRECT", "/dev/usb/lp0"},
        {L"COM0", ""},           {L"COMx", ""},
        {L"HP LaserJet", ""},    {L"COM1234567", ""},
    };
    for (const Case& c : defaults)
        EXPECT_EQ(platform::PortDevicePath(c.port), c.path) << CString(c.port).ToUtf8();
    platform::SetPortDevicePath(L"com3", "/dev/ttyUSB0");
    EXPECT_EQ(platform::PortDevicePath(L"COM3"), "/dev/ttyUSB0");
    platform::SetPortDevicePath(L"COM3", "");
    EXPECT_EQ(platform::PortDevicePath(L"COM3"), "/dev/ttyS2");
    platform::ResetPortDevicePaths();
}

} // namespace

// Where the ports a cutter names live on this system. "COMn" is a serial device, "LPTn" a
// parallel one, "DIRECT" and "NETWORK" fixed device files. Each can be moved by a setting
// (a USB serial adapter, a printer-class device under /dev/usb); unset names use the defaults.
#pragma once

#include "platform/core/cstring.h"

#include <string>

namespace platform {

// COMn: /dev/ttyS(n-1); LPTn: /dev/lp(n-1); DIRECT: /dev/usb/lp0; NETWORK: the name as a file
// in the working folder. Empty when the name is none of these or its number is not positive.
std::string PortDevicePath(const CString& portName);
// Sets the device of a port name ("COM3", "LPT1", "DIRECT"; any case); an empty path restores
// the default.
void SetPortDevicePath(const CString& portName, const std::string& path);
// Forgets every configured path (tests).
void ResetPortDevicePaths();

} // namespace platform

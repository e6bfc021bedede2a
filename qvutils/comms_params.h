// The port a cutter is reached through. Stop bits and parity keep the values of the platform's
// serial control block (stop bits 0 one, 2 two; parity 0 none, 1 odd, 2 even).
#pragma once

#include "platform/core/cstring.h"

// Flow-control bits; several may be set at once.
constexpr int COMMS_FLOW_DTRDSR = 1;
constexpr int COMMS_FLOW_RTSCTS = 2;
constexpr int COMMS_FLOW_XONXOFF = 4;

struct _CommsParams {
    // "FILE", a dotted IPv4 address, "USB"/"USBn", "LPTn", "COMn", "DIRECT", "NETWORK" or a
    // printer queue name; the name alone decides the kind of device.
    CString szPortName = L"COM1";
    int nBaudRate = 38400;
    int nStopBits = 0;
    int nDataBits = 8;
    int nParity = 0;
    int nFlowControl = COMMS_FLOW_RTSCTS;
    int nInQueue = 2048;  // bytes
    int nOutQueue = 2048; // bytes
};

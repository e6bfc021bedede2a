// Opening, setting up and closing a serial port from a port settings record, for programs
// other than the cutter driver. A handle stays valid until it is closed; once closed (by
// QvSerialDeviceClose or by a refused set-up) it is never reused, so a late close of it
// cannot reach a port opened since.
#pragma once

#include "platform/core/types.h"
#include "qvutils/comms_params.h"

// Creation dispositions; a serial device must exist whatever is asked.
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(intptr_t(-1));

// Time-outs in milliseconds: per byte and total per call.
struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};

// "COMn" and "LPTn" (also after a "\\.\" prefix) name their configured devices; a name that
// begins with "/" is a device path. INVALID_HANDLE_VALUE when it cannot be opened.
HANDLE QvSerialDeviceOpen(CString port, DWORD creation);
BOOL QvSerialDeviceSetTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts);
// 1 when the line took the record's speed, framing and handshake (XON 0x11, XOFF 0x13); 0 when
// the line state cannot be read, and 0 with the handle closed when the line refused a setting.
int QvSerialDeviceSetup(HANDLE handle, const _CommsParams* params);
// Drops DTR and RTS, purges and closes: null. A handle that is not open (or whose line state
// cannot be read) is returned unchanged.
HANDLE QvSerialDeviceClose(HANDLE handle);

// The time-outs last set on an open handle (tests, and callers that read them back).
bool QvSerialDeviceGetTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts);

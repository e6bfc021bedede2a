// Serial line set-up over termios. The record follows the platform's serial control block:
// stop bits 0 (one) or 2 (two), parity 0 none, 1 odd, 2 even.
#pragma once

#include "platform/core/types.h"

#include <functional>
#include <string>

namespace platform {

struct SerialSettings {
    int baudRate = 9600;
    int dataBits = 8;
    int stopBits = 0;
    int parity = 0;
    bool dtrDsr = false; // DTR/DSR hardware handshake
    bool rtsCts = false; // RTS/CTS hardware handshake
    bool xonXoff = false;
    BYTE xonChar = 0x11;
    BYTE xoffChar = 0x13;
};

// Applies the settings to an open terminal. False when the device refused any of them; `refused`
// then names what was refused (the rest is still applied where the device allows it).
bool ApplySerialSettings(int fd, const SerialSettings& settings, std::string* refused = nullptr);

// Keeps other programs from opening the line while it is ours (not shared).
bool ClaimSerialLine(int fd);
// Raises or drops the DTR and RTS lines; false where the device has no modem lines (a pty).
bool SetModemLines(int fd, bool dtr, bool rts);
// Drops what was received and not read, and what was written and not yet sent.
void PurgeSerialLine(int fd);
// True when the descriptor is a terminal whose state can be read.
bool CanReadSerialState(int fd);

// Sees every set-up requested before it reaches the device (tests: pseudo-terminals drop some
// settings, so what was asked for is checked here rather than read back).
using SerialSettingsObserver = std::function<void(const SerialSettings&)>;
void SetSerialSettingsObserver(SerialSettingsObserver observer);

} // namespace platform

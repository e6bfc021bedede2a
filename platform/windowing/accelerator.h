// Keyboard accelerators from the resource tables a deliverable registers: a key with its
// modifiers becomes a WM_COMMAND to the window that translates it.
#pragma once

#include "platform/windowing/message.h"

#include <vector>

typedef HANDLE HACCEL;

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

HACCEL LoadAcceleratorsW(HINSTANCE instance, UINT id);
// A table of the caller's own, valid until DestroyAcceleratorTable; null for a negative count.
HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count);
// Copies up to count entries into entries and returns how many; with null entries, the size.
int CopyAcceleratorTableW(HACCEL table, ACCEL* entries, int count);
// Only created tables are destroyed; loaded ones live for the process.
BOOL DestroyAcceleratorTable(HACCEL table);
// Sends WM_COMMAND (high word 1) to hwnd for a key press that matches; 1 when it did.
int TranslateAcceleratorW(HWND hwnd, HACCEL table, MSG* msg);

namespace platform {

// Later registrations of an id replace earlier ones.
void RegisterAcceleratorTable(UINT id, std::vector<ACCEL> entries);

} // namespace platform

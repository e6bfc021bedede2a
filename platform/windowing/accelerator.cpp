#include "platform/windowing/accelerator.h"

#include <map>

namespace {

// Tables live for the process, so a loaded handle stays valid.
std::map<UINT, std::vector<ACCEL>>& Tables() {
    static std::map<UINT, std::vector<ACCEL>> t;
    return t;
}

bool Down(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}

} // namespace

HACCEL LoadAcceleratorsW(HINSTANCE, UINT id) {
    auto it = Tables().find(id);
    return it != Tables().end() ? static_cast<HACCEL>(&it->second) : nullptr;
}

int TranslateAcceleratorW(HWND hwnd, HACCEL table, MSG* msg) {
    if (!table || !msg || !hwnd)
        return 0;
    bool valid = false;
    for (auto& [id, entries] : Tables())
        valid = valid || static_cast<HACCEL>(&entries) == table;
    if (!valid)
        return 0;
    const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    const bool character = msg->message == WM_CHAR;
    if (!keyDown && !character)
        return 0;
    const BYTE mods = BYTE((Down(VK_SHIFT) ? FSHIFT : 0) | (Down(VK_CONTROL) ? FCONTROL : 0) |
                           (Down(VK_MENU) || msg->message == WM_SYSKEYDOWN ? FALT : 0));
    for (const ACCEL& a : *static_cast<const std::vector<ACCEL>*>(table)) {
        bool match = false;
        if (a.fVirt & FVIRTKEY)
            match = keyDown && a.key == WORD(msg->wParam) &&
                    (a.fVirt & (FSHIFT | FCONTROL | FALT)) == mods;
        else
            match = character && a.key == WORD(msg->wParam);
        if (match) {
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}

namespace platform {

void RegisterAcceleratorTable(UINT id, std::vector<ACCEL> entries) {
    Tables()[id] = std::move(entries);
}

} // namespace platform

#include "platform/windowing/accelerator.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace {

// Tables live for the process, so a loaded handle stays valid.
std::map<UINT, std::vector<ACCEL>>& Tables() {
    static std::map<UINT, std::vector<ACCEL>> t;
    return t;
}

// Tables made by CreateAcceleratorTableW, owned here until destroyed.
std::set<std::vector<ACCEL>*>& Created() {
    static std::set<std::vector<ACCEL>*> t;
    return t;
}

const std::vector<ACCEL>* Valid(HACCEL table) {
    if (!table)
        return nullptr;
    auto* v = static_cast<std::vector<ACCEL>*>(table);
    if (Created().count(v))
        return v;
    for (auto& [id, entries] : Tables())
        if (&entries == v)
            return v;
    return nullptr;
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
    const std::vector<ACCEL>* entries = Valid(table);
    if (!entries || !msg || !hwnd)
        return 0;
    const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    const bool character = msg->message == WM_CHAR;
    if (!keyDown && !character)
        return 0;
    const BYTE mods = BYTE((Down(VK_SHIFT) ? FSHIFT : 0) | (Down(VK_CONTROL) ? FCONTROL : 0) |
                           (Down(VK_MENU) || msg->message == WM_SYSKEYDOWN ? FALT : 0));
    for (const ACCEL& a : *entries) {
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

HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count) {
    if (count < 0 || (count > 0 && !entries))
        return nullptr;
    auto table = std::make_unique<std::vector<ACCEL>>(entries, entries + count);
    auto* raw = table.release();
    Created().insert(raw);
    return static_cast<HACCEL>(raw);
}

int CopyAcceleratorTableW(HACCEL table, ACCEL* entries, int count) {
    const std::vector<ACCEL>* v = Valid(table);
    if (!v)
        return 0;
    if (!entries)
        return int(v->size());
    const int n = std::clamp(count, 0, int(v->size()));
    std::copy_n(v->begin(), n, entries);
    return n;
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    auto* v = static_cast<std::vector<ACCEL>*>(table);
    if (!table || !Created().erase(v))
        return FALSE;
    delete v;
    return TRUE;
}

namespace platform {

void RegisterAcceleratorTable(UINT id, std::vector<ACCEL> entries) {
    Tables()[id] = std::move(entries);
}

} // namespace platform

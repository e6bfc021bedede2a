// The keys the select tool reads at a press, as one set of bits.
#pragma once

#include "platform/windowing/window.h"

namespace select_keys {

constexpr UINT kShift = 1;
constexpr UINT kCtrl = 2;
constexpr UINT kSelf = 4;   // "S": the article itself, not its top-level article
constexpr UINT kColour = 8; // "N"
constexpr UINT kGroup = 16; // "G"
constexpr UINT kTouch = 32; // "Q": a band takes what it touches
constexpr UINT kAlt = 64;   // a band whatever is under the pointer

inline bool Held(int vk) {
    return (::GetKeyState(vk) & 0x8000) != 0;
}

// Shift and Ctrl from the mouse flags, the rest from the key state.
inline UINT Read(UINT mouseFlags) {
    UINT k = 0;
    if (mouseFlags & MK_SHIFT)
        k |= kShift;
    if (mouseFlags & MK_CONTROL)
        k |= kCtrl;
    if (Held('S'))
        k |= kSelf;
    if (Held('N'))
        k |= kColour;
    if (Held('G'))
        k |= kGroup;
    if (Held('Q'))
        k |= kTouch;
    if (Held(VK_MENU))
        k |= kAlt;
    return k;
}

} // namespace select_keys

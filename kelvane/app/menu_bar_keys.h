// The keys that show a hidden menu bar: Alt or F10 pressed and released alone shows it for
// the moment (and again hides it), a mnemonic with Alt shows it for the moment; any other key
// or a mouse button in between cancels a pending Alt.
#pragma once

#include "platform/windowing/window.h"

namespace kelvane {

constexpr WPARAM kKeyAlt = 0x12; // VK_MENU
constexpr WPARAM kKeyF10 = 0x79;

class MenuBarKeys {
public:
    enum class Action {
        Pass,          // to the frame's own translation
        Swallow,       // dropped
        ShowForNow,    // show the bar (temporarily), then pass
        HideAfterPass, // pass first, then hide the temporary bar
    };

    // visible: the bar shows; modifiers: Ctrl or Shift held; mnemonic: the key is one of the
    // bar's mnemonics; captured: the mouse is captured.
    Action OnMessage(UINT msg, WPARAM key, LPARAM lp, bool visible, bool modifiers, bool mnemonic,
                     bool captured);
    bool Temporary() const { return m_bTemporary; }
    void SetTemporary(bool on) { m_bTemporary = on; }

private:
    bool m_bAltPending = false;
    bool m_bTemporary = false;
};

} // namespace kelvane

#include "kelvane/app/menu_bar_keys.h"

namespace kelvane {

namespace {

// lParam bits of a key message: Alt held (context) and the key already down (a repeat).
constexpr LPARAM kAltContext = LPARAM(1) << 29;
constexpr LPARAM kPreviousDown = LPARAM(1) << 30;

bool IsMouseButton(UINT msg) {
    return msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK;
}

} // namespace

MenuBarKeys::Action MenuBarKeys::OnMessage(UINT msg, WPARAM key, LPARAM lp, bool visible,
                                           bool modifiers, bool mnemonic, bool captured) {
    const bool plainF10 = key == kKeyF10 && !modifiers && !(lp & kAltContext);
    const bool down = msg == WM_SYSKEYDOWN || (msg == WM_KEYDOWN && plainF10);
    const bool up = msg == WM_SYSKEYUP || (msg == WM_KEYUP && plainF10);
    if (down) {
        if (key != kKeyAlt && !plainF10) {
            m_bAltPending = false;
            if (!visible && mnemonic) {
                m_bTemporary = true;
                return Action::ShowForNow;
            }
            return Action::Pass;
        }
        if (!(lp & kPreviousDown))
            m_bAltPending = true;
        return Action::Pass;
    }
    if (up && (key == kKeyAlt || plainF10)) {
        if (!m_bAltPending)
            return Action::Swallow;
        m_bAltPending = false;
        if (visible) {
            if (!m_bTemporary)
                return Action::Pass;
            m_bTemporary = false;
            return Action::HideAfterPass;
        }
        m_bTemporary = true;
        return Action::ShowForNow;
    }
    if (IsMouseButton(msg) || (msg == WM_MOUSEMOVE && captured) ||
        (msg >= WM_KEYDOWN && msg <= WM_SYSKEYUP))
        m_bAltPending = false;
    return Action::Pass;
}

} // namespace kelvane

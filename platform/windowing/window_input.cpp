// Which window has the capture, the focus and the activation, and which keys are down.
#include "platform/windowing/window.h"

#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

using platform::detail::Window;

namespace {

struct InputState {
    HWND capture = nullptr, focus = nullptr, active = nullptr;
    // As reported last, and as the message being handled saw them (input arrives in the queue
    // ahead of the model, milliseconds apart).
    bool keys[256] = {};
    bool handled[256] = {};
    // The lock keys' on/off states, flipped by each press.
    bool toggles[256] = {};
};

InputState& I() {
    static InputState state;
    return state;
}

// The window a child belongs to at the top (the one that is activated).
HWND TopOf(HWND w) {
    while (w && (w->style & WS_CHILD) && w->parent)
        w = w->parent;
    return w;
}

} // namespace

namespace platform::detail {

void ForgetWindowInInput(HWND w) {
    InputState& t = I();
    if (t.capture == w)
        t.capture = nullptr;
    if (t.focus == w)
        t.focus = nullptr;
    if (t.active == w)
        t.active = nullptr;
}

} // namespace platform::detail

// Capture, focus and activation
// -----------------------------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
    HWND old = I().capture;
    HWND next = Window(hwnd);
    I().capture = next;
    // The window that loses the capture is told who has it now.
    if (old && old != next && Window(old))
        SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(next));
    return old;
}

BOOL ReleaseCapture() {
    HWND old = I().capture;
    I().capture = nullptr;
    if (old)
        SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return Window(I().capture);
}

HWND SetFocus(HWND hwnd) {
    InputState& t = I();
    HWND next = Window(hwnd);
    if (hwnd && !next)
        return nullptr;
    HWND old = Window(t.focus);
    if (old == next)
        return old;
    t.focus = next;
    if (next) {
        // A dialog keeps which of its controls had the keyboard: it goes back there when the
        // dialog is active again (after a message box or a dialog of its own).
        HWND top = TopOf(next);
        if (top != next && top->isDialog)
            top->dialogFocus = next;
    }
    if (old)
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
    if (next && t.focus == next)
        SendMessageW(next, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus() {
    return Window(I().focus);
}

HWND GetActiveWindow() {
    return Window(I().active);
}

HWND SetActiveWindow(HWND hwnd) {
    HWND old = Window(I().active);
    HWND next = TopOf(Window(hwnd));
    if (next == old)
        return old;
    I().active = next;
    auto state = [](HWND w, WORD s) {
        return WPARAM(MAKELONG(s, (w->style & WS_MINIMIZE) ? 1 : 0));
    };
    if (old)
        SendMessageW(old, WM_ACTIVATE, state(old, WA_INACTIVE), reinterpret_cast<LPARAM>(next));
    // The deactivated window may have moved the activation on, or destroyed the new one.
    if (next && Window(next) && I().active == next)
        SendMessageW(next, WM_ACTIVATE, state(next, WA_ACTIVE), reinterpret_cast<LPARAM>(old));
    return old;
}

SHORT GetKeyState(int vk) {
    if (vk < 0 || vk >= 256)
        return 0;
    return SHORT((I().handled[vk] ? 0x8000 : 0) | (I().toggles[vk] ? 1 : 0));
}

SHORT GetAsyncKeyState(int vk) {
    if (vk < 0 || vk >= 256)
        return 0;
    return SHORT(I().keys[vk] ? 0x8000 : 0);
}

namespace platform::detail {

KeyStates ReportedKeyStates() {
    KeyStates s;
    for (int vk = 0; vk < 256; ++vk)
        s[size_t(vk)] = I().keys[vk];
    return s;
}

void SetHandledKeyStates(const KeyStates& keys) {
    for (int vk = 0; vk < 256; ++vk)
        I().handled[vk] = keys[size_t(vk)];
}

} // namespace platform::detail

namespace platform {

void SetKeyDown(int vk, bool down) {
    if (vk < 0 || vk >= 256)
        return;
    // Caps Lock, Insert, Num Lock and Scroll Lock keep a state that each press turns over.
    constexpr int kToggleKeys[] = {0x14, 0x2D, 0x90, 0x91};
    if (down && !I().keys[vk])
        for (int t : kToggleKeys)
            if (t == vk)
                I().toggles[vk] = !I().toggles[vk];
    I().keys[vk] = down;
    I().handled[vk] = down;
}

BOOL PostInputMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return platform::detail::PostWithKeyStates(hwnd, msg, wp, lp, detail::ReportedKeyStates());
}

} // namespace platform

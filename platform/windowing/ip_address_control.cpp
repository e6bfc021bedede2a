#include "platform/windowing/ip_address_control.h"

#include "platform/windowing/controls.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <string>

namespace {

struct Fields {
    int value[4] = {-1, -1, -1, -1}; // -1 blank
    int low[4] = {0, 0, 0, 0};
    int high[4] = {255, 255, 255, 255};
    // The field typing goes to, the digits typed into it since it was entered, and whether its
    // text is selected (the next digit replaces it), as when a field is entered.
    int current = 0;
    std::wstring typed;
    bool selected = true;
};

Fields& State(HWND w) {
    if (!w->controlState)
        w->controlState = std::make_shared<Fields>();
    return *static_cast<Fields*>(w->controlState.get());
}

void Changed(HWND w, Fields& f) {
    std::wstring text;
    for (int i = 0; i < 4; ++i) {
        if (i)
            text += L'.';
        if (f.value[i] >= 0)
            text += std::to_wstring(f.value[i]);
    }
    w->text = text;
    platform::detail::NotifyControlChange(w, platform::ControlChange::Fields);
}

void TellOwner(HWND w) {
    if (w->parent)
        SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(WORD(w->id), WORD(EN_CHANGE)),
                     reinterpret_cast<LPARAM>(w));
}

void Enter(Fields& f, int field) {
    f.current = field;
    f.typed.clear();
    f.selected = true;
}

// A key typed into the current field: digits fill it, and a full field or a "." after a number
// moves on to the next one, as people type addresses.
void Type(HWND w, Fields& f, wchar_t c) {
    int& value = f.value[f.current];
    if (c == L'.') {
        if (value >= 0 && f.current < 3)
            Enter(f, f.current + 1);
        return;
    }
    if (c == L'\b') {
        // The last digit goes; a selected field's text goes whole.
        if (f.selected)
            f.typed.clear();
        else if (!f.typed.empty())
            f.typed.pop_back();
        f.selected = false;
    } else if (c >= L'0' && c <= L'9') {
        if (f.selected)
            f.typed.clear();
        if (int(f.typed.size()) >= platform::IP_FIELD_DIGITS)
            return;
        f.typed += c;
        f.selected = false;
    } else {
        return;
    }
    value =
        f.typed.empty() ? -1 : std::clamp(std::stoi(f.typed), f.low[f.current], f.high[f.current]);
    Changed(w, f);
    TellOwner(w);
    if (int(f.typed.size()) == platform::IP_FIELD_DIGITS && f.current < 3)
        Enter(f, f.current + 1);
}

LRESULT IPAddressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0;
    Fields& f = State(w);
    switch (msg) {
    case IPM_CLEARADDRESS:
        std::fill(std::begin(f.value), std::end(f.value), -1);
        Changed(w, f);
        return 0;
    case IPM_SETADDRESS: {
        DWORD a = DWORD(lp);
        BYTE b[4] = {FIRST_IPADDRESS(a), SECOND_IPADDRESS(a), THIRD_IPADDRESS(a),
                     FOURTH_IPADDRESS(a)};
        for (int i = 0; i < 4; ++i)
            f.value[i] = std::clamp(int(b[i]), f.low[i], f.high[i]);
        Changed(w, f);
        return TRUE;
    }
    case IPM_GETADDRESS: {
        int filled = 0;
        BYTE b[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4; ++i)
            if (f.value[i] >= 0) {
                b[i] = BYTE(f.value[i]);
                ++filled;
            }
        if (auto* out = reinterpret_cast<DWORD*>(lp))
            *out = MAKEIPADDRESS(b[0], b[1], b[2], b[3]);
        return filled;
    }
    case IPM_SETRANGE: {
        if (wp > 3)
            return FALSE;
        int low = int(lp & 0xFF), high = int((lp >> 8) & 0xFF);
        if (low > high)
            return FALSE;
        f.low[wp] = low;
        f.high[wp] = high;
        if (f.value[wp] >= 0)
            f.value[wp] = std::clamp(f.value[wp], low, high);
        return TRUE;
    }
    case IPM_SETFOCUS: {
        // Past the last field: the first blank one, or the first when none is blank.
        int field = int(wp);
        if (field > 3)
            field =
                int(std::find(std::begin(f.value), std::end(f.value), -1) - std::begin(f.value)) %
                4;
        Enter(f, field);
        SetFocus(hwnd);
        return 0;
    }
    case WM_CHAR:
        if (!(w->style & WS_DISABLED))
            Type(w, f, wchar_t(wp));
        return 0;
    case IPM_ISBLANK:
        return std::all_of(std::begin(f.value), std::end(f.value), [](int v) { return v < 0; });
    case WM_SETTEXT:
        return FALSE; // the text follows the fields
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

namespace platform {

bool EditIPAddressField(HWND control, int field, int value) {
    HWND w = detail::Window(control);
    if (!w || !IsWindow(control) || w->proc != IPAddressProc || field < 0 || field > 3 ||
        (w->style & WS_DISABLED))
        return false;
    Fields& f = State(w);
    f.value[field] = value < 0 ? -1 : std::clamp(value, f.low[field], f.high[field]);
    f.current = field;
    f.typed = f.value[field] < 0 ? L"" : std::to_wstring(f.value[field]);
    f.selected = false;
    Changed(w, f);
    TellOwner(w);
    return true;
}

int GetIPAddressField(HWND control, int field) {
    HWND w = detail::Window(control);
    if (!w || w->proc != IPAddressProc || field < 0 || field > 3)
        return -1;
    return State(w).value[field];
}

namespace detail {

void RegisterIPAddressControl() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = IPAddressProc;
    cls.lpszClassName = WC_IPADDRESS;
    RegisterClassW(&cls);
}

} // namespace detail
} // namespace platform

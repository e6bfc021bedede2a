#include "platform/windowing/up_down_control.h"

#include "platform/windowing/list_controls.h"
#include "platform/windowing/message.h"
#include "platform/windowing/scroll_bar.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

constexpr int kDefaultLower = 100;
constexpr int kDefaultUpper = 0;

struct UpDownState {
    int lower = kDefaultLower;
    int upper = kDefaultUpper;
    int pos = 0;
    HWND buddy = nullptr;
};

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

UpDownState& State(HWND w) {
    if (!w->controlState)
        w->controlState = std::make_shared<UpDownState>();
    return *static_cast<UpDownState*>(w->controlState.get());
}

int Low(const UpDownState& s) {
    return std::min(s.lower, s.upper);
}
int High(const UpDownState& s) {
    return std::max(s.lower, s.upper);
}

HWND Buddy(const UpDownState& s) {
    return platform::detail::Window(s.buddy);
}

void ShowInBuddy(HWND w, const UpDownState& s) {
    HWND buddy = Buddy(s);
    if (buddy && (w->style & UDS_SETBUDDYINT))
        SetWindowTextW(buddy, std::to_wstring(s.pos).c_str());
}

// With an integer buddy the person may have typed a new position there.
void ReadBuddy(HWND w, UpDownState& s) {
    HWND buddy = Buddy(s);
    if (!buddy || !(w->style & UDS_SETBUDDYINT))
        return;
    std::wstring text = buddy->text;
    text.erase(std::remove(text.begin(), text.end(), L','), text.end());
    wchar_t* end = nullptr;
    long long v = std::wcstoll(text.c_str(), &end, 10);
    if (!text.empty() && end && !*end && v >= Low(s) && v <= High(s))
        s.pos = int(v);
}

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0;
    UpDownState& s = State(w);
    switch (msg) {
    case WM_CREATE:
        // The auto buddy is the control made just before it in the same parent.
        if ((w->style & UDS_AUTOBUDDY) && w->parent) {
            auto& sib = w->parent->children;
            auto it = std::find(sib.begin(), sib.end(), w);
            if (it != sib.begin() && it != sib.end())
                s.buddy = *(it - 1);
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    case UDM_SETRANGE:
        s.lower = short(HIWORD(DWORD_PTR(lp)));
        s.upper = short(LOWORD(DWORD_PTR(lp)));
        s.pos = std::clamp(s.pos, Low(s), High(s));
        return 0;
    case UDM_SETRANGE32:
        s.lower = int(wp);
        s.upper = int(lp);
        s.pos = std::clamp(s.pos, Low(s), High(s));
        return 0;
    case UDM_GETRANGE:
        return LRESULT(MAKELONG(WORD(s.upper), WORD(s.lower)));
    case UDM_GETRANGE32:
        if (auto* p = reinterpret_cast<int*>(wp))
            *p = s.lower;
        if (auto* p = reinterpret_cast<int*>(lp))
            *p = s.upper;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int old = s.pos;
        s.pos = std::clamp(msg == UDM_SETPOS ? int(short(LOWORD(DWORD_PTR(lp)))) : int(lp), Low(s),
                           High(s));
        ShowInBuddy(w, s);
        return old;
    }
    case UDM_GETPOS:
    case UDM_GETPOS32:
        ReadBuddy(w, s);
        return s.pos;
    case UDM_SETBUDDY: {
        HWND old = Buddy(s);
        s.buddy = reinterpret_cast<HWND>(wp);
        ShowInBuddy(w, s);
        return reinterpret_cast<LRESULT>(old);
    }
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(Buddy(s));
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

namespace platform {

bool ClickUpDown(HWND control, bool up) {
    HWND w = detail::Window(control);
    if (!w || w->proc != UpDownProc || (w->style & WS_DISABLED))
        return false;
    UpDownState& s = State(w);
    ReadBuddy(w, s);
    NMUPDOWN nm{{w, UINT_PTR(w->id), UDN_DELTAPOS}, s.pos, 0};
    nm.iDelta = (up ? 1 : -1) * (s.upper >= s.lower ? 1 : -1);
    HWND parent = w->parent;
    if (parent &&
        SendMessageW(parent, WM_NOTIFY, WPARAM(w->id), reinterpret_cast<LPARAM>(&nm)) != 0)
        return false;
    w = detail::Window(control);
    if (!w)
        return false;
    long long next = (long long)s.pos + nm.iDelta;
    if (next < Low(s) || next > High(s)) {
        if (w->style & UDS_WRAP)
            next = next < Low(s) ? High(s) : Low(s);
        else
            next = std::clamp<long long>(next, Low(s), High(s));
    }
    s.pos = int(next);
    ShowInBuddy(w, s);
    if (parent && detail::Window(parent))
        SendMessageW(parent, (w->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                     MAKEWPARAM(WORD(SB_THUMBPOSITION), WORD(s.pos)), reinterpret_cast<LPARAM>(w));
    return true;
}

namespace detail {

void RegisterUpDownControl() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = UpDownProc;
    cls.lpszClassName = UPDOWN_CLASS;
    RegisterClassW(&cls);
}

} // namespace detail
} // namespace platform

#include "platform/windowing/edit_control.h"

#include "platform/graphics/gdi.h"
#include "platform/windowing/controls.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <cwctype>

namespace {

struct EditState {
    int limit = kEditDefaultLimit;
    int selStart = 0;
    int selEnd = 0;
    bool modified = false;
    std::wstring cue;
};

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

EditState& State(HWND w) {
    if (!w->controlState)
        w->controlState = std::make_shared<EditState>();
    return *static_cast<EditState*>(w->controlState.get());
}

void Tell(HWND w, UINT code) {
    if (HWND parent = w->parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(WORD(w->id), WORD(code)),
                     reinterpret_cast<LPARAM>(w));
}

void ClampSelection(HWND w, EditState& s) {
    int n = int(w->text.size());
    s.selStart = std::clamp(s.selStart, 0, n);
    s.selEnd = std::clamp(s.selEnd, 0, n);
}

// Puts `text` over the selection, as the person or EM_REPLACESEL does.
void Replace(HWND w, EditState& s, const std::wstring& text) {
    ClampSelection(w, s);
    int from = std::min(s.selStart, s.selEnd), to = std::max(s.selStart, s.selEnd);
    w->text.replace(size_t(from), size_t(to - from), text);
    s.selStart = s.selEnd = from + int(text.size());
    s.modified = true;
    platform::detail::NotifyControlChange(w, platform::ControlChange::Fields);
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0;
    EditState& s = State(w);
    switch (msg) {
    case WM_SETTEXT: {
        std::wstring text = lp ? reinterpret_cast<LPCWSTR>(lp) : L"";
        bool changed = text != w->text;
        w->text = std::move(text);
        s.selStart = s.selEnd = 0;
        s.modified = false;
        platform::detail::NotifyControlChange(w, platform::ControlChange::Fields);
        if (changed)
            Tell(w, EN_CHANGE);
        return TRUE;
    }
    case EM_GETSEL: {
        ClampSelection(w, s);
        int from = std::min(s.selStart, s.selEnd), to = std::max(s.selStart, s.selEnd);
        if (auto* p = reinterpret_cast<DWORD*>(wp))
            *p = DWORD(from);
        if (auto* p = reinterpret_cast<DWORD*>(lp))
            *p = DWORD(to);
        return LRESULT(MAKELONG(WORD(std::min(from, 0xFFFF)), WORD(std::min(to, 0xFFFF))));
    }
    case EM_SETSEL: {
        // -1 as the start removes the selection; -1 as the end runs to the end of the text.
        int n = int(w->text.size());
        int from = int(wp), to = int(lp);
        if (from == -1) {
            ClampSelection(w, s);
            s.selStart = s.selEnd;
        } else {
            s.selStart = std::clamp(from, 0, n);
            s.selEnd = to < 0 ? n : std::clamp(to, 0, n);
        }
        platform::detail::NotifyControlChange(w, platform::ControlChange::Selection);
        return 0;
    }
    case EM_REPLACESEL: {
        std::wstring text = lp ? reinterpret_cast<LPCWSTR>(lp) : L"";
        Replace(w, s, text);
        Tell(w, EN_CHANGE);
        return 0;
    }
    case EM_LIMITTEXT:
        s.limit = wp ? int(std::min<WPARAM>(wp, 0x7FFFFFFE)) : kEditDefaultLimit;
        return 0;
    case EM_GETLIMITTEXT:
        return s.limit;
    case EM_SETCUEBANNER:
        s.cue = lp ? reinterpret_cast<LPCWSTR>(lp) : L"";
        platform::detail::NotifyControlChange(w, platform::ControlChange::Fields);
        return TRUE;
    case EM_GETCUEBANNER: {
        auto* out = reinterpret_cast<wchar_t*>(wp);
        if (!out || lp <= 0)
            return FALSE;
        const size_t n = std::min(s.cue.size(), size_t(lp - 1));
        s.cue.copy(out, n);
        out[n] = L'\0';
        return TRUE;
    }
    case EM_GETMODIFY:
        return s.modified;
    case EM_SETMODIFY:
        s.modified = wp != 0;
        return 0;
    case EM_SETREADONLY:
        if (wp)
            w->style |= ES_READONLY;
        else
            w->style &= ~ES_READONLY;
        platform::detail::NotifyControlChange(w, platform::ControlChange::Fields);
        return TRUE;
    case WM_CHAR: {
        wchar_t c = wchar_t(wp);
        platform::TypeIntoEdit(hwnd, std::wstring(1, c));
        return 0;
    }
    case WM_SETFOCUS:
        Tell(w, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        Tell(w, EN_KILLFOCUS);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

namespace platform {

bool TypeIntoEdit(HWND edit, const std::wstring& text) {
    HWND w = detail::Window(edit);
    if (!w || w->proc != EditProc || (w->style & (WS_DISABLED | ES_READONLY)))
        return false;
    EditState& s = State(w);
    ClampSelection(w, s);
    if (text == L"\b") {
        if (s.selStart == s.selEnd) {
            if (s.selStart == 0)
                return false;
            s.selStart -= 1;
        }
        Replace(w, s, L"");
        Tell(w, EN_CHANGE);
        return true;
    }
    std::wstring typed;
    for (wchar_t c : text) {
        if (c < L' ' || c == 0x7F)
            continue; // control characters are keys, not text
        if ((w->style & ES_NUMBER) && !std::iswdigit(c))
            return false;
        typed += c;
    }
    if (typed.empty())
        return false;
    int selected = std::abs(s.selEnd - s.selStart);
    if (int(w->text.size()) - selected + int(typed.size()) > s.limit) {
        Tell(w, EN_MAXTEXT);
        return false;
    }
    Replace(w, s, typed);
    Tell(w, EN_CHANGE);
    return true;
}

bool QueryEditColours(HWND edit, EditColours* colours) {
    HWND w = detail::Window(edit);
    if (!w || !w->parent || !colours)
        return false;
    bool grey = (w->style & (ES_READONLY | WS_DISABLED)) != 0;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return false;
    COLORREF defaultText = GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    SetTextColor(dc, defaultText);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(w->parent, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w)));
    COLORREF text = GetTextColor(dc);
    DeleteDC(dc);
    LOGBRUSH lb{};
    if (!brush || GetObjectW(brush, sizeof lb, &lb) != int(sizeof lb))
        return false;
    colours->text = text;
    colours->background = lb.lbColor;
    return true;
}

std::wstring EditCueBanner(HWND edit) {
    HWND w = detail::Window(edit);
    if (!w || w->proc != EditProc)
        return {};
    return State(w).cue;
}

namespace detail {

void RegisterEditControl() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = EditProc;
    cls.lpszClassName = WC_EDIT;
    RegisterClassW(&cls);
}

} // namespace detail
} // namespace platform

#include "platform/windowing/slider_control.h"

#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>

namespace {

constexpr int kDefaultMax = 100;
constexpr int kDefaultLine = 1;
constexpr int kDefaultPage = 20;

struct SliderState {
    int min = 0;
    int max = kDefaultMax;
    int pos = 0;
    int line = kDefaultLine;
    int page = kDefaultPage;
};

LRESULT SliderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

SliderState& State(HWND w) {
    if (!w->controlState)
        w->controlState = std::make_shared<SliderState>();
    return *static_cast<SliderState*>(w->controlState.get());
}

// A range whose end lies below its start (an empty list gives 0..-1) holds only its start.
int Clamp(const SliderState& s, long long v) {
    return int(std::clamp<long long>(v, s.min, std::max(s.min, s.max)));
}

LRESULT SliderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0;
    SliderState& s = State(w);
    switch (msg) {
    case TBM_GETPOS:
        return s.pos;
    case TBM_GETRANGEMIN:
        return s.min;
    case TBM_GETRANGEMAX:
        return s.max;
    case TBM_SETPOS:
        s.pos = Clamp(s, int(lp));
        return 0;
    case TBM_SETRANGE:
        s.min = short(LOWORD(DWORD_PTR(lp)));
        s.max = short(HIWORD(DWORD_PTR(lp)));
        s.pos = Clamp(s, s.pos);
        return 0;
    case TBM_SETRANGEMIN:
        s.min = int(lp);
        s.pos = Clamp(s, s.pos);
        return 0;
    case TBM_SETRANGEMAX:
        s.max = int(lp);
        s.pos = Clamp(s, s.pos);
        return 0;
    case TBM_SETPAGESIZE: {
        const int old = s.page;
        s.page = int(lp);
        return old;
    }
    case TBM_GETPAGESIZE:
        return s.page;
    case TBM_SETLINESIZE: {
        const int old = s.line;
        s.line = int(lp);
        return old;
    }
    case TBM_GETLINESIZE:
        return s.line;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

namespace platform {

bool ScrollSlider(HWND slider, UINT code, int position) {
    HWND w = detail::Window(slider);
    if (!w || w->proc != SliderProc || (w->style & WS_DISABLED) || code > TB_ENDTRACK)
        return false;
    SliderState& s = State(w);
    long long next = s.pos;
    switch (code) {
    case TB_LINEUP:
        next -= s.line;
        break;
    case TB_LINEDOWN:
        next += s.line;
        break;
    case TB_PAGEUP:
        next -= s.page;
        break;
    case TB_PAGEDOWN:
        next += s.page;
        break;
    case TB_THUMBPOSITION:
    case TB_THUMBTRACK:
        next = position;
        break;
    case TB_TOP:
        next = s.min;
        break;
    case TB_BOTTOM:
        next = s.max;
        break;
    default:
        break;
    }
    s.pos = Clamp(s, next);
    const bool thumb = code == TB_THUMBPOSITION || code == TB_THUMBTRACK;
    const WPARAM wp = MAKEWPARAM(WORD(code), thumb ? WORD(s.pos) : WORD(0));
    HWND parent = w->parent;
    if (parent && detail::Window(parent))
        SendMessageW(parent, (w->style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL, wp,
                     reinterpret_cast<LPARAM>(w));
    return true;
}

namespace detail {

void RegisterSliderControl() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = SliderProc;
    cls.lpszClassName = TRACKBAR_CLASS;
    RegisterClassW(&cls);
}

} // namespace detail
} // namespace platform

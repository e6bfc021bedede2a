#include "platform/windowing/window_placement.h"

#include "platform/windowing/system_metrics.h"
#include "platform/windowing/window_internal.h"

namespace {

// The work area of the monitor the window is on, less the height of its menu bar.
RECT MaximisedRect(HWND w) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &info);
    RECT r = info.rcWork;
    if (w->menu)
        r.top += GetSystemMetrics(SM_CYMENU);
    return r;
}

void Move(HWND w, const RECT& r) {
    SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepNormal(HWND w) {
    if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
        w->normalRect = w->rect;
    w->normalKnown = true;
}

} // namespace

namespace platform::detail {

void ApplyShowState(HWND hwnd, int cmd) {
    HWND w = Window(hwnd);
    if (!w)
        return;
    if (w->style & WS_CHILD) {
        // A child keeps only the minimised state; the other shows, hiding too, keep it.
        if (cmd == SW_SHOWMINIMIZED || cmd == SW_MINIMIZE)
            w->style |= WS_MINIMIZE;
        else if (cmd == SW_SHOWNORMAL || cmd == SW_SHOWMAXIMIZED || cmd == SW_RESTORE)
            w->style &= ~WS_MINIMIZE;
        return;
    }
    switch (cmd) {
    case SW_SHOWMAXIMIZED: {
        KeepNormal(w);
        w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
        Move(w, MaximisedRect(w));
        break;
    }
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        KeepNormal(w);
        w->style |= WS_MINIMIZE;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (w->style & WS_MINIMIZE) {
            w->style &= ~WS_MINIMIZE;
            // A window minimised from maximised comes back maximised.
            if (cmd == SW_RESTORE && (w->style & WS_MAXIMIZE))
                break;
        }
        if (w->style & WS_MAXIMIZE) {
            w->style &= ~WS_MAXIMIZE;
            if (w->normalKnown)
                Move(w, w->normalRect);
        }
        break;
    default:
        break;
    }
}

} // namespace platform::detail

BOOL IsZoomed(HWND hwnd) {
    HWND w = platform::detail::Window(hwnd);
    return w && (w->style & WS_MAXIMIZE) != 0;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    HWND w = platform::detail::Window(hwnd);
    if (!w || !placement)
        return FALSE;
    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    placement->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                         : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                    : SW_SHOWNORMAL;
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    const bool away = (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) != 0;
    placement->rcNormalPosition = away && w->normalKnown ? w->normalRect : w->rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
    HWND w = platform::detail::Window(hwnd);
    if (!w || !placement)
        return FALSE;
    const RECT& r = placement->rcNormalPosition;
    if (r.right < r.left || r.bottom < r.top)
        return FALSE;
    w->normalRect = r;
    w->normalKnown = true;
    if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
        Move(w, r);
    ShowWindow(w, int(placement->showCmd));
    return TRUE;
}

#include "platform/windowing/scroll_bar.h"

#include "platform/core/crect.h"
#include "platform/windowing/ui_notify.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>

namespace {

HWND__::ScrollBar* Bar(HWND hwnd, int bar) {
    HWND w = platform::detail::Window(hwnd);
    if (!w || (bar != SB_HORZ && bar != SB_VERT))
        return nullptr;
    return &w->scroll[bar];
}

// The largest position: with a page, the last one that shows a whole page.
int MaxPos(const HWND__::ScrollBar& b) {
    if (b.page == 0)
        return b.max;
    int64_t last = int64_t(b.max) - int64_t(b.page) + 1;
    return int(std::max<int64_t>(b.min, last));
}

void Clamp(HWND__::ScrollBar& b) {
    int64_t span = int64_t(b.max) - b.min + 1;
    if (span < 0)
        span = 0;
    if (int64_t(b.page) > span)
        b.page = UINT(span);
    b.pos = std::clamp(b.pos, b.min, std::max(b.min, MaxPos(b)));
}

void Changed(HWND hwnd) {
    platform::NotifyUi(platform::UiChange::ScrollBar, hwnd);
}

} // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL) {
    HWND__::ScrollBar* b = Bar(hwnd, bar);
    if (!b || !info)
        return 0;
    if (info->fMask & SIF_RANGE) {
        b->min = info->nMin;
        b->max = std::max(info->nMin, info->nMax);
    }
    if (info->fMask & SIF_PAGE)
        b->page = info->nPage;
    if (info->fMask & SIF_POS)
        b->pos = info->nPos;
    Clamp(*b);
    Changed(hwnd);
    return b->pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
    HWND__::ScrollBar* b = Bar(hwnd, bar);
    if (!b || !info)
        return FALSE;
    if (info->fMask & SIF_RANGE) {
        info->nMin = b->min;
        info->nMax = b->max;
    }
    if (info->fMask & SIF_PAGE)
        info->nPage = b->page;
    if (info->fMask & SIF_POS)
        info->nPos = b->pos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = b->trackPos;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL) {
    HWND__::ScrollBar* b = Bar(hwnd, bar);
    if (!b)
        return 0;
    int previous = b->pos;
    b->pos = pos;
    Clamp(*b);
    Changed(hwnd);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
    HWND__::ScrollBar* b = Bar(hwnd, bar);
    return b ? b->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL) {
    HWND__::ScrollBar* b = Bar(hwnd, bar);
    if (!b)
        return FALSE;
    b->min = min;
    b->max = std::max(min, max);
    Clamp(*b);
    Changed(hwnd);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max) {
    HWND__::ScrollBar* b = Bar(hwnd, bar);
    if (!b)
        return FALSE;
    if (min)
        *min = b->min;
    if (max)
        *max = b->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    HWND w = platform::detail::Window(hwnd);
    if (!w || bar == SB_CTL)
        return FALSE;
    DWORD bits = bar == SB_HORZ   ? WS_HSCROLL
                 : bar == SB_VERT ? WS_VSCROLL
                                  : WS_HSCROLL | WS_VSCROLL;
    DWORD style = show ? (w->style | bits) : (w->style & ~bits);
    if (style != w->style) {
        w->style = style;
        platform::detail::ClientChanged(w);
        Changed(hwnd);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
    HWND w = platform::detail::Window(hwnd);
    if (!w || bar == SB_CTL)
        return FALSE;
    for (int b : {SB_HORZ, SB_VERT})
        if (bar == b || bar == SB_BOTH)
            w->scroll[b].enabled = (arrows & ESB_DISABLE_BOTH) != ESB_DISABLE_BOTH;
    Changed(hwnd);
    return TRUE;
}

BOOL IsScrollBarEnabled(HWND hwnd, int bar) {
    HWND__::ScrollBar* b = Bar(hwnd, bar);
    return b && b->enabled;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clip, HRGN update,
                   RECT* updateRect, UINT flags) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0; // ERROR
    CRect client = platform::detail::ClientRect(w);
    CRect area = rect ? CRect(*rect) : client;
    area &= client;
    CRect limit = clip ? CRect(*clip) : area;
    limit &= area;
    if (flags & SW_SCROLLCHILDREN) {
        for (HWND c : w->children) {
            RECT r = c->rect;
            SetWindowPos(c, nullptr, r.left + dx, r.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    // The part of the area still visible after the move, copied through a scratch bitmap.
    CRect moved = area;
    moved.OffsetRect(dx, dy);
    CRect keep;
    keep.IntersectRect(&moved, &limit);
    if (!keep.IsRectEmpty() && (dx || dy)) {
        HDC dc = GetDC(w);
        HDC scratch = CreateCompatibleDC(dc);
        HBITMAP bits = CreateCompatibleBitmap(dc, keep.Width(), keep.Height());
        HGDIOBJ old = SelectObject(scratch, bits);
        BitBlt(scratch, 0, 0, keep.Width(), keep.Height(), dc, keep.left - dx, keep.top - dy,
               SRCCOPY);
        BitBlt(dc, keep.left, keep.top, keep.Width(), keep.Height(), scratch, 0, 0, SRCCOPY);
        SelectObject(scratch, old);
        DeleteObject(bits);
        DeleteDC(scratch);
        ReleaseDC(w, dc);
    }
    // What the move uncovered needs painting: the limit less what was kept.
    HRGN uncovered = CreateRectRgnIndirect(&limit);
    HRGN kept = CreateRectRgnIndirect(&keep);
    CombineRgn(uncovered, uncovered, kept, RGN_DIFF);
    // Pending updates move with the content.
    if (!w->update.empty() && (dx || dy)) {
        for (RECT& r : w->update) {
            r.left += dx, r.right += dx;
            r.top += dy, r.bottom += dy;
        }
    }
    if (update)
        CombineRgn(update, uncovered, uncovered, RGN_OR);
    if (updateRect)
        GetRgnBox(uncovered, updateRect);
    if (flags & SW_INVALIDATE)
        InvalidateRgn(w, uncovered, (flags & SW_ERASE) != 0);
    int kind = GetRgnBox(uncovered, &keep);
    DeleteObject(uncovered);
    DeleteObject(kept);
    return kind;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rect, const RECT* clip) {
    UINT flags = SW_INVALIDATE | SW_ERASE | (rect ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hwnd, dx, dy, rect, clip, nullptr, nullptr, flags) != 0;
}

#include "platform/windowing/system_metrics.h"

#include "platform/graphics/surface.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

struct MonitorEntry {
    platform::Monitor monitor;
    std::unique_ptr<platform::RecordingSurface> surface; // caps of its display contexts
};

std::vector<platform::Monitor>& List() {
    static std::vector<platform::Monitor> v;
    return v;
}

std::vector<MonitorEntry>& Entries() {
    static std::vector<MonitorEntry> v;
    return v;
}

void Rebuild() {
    if (List().empty())
        List().push_back(platform::Monitor{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040},
                                           L"\\\\.\\DISPLAY1", 32});
    // Old surfaces stay alive: contexts made on them may still be held.
    static std::vector<std::unique_ptr<platform::RecordingSurface>> retired;
    for (MonitorEntry& e : Entries())
        if (e.surface)
            retired.push_back(std::move(e.surface));
    for (size_t i = 0; i < List().size(); ++i) {
        const platform::Monitor& m = List()[i];
        if (i >= Entries().size())
            Entries().push_back(MonitorEntry{});
        Entries()[i].monitor = m;
        Entries()[i].surface = std::make_unique<platform::RecordingSurface>(
            m.rect.right - m.rect.left, m.rect.bottom - m.rect.top, m.bitsPerPixel);
    }
}

const std::vector<MonitorEntry>& Monitors() {
    if (List().empty() || Entries().size() < List().size())
        Rebuild();
    return Entries();
}

size_t Count() {
    Monitors();
    return List().size();
}

HMONITOR Handle(size_t i) {
    return reinterpret_cast<HMONITOR>(uintptr_t(i + 1));
}

int64_t DistanceSq(const RECT& r, const RECT& to) {
    auto gap = [](LONG lo1, LONG hi1, LONG lo2, LONG hi2) -> int64_t {
        if (hi1 <= lo2)
            return int64_t(lo2) - hi1;
        if (hi2 <= lo1)
            return int64_t(lo1) - hi2;
        return 0;
    };
    int64_t dx = gap(r.left, r.right, to.left, to.right);
    int64_t dy = gap(r.top, r.bottom, to.top, to.bottom);
    return dx * dx + dy * dy;
}

int64_t Overlap(const RECT& a, const RECT& b) {
    int64_t w = int64_t(std::min(a.right, b.right)) - std::max(a.left, b.left);
    int64_t h = int64_t(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

} // namespace

int GetSystemMetrics(int index) {
    const RECT& primary = Monitors()[0].monitor.rect;
    switch (index) {
    case SM_CXSCREEN:
        return primary.right - primary.left;
    case SM_CYSCREEN:
        return primary.bottom - primary.top;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return platform::detail::kScrollBarSize;
    case SM_CYCAPTION:
        return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CYMENU:
        return 20;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CMONITORS:
        return int(Count());
    // A window may be sized across all monitors and its frame.
    case SM_CXMAXTRACK:
    case SM_CYMAXTRACK:
        return GetSystemMetrics(index == SM_CXMAXTRACK ? SM_CXVIRTUALSCREEN : SM_CYVIRTUALSCREEN) +
               2 * GetSystemMetrics(SM_CXFRAME);
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CYVIRTUALSCREEN: {
        RECT all = primary;
        for (size_t i = 0; i < Count(); ++i) {
            const RECT& r = Monitors()[i].monitor.rect;
            all = RECT{std::min(all.left, r.left), std::min(all.top, r.top),
                       std::max(all.right, r.right), std::max(all.bottom, r.bottom)};
        }
        return index == SM_XVIRTUALSCREEN    ? all.left
               : index == SM_YVIRTUALSCREEN  ? all.top
               : index == SM_CXVIRTUALSCREEN ? all.right - all.left
                                             : all.bottom - all.top;
    }
    default:
        return 0;
    }
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect)
        return FALSE;
    int edge = 0;
    if (style & WS_THICKFRAME)
        edge += GetSystemMetrics(SM_CXFRAME);
    else if (style & (WS_BORDER | WS_DLGFRAME))
        edge += 1;
    if (exStyle & WS_EX_CLIENTEDGE)
        edge += GetSystemMetrics(SM_CXEDGE);
    int top = edge;
    if ((style & WS_CAPTION) == WS_CAPTION)
        top += GetSystemMetrics(SM_CYCAPTION);
    if (menu)
        top += GetSystemMetrics(SM_CYMENU);
    rect->left -= edge;
    rect->right += edge;
    rect->top -= top;
    rect->bottom += edge;
    return TRUE;
}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
    if (!rect)
        return nullptr;
    size_t best = 0;
    int64_t bestOverlap = 0;
    for (size_t i = 0; i < Count(); ++i) {
        int64_t o = Overlap(*rect, Monitors()[i].monitor.rect);
        if (o > bestOverlap)
            best = i, bestOverlap = o;
    }
    if (bestOverlap > 0)
        return Handle(best);
    if (flags == MONITOR_DEFAULTTONULL)
        return nullptr;
    if (flags == MONITOR_DEFAULTTOPRIMARY)
        return Handle(0);
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < Count(); ++i) {
        int64_t d = DistanceSq(*rect, Monitors()[i].monitor.rect);
        if (d < bestDistance)
            best = i, bestDistance = d;
    }
    return Handle(best);
}

HMONITOR MonitorFromPoint(POINT p, DWORD flags) {
    RECT r{p.x, p.y, p.x + 1, p.y + 1};
    return MonitorFromRect(&r, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return flags == MONITOR_DEFAULTTONULL ? nullptr : Handle(0);
    if (r.right <= r.left)
        r.right = r.left + 1;
    if (r.bottom <= r.top)
        r.bottom = r.top + 1;
    return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFOEXW* info) {
    size_t i = size_t(reinterpret_cast<uintptr_t>(monitor));
    if (!info || i == 0 || i > Count())
        return FALSE;
    const platform::Monitor& m = Monitors()[i - 1].monitor;
    info->rcMonitor = m.rect;
    info->rcWork = m.work;
    info->dwFlags = i == 1 ? MONITORINFOF_PRIMARY : 0;
    if (info->cbSize >= sizeof(MONITORINFOEXW)) {
        size_t n = std::min(m.device.size(), size_t(CCHDEVICENAME - 1));
        std::copy(m.device.begin(), m.device.begin() + ptrdiff_t(n), info->szDevice);
        info->szDevice[n] = 0;
    }
    return TRUE;
}

HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR, const void*) {
    std::wstring name = device ? device : (driver ? driver : L"");
    for (size_t i = 0; i < Count(); ++i) {
        const MonitorEntry& e = Monitors()[i];
        if ((i == 0 && (name == L"DISPLAY" || name.empty())) || e.monitor.device == name)
            return platform::CreateSurfaceDC(e.surface.get());
    }
    return nullptr;
}

namespace platform {

void SetMonitors(std::vector<Monitor> monitors) {
    List() = std::move(monitors);
    Rebuild();
}

const std::vector<Monitor>& GetMonitors() {
    Monitors();
    return List();
}

} // namespace platform

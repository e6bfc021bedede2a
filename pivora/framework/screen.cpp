#include "pivora/framework/screen.h"

#include "pivora/framework/jox_client_dc.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/system_metrics.h"

namespace {

// Asks the display context of the main window's monitor, else the main window's own.
template <class F> auto WithScreenDC(F ask) {
    CWnd* main = AfxGetMainWnd();
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(main ? main->m_hWnd : nullptr, MONITOR_DEFAULTTONEAREST);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        if (HDC dc = CreateDCW(info.szDevice, info.szDevice, nullptr, nullptr)) {
            auto result = ask(dc);
            DeleteDC(dc);
            return result;
        }
    }
    CJoxClientDC dc(main, eClientDocument);
    return ask(dc.m_hDC);
}

} // namespace

void ScreenWidths(long& widthMm, long& widthPixels) {
    auto both = WithScreenDC([](HDC dc) {
        return std::pair<long, long>(GetDeviceCaps(dc, HORZSIZE), GetDeviceCaps(dc, HORZRES));
    });
    widthMm = both.first;
    widthPixels = both.second;
}

bool IsScreenLowRes(long width) {
    return width >= WithScreenDC([](HDC dc) { return long(GetDeviceCaps(dc, HORZRES)); });
}

int ScreenColours() {
    return WithScreenDC(
        [](HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES); });
}

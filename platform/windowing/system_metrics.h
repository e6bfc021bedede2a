// System metrics, the monitor list and display contexts on a monitor. The monitors are a
// configurable list (the display sets the real ones, tests their own); by default one
// 1920 x 1080 monitor at 96 pixels per inch.
#pragma once

#include "platform/windowing/window.h"

#include <string>
#include <vector>

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;
constexpr int SM_CXMAXTRACK = 59;
constexpr int SM_CYMAXTRACK = 60;

constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

int GetSystemMetrics(int index);
// Grows a client rectangle to the window rectangle of that style.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);

typedef HANDLE HMONITOR;
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
constexpr int CCHDEVICENAME = 32;

struct MONITORINFOEXW {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
    WCHAR szDevice[CCHDEVICENAME];
};

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromPoint(POINT p, DWORD flags);
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
// Fills the rectangle, work area, flags and (with cbSize of MONITORINFOEXW) the device name.
BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFOEXW* info);
// A context on a monitor by device name ("DISPLAY" for the primary): its device capabilities
// are the monitor's. Delete it with DeleteDC.
HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* init);

namespace platform {

struct Monitor {
    RECT rect;           // in virtual-screen pixels
    RECT work;           // without task bars
    std::wstring device; // "\\.\DISPLAY1"
    int bitsPerPixel = 32;
};

// The first monitor is the primary one; an empty list restores the default.
void SetMonitors(std::vector<Monitor> monitors);
const std::vector<Monitor>& GetMonitors();

} // namespace platform

#include "platform/windowing/system_metrics.h"

#include "platform/graphics/dc.h"
#include "platform/windowing/cursor.h"

#include <gtest/gtest.h>

namespace {

TEST(Monitors, TheNearestMonitorAndAContextWithItsCapabilities) {
    platform::SetMonitors(
        {{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, L"\\\\.\\DISPLAY1", 32},
         {RECT{1920, 0, 3200, 1024}, RECT{1920, 0, 3200, 1024}, L"\\\\.\\DISPLAY2", 16}});
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 3000, 2000, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    HMONITOR m = MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(m, &info));
    EXPECT_STREQ(info.szDevice, L"\\\\.\\DISPLAY2");
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(MonitorFromWindow(w, MONITOR_DEFAULTTONULL), nullptr);
    HDC dc = CreateDCW(info.szDevice, info.szDevice, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1280);
    DeleteDC(dc);
    EXPECT_EQ(CreateDCW(L"\\\\.\\DISPLAY9", L"\\\\.\\DISPLAY9", nullptr, nullptr), nullptr);
    DestroyWindow(w);
    platform::SetMonitors({});
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
}

TEST(Cursors, StandardAndRegisteredCursorsLoadByIdAndSetOne) {
    HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW));
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(14508)), nullptr);
    platform::RegisterCursor(14508);
    HCURSOR guide = LoadCursorW(nullptr, MAKEINTRESOURCEW(14508));
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(platform::CursorId(guide), 14508u);
    SetCursor(arrow);
    EXPECT_EQ(SetCursor(guide), arrow);
    EXPECT_EQ(GetCursor(), guide);
}

} // namespace

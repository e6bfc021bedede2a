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
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 16); // the monitor's own depth
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

TEST(Cursors, AResourceCursorKeepsItsPictureUntilAGoodOneReplacesIt) {
    constexpr UINT kPictured = 14600;
    HCURSOR h = nullptr;
    platform::CursorImage image;
    EXPECT_FALSE(
        platform::GetCursorImage(LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_CROSS)), &image));
    ASSERT_TRUE(platform::RegisterCursorImage(kPictured, POINT{1, 2}, 2, 3,
                                              std::vector<uint32_t>(6, 0xFF000000u)));
    h = LoadCursorW(nullptr, MAKEINTRESOURCEW(kPictured));
    ASSERT_TRUE(platform::GetCursorImage(h, &image));
    const uint32_t first = image.serial;
    struct Bad {
        const char* name;
        POINT hot;
        int w, h;
        size_t pixels;
    } bad[] = {
        {"short of pixels", {0, 0}, 2, 3, 5},
        {"hot spot outside", {2, 0}, 2, 3, 6},
        {"no size", {0, 0}, 0, 0, 0},
        {"too large", {0, 0}, platform::kMaxCursorSize + 1, 1, platform::kMaxCursorSize + 1}};
    for (const Bad& b : bad)
        EXPECT_FALSE(platform::RegisterCursorImage(kPictured, b.hot, b.w, b.h,
                                                   std::vector<uint32_t>(b.pixels)))
            << b.name;
    platform::RegisterCursor(kPictured, POINT{0, 0}); // registered again by id alone
    ASSERT_TRUE(platform::GetCursorImage(h, &image));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(kPictured)), h);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.hotSpot.y, 2);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.serial, first);
    platform::SetCursorLookAlike(kPictured, IDC_SIZEWE);
    ASSERT_TRUE(platform::GetCursorImage(h, &image));
    EXPECT_EQ(image.lookAlike, IDC_SIZEWE);
    EXPECT_NE(image.serial, first);
}

} // namespace

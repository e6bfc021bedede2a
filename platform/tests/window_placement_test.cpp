#include "platform/windowing/window_placement.h"

#include "platform/windowing/icon.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/system_metrics.h"

#include <gtest/gtest.h>

namespace {

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class WindowPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetMonitors(
            {{RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 1000}, L"\\\\.\\DISPLAY1", 24},
             {RECT{1280, 0, 2560, 1024}, RECT{1280, 0, 2560, 1024}, L"\\\\.\\DISPLAY2", 24}});
        frame = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 100, 50, 600, 400,
                                nullptr, nullptr, nullptr, nullptr);
        SetMenu(frame, CreateMenu());
    }
    void TearDown() override {
        DestroyWindow(frame);
        platform::SetMonitors({});
    }
    RECT Rect() const {
        RECT r;
        GetWindowRect(frame, &r);
        return r;
    }
    HWND frame = nullptr;
};

TEST_F(WindowPlacement, MaximisedCoversTheWorkAreaBelowTheMenuAndRestoresToItsPlace) {
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_TRUE(Same(Rect(), RECT{0, GetSystemMetrics(SM_CYMENU), 1280, 1000}));
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(frame, &wp));
    EXPECT_EQ(wp.showCmd, UINT(SW_SHOWMAXIMIZED));
    EXPECT_TRUE(Same(wp.rcNormalPosition, RECT{100, 50, 700, 450}));
    // Minimised from maximised, a restore brings it back maximised; a second one to its place.
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(frame));
    ShowWindow(frame, SW_RESTORE);
    EXPECT_FALSE(IsIconic(frame));
    EXPECT_TRUE(IsZoomed(frame));
    ShowWindow(frame, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(frame));
    EXPECT_TRUE(Same(Rect(), RECT{100, 50, 700, 450}));
}

TEST_F(WindowPlacement, APlacementSetsTheNormalPlaceAndItsShowCommand) {
    WINDOWPLACEMENT wp;
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition = RECT{1400, 100, 2000, 700};
    ASSERT_TRUE(SetWindowPlacement(frame, &wp));
    EXPECT_TRUE(Same(Rect(), wp.rcNormalPosition));
    // Maximised on the monitor it is on, which has no task bar.
    wp.showCmd = SW_SHOWMAXIMIZED;
    ASSERT_TRUE(SetWindowPlacement(frame, &wp));
    EXPECT_TRUE(Same(Rect(), RECT{1280, GetSystemMetrics(SM_CYMENU), 2560, 1024}));
    WINDOWPLACEMENT back;
    ASSERT_TRUE(GetWindowPlacement(frame, &back));
    EXPECT_TRUE(Same(back.rcNormalPosition, wp.rcNormalPosition));
    // An inside-out rectangle is refused and changes nothing.
    wp.rcNormalPosition = RECT{500, 500, 100, 100};
    EXPECT_FALSE(SetWindowPlacement(frame, &wp));
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXTRACK), 2560 + 2 * GetSystemMetrics(SM_CXFRAME));
}

} // namespace

// The stored window place: its text form, damaged records, the fit test on the screens, and
// the round trip through the program's close and next start.
#include "kelvane/app/window_pos.h"

#include "kelvane/app/workspace_settings.h"
#include "kelvane/tests/app_fixture.h"
#include "platform/windowing/system_metrics.h"

#include <gtest/gtest.h>

namespace {

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WindowPos, TextFormRoundTripsAndDamageIsRefused) {
    WINDOWPLACEMENT wp;
    wp.flags = 2;
    wp.showCmd = SW_SHOWMAXIMIZED;
    wp.rcNormalPosition = RECT{-8, 40, 1200, 900};
    const CString text = kelvane::FormatWindowPlacement(wp);
    EXPECT_EQ(text, CString(L"2,3,-1,-1,-1,-1,-8,40,1200,900"));
    WINDOWPLACEMENT back;
    ASSERT_TRUE(kelvane::ParseWindowPlacement(text, back));
    EXPECT_EQ(back.showCmd, 3u);
    EXPECT_TRUE(Same(back.rcNormalPosition, wp.rcNormalPosition));
    EXPECT_TRUE(kelvane::ParseWindowPlacement(L" 0, 1,0,0,0,0, 10,20,30,40 ", back));
    const wchar_t* damaged[] = {
        L"",
        L"0,1,0,0,0,0,10,20,30",             // nine numbers
        L"0,1,0,0,0,0,10,20,30,40,50",       // eleven
        L"0,1,0,0,0,0,10,20,30,4x",          // not a number
        L"0,1,0,0,0,0,10,,30,40",            // an empty field
        L"-1,1,0,0,0,0,10,20,30,40",         // negative flags
        L"0,1,0,0,0,0,10,20,30,99999999999", // beyond 32 bits
    };
    for (const wchar_t* t : damaged) {
        WINDOWPLACEMENT kept;
        kept.rcNormalPosition = RECT{1, 2, 3, 4};
        EXPECT_FALSE(kelvane::ParseWindowPlacement(t, kept)) << CString(t).ToUtf8();
        EXPECT_TRUE(Same(kept.rcNormalPosition, RECT{1, 2, 3, 4}));
    }
}

TEST(WindowPos, APlaceFitsWhenItsTopEdgeIsOnTheScreens) {
    platform::SetMonitors(
        {{RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 1000}, L"\\\\.\\DISPLAY1", 24}});
    struct Case {
        RECT normal;
        bool fits;
    } cases[] = {
        {{100, 100, 900, 700}, true},
        {{-300, 100, 500, 700}, true},   // left off the screen, right on it
        {{-900, 100, -100, 700}, false}, // entirely left of the screens
        {{1300, 100, 1900, 700}, false}, // right of them
        {{100, -50, 900, 700}, false},   // top above them
        {{100, 100, 9000, 700}, false},  // wider than any window may be
        {{900, 100, 100, 700}, false},   // inside out
    };
    for (const Case& c : cases) {
        WINDOWPLACEMENT wp;
        wp.rcNormalPosition = c.normal;
        EXPECT_EQ(kelvane::WindowPlacementFits(wp), c.fits) << c.normal.left << "," << c.normal.top;
    }
    platform::SetMonitors({});
}

using WindowPosStart = AppFixture;

TEST_F(WindowPosStart, TheCloseStoresThePlaceAndTheNextStartOpensMaximisedOverIt) {
    ASSERT_TRUE(Start({"x", "y"}));
    HWND frame = app->MainFrame()->m_hWnd;
    EXPECT_TRUE(IsZoomed(frame));
    ShowWindow(frame, SW_RESTORE);
    MoveWindow(frame, 100, 80, 800, 620, TRUE);
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindow(frame));
    CString stored;
    ASSERT_TRUE(kelvane::ReadWorkspaceString(L"Settings", L"WindowPos", stored));
    EXPECT_EQ(stored, CString(L"0,1,-1,-1,-1,-1,100,80,900,700"));

    Restart({"x", "y"});
    frame = app->MainFrame()->m_hWnd;
    EXPECT_TRUE(IsZoomed(frame));
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(frame, &wp));
    EXPECT_TRUE(Same(wp.rcNormalPosition, RECT{100, 80, 900, 700}));
    ShowWindow(frame, SW_RESTORE);
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_TRUE(Same(r, RECT{100, 80, 900, 700}));
}

TEST_F(WindowPosStart, ADamagedOrOffScreenPlaceIsIgnored) {
    for (const wchar_t* text : {L"garbage", L"0,1,-1,-1,-1,-1,-5000,80,-4200,700"}) {
        ASSERT_TRUE(kelvane::WriteWorkspaceString(L"Settings", L"WindowPos", text));
        Restart({"x", "y"});
        HWND frame = app->MainFrame()->m_hWnd;
        EXPECT_TRUE(IsZoomed(frame));
        WINDOWPLACEMENT wp;
        ASSERT_TRUE(GetWindowPlacement(frame, &wp));
        EXPECT_GE(wp.rcNormalPosition.left, 0) << CString(text).ToUtf8();
    }
}

} // namespace

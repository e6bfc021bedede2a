#include "pivora/framework/percentage_dlg.h"

#include "platform/system/clock.h"

#include <gtest/gtest.h>

namespace {

CString Text(CWnd& dlg, int id) {
    CString s;
    dlg.GetDlgItemText(id, s);
    return s;
}

struct Progress : ::testing::Test {
    void SetUp() override { platform::ResetMessageQueue(); }
};

TEST_F(Progress, PercentTexts) {
    CPercentageDlg dlg;
    ASSERT_EQ(dlg.Create(nullptr), 1);
    EXPECT_TRUE(dlg.IsWindowVisible());
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_EQ(caption, L"Percent Complete");
    for (int i = 0; i < 3; ++i)
        dlg.StepIt();
    EXPECT_EQ(Text(dlg, CPercentageDlg::IDC_PERCENT_TEXT), L"30%");
    dlg.SetRange(0, 200);
    const struct {
        int pos;
        const wchar_t* text;
    } cases[] = {{100, L"50%"}, {200, L"100%"}, {250, L"25%"}, {0, L"0%"}};
    for (const auto& c : cases) {
        dlg.SetPos(c.pos);
        EXPECT_EQ(Text(dlg, CPercentageDlg::IDC_PERCENT_TEXT), c.text) << c.pos;
    }
    EXPECT_EQ(dlg.OffsetPos(20), 0);
    EXPECT_EQ(Text(dlg, CPercentageDlg::IDC_PERCENT_TEXT), L"10%");
}

TEST_F(Progress, EmptyRangeShowsAPercentInsteadOfDividingByZero) {
    CPercentageDlg dlg;
    ASSERT_EQ(dlg.Create(nullptr), 1);
    dlg.SetRange(5, 5);
    dlg.SetPos(4);
    EXPECT_EQ(Text(dlg, CPercentageDlg::IDC_PERCENT_TEXT), L"0%");
    dlg.SetPos(5);
    EXPECT_EQ(Text(dlg, CPercentageDlg::IDC_PERCENT_TEXT), L"100%");
}

TEST_F(Progress, CancelPressIsReportedOnceAndLatchedByHasCancelled) {
    CPercentageDlg dlg;
    ASSERT_EQ(dlg.Create(nullptr), 1);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(dlg.IsWindowVisible()); // close-on-cancel is off: the window stays
    EXPECT_EQ(dlg.CheckCancelButton(), 1);
    EXPECT_EQ(dlg.CheckCancelButton(), 0);
    EXPECT_EQ(dlg.HasCancelled(), 0);
    SendDlgItemMessageW(dlg.m_hWnd, IDCANCEL, BM_CLICK, 0, 0);
    EXPECT_EQ(dlg.HasCancelled(), 1);
    dlg.SetReadout(L"working", 0);
    EXPECT_EQ(dlg.HasCancelled(), 1);
    CString line;
    dlg.GetReadout(line);
    EXPECT_EQ(line, L"!");
}

TEST_F(Progress, CloseOnCancelEndsTheDialog) {
    CPercentageDlg dlg;
    dlg.SetCloseOnCancelON(true);
    ASSERT_EQ(dlg.Create(nullptr), 1);
    SendDlgItemMessageW(dlg.m_hWnd, IDCANCEL, BM_CLICK, 0, 0);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(dlg.CheckCancelButton(), 0);
}

TEST_F(Progress, StepItByTimeStepsEveryFifthCallAtAHundredMilliseconds) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    CPercentageDlg dlg;
    ASSERT_EQ(dlg.Create(nullptr), 1);
    dlg.SetStep(1);
    int steps = 0;
    for (int call = 1; call <= 20; ++call) {
        clock.Advance(100);
        int before =
            int(SendDlgItemMessageW(dlg.m_hWnd, CPercentageDlg::IDC_PROGRESS, PBM_GETPOS, 0, 0));
        dlg.StepItByTime(500);
        int after =
            int(SendDlgItemMessageW(dlg.m_hWnd, CPercentageDlg::IDC_PROGRESS, PBM_GETPOS, 0, 0));
        if (after != before) {
            ++steps;
            EXPECT_EQ(call % 5, 0) << call;
        }
    }
    EXPECT_EQ(steps, 4);
}

TEST_F(Progress, AutoProgressStepsOnItsTimer) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    CPercentageDlg dlg;
    ASSERT_EQ(dlg.Create(nullptr), 1);
    dlg.SetAutoProgressON(true);
    clock.Advance(100);
    EXPECT_EQ(dlg.CheckCancelButton(), 0); // pumps: the timer steps the bar
    EXPECT_EQ(Text(dlg, CPercentageDlg::IDC_PERCENT_TEXT), L"10%");
    dlg.SetAutoProgressON(false);
    clock.Advance(1000);
    dlg.CheckCancelButton();
    EXPECT_EQ(Text(dlg, CPercentageDlg::IDC_PERCENT_TEXT), L"10%");
}

TEST_F(Progress, OwnerIsDisabledWhileShownAndTheQuitSurvivesThePump) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    {
        CPercentageDlg dlg;
        dlg.SetNoCancelButton(1);
        ASSERT_EQ(dlg.Create(&owner), 1);
        EXPECT_FALSE(owner.IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(IDCANCEL)->IsWindowEnabled());
        PostQuitMessage(2);
        dlg.SetPos(10);
        MSG m;
        ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.message, WM_QUIT);
    }
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(Progress, SecondReadoutLineExistsOnlyInTheTwoLineTemplate) {
    CPercentageDlg one(0, CPercentageDlg::IDD_PERCENTAGE);
    ASSERT_EQ(one.Create(nullptr), 1);
    one.SetReadout(L"x", 1);
    EXPECT_EQ(one.GetDlgItem(CPercentageDlg::IDC_READOUT_1), nullptr);
    CPercentageDlg two(0, CPercentageDlg::IDD_PERCENTAGE_TWO_LINES);
    ASSERT_EQ(two.Create(nullptr), 1);
    EXPECT_TRUE(two.GetDlgItem(CPercentageDlg::IDC_READOUT_1)->IsWindowVisible());
    two.SetReadout(L"second", 1);
    EXPECT_EQ(Text(two, CPercentageDlg::IDC_READOUT_1), L"second");
    CString first;
    two.GetReadout(first);
    EXPECT_EQ(first, L"");
}

TEST_F(Progress, UnknownTemplateFailsAndLeavesTheOwnerEnabled) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    CPercentageDlg dlg(0, 999);
    EXPECT_EQ(dlg.Create(&owner), 0);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

} // namespace

#include "pivora/framework/display_info.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayInfo, OpensOnDemandAndDrivesBothBars) {
    CDisplayInfo info;
    info.OpenDlg();
    EXPECT_EQ(info.GetDlg(), nullptr); // disabled
    EXPECT_EQ(info.StepIt(1, false), 0);
    info.EnableDlg(true);
    info.OpenDlg();
    ASSERT_NE(info.GetDlg(), nullptr);
    HWND dlg = info.GetDlg()->m_hWnd;
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDCANCEL)));
    info.SetRange(4, 0, false);
    EXPECT_EQ(info.StepIt(0, false), 0);
    EXPECT_EQ(info.StepIt(2, false), 1);
    CString percent;
    info.GetDlg()->GetDlgItemText(CPercentageDlg::IDC_PERCENT_TEXT, percent);
    EXPECT_EQ(percent, L"75%");
    HWND fine = GetDlgItem(dlg, CPercentageDlg::IDC_FINE_PROGRESS);
    EXPECT_FALSE(IsWindowVisible(fine));
    info.SetRange(10, 0, true);
    EXPECT_TRUE(IsWindowVisible(fine));
    EXPECT_EQ(info.StepIt(0, true), 0);
    EXPECT_EQ(info.StepIt(3, true), 1);
    EXPECT_EQ(SendMessageW(fine, PBM_GETPOS, 0, 0), 4);
    info.HideFine();
    EXPECT_FALSE(IsWindowVisible(fine));
    info.SetText(L"reading");
    CString line;
    info.GetDlg()->GetReadout(line);
    EXPECT_EQ(line, L"reading");
    info.EnableDlg(false);
    EXPECT_EQ(info.GetDlg(), nullptr);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST(DisplayInfo, CopiesShareOneDialogAndTheLastOneClosesIt) {
    HWND dlg = nullptr;
    {
        CDisplayInfo first;
        first.EnableDlg(true);
        first.OpenDlg();
        dlg = first.GetDlg()->m_hWnd;
        CDisplayInfo second(first);
        CDisplayInfo third;
        third = first;
        EXPECT_EQ(second.GetDlg(), first.GetDlg());
        EXPECT_EQ(third.GetDlg(), first.GetDlg());
        first.EnableDlg(false);
        EXPECT_TRUE(IsWindow(dlg)); // the copies still show it
        second.StepIt(1, false);
    }
    EXPECT_FALSE(IsWindow(dlg));
}

} // namespace

#include "felgrin/dlg_cancel_cut.h"

#include "cutter_fixture.h"
#include "felgrin/dmpl_cutter.h"

#include <gtest/gtest.h>

namespace {

using CancelWindow = CutterTest;

CString Text(const CDlgCancelCut& dlg, int id) {
    CString t;
    dlg.GetDlgItemText(id, t);
    return t;
}

TEST_F(CancelWindow, ShowsTheCutterPortAndStepAndCentresOnItsParent) {
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1000, 700),
                              nullptr, 0));
    AfxSetMainWnd(&main);
    CDMPLCutter cutter;
    CDlgCancelCut dlg(&cutter, nullptr);
    dlg.m_strCutter = L"Shop Cutter";
    dlg.m_strPort = L"COM1 @ 9600 baud";
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.IsShown());
    EXPECT_EQ(::GetParent(dlg.m_hWnd), main.m_hWnd); // the main window when none is given
    EXPECT_EQ(Text(dlg, IDC_CANCEL_CUTTER), L"Shop Cutter");
    EXPECT_EQ(Text(dlg, IDC_CANCEL_PORT), L"COM1 @ 9600 baud");
    EXPECT_EQ(Text(dlg, IDC_CANCEL_STATUS), L"OK");
    CRect r;
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r.CenterPoint().x / 2, 500 / 2);

    dlg.SetStatus(L"Sending 50%"); // a '%' in the step is shown as it is
    EXPECT_EQ(Text(dlg, IDC_CANCEL_STATUS), L"Sending 50%");
    EXPECT_EQ(dlg.m_strStatus, L"Sending 50%");
    dlg.DestroyWindow();
    AfxSetMainWnd(nullptr);
}

TEST_F(CancelWindow, CancelCuttingClosesTheWindowAndKeepsTheObjectAndTheFlag) {
    CDMPLCutter cutter;
    CDlgCancelCut dlg(&cutter, nullptr);
    ASSERT_TRUE(dlg.Create());
    HWND window = dlg.m_hWnd;
    SendDlgItemMessageW(window, IDCANCEL, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(dlg.IsShown());
    EXPECT_EQ(dlg.m_bCancelled, 1);
    EXPECT_EQ(cutter.CutCancelled(), 1);
    dlg.SetStatus(L"Stopped"); // the cutter may still report a step: nothing breaks
    EXPECT_EQ(dlg.m_strStatus, L"Stopped");
}

} // namespace

#include "felgrin/dlg_cancel_cut.h"

#include "cutter_fixture.h"
#include "felgrin/cutter_instance.h"
#include "felgrin/dmpl_cutter.h"

#include "platform/display/display.h"
#include "platform/system/port_devices.h"
#include "qvutils/host_services.h"

#include <gtest/gtest.h>

#include <chrono>

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

// A serial cutter stopped by XOFF, with a short write time-out: the operator's click ends the
// stalled write before the time-out would ask anything, and the job goes no further.
TEST_F(CancelWindow, CancelCuttingEndsAStalledWriteAndTheJob) {
    FakeSerialCutter fake;
    ASSERT_FALSE(fake.Path().empty());
    platform::SetPortDevicePath(L"COM1", fake.Path());
    CDMPLCutter c;
    c.SetPortName(L"COM1");
    c.fnSetOrigin(1);
    c.fnGetCommsParams()->nFlowControl = COMMS_FLOW_XONXOFF;
    c.fnSetWriteTimeout(3000);
    CCutterInstance job(&c);
    ASSERT_EQ(job.fnStartDoc(), 0);
    ASSERT_EQ(job.fnStartOutput(1, 1), 0);
    CDlgCancelCut* dlg = c.fnGetCancelDlg();
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(dlg->IsShown());
    HWND window = dlg->m_hWnd;
    EXPECT_EQ(fake.Receive(2000, ";:HOA,ECN,U,"), ";:HOA,ECN,U,");
    fake.Send("\x13");
    ASSERT_TRUE(fake.WaitUntilStopped(2000));

    // The click comes from the message loop the write runs while it waits.
    auto pressAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    bool clicked = false;
    qvhost::SetMessagePump([&] {
        if (!clicked && IsWindow(window) && std::chrono::steady_clock::now() >= pressAt) {
            clicked = true;
            SendDlgItemMessageW(window, IDCANCEL, BM_CLICK, 0, 0);
        }
    });
    int first = 0;
    for (int i = 0; i < 100000 && first == 0; ++i) {
        POINT p = {1000 + i % 2000, 2000};
        first = i % 2 ? job.fnPolyLineTo(&p, 1) : job.fnPolyMoveTo(&p, 1);
    }
    qvhost::SetMessagePump(nullptr);
    ASSERT_TRUE(clicked);
    EXPECT_NE(first, 0);
    EXPECT_TRUE(m_messages.empty()); // ended by the click, not by the time-out
    POINT p = {5000, 5000};
    EXPECT_EQ(job.fnPolyMoveTo(&p, 1), CUT_ERR_CANCELLED);
    EXPECT_EQ(job.fnPolyLineTo(&p, 1), CUT_ERR_CANCELLED);
    EXPECT_EQ(job.fnPenUp(), CUT_ERR_CANCELLED);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(c.fnGetCancelDlg(), dlg); // the object lives until the output ends
    EXPECT_TRUE(job.fnCutCancelled());
    job.fnEndOutput();
    EXPECT_EQ(c.fnGetCancelDlg(), nullptr);

    // The cutter resumes: nothing of the cancelled job follows, and the next output is whole.
    fake.Send("\x11");
    EXPECT_EQ(fake.Receive(300), "");
    ASSERT_EQ(job.fnStartOutput(1, 1), 0);
    EXPECT_FALSE(job.fnCutCancelled());
    ASSERT_NE(c.fnGetCancelDlg(), nullptr);
    EXPECT_TRUE(c.fnGetCancelDlg()->IsShown());
    POINT cut[] = {{3000, 2000}, {3000, 4000}};
    EXPECT_EQ(job.fnPolyMoveTo(&p, 1), 0);
    EXPECT_EQ(job.fnPolyLineTo(cut, 2), 0);
    EXPECT_EQ(job.fnEndOutput(), 0);
    std::string second = fake.Receive(2000, ",120,160");
    EXPECT_EQ(second.substr(0, 12), ";:HOA,ECN,U,");
    EXPECT_NE(second.find(",120,160"), std::string::npos);
    job.fnEndDoc();
}

// For a person to look at: the window as the display shows it during a cut.
TEST_F(CancelWindow, ScreenshotOfTheWindow) {
    int argc = 1;
    char name[] = "dlg_cancel_cut_test";
    char* argv[] = {name, nullptr};
    if (!platform::display::Start(argc, argv))
        GTEST_SKIP() << "no display";
    CDMPLCutter cutter;
    {
        CDlgCancelCut dlg(&cutter, nullptr);
        dlg.m_strCutter = L"Shop Cutter";
        dlg.m_strPort = L"COM1 @ 9600 baud";
        ASSERT_TRUE(dlg.Create());
        dlg.SetStatus(L"Start Output");
        platform::display::Flush();
        EXPECT_TRUE(platform::display::SaveScreenshot(dlg.m_hWnd, std::string(TEST_BINARY_DIR) +
                                                                      "/dlg_cancel_cut.png"));
    }
    platform::display::Stop();
}

} // namespace

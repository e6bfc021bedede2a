#include "varnholm/cut_plot_setup.h"

#include "sorvane_host.h"
#include "varnholm/detect_cutter_dlg.h"

#include "pivora/framework/vanter_ping.h"
#include "platform/display/display.h"

#include <cstdlib>

namespace {

using S = CCutPlotSetup;

class CutPlotSetupTest : public SorvaneHost {
protected:
    void SetUp() override {
        SorvaneHost::SetUp();
        // No device answers: no USB folder, and probes go to a loopback port nobody reads.
        ::setenv("VANTERUSB_DIR", "/nonexistent-usb", 1);
        PING_NETWORK n;
        n.broadcastAddress = "127.0.0.1";
        n.probePort = 9;
        n.useLocalPort = true; // any free port: tests run side by side
        VanterPing::OverrideNetwork(&n);
    }
    void TearDown() override {
        VanterPing::OverrideNetwork(nullptr);
        ::unsetenv("VANTERUSB_DIR");
        SorvaneHost::TearDown();
    }
};

TEST_F(CutPlotSetupTest, ShowsTheCutterAndCancelPutsBackThePortTheButtonsChanged) {
    CBaseCutter* cutter = Install(L"Plotter", L"COM2");
    cutter->fnGetCommsParams()->nBaudRate = 9600;
    int detections = 0;
    CString shownName, shownPort;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) {
        if (id == CDetectCutterDlg::IDD) {
            ++detections;
            // What a chosen row gives: the address, set on the live cutter.
            auto* dlg = dynamic_cast<CDetectCutterDlg*>(CWnd::FromHandle(h));
            dlg->m_strChosenAddress = L"10.0.0.7";
            ::EndDialog(h, IDOK);
            return;
        }
        wchar_t text[64] = {};
        ::GetDlgItemTextW(h, S::IDC_NAME, text, 64);
        shownName = text;
        ::GetDlgItemTextW(h, S::IDC_PORT, text, 64);
        shownPort = text;
        ::SendDlgItemMessageW(h, S::ID_AUTO_DETECT, BM_CLICK, 0, 0);
        ::GetDlgItemTextW(h, S::IDC_PORT, text, 64);
        EXPECT_EQ(CString(text), CString(L"10.0.0.7"));
        EXPECT_EQ(cutter->GetPortName(), CString(L"10.0.0.7"));
        ::SetDlgItemTextW(h, S::IDC_NAME, L"Renamed");
        ::SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
    });
    S dlg(cutter, nullptr, 0);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(detections, 1);
    EXPECT_EQ(shownName, CString(L"Plotter"));
    EXPECT_EQ(shownPort, CString(L"COM2"));
    EXPECT_EQ(cutter->GetPortName(), CString(L"COM2"));
    EXPECT_EQ(cutter->fnGetCommsParams()->nBaudRate, 9600);
    EXPECT_EQ(cutter->fnGetName(), CString(L"Plotter"));
}

TEST_F(CutPlotSetupTest, DetectionOpensByItselfOnceAfterTheDelay) {
    CBaseCutter* cutter = Install(L"Plotter");
    int detections = 0;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) {
        if (id == CDetectCutterDlg::IDD) {
            ++detections;
            ::EndDialog(h, IDCANCEL);
            return;
        }
        Advance(S::kDetectDelayMs);
        // One-shot: no second opening later.
        Advance(S::kDetectDelayMs);
        ::SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
    });
    S dlg(cutter, nullptr, 1);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(detections, 1);
}

// On the display: "Plotter-Cutter Setup" shows, and its timer opens "Detected cutters" over it
// without anyone pressing "Auto detect". For a person to look at, both dialogs.
using CutPlotSetupOnDisplay = SorvaneDisplayHost;

TEST_F(CutPlotSetupOnDisplay, TheSetUpDialogOpensDetectionByItself) {
    ::setenv("VANTERUSB_DIR", "/nonexistent-usb", 1);
    PING_NETWORK n;
    n.broadcastAddress = "127.0.0.1";
    n.probePort = 9;
    n.useLocalPort = true; // any free port: tests run side by side
    VanterPing::OverrideNetwork(&n);
    CBaseCutter* cutter = Install(L"Plotter", L"COM2");
    int detections = 0;
    bool setupShown = false, saved = false;
    platform::ScopedDialogResponder r([&](HWND h, UINT id) {
        if (id != CDetectCutterDlg::IDD)
            return; // the set-up dialog waits for its timer
        ++detections;
        HWND setup = ::GetParent(h);
        setupShown = ::IsWindowVisible(setup) &&
                     platform::display::SaveScreenshot(setup, std::string(TEST_BINARY_DIR) +
                                                                  "/plotter_cutter_setup.png");
        saved = platform::display::SaveScreenshot(h, std::string(TEST_BINARY_DIR) +
                                                         "/detection_from_setup.png");
        ::EndDialog(h, IDCANCEL);
        ::PostMessageW(::GetDlgItem(setup, IDCANCEL), BM_CLICK, 0, 0);
    });
    S dlg(cutter, nullptr, 1);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    VanterPing::OverrideNetwork(nullptr);
    ::unsetenv("VANTERUSB_DIR");
    EXPECT_EQ(detections, 1);
    EXPECT_TRUE(setupShown);
    EXPECT_TRUE(saved);
}

} // namespace

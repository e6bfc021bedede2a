#include "qvutils/tavrin_dialog.h"

#include "platform/graphics/surface.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/system_metrics.h"
#include "qvutils/host_services.h"
#include "qvutils/qv_utils.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <map>

namespace {

constexpr UINT kTemplate = 9400;
constexpr UINT kIcon = 9401;
constexpr int kMmLabel = 17515, kPlainMm = 17516, kSpeed = 17517;

// A dialog with three of the unit captions and one plain label.
void Register() {
    platform::RegisterDialogTemplate(
        DialogTemplate{kTemplate,
                       WS_POPUP | WS_CAPTION,
                       120,
                       60,
                       L"Units",
                       L"MS Sans Serif",
                       8,
                       {{kMmLabel, WC_STATIC, L"Width (mm)", WS_CHILD, 5, 5, 50, 8},
                        {kPlainMm, WC_STATIC, L"mm", WS_CHILD, 60, 5, 20, 8},
                        {kSpeed, WC_STATIC, L"mm/s", WS_CHILD, 60, 15, 20, 8},
                        {400, WC_STATIC, L"Height (mm)", WS_CHILD, 5, 15, 50, 8},
                        {IDOK, WC_BUTTON, L"OK", WS_CHILD, 5, 40, 40, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", WS_CHILD, 50, 40, 40, 14}}});
    std::vector<uint32_t> pixels(32 * 32, 0xFF0000C0);
    platform::RegisterIcon(kIcon, 32, 32, pixels);
}

// Restores its position on opening, as the dialogs that want it do.
struct PlacedDialog : CTavrinDialog {
    PlacedDialog() : CTavrinDialog(kTemplate) {}
    BOOL OnInitDialog() override {
        CTavrinDialog::OnInitDialog();
        fnSetWindowPos();
        return TRUE;
    }
};

class TavrinDialog : public ::testing::Test {
protected:
    void SetUp() override {
        m_sandbox = std::make_unique<SettingsSandbox>();
        qvhost::ResetAppParams();
        QvResetPreferenceCache();
        Register();
    }
    void TearDown() override {
        AfxSetMainWnd(nullptr);
        CTavrinDialog::DialogIconID(-1);
        qvhost::ResetAppParams();
        m_sandbox.reset();
    }
    // Opens the dialog, lets `act` look at it, then presses `button`; the dialog's place.
    template <class Dlg> CRect Run(Dlg& dlg, int button, std::function<void(HWND)> act = nullptr) {
        CRect placed;
        platform::ScopedDialogResponder r([&](HWND h, UINT) {
            ::GetWindowRect(h, &placed);
            if (act)
                act(h);
            SendDlgItemMessageW(h, button, BM_CLICK, 0, 0);
        });
        dlg.DoModal();
        return placed;
    }
    std::unique_ptr<SettingsSandbox> m_sandbox;
};

CString Text(HWND dialog, int id) {
    CString t;
    CWnd::FromHandle(dialog)->GetDlgItemText(id, t);
    return t;
}

TEST_F(TavrinDialog, UnitCaptionsTurnToInchesWhenTheOperatorWorksInInches) {
    qvhost::SetAppParam(L"Display Inches", 1);
    CTavrinDialog dlg(kTemplate);
    std::map<int, CString> shown;
    Run(dlg, IDCANCEL, [&](HWND h) {
        for (int id : {kMmLabel, kPlainMm, kSpeed, 400})
            shown[id] = Text(h, id);
    });
    EXPECT_EQ(shown[kMmLabel], L"Width (in)");
    EXPECT_EQ(shown[kPlainMm], L"in");
    EXPECT_EQ(shown[kSpeed], L"mm/s");
    EXPECT_EQ(shown[400], L"Height (mm)"); // not a unit caption

    qvhost::SetAppParam(L"Display Inches", 0);
    CTavrinDialog metric(kTemplate);
    Run(metric, IDCANCEL, [&](HWND h) { shown[kMmLabel] = Text(h, kMmLabel); });
    EXPECT_EQ(shown[kMmLabel], L"Width (mm)");
}

TEST_F(TavrinDialog, OkKeepsThePlaceAndCancelDoesNot) {
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1000, 800),
                              nullptr, 0));
    AfxSetMainWnd(&main);
    PlacedDialog first;
    Run(first, IDOK, [](HWND h) { ::SetWindowPos(h, nullptr, 300, 200, 0, 0, SWP_NOSIZE); });
    CString saved;
    EXPECT_TRUE(qvhost::GetAppParam(L"Dialog Position 9400", saved));
    EXPECT_EQ(saved, L"300 200");
    EXPECT_EQ(qvhost::GetAppParam(L"Dialog Position On Desktop", -1), 1); // stored when missing

    PlacedDialog second;
    CRect placed =
        Run(second, IDCANCEL, [](HWND h) { ::SetWindowPos(h, nullptr, 50, 60, 0, 0, SWP_NOSIZE); });
    EXPECT_EQ(placed.TopLeft(), CPoint(300, 200));
    qvhost::GetAppParam(L"Dialog Position 9400", saved);
    EXPECT_EQ(saved, L"300 200");
    main.DestroyWindow();
}

TEST_F(TavrinDialog, APlaceOutsideTheMainWindowOrDamagedCentresTheDialog) {
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, CRect(100, 100, 900, 700),
                              nullptr, 0));
    AfxSetMainWnd(&main);
    platform::SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, L"\\\\.\\DISPLAY1"},
                           {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}, L"\\\\.\\DISPLAY2"}});
    struct Case {
        const wchar_t* saved;
        int onDesktop;
        bool centred;
    } cases[] = {
        {L"1500 900", 1, true},  // on the desktop, outside the main window
        {L"1500 900", 0, false}, // the check is off: anywhere on a monitor will do
        {L"2500 300", 0, false}, // on the second monitor
        {L"5000 5000", 0, true}, // off every monitor
        {L"x y", 1, true},       // does not parse
        {L"200 150", 1, false},
    };
    for (const Case& c : cases) {
        qvhost::SetAppParam(L"Dialog Position 9400", CString(c.saved));
        qvhost::SetAppParam(L"Dialog Position On Desktop", c.onDesktop);
        PlacedDialog dlg;
        CRect placed = Run(dlg, IDCANCEL);
        CPoint centre((100 + 900 - placed.Width()) / 2, (100 + 700 - placed.Height()) / 2);
        if (c.centred)
            EXPECT_EQ(placed.TopLeft(), centre) << c.saved;
        else
            EXPECT_EQ(placed.TopLeft(),
                      CPoint(std::wcstol(c.saved, nullptr, 10),
                             std::wcstol(std::wcschr(c.saved, L' '), nullptr, 10)))
                << c.saved;
    }
    platform::SetMonitors({});
    main.DestroyWindow();
}

TEST_F(TavrinDialog, ShowsTheProgramIconAndPaintsItWhenMinimised) {
    CTavrinDialog::DialogIconID(kIcon);
    CTavrinDialog dlg(kTemplate);
    ASSERT_TRUE(dlg.Create(kTemplate));
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(kIcon));
    EXPECT_EQ(dlg.GetIcon(TRUE), icon);
    EXPECT_EQ(dlg.DialogID(), kTemplate);

    dlg.ShowWindow(SW_SHOW);
    dlg.ModifyStyle(0, WS_MINIMIZE);
    dlg.MoveWindow(0, 0, 64, 48);
    dlg.Invalidate();
    dlg.SendMessage(WM_PAINT);
    HDC dc = ::GetDC(dlg.m_hWnd);
    // Centred: ((64 - 32 + 1) / 2, (48 - 32 + 1) / 2) = (16, 8).
    EXPECT_EQ(GetPixel(dc, 16, 8), RGB(0, 0, 0xC0));
    EXPECT_EQ(GetPixel(dc, 47, 39), RGB(0, 0, 0xC0));
    EXPECT_NE(GetPixel(dc, 15, 8), RGB(0, 0, 0xC0));
    EXPECT_NE(GetPixel(dc, 16, 40), RGB(0, 0, 0xC0));
    ::ReleaseDC(dlg.m_hWnd, dc);
    auto* surface = dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(dlg.m_hWnd));
    if (surface)
        surface->SavePng(std::string(TEST_BINARY_DIR) + "/tavrin_dialog_minimised.png");
    dlg.DestroyWindow();
}

} // namespace

// Under Xvfb: the main frame with its menu, toolbar, two design windows in its tabs, a status
// text and a dialog open, saved as a PNG in the build tree for a person to look at.
#include "kelvane/app/main_frame.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "platform/display/display.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "qvutils/qv_utils.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr UINT kSampleDialog = 9300;

INT_PTR SampleDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST(MainFrameScreen, TwoTabbedDesignWindowsAndADialog) {
    static int argc = 1;
    static char name[] = "kelvane";
    static char* argv[] = {name, nullptr};
    ASSERT_TRUE(platform::display::Start(argc, argv));
    constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
    platform::RegisterDialogTemplate(
        {kSampleDialog,
         WS_POPUP | WS_CAPTION | WS_VISIBLE,
         200,
         90,
         L"Sending to the cutter",
         nullptr,
         8,
         {{100, WC_STATIC, L"Cutting \"Design2\" on the plotter at COM1.", kShown, 10, 8, 180, 10},
          {101, PROGRESS_CLASS, L"", kShown, 10, 26, 180, 10},
          {102, WC_BUTTON, L"Cut in two passes", kShown | BS_AUTOCHECKBOX, 10, 44, 120, 12},
          {IDOK, WC_BUTTON, L"OK", kShown | BS_DEFPUSHBUTTON, 40, 68, 50, 14},
          {IDCANCEL, WC_BUTTON, L"Cancel", kShown, 110, 68, 50, 14}}});
    const std::string path = TEST_BINARY_DIR "/main_frame.png";
    std::filesystem::remove(path);
    {
        SettingsSandbox box;
        CVanterFerolinApp app;
        {
            // No cutter is installed: the installation the start offers is declined.
            platform::ScopedDialogResponder decline(
                [](HWND dialog, UINT) { EndDialog(dialog, IDCANCEL); });
            ASSERT_TRUE(app.InitInstance());
        }
        ASSERT_NE(app.DesignTemplate()->OpenDocumentFile(nullptr, TRUE), nullptr);
        HWND frame = app.MainFrame()->GetSafeHwnd();
        HWND dlg = CreateDialogParamW(nullptr, kSampleDialog, frame, SampleDialogProc, 0);
        ASSERT_NE(dlg, nullptr);
        SendDlgItemMessageW(dlg, 101, PBM_SETPOS, 40, 0);
        QvSetStatusText(0, L"Design2: 3 paths, 1.27 m of cut line");
        CheckDlgButton(dlg, 102, BST_CHECKED);
        EXPECT_TRUE(platform::display::SaveScreenshot(frame, path));
        DestroyWindow(dlg);
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
        app.Run();
        CWnd::DeleteTempMap();
    }
    platform::display::Stop();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_GT(std::filesystem::file_size(path), 5000u);
}

} // namespace

// Under Xvfb: the main frame with its menu, toolbar, two design windows in its tabs, a status
// text and a dialog open, saved as a PNG in the build tree for a person to look at; and the
// program itself run as ./scripts/run runs it without a display: on the sample design, its
// picture saved, told to end, exit code 0.
#include "kelvane/app/main_frame.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "platform/display/display.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "qvutils/qv_utils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

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

// The exit status, or -1 when the program still ran after the bound.
int WaitForExit(pid_t pid, std::chrono::seconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

bool IsPng(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    char head[8] = {};
    f.read(head, sizeof head);
    return f && std::string(head, sizeof head) == "\x89PNG\r\n\x1a\n";
}

TEST(MainFrameScreen, TheProgramOnTheSampleAsScriptsRunStartsIt) {
    using namespace std::chrono_literals;
    // A fresh machine: no cutter installed, so the start offers the installation (declined).
    SettingsSandbox box;
    const std::string runtime = box.Path("runtime");
    std::filesystem::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    box.Set("XDG_RUNTIME_DIR", runtime);
    const std::string png = TEST_BINARY_DIR "/kelvane_run.png";
    std::filesystem::remove(png);
    box.Set("KELVANE_SCREENSHOT", png);

    std::string program = KELVANE_PROGRAM, sample = KELVANE_SAMPLE;
    char* argv[] = {program.data(), sample.data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    const auto end = std::chrono::steady_clock::now() + 120s;
    int status = -1;
    while (!std::filesystem::exists(png) && std::chrono::steady_clock::now() < end) {
        int s = 0;
        if (::waitpid(pid, &s, WNOHANG) == pid) {
            status = WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
            break;
        }
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(status, -1) << "the program ended before its picture";
    const bool shown = std::filesystem::exists(png);
    ::kill(pid, SIGTERM);
    status = WaitForExit(pid, 120s);
    if (status == -1) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ASSERT_TRUE(shown) << "no picture within the bound";
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(IsPng(png));
    EXPECT_GT(std::filesystem::file_size(png), 5000u);
}

} // namespace

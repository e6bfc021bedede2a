// The program: the main frame with the design named on the command line (or a new one) when
// there is a display. With KELVANE_SCREENSHOT set to a file, what the screen shows once the
// start-up has run is saved there, and the program runs on until it is told to end; without a
// display it builds the windows, says so and closes. In both, every dialog and question is
// declined.
#include "kelvane/app/instance_forwarding.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "pivora/framework/do_events.h"
#include "platform/display/display.h"
#include "platform/system/termination_request.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {

// Written under a second name and renamed: whoever waits for the picture never sees half of it.
bool SaveScreenshot(HWND frame, const char* path) {
    const std::string part = std::string(path) + ".part";
    if (!platform::display::SaveScreenshot(frame, part))
        return false;
    std::error_code error;
    std::filesystem::rename(part, path, error);
    return !error;
}

} // namespace

int main(int argc, char** argv) {
    // Before anything else: whether another copy runs decides how this one starts.
    FnCreateInstanceMutex();
    // Being told to end closes the main window as the operator would: modified designs are
    // asked about and recovery copies handled instead of lost.
    auto terminate = std::make_unique<platform::TerminationRequest>([] {
        CWnd* main = AfxGetMainWnd();
        return main ? main->GetSafeHwnd() : nullptr;
    });
    bool display = platform::display::Start(argc, argv);
    int code = 1;
    {
        CVanterFerolinApp app;
        app.SetCommandLine(argc, argv);
        const char* shot = std::getenv("KELVANE_SCREENSHOT");
        const bool wantShot = shot && *shot;
        // Nobody answers a run without a display or one that takes a picture. A dialog (the
        // cutter installation on a first start) would hold it: it is declined, and is not the
        // picture. So would a question, at start-up (the recovery offer when copies were left
        // behind) and at close (saving the imported design): each takes the answer that
        // changes nothing, as a person answering No or Cancel would, so nothing is written and
        // the run ends when it is told to. Pictures are meant to be taken on a throwaway
        // profile (scripts/run gives one).
        std::unique_ptr<platform::ScopedDialogResponder> decline;
        std::unique_ptr<platform::MessageBoxResponder> declineBoxes;
        if (wantShot || !display) {
            decline = std::make_unique<platform::ScopedDialogResponder>(
                [](HWND dialog, UINT) { EndDialog(dialog, IDCANCEL); });
            declineBoxes = std::make_unique<platform::MessageBoxResponder>();
            declineBoxes->SetDeclineAll(true);
        }
        const BOOL started = app.InitInstance();
        if (started) {
            HWND frame = app.MainFrame()->GetSafeHwnd();
            if (wantShot) {
                // What the screen shows once the posted start-up work has run.
                DoEvents();
                for (LONG idle = 0; app.OnIdle(idle); ++idle) {
                }
                if (!display || !SaveScreenshot(frame, shot)) {
                    std::fprintf(stderr, "kelvane: could not save a screenshot to %s\n", shot);
                    code = 2;
                    ::PostMessageW(frame, WM_CLOSE, 0, 0);
                }
            } else if (!display) {
                std::fprintf(stderr, "kelvane: no display (headless); nothing to show\n");
                ::PostMessageW(frame, WM_CLOSE, 0, 0);
            }
            int result = app.Run();
            if (code != 2)
                code = result;
        } else {
            decline.reset();
            declineBoxes.reset();
            app.ExitInstance();
            // A second start whose file the running copy took has done what it was asked.
            if (app.ForwardedToRunningCopy())
                code = 0;
        }
        // Without a display the questions were asked of nobody: say what they were.
        if (declineBoxes && !display)
            for (const platform::ShownMessage& m : declineBoxes->Shown())
                std::fprintf(stderr, "message box (declined): %s\n",
                             ToUtf8(m.text.c_str()).c_str());
        CWnd::DeleteTempMap();
    }
    terminate.reset();
    platform::display::Stop();
    FnCloseInstanceMutex();
    return code;
}

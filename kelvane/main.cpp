// The program: the main frame with the design named on the command line (or a new one) when
// there is a display. With KELVANE_SCREENSHOT set to a file, it saves what the screen shows
// there and closes (a dialog the start shows is the picture, and is declined); without a
// display it builds the windows, says so and closes.
#include "kelvane/app/instance_forwarding.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "pivora/framework/do_events.h"
#include "platform/display/display.h"
#include "platform/system/termination_request.h"
#include "platform/windowing/dialog_template.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

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
        // A dialog the start-up shows (the cutter installation on a first start) is what the
        // screen shows then: it is the picture, and it is declined so that the start goes on.
        bool shotTaken = false;
        std::unique_ptr<platform::ScopedDialogResponder> decline;
        if (shot && *shot && display)
            decline = std::make_unique<platform::ScopedDialogResponder>(
                [&shotTaken, shot](HWND dialog, UINT) {
                    CWnd* main = AfxGetMainWnd();
                    if (!shotTaken && main)
                        shotTaken = platform::display::SaveScreenshot(main->GetSafeHwnd(), shot);
                    EndDialog(dialog, IDCANCEL);
                });
        const BOOL started = app.InitInstance();
        decline.reset();
        if (started) {
            HWND frame = app.MainFrame()->GetSafeHwnd();
            if (shot && *shot && shotTaken) {
                ::PostMessageW(frame, WM_CLOSE, 0, 0);
            } else if (shot && *shot) {
                // What the screen shows once the posted start-up work has run.
                DoEvents();
                for (LONG idle = 0; app.OnIdle(idle); ++idle) {
                }
                if (!display || !platform::display::SaveScreenshot(frame, shot)) {
                    std::fprintf(stderr, "kelvane: could not save a screenshot to %s\n", shot);
                    code = 2;
                }
                ::PostMessageW(frame, WM_CLOSE, 0, 0);
            } else if (!display) {
                std::fprintf(stderr, "kelvane: no display (headless); nothing to show\n");
                ::PostMessageW(frame, WM_CLOSE, 0, 0);
            }
            int result = app.Run();
            if (code != 2)
                code = result;
        } else {
            app.ExitInstance();
        }
        CWnd::DeleteTempMap();
    }
    terminate.reset();
    platform::display::Stop();
    FnCloseInstanceMutex();
    return code;
}

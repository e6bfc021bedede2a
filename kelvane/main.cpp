// The program's first start: shows the main frame with a design window when there is a
// display. With KELVANE_SCREENSHOT set to a file, it saves what the screen shows there and
// closes; without a display it builds the windows, says so and closes.
#include "kelvane/app/kelvane_app.h"
#include "kelvane/app/main_frame.h"
#include "platform/display/display.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    bool display = platform::display::Start(argc, argv);
    int code = 1;
    {
        CKelvaneApp app;
        if (app.InitInstance()) {
            HWND frame = app.MainFrame()->GetSafeHwnd();
            const char* shot = std::getenv("KELVANE_SCREENSHOT");
            if (shot && *shot) {
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
    platform::display::Stop();
    return code;
}

// On the offscreen display: the language page over the main frame, French chosen from two
// bundles, saved as language_page.png in the build tree for a person to look at.
#include "kelvane/app/language.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "pivora/framework/app_params.h"
#include "platform/display/display.h"
#include "platform/framework/property_sheet.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/language_bundle.h"
#include "platform/windowing/list_controls.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(LanguagePageScreen, FrenchChosenFromTwoBundles) {
    static int argc = 1;
    static char name[] = "kelvane";
    static char* argv[] = {name, nullptr};
    ASSERT_TRUE(platform::display::Start(argc, argv));
    const std::string path = TEST_BINARY_DIR "/language_page.png";
    std::filesystem::remove(path);
    {
        SettingsSandbox box;
        const std::filesystem::path folder(box.Path("languages"));
        std::filesystem::create_directories(folder);
        for (const char* bundle : {"LangFrench.so", "LangGerman.so"})
            std::filesystem::copy_file(std::string(TEST_BUNDLE_DIR) + "/" + bundle,
                                       folder / bundle);
        CVanterFerolinApp app;
        {
            // No cutter is installed: the installation the start offers is declined.
            platform::ScopedDialogResponder decline(
                [](HWND dialog, UINT) { EndDialog(dialog, IDCANCEL); });
            ASSERT_TRUE(app.InitInstance());
        }
        QvSetAppParam(L"Language Path", CString(folder.string()));
        HWND frame = app.MainFrame()->GetSafeHwnd();
        int entries = 0;
        bool saved = false;
        {
            platform::ScopedDialogResponder responder([&](HWND dlg, UINT) {
                HWND page = GetWindow(dlg, GW_CHILD);
                HWND combo = nullptr;
                for (HWND w = page; w && !combo; w = GetWindow(w, GW_HWNDNEXT))
                    combo = GetDlgItem(w, CLanguage::IDC_LANGUAGE);
                ASSERT_NE(combo, nullptr);
                entries = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
                SendMessageW(combo, CB_SETCURSEL, 1, 0);
                platform::display::Flush();
                saved = platform::display::SaveScreenshot(dlg, path);
                EndDialog(dlg, IDCANCEL);
            });
            CLanguage page;
            CPropertySheet sheet(L"Language", app.MainFrame());
            sheet.AddPage(&page);
            sheet.DoModal();
        }
        EXPECT_EQ(entries, 3);
        EXPECT_TRUE(saved);
        platform::UnloadLanguageBundle();
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
        app.Run();
        CWnd::DeleteTempMap();
    }
    platform::display::Stop();
    EXPECT_TRUE(std::filesystem::exists(path));
}

} // namespace

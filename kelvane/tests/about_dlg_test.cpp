// The About box names the program and its version, from the menu's command.
#include "kelvane/app/about_dlg.h"

#include "kelvane/app/app_resources.h"
#include "kelvane/tests/app_fixture.h"
#include "pivora/framework/version.h"
#include "platform/windowing/dialog_template.h"

namespace {

using AboutBox = AppFixture;

TEST_F(AboutBox, ShowsTheProgramNameAndItsVersion) {
    ASSERT_TRUE(Start({"x", "y"}));
    WORD major = 0, minor = 0, build = 0, revision = 0;
    ASSERT_TRUE(CVersion::GetAppVersion(nullptr, &major, &minor, &build, &revision));
    CString expected;
    expected.Format(L"Vanter Ferolin V%d.%d", int(major), int(minor));
    EXPECT_EQ(CAboutDlg::VersionText(L"Vanter Ferolin"), expected);
    CString shown;
    UINT seen = 0;
    platform::ScopedDialogResponder read([&](HWND dialog, UINT id) {
        seen = id;
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, CAboutDlg::IDC_VERSION, text, 64);
        shown = text;
        EndDialog(dialog, IDOK);
    });
    ::SendMessageW(app->MainFrame()->m_hWnd, WM_COMMAND, kelvane::ID_ABOUT, 0);
    EXPECT_EQ(seen, CAboutDlg::IDD);
    EXPECT_EQ(shown, expected);
}

} // namespace

#include "kelvane/app/about_dlg.h"

#include "pivora/framework/version.h"
#include "platform/framework/win_app.h"
#include "platform/windowing/dialog_template.h"

IMPLEMENT_DYNAMIC(CAboutDlg, CTavrinDialog)

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
// Shown when the program's version record cannot be read.
const wchar_t* const kFallbackVersion = L"11.8";

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(DialogTemplate{
        CAboutDlg::IDD,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        180,
        60,
        L"About",
        L"MS Sans Serif",
        8,
        {{CAboutDlg::IDC_VERSION, WC_STATIC, L"", kChild, 10, 12, 160, 10},
         {IDOK, WC_BUTTON, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 65, 38, 50, 14}}});
    return true;
}();

} // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CTavrinDialog(IDD, parent) {
    (void)kRegistered;
}

CString CAboutDlg::VersionText(const CString& appName) {
    WORD major = 0, minor = 0, build = 0, revision = 0;
    CString text;
    if (CVersion::GetAppVersion(nullptr, &major, &minor, &build, &revision))
        text.Format(L"%s V%d.%d", appName.GetString(), int(major), int(minor));
    else
        text.Format(L"%s V%s", appName.GetString(), kFallbackVersion);
    return text;
}

BOOL CAboutDlg::OnInitDialog() {
    CTavrinDialog::OnInitDialog();
    CWinApp* app = AfxGetApp();
    const CString name = app && app->m_pszAppName ? CString(app->m_pszAppName) : CString();
    SetDlgItemText(IDC_VERSION, VersionText(name));
    return TRUE;
}

// The program's exit, in its order: the cutter driver and the PDF manager go with the
// application's exit; the program named to run after ours and the profile go with the object.
#include "felgrin/felgrin_utils.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "maltrec/import/pdf_manager.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/app_profile.h"
#include "platform/system/app_registry.h"
#include "platform/system/paths.h"
#include "platform/system/shell_open.h"
#include "platform/windowing/language_bundle.h"
#include "platform/windowing/message_box.h"

int CVanterFerolinApp::ExitInstance() {
    FelgrinUtils::QuitCutterDriver();
    CPDFManager::StopPDFManager();
    return CJoxWinAppEx::ExitInstance();
}

CVanterFerolinApp::~CVanterFerolinApp() {
    if (m_bFontLoaded)
        fnSaveApplicationFont();
    fnRunExitApplication();
    FnDestroyApplicationProfile();
    // A language bundle still in use goes with the program.
    platform::UnloadLanguageBundle();
}

bool CVanterFerolinApp::fnRunExitApplication() {
    CString command;
    if (!FnGetAppParamFromLocalMachine(L"Exit Application", command) || command.IsEmpty())
        return true;
    if (ShellExecuteOpen(command) > 32)
        return true;
    CString text;
    AfxLoadString(kelvane::IDS_EXIT_LAUNCH_FAILED, text);
    AfxMessageBox(text + command);
    return false;
}

CString CVanterFerolinApp::HelpFilePath() const {
    CString path;
    QvHomePath(L"HELP\\help_en.pdf", path);
    // The path the system knows it by: the opener and the operator's message both see it.
    return platform::NativePath(path);
}

#include "kelvane/app/vanter_ferolin_app.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "gastelo/browser.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/child_frame.h"
#include "kelvane/app/instance_forwarding.h"
#include "kelvane/app/language.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/openable_file.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/script_file.h"
#include "kelvane/app/tile_sheet_reader.h"
#include "maltrec/import/pdf_manager.h"
#include "outside/quintar/quintar.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/app_profile.h"
#include "pivora/framework/profile_updates.h"
#include "platform/framework/context_menu_manager.h"
#include "platform/framework/wait_cursor.h"
#include "platform/system/app_registry.h"
#include "platform/system/instance_lock.h"
#include "platform/windowing/icon.h"
#include "qvutils/qv_utils.h"
#include "qvutils/tavrin_dialog.h"
#include "varnholm/sorvane_view.h"

#include <filesystem>
#include <system_error>

IMPLEMENT_DYNAMIC(CVanterFerolinApp, CJoxWinAppEx)

namespace {

// The browser's interface bit that leaves the design history out of saving.
constexpr LONG kHideDesignHistoryFlag = 0x40000;

// The view of every design window: the design view with the cutter's output commands.
CRuntimeClass* DesignViewClass() {
    return RUNTIME_CLASS(CSorvaneView);
}

} // namespace

CVanterFerolinApp::CVanterFerolinApp() = default;

void CVanterFerolinApp::SetCommandLine(int argc, char** argv) {
    m_args.clear();
    m_strCommandLine.Empty();
    for (int i = 0; i < argc && argv[i]; ++i) {
        const CString arg = CString::FromUtf8(argv[i]);
        if (i > 0) {
            m_args.push_back(arg);
            m_strCommandLine += L" ";
        }
        m_strCommandLine += arg;
    }
}

// Start-up, in its order. What the original platform needed and this one does not: the common
// controls' registration, OLE (nothing here uses it, so its failure cannot arise), control
// containment and the shell and keyboard managers (no ActiveX hosting; the file dialogs and
// accelerators are the platform's own), the sockets' start-up call, and the templates' shell
// open by DDE (the shell's open comes as a second start, which hands it to OnDDECommand). The
// single-instance lock is taken before main.
BOOL CVanterFerolinApp::InitInstance() {
    kelvane::RegisterAppResources();
    InitContextMenuManager();
    fnSetToolTipLook();
    if (!FnCreateApplicationProfile()) {
        AfxMessageBox(L"ERROR : APPLICATION PROFILE FAILURE");
        return FALSE;
    }
    // The parameters live in the per-user store under Software\Oquen\VanterFerolin.
    if (!m_pRegistry) {
        m_pRegistry = std::make_unique<CAppRegistry>();
        m_pRegistry->SetRegistryKey(L"Oquen");
        FnSetRegistryStem(L"VanterFerolin");
        m_pRegistry->SetProfileName(FnGetRegistryStem());
    }
    // Another copy runs: it gets the one argument, this one ends.
    if (FnInstanceMutexError() == platform::kErrorAlreadyExists) {
        m_bForwarded = FnForwardToRunningInstance(m_args);
        return FALSE;
    }
    fnSetProductPresets();
    FnUpdateProfiles();
    // The texts of the language chosen last (the program's own when its bundle does not load).
    CLanguage::fnLoadLanguageDLL(CLanguage::StoredLanguage());
    if (!fnCheckScreen())
        return FALSE;
    if (!fnRegisterDocTemplates())
        return FALSE;
    fnLoadApplicationFont();
    FNEnableLocking(QvGetAppParam(L"EnableFileLocking", 1));
    CTavrinDialog::DialogIconID(int(kelvane::IDR_MAINFRAME));
    if (!fnCreateMainFrame())
        return FALSE;
    fnLoadCutterDevices(1);
    if (!fnOpenCommandLineFile() && m_args.empty())
        m_pDesign->OpenDocumentFile(nullptr, TRUE);
    if (m_pMainWnd)
        DragAcceptFiles(m_pMainWnd->GetSafeHwnd(), TRUE);
    // The recent files load after the command line's file (which therefore is not listed).
    LoadStdProfileSettings(kRecentFiles);
    FnRunScriptFile(m_strCommandLine, m_pMainWnd);
    fnRegisterRightClickMenu();
    MainFrame()->fnLoadAutoSaveFiles();
    if (!QvGetAppParam(L"Show Design History on Save", 0))
        gfnSetBrowserInterfaceFlags(kHideDesignHistoryFlag);
    // Plain EPS imports need it; whether it started is asked at each import.
    CPDFManager::StartPDFManager();
    return TRUE;
}

void CVanterFerolinApp::fnRegisterRightClickMenu() {
    CString name;
    if (CContextMenuManager* menus = GetContextMenuManager();
        menus && AfxLoadString(CDesignView::IDR_RIGHT_CLICK_MENU, name) && !name.IsEmpty())
        menus->AddMenu(name, CDesignView::IDR_RIGHT_CLICK_MENU);
}

BOOL CVanterFerolinApp::fnRegisterDocTemplates() {
    SetImportFlags(0);
    SetContextCount(0);
    SetContextCount(kContextCount);
    m_pDesign = new CQvMultiDocTemplate(kelvane::IDR_DESIGN, RUNTIME_CLASS(CDesignPage),
                                        RUNTIME_CLASS(CChildFrame), DesignViewClass(),
                                        CDesignView::kContext);
    AddDocTemplate(CDesignView::kContext, m_pDesign, kDesignIndustry);
    QvAddContextMask(CDesignView::kContext, kDesignContextMask);
    m_strHelpFilePath = HelpFilePath();
    // The tile view shows what a sheet document holds, read as the program stores it.
    CQuintar::SetSheetReader(FnTileSheetReader());
    m_pTile = new CQvMultiDocTemplate(kelvane::IDR_TILE, RUNTIME_CLASS(CDesignPage),
                                      RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CQuintar),
                                      CQuintar::kContext);
    AddDocTemplate(CQuintar::kContext, m_pTile, kTileIndustry);
    return TRUE;
}

BOOL CVanterFerolinApp::fnCreateMainFrame() {
    // A main frame already there gives up its toolbars now and its window once the new one
    // stands.
    CMainFrame* old = MainFrame();
    if (old)
        old->DeleteContents(0);
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(kelvane::IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    AfxSetMainWnd(frame);
    // The named right-click menus of the last run come back with the frame, as the frame's
    // other workspace state does; a damaged or missing record is passed over.
    if (CContextMenuManager* menus = GetContextMenuManager())
        menus->LoadState(FnGetRegistryString(L"ContextMenu\\"));
    frame->fnRestoreWindowPlacement(QvGetSilentModeOn() ? SW_SHOWMINIMIZED : SW_SHOWMAXIMIZED);
    frame->UpdateWindow();
    // The old frame's channel goes with it (its socket too), so the new one listens after.
    if (old && ::IsWindow(old->m_hWnd))
        old->DestroyWindow();
    if (FnInstanceMutexHeld())
        frame->fnStartInstanceChannel();
    return TRUE;
}

CDesignPage* CVanterFerolinApp::fnOpenDesignFile(const wchar_t* path, int autoSend) {
    if (!m_pDesign || !path || !FnIsOpenableFile(path))
        return nullptr;
    m_pDesign->AutoLoading(true);
    CDocument* doc = m_pDesign->OpenDocumentFile(path, TRUE);
    m_pDesign->AutoLoading(false);
    auto* page = dynamic_cast<CDesignPage*>(doc);
    if (autoSend && page) {
        // Each cutting view of the design sends it once the start-up work is done.
        for (POSITION pos = page->GetFirstViewPosition(); pos;)
            if (auto* view = dynamic_cast<CSorvaneView*>(page->GetNextView(pos)))
                view->PostMessage(WM_COMMAND, CSorvaneView::ID_AUTO_SEND_TO_CUTTER, 0);
    }
    return page;
}

CDesignPage* CVanterFerolinApp::fnOpenCommandLineFile() {
    if (m_args.size() != 1)
        return nullptr;
    CString path = m_args.front();
    std::error_code ec;
    const std::filesystem::path given(path.ToUtf8());
    if (!std::filesystem::exists(given, ec) && given.is_relative())
        path = CString((std::filesystem::current_path(ec) / given).string());
    return fnOpenDesignFile(path, QvGetSilentModeOn());
}

CDocument* CVanterFerolinApp::OpenDocumentFile(LPCWSTR path) {
    if (!path)
        return CJoxWinAppEx::OpenDocumentFile(path);
    if (!QvGetAppParam(L"AllowMultipleFileInstance", 0)) {
        const CString wanted(path);
        for (int context = 1; context < 60 && context < ContextCount(); ++context) {
            CJoxDocTemplate* tmpl = DocTemplateForContext(context);
            if (!tmpl || !tmpl->HasContext(context))
                continue;
            POSITION pos = tmpl->GetFirstDocPosition();
            while (pos) {
                CDocument* doc = tmpl->GetNextDoc(pos);
                if (!kelvane::SameFile(doc->GetPathName(), wanted))
                    continue;
                POSITION vp = doc->GetFirstViewPosition();
                if (CView* view = vp ? doc->GetNextView(vp) : nullptr)
                    if (CFrameWnd* frame = view->GetParentFrame())
                        frame->ActivateFrame();
                return doc;
            }
        }
    }
    CWaitCursor wait;
    return fnOpenDesignFile(path, 0);
}

void CVanterFerolinApp::OnFileNew() {
    BrowserOnFileNew(QvGetAppParam(L"New Design Preferred Context", -1), nullptr, 1);
}

BOOL CVanterFerolinApp::OnDDECommand(LPWSTR command) {
    CDocument* doc = command && *command ? OpenDocumentFile(command) : nullptr;
    if (!doc)
        return CJoxWinAppEx::OnDDECommand(command);
    if (CWnd* main = MainFrame()) {
        if (!QvGetSilentModeOn() && ::IsIconic(main->m_hWnd))
            main->ShowWindow(SW_RESTORE);
        // To the top, where it stands and as large as it is.
        main->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetActiveWindow(main->m_hWnd);
    }
    return TRUE;
}

void CVanterFerolinApp::WinHelp(DWORD_PTR data, UINT cmd) {
    if (QvGetAppParam(L"Display Help Commands", 0)) {
        CString text;
        text.Format(L"Winhelp index 0x%X ( %ld ), nCmd %d", unsigned(data), long(data), int(cmd));
        AfxMessageBox(text);
    }
    CJoxWinAppEx::WinHelp(data, cmd);
}

CMainFrame* CVanterFerolinApp::MainFrame() const {
    // The frame deletes itself with its window and forgets being the main window then; only
    // the pointer is compared, never followed, once that happened.
    if (!m_pMainWnd || m_pMainWnd != AfxGetMainWnd())
        return nullptr;
    return static_cast<CMainFrame*>(m_pMainWnd);
}

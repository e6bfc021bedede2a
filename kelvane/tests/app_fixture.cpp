#include "kelvane/tests/app_fixture.h"

#include "felgrin/base_cutter.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "pivora/framework/app_params.h"
#include "platform/framework/document.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message.h"

void AppFixture::SetUp() {
    QvResetAppParamCache();
    platform::ResetMessageQueue();
    scopedClock = std::make_unique<platform::ScopedClock>(clock);
    m_recover = std::filesystem::path(box.Path("recover"));
    std::filesystem::create_directories(m_recover);
    QvSetAppParam(L"AutoSaveDir", CString(m_recover.string()));
    app = std::make_unique<CVanterFerolinApp>();
}

void AppFixture::TearDown() {
    Stop();
    app.reset();
    platform::ResetMessageQueue();
    scopedClock.reset();
    QvResetAppParamCache();
}

void AppFixture::Stop() {
    if (!app)
        return;
    if (CMainFrame* frame = app->MainFrame(); frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();
    if (!m_ended)
        app->ExitInstance();
    m_ended = false;
    AfxSetMainWnd(nullptr);
    platform::ResetMessageQueue();
    CWnd::DeleteTempMap();
}

bool AppFixture::Start(std::vector<std::string> args) {
    args.insert(args.begin(), "kelvane");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    app->SetCommandLine(int(argv.size()), argv.data());
    return app->InitInstance();
}

int AppFixture::DesignCount() const {
    int n = 0;
    for (POSITION pos = app->DesignTemplate()->GetFirstDocPosition(); pos; ++n)
        app->DesignTemplate()->GetNextDoc(pos);
    return n;
}

void AppFixture::Pump() {
    MSG msg;
    for (int i = 0; i < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void AppFixture::Advance(ULONGLONG ms) {
    clock.Advance(ms);
    // Only the timers that fell due: a paint would pull in the font libraries for nothing.
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
        ::DispatchMessageW(&msg);
}

void AppFixture::SaveDesign(const std::filesystem::path& path) {
    CDocument* doc = app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(doc->OnSaveDocument(CString(path.string())));
    doc->OnCloseDocument();
}

int AppFixture::CloseProgram() {
    CMainFrame* frame = app->MainFrame();
    if (!frame || !::IsWindow(frame->m_hWnd))
        return -1;
    HWND window = frame->m_hWnd;
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    if (::IsWindow(window))
        return -1;
    // The quit the closed window posted ends the loop at once.
    const int code = app->Run();
    m_ended = true;
    return code;
}

void AppFixture::Restart(std::vector<std::string> args) {
    Stop();
    // One application object at a time: the old one forgets the global on its way out.
    app.reset();
    app = std::make_unique<CVanterFerolinApp>();
    ASSERT_TRUE(Start(std::move(args)));
}

void AppFixture::StartWithFilePortCutter() {
    {
        // No cutter yet: the installation the start offers is declined.
        platform::ScopedDialogResponder decline(
            [](HWND dialog, UINT) { EndDialog(dialog, IDCANCEL); });
        ASSERT_TRUE(Start({"x", "y"}));
    }
    CBaseCutter* cutter = CCutterUtils::CreateCutter(L"CDMPLCutter");
    ASSERT_NE(cutter, nullptr);
    cutter->fnSetName(L"Plotter");
    cutter->SetPortName(L"FILE");
    cutter->fnSaveSettings();
    CCutterUtils::AddCutterToArray(cutter);
    FelgrinUtils::QuitCutterDriver();
}

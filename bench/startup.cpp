// The program's start to its first window without a display (a first start each time: the
// settings hives are removed between runs, the cutter installation it offers is declined), one
// autosave of five open designs of a few thousand star paths each, and the real program started
// as a process on the sample design until its main window shows (offscreen, a cutter installed).
#include "bench_support.h"

#include "design/design_page.h"
#include "felgrin/base_cutter.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/felgrin_utils.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "pivora/framework/app_params.h"
#include "pivora/geometry/sb.h"
#include "platform/system/settings_store.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message.h"
#include "platform/windowing/message_box.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

const std::string& Folder() {
    static const std::string dir = [] {
        const std::string& d = bench::PrivateFolder("startup");
        ::setenv("XDG_CONFIG_HOME", d.c_str(), 1);
        return d;
    }();
    return dir;
}

// The start offers to install a cutter while none is installed: declined.
platform::ScopedDialogResponder Decline() {
    return platform::ScopedDialogResponder([](HWND dialog, UINT) { EndDialog(dialog, IDCANCEL); });
}

std::unique_ptr<CVanterFerolinApp> Start() {
    auto app = std::make_unique<CVanterFerolinApp>();
    char name[] = "kelvane";
    char* argv[] = {name, nullptr};
    app->SetCommandLine(1, argv);
    if (!app->InitInstance())
        std::abort();
    return app;
}

// As the program's exit: the frame goes, then the application ends.
void Stop(std::unique_ptr<CVanterFerolinApp>& app) {
    if (CMainFrame* frame = app->MainFrame(); frame && ::IsWindow(frame->m_hWnd))
        frame->DestroyWindow();
    app->ExitInstance();
    AfxSetMainWnd(nullptr);
    platform::ResetMessageQueue();
    CWnd::DeleteTempMap();
    app.reset();
}

void Forget() {
    std::filesystem::remove(Folder() + "/user.hive");
    std::filesystem::remove(Folder() + "/machine.hive");
    QvResetAppParamCache();
    platform::ResetMessageQueue();
}

void BM_FirstStartToFirstWindow(benchmark::State& state) {
    Folder();
    platform::MessageBoxResponder boxes;
    auto decline = Decline();
    for (auto _ : state) {
        state.PauseTiming();
        Forget();
        state.ResumeTiming();
        auto app = Start();
        benchmark::DoNotOptimize(app->MainFrame());
        Stop(app);
    }
}
BENCHMARK(BM_FirstStartToFirstWindow)->Unit(benchmark::kMillisecond);

// A closed star path of 10 corners on the design page.
void AddStar(CDesignPage* page, LONG cx, LONG cy) {
    constexpr DWORD kCorner = 0x200;
    auto* item = DynamicDowncast<CVectorItem>(CRuntimeClass::CreateObject("CSplineItem"));
    if (!item)
        std::abort();
    std::vector<CSb> sb;
    for (const CLpoint& pt : bench::Star(cx, cy, 400, 10, 0.1))
        sb.emplace_back(kCorner, pt);
    item->InsertElement(-1, sb.data(), int(sb.size()));
    auto* a = new CVectorArticle;
    a->Item(item);
    page->RootArticle()->AddChild(a);
    a->InvExtents(1);
}

void BM_AutoSaveFiveDesigns(benchmark::State& state) {
    Forget();
    platform::MessageBoxResponder boxes;
    auto decline = Decline();
    auto app = Start();
    const int paths = int(state.range(0));
    for (int d = 0; d < 5; ++d) {
        auto* page =
            dynamic_cast<CDesignPage*>(app->DesignTemplate()->OpenDocumentFile(nullptr, TRUE));
        if (!page)
            std::abort();
        for (int i = 0; i < paths; ++i)
            AddStar(page, 1000 + (i % 100) * 1000, 1000 + (i / 100) * 1000);
        page->SetModifiedFlag(TRUE);
    }
    QvSetAppParam(L"AutoSaveMethod", 2);
    for (auto _ : state)
        app->MainFrame()->fnAutoSave();
    state.SetItemsProcessed(state.iterations() * 5 * paths);
    app->CloseAllDocuments(TRUE);
    Stop(app);
}
BENCHMARK(BM_AutoSaveFiveDesigns)->Arg(2000)->Arg(5000)->Unit(benchmark::kMillisecond);

// Installs a DM/PL cutter on the file port through the program's own code, so that the program
// started below offers no installation.
void InstallFilePortCutter() {
    Forget();
    platform::MessageBoxResponder boxes;
    auto decline = Decline();
    auto app = Start();
    CBaseCutter* cutter = CCutterUtils::CreateCutter(L"CDMPLCutter");
    if (!cutter)
        std::abort();
    cutter->fnSetName(L"Plotter");
    cutter->SetPortName(L"FILE");
    cutter->fnSaveSettings();
    CCutterUtils::AddCutterToArray(cutter);
    FelgrinUtils::QuitCutterDriver();
    Stop(app);
}

// Whether the child ended within the bound (reaped), else false with it still running.
bool Reaped(pid_t pid, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    do {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

std::string Tail(const std::string& path) {
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.size() > 300 ? text.substr(text.size() - 300) : text;
}

// Spawn to the picture the program takes once its start-up has run with the design shown.
void BM_ProgramStartToSampleShown(benchmark::State& state) {
    namespace fs = std::filesystem;
    // A folder of its own: the recovery copies the autosave case left would be offered at start.
    const std::string dir = Folder() + "/program";
    const std::string runtime = dir + "/runtime";
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    for (const char* name : {"XDG_CONFIG_HOME", "HOME", "KELVANE_HOME", "KELVANE_PROGRAM_DIR"})
        ::setenv(name, dir.c_str(), 1);
    ::setenv("KELVANE_USER_HIVE", (dir + "/user.hive").c_str(), 1);
    ::setenv("KELVANE_MACHINE_HIVE", (dir + "/machine.hive").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    platform::ResetSettingsStore();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string shot = dir + "/shot.png";
    const std::string log = dir + "/program.log";
    ::setenv("KELVANE_SCREENSHOT", shot.c_str(), 1);
    InstallFilePortCutter();

    std::string program = KELVANE_PROGRAM;
    std::string sample = KELVANE_SAMPLE;
    char* argv[] = {program.data(), sample.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    for (auto _ : state) {
        fs::remove(shot);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = -1;
        if (::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("the program could not be started");
            break;
        }
        std::string failure;
        const auto bound = start + std::chrono::seconds(30);
        bool ended = false;
        while (!fs::exists(shot)) {
            if (std::chrono::steady_clock::now() > bound) {
                failure = "no picture within 30 s: ";
                break;
            }
            if (::waitpid(pid, nullptr, WNOHANG) == pid) {
                ended = true;
                failure = "the program ended before its picture: ";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        const auto shown = std::chrono::steady_clock::now();
        if (!ended) {
            ::kill(pid, SIGTERM);
            if (!Reaped(pid, std::chrono::seconds(30))) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
                if (failure.empty())
                    failure = "the program did not end on SIGTERM: ";
            }
        }
        fs::remove(shot);
        if (!failure.empty()) {
            state.SkipWithError((failure + Tail(log)).c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_ProgramStartToSampleShown)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

} // namespace

// The program's start to its first window without a display (a first start each time: the
// settings hives are removed between runs, the cutter installation it offers is declined), and
// one autosave of five open designs of a few thousand star paths each.
#include "bench_support.h"

#include "design/design_page.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "pivora/framework/app_params.h"
#include "pivora/geometry/sb.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message.h"
#include "platform/windowing/message_box.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

} // namespace

// Opening and importing through the program's road (the open dialog answered by a responder,
// a new design window, the style table tidied) against the readers alone; a 10,000-article
// design opened through the program against the page reading it; the round trip of a second
// start's request over the instance channel.
#include "bench_support.h"

#include "design/design_page.h"
#include "kelvane/app/qv_multi_doc_template.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "maltrec/import/spl_import.h"
#include "pivora/article.h"
#include "platform/core/file.h"
#include "platform/system/instance_channel.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/file_dialog.h"
#include "platform/windowing/message_box.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

// Rings of 70 points, one article each.
std::string Plot(int rings) {
    std::string out = "IN;SP1;";
    char buf[48];
    for (int l = 0; l < rings; ++l) {
        const double cx = 2000 + (l % 100) * 300, cy = 2000 + (l / 100) * 300;
        for (int i = 0; i < 70; ++i) {
            const double a = 6.283185307 * i / 69;
            out += i == 0 ? "PU;" : (i == 1 ? "PD;" : "");
            const int n = std::snprintf(buf, sizeof buf, "PA%d,%d;", int(cx + 100 * std::cos(a)),
                                        int(cy + 100 * std::sin(a)));
            out.append(buf, size_t(n));
        }
    }
    return out;
}

// The program started without a display, once for the run.
struct Program {
    platform::MessageBoxResponder boxes;
    CVanterFerolinApp app;
    Program() {
        const std::string& dir = bench::PrivateFolder("open-import");
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        char name[] = "kelvane", a[] = "a", b[] = "b";
        char* argv[] = {name, a, b, nullptr};
        app.SetCommandLine(3, argv);
        if (!app.InitInstance())
            std::abort();
    }
    static Program& Get() {
        static Program p;
        return p;
    }
    std::string File(const std::string& name, const std::string& content) {
        const std::string path = bench::PrivateFolder("open-import") + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    void CloseAll() { app.CloseAllDocuments(FALSE); }
};

void BM_ImportPlotThroughTheOpenDialog(benchmark::State& state) {
    Program& p = Program::Get();
    const std::string path = p.File("rings.plt", Plot(int(state.range(0))));
    const std::wstring name = CString(path).GetString();
    platform::ScopedDialogResponder responder([&](HWND dlg, UINT) {
        SetDlgItemTextW(dlg, platform::kFileNameEdit, name.c_str());
        EndDialog(dlg, IDOK);
    });
    for (auto _ : state) {
        p.app.fnFileOpenDialog(0);
        state.PauseTiming();
        p.CloseAll();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportPlotThroughTheOpenDialog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ImportPlotReaderAlone(benchmark::State& state) {
    Program& p = Program::Get();
    const std::string path = p.File("rings.plt", Plot(int(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<CDesignPage>();
        page->fnInitParamBlocks();
        CFile file;
        file.Open(CString(path), CFile::modeRead);
        state.ResumeTiming();
        benchmark::DoNotOptimize(FnImportSPLFile(nullptr, page.get(), &file, 0, nullptr));
        state.PauseTiming();
        file.Abort();
        page.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportPlotReaderAlone)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A 10,000-article design on disk, made once through the import road.
const std::string& TenThousandArticleDesign() {
    static const std::string path = [] {
        Program& p = Program::Get();
        const std::string plot = p.File("big.plt", Plot(10000));
        const std::string kdx = bench::PrivateFolder("open-import") + "/big.kdx";
        CDocument* doc = p.app.DesignTemplate()->OpenDocumentFile(CString(plot), TRUE);
        if (!doc || !doc->OnSaveDocument(CString(kdx)))
            std::abort();
        p.CloseAll();
        return kdx;
    }();
    return path;
}

void BM_OpenDesignThroughTheProgram(benchmark::State& state) {
    Program& p = Program::Get();
    const CString path(TenThousandArticleDesign());
    for (auto _ : state) {
        benchmark::DoNotOptimize(p.app.OpenDocumentFile(path));
        state.PauseTiming();
        p.CloseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDesignThroughTheProgram)->Unit(benchmark::kMillisecond);

void BM_OpenDesignPageAlone(benchmark::State& state) {
    Program::Get();
    const CString path(TenThousandArticleDesign());
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<CDesignPage>();
        state.ResumeTiming();
        benchmark::DoNotOptimize(page->OnOpenDocument(path));
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDesignPageAlone)->Unit(benchmark::kMillisecond);

// One request from a second start to the copy polling its channel, and the answer.
void BM_ForwardedRequestRoundTrip(benchmark::State& state) {
    bench::PrivateFolder("open-import");
    const std::string runtime = bench::PrivateFolder("open-import") + "/run";
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    constexpr const wchar_t* kName = L"bench-channel";
    platform::InstanceChannelServer server;
    if (!server.Listen(kName, [](const platform::InstanceRequest& r) { return r.message; }))
        std::abort();
    std::atomic<bool> stop{false};
    std::thread copy([&] {
        while (!stop)
            server.Poll();
    });
    for (auto _ : state) {
        uint32_t answer = 0;
        benchmark::DoNotOptimize(platform::SendInstanceRequest(kName, {35492, 0}, 10000, &answer));
    }
    stop = true;
    copy.join();
}
BENCHMARK(BM_ForwardedRequestRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

// Document browsing at the sizes a busy shop meets: classifying file names, a fresh design
// name in a folder full of designs, and save and open of large designs through the browsing
// road beside the page's own save and open.
#include "gastelo/browser.h"
#include "gastelo/file_extensions.h"

#include "pivora/item.h"
#include "pivora/jox_page.h"

#include "platform/core/archive.h"

#include "bench_designs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string& Folder() {
    return bench::PrivateFolder("browsing");
}

std::unique_ptr<CJoxPage> NewPage() {
    return bench::NewPage("browsing");
}

// Imported artwork, with the design blocks the browsing road adds.
std::unique_ptr<CJoxPage> MakeDesign(int articles) {
    auto page = bench::GroupedBoxDesign("browsing", articles);
    BrowserOnNewDocument(page.get());
    return page;
}

void BM_FileExtID(benchmark::State& state) {
    const wchar_t* const exts[] = {L"KDX", L"kdxs", L"dst", L"ai",  L"eps", L"plt",
                                   L"pdf", L"jpg",  L"TMP", L"hgl", L"gnm", L"spl"};
    std::vector<CString> names;
    std::mt19937 rng(5);
    std::uniform_int_distribution<size_t> pick(0, std::size(exts) - 1);
    for (int i = 0; i < 1000000; ++i)
        names.push_back(CString(L"C:\\Jobs\\client ") + CString(std::to_wstring(i).c_str()) + L"." +
                        exts[pick(rng)]);
    for (auto _ : state) {
        int64_t sum = 0;
        for (const CString& n : names)
            sum += BrowserGetFileExtID(n);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(names.size()));
}
BENCHMARK(BM_FileExtID)->Unit(benchmark::kMillisecond);

void BM_FreshNameInAFullFolder(benchmark::State& state) {
    const std::string folder = Folder() + "/Full";
    std::filesystem::create_directories(folder);
    for (int i = 1; i <= state.range(0); ++i)
        std::ofstream(folder + "/Design" + std::to_string(i) + ".KDX");
    const CString native = CString::FromUtf8(folder);
    for (auto _ : state) {
        BrowserResetState();
        benchmark::DoNotOptimize(BrowserGetFreshDesignName(native));
    }
}
BENCHMARK(BM_FreshNameInAFullFolder)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SavePage(benchmark::State& state) {
    auto page = MakeDesign(int(state.range(0)));
    const CString path = CString::FromUtf8(Folder() + "/Page.KDX");
    for (auto _ : state) {
        if (!page->OnSaveDocument(path))
            state.SkipWithError("save failed");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SavePage)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_SaveThroughRoad(benchmark::State& state) {
    auto page = MakeDesign(int(state.range(0)));
    const CString path = CString::FromUtf8(Folder() + "/Road.KDX");
    for (auto _ : state) {
        BrowserAddParamBlocks(page.get(), kAddAllParamBlocks);
        if (!BrowserDoSave(page.get(), path, TRUE))
            state.SkipWithError("save failed");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveThroughRoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_OpenPage(benchmark::State& state) {
    const CString path =
        CString::FromUtf8(Folder() + "/Open" + std::to_string(state.range(0)) + ".KDX");
    MakeDesign(int(state.range(0)))->OnSaveDocument(path);
    for (auto _ : state) {
        auto page = NewPage();
        if (!page->OnOpenDocument(path))
            state.SkipWithError("open failed");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenPage)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_OpenThroughRoad(benchmark::State& state) {
    const CString path =
        CString::FromUtf8(Folder() + "/Open" + std::to_string(state.range(0)) + ".KDX");
    MakeDesign(int(state.range(0)))->OnSaveDocument(path);
    for (auto _ : state) {
        auto page = NewPage();
        if (!page->OnOpenDocument(path) || !BrowserOnOpenDocument(page.get(), path))
            state.SkipWithError("open failed");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenThroughRoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

// The design document at the sizes a busy shop meets: save and open of designs with thousands
// of articles, extents of the whole tree, and finding an article by its identifier.
#include "pivora/item.h"
#include "pivora/jox_page.h"

#include "platform/core/archive.h"

#include "bench_designs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string& Folder() {
    return bench::PrivateFolder("document");
}

std::unique_ptr<CJoxPage> NewPage() {
    return bench::NewPage("document");
}

// Imported artwork with the default palette.
std::unique_ptr<CJoxPage> MakeDesign(int articles, std::vector<LONG>* ids = nullptr) {
    auto page = bench::GroupedBoxDesign("document", articles, ids);
    page->GetColourPalette(true, eColourPaletteDefault);
    return page;
}

void BM_SaveDesign(benchmark::State& state) {
    auto page = MakeDesign(int(state.range(0)));
    const CString path = CString::FromUtf8(Folder() + "/Save.KDX");
    for (auto _ : state) {
        if (!page->OnSaveDocument(path))
            state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes"] = double(std::filesystem::file_size(path.ToUtf8()));
}
BENCHMARK(BM_SaveDesign)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_OpenDesign(benchmark::State& state) {
    const CString path =
        CString::FromUtf8(Folder() + "/Open" + std::to_string(state.range(0)) + ".KDX");
    MakeDesign(int(state.range(0)))->OnSaveDocument(path);
    for (auto _ : state) {
        auto page = NewPage();
        if (!page->OnOpenDocument(path))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(page->RootArticle()->GetFirstChild());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenDesign)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_TreeExtents(benchmark::State& state) {
    auto page = MakeDesign(int(state.range(0)));
    for (auto _ : state) {
        // Every article recomputes, as after loading or a transform of everything.
        CArticleList list;
        page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
        for (POSITION pos = list.GetHeadPosition(); pos;)
            list.GetNext(pos)->InvExtents(1);
        page->RecalcExtents(0);
        benchmark::DoNotOptimize(page->Extents());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TreeExtents)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FindArticleById(benchmark::State& state) {
    std::vector<LONG> ids;
    auto page = MakeDesign(int(state.range(0)), &ids);
    std::mt19937 rng(3);
    std::uniform_int_distribution<size_t> pick(0, ids.size() - 1);
    for (auto _ : state) {
        CArticle* a = page->RootArticle()->FindID(ids[pick(rng)]);
        if (!a)
            state.SkipWithError("not found");
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_FindArticleById)->Arg(10000)->Unit(benchmark::kMicrosecond);

// An import or a paste appends its articles one by one to the end of the root's row.
void BM_AppendChildren(benchmark::State& state) {
    for (auto _ : state) {
        auto page = NewPage();
        CArticle* root = page->RootArticle();
        for (int64_t i = 0; i < state.range(0); ++i)
            root->AddChild(new CArticle);
        benchmark::DoNotOptimize(root->GetFirstChild());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AppendChildren)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oAuto);

} // namespace

// The sheet nester: copies of mixed outlines placed job after job on a 1630 mm x 50 m roll,
// beside a grid-stacking baseline; placement alone, and with deep copies of letters with
// counters into the sheet document (no cutter, so no output). Counters: time per copy, waste
// (mm^2 of medium used up to the farthest copy, less the footprints), free areas left, and the
// process's peak resident memory.
#include "hobrand/media_manager_blk.h"
#include "hobrand/sheet_nester.h"

#include "bench_support.h"

#include "pivora/jox_page.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr LONG kRollWidth = 1630000;
constexpr LONG kRollLength = 50000000;

// Outlines of 20 x 10 mm to 300 x 100 mm, the same for every run.
std::vector<CWindow> Jobs(int copies) {
    std::mt19937 rng(27);
    std::uniform_int_distribution<LONG> w(20000, 300000), h(10000, 100000);
    std::vector<CWindow> jobs;
    for (int i = 0; i < copies; ++i)
        jobs.emplace_back(0, 0, w(rng), h(rng));
    return jobs;
}

void PeakMemory(benchmark::State& state) {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
}

void PerCopy(benchmark::State& state, int copies) {
    state.counters["per_copy"] =
        benchmark::Counter(double(copies), benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}

void Nest(benchmark::State& state) {
    const int copies = int(state.range(0));
    const int mode = int(state.range(1));
    const int autoRotate = int(state.range(2));
    const std::vector<CWindow> jobs = Jobs(copies);
    double waste = 0;
    size_t areas = 0;
    for (auto _ : state) {
        CSheetNester sheet;
        const CWindow roll(0, 0, kRollWidth, kRollLength);
        sheet.fnSetSheetMode(mode);
        sheet.fnSetSheetExtents(&roll);
        int64_t footprints = 0;
        LONG farthest = 0;
        for (const CWindow& job : jobs) {
            CTileRepos rec;
            rec.fnSetWindow(job);
            const CTileRepos saved = rec;
            if (sheet.fn_AutoTile(rec, saved, 0, 0, autoRotate, 0) > 0) {
                const CWindow f = sheet.fnGetTransArea(rec, CSheetNester::kFootPlaced);
                footprints += (int64_t(f.x2) - f.x1) * (int64_t(f.y2) - f.y1);
                farthest = std::max(farthest, f.y2);
            }
        }
        waste = (double(kRollWidth) * farthest - double(footprints)) / 1e6;
        areas = sheet.fnGetFreeAreas().size();
        benchmark::DoNotOptimize(waste);
    }
    state.counters["waste_mm2"] = waste;
    state.counters["free_areas"] = double(areas);
    PerCopy(state, copies);
    PeakMemory(state);
}

// A letter with a counter filling the window: an outer outline and a hole, one article each.
CArticle* Letter(const CWindow& w) {
    auto* letter = new CArticle;
    const LONG cx = (w.x1 + w.x2) / 2, cy = (w.y1 + w.y2) / 2;
    const LONG rx = (w.x2 - w.x1) / 2, ry = (w.y2 - w.y1) / 2;
    for (const double part : {1.0, 0.45}) {
        auto* a = new CVectorArticle;
        auto* s = new CSplineItem;
        for (const CLpoint& p : bench::Star(0, 0, 1000, 12, 0.0))
            s->Vect(CSb(CSplineItem::kBreak, CLpoint(cx + LONG(p.x * part * rx / 1000),
                                                     cy + LONG(p.y * part * ry / 1000))));
        s->MakeCurves();
        a->Item(s);
        letter->AddChild(a);
    }
    letter->InvExtents(1);
    return letter;
}

// Each job one copy of its own letter, deep-copied under the sheet document's root as the
// cutting loop does.
void NestDeepCopies(benchmark::State& state) {
    bench::PrivateFolder("nester");
    const int copies = int(state.range(0));
    const int mode = int(state.range(1));
    const int autoRotate = int(state.range(2));
    std::vector<CWindow> jobs = Jobs(copies);
    std::vector<std::unique_ptr<CArticle>> letters;
    for (const CWindow& job : jobs)
        letters.emplace_back(Letter(job));
    size_t children = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
        auto* block = new CMediaManagerBlk(CString(L"ManagerName"));
        page->AddParam(block);
        CSheetNester sheet;
        const CWindow roll(0, 0, kRollWidth, kRollLength);
        sheet.fnSetMediaMan(block);
        sheet.fnSetRootID(page->RootArticle()->GetID());
        sheet.fnSetSheetMode(mode);
        sheet.fnSetSheetExtents(&roll);
        state.ResumeTiming();
        for (size_t i = 0; i < jobs.size(); ++i) {
            int one = 1;
            sheet.fnTileExtents(&jobs[i], 0, letters[i].get(), &one, autoRotate);
        }
        state.PauseTiming();
        children = 0;
        for (CTree* c = page->RootArticle()->GetFirstChild(); c; c = c->GetRsibling())
            ++children;
        page.reset();
        state.ResumeTiming();
    }
    state.counters["copies_made"] = double(children);
    PerCopy(state, copies);
    PeakMemory(state);
}

// Rows of copies left to right, each row as high as its tallest copy.
void GridBaseline(benchmark::State& state) {
    const std::vector<CWindow> jobs = Jobs(int(state.range(0)));
    double waste = 0;
    for (auto _ : state) {
        int64_t footprints = 0, x = 0, y = 0, row = 0;
        for (const CWindow& job : jobs) {
            const int64_t w = int64_t(job.x2) - job.x1 + 4000, h = int64_t(job.y2) - job.y1 + 6000;
            if (x + w > kRollWidth)
                x = 0, y += row, row = 0;
            x += w;
            row = std::max(row, h);
            footprints += w * h;
        }
        waste = (double(kRollWidth) * double(y + row) - double(footprints)) / 1e6;
        benchmark::DoNotOptimize(waste);
    }
    state.counters["waste_mm2"] = waste;
}

} // namespace

BENCHMARK(Nest)
    ->ArgsProduct({{500, 5000},
                   {CSheetNester::kModeBottomLeft, CSheetNester::kModeBottomRight},
                   {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(NestDeepCopies)
    ->ArgsProduct({{500, 5000},
                   {CSheetNester::kModeBottomLeft, CSheetNester::kModeBottomRight},
                   {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(GridBaseline)->Arg(500)->Arg(5000)->Unit(benchmark::kMicrosecond);

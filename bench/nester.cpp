// The sheet nester: copies of mixed outlines placed job after job on a 1630 mm x 50 m roll,
// beside a grid-stacking baseline. The nester still rescans its free list after every merge: at
// 5,000 copies a run takes minutes. Counters: waste (mm^2 of medium used up to the farthest
// copy, less the footprints) for the nester and the baseline.
#include "hobrand/sheet_nester.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
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

void Nest(benchmark::State& state) {
    const int copies = int(state.range(0));
    const int mode = int(state.range(1));
    const int autoRotate = int(state.range(2));
    const std::vector<CWindow> jobs = Jobs(copies);
    double waste = 0;
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
        benchmark::DoNotOptimize(waste);
    }
    state.counters["waste_mm2"] = waste;
    state.counters["per_copy"] =
        benchmark::Counter(double(copies), benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
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
BENCHMARK(GridBaseline)->Arg(500)->Arg(5000)->Unit(benchmark::kMicrosecond);

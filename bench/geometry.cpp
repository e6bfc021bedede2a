// Geometry kernel throughput on the sizes a busy shop meets: a million segment pairs, a million
// points of a large design.
#include "pivora/geometry/mat2d.h"
#include "pivora/geometry/plane_geometry.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kCount = 1000000;

// Segments spread over a 2 m by 1.2 m sheet, a few centimetres to a metre long.
const std::vector<CLine>& Segments() {
    static const std::vector<CLine> segs = [] {
        std::mt19937 rng(42);
        std::uniform_int_distribution<int> x(0, 2000000), y(0, 1200000), d(-500000, 500000);
        std::vector<CLine> v;
        v.reserve(2 * kCount);
        for (int i = 0; i < 2 * kCount; ++i) {
            CLpoint a(x(rng), y(rng));
            v.emplace_back(a, CLpoint(a.x + d(rng), a.y + d(rng)));
        }
        return v;
    }();
    return segs;
}

void BM_SegmentIntersect(benchmark::State& state) {
    const std::vector<CLine>& segs = Segments();
    for (auto _ : state) {
        int hits = 0;
        CDpoint out;
        for (int i = 0; i < kCount; ++i)
            hits += intersect(CDline(segs[2 * i]), CDline(segs[2 * i + 1]), &out);
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_SegmentIntersect)->Unit(benchmark::kMillisecond);

void BM_CheckIntersect(benchmark::State& state) {
    std::vector<CLine> segs = Segments();
    for (auto _ : state) {
        int hits = 0;
        for (int i = 0; i < kCount; ++i)
            hits += CheckIntersect(segs[2 * i].start, segs[2 * i].end, segs[2 * i + 1].start,
                                   segs[2 * i + 1].end);
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_CheckIntersect)->Unit(benchmark::kMillisecond);

void BM_ClipLine(benchmark::State& state) {
    const std::vector<CLine>& segs = Segments();
    CWindow media(300000, 200000, 1500000, 900000);
    for (auto _ : state) {
        int kept = 0;
        for (int i = 0; i < kCount; ++i) {
            CLpoint a = segs[i].start, b = segs[i].end;
            kept += FnClipLine(a, b, &media);
        }
        benchmark::DoNotOptimize(kept);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ClipLine)->Unit(benchmark::kMillisecond);

void BM_TransformPoints(benchmark::State& state) {
    const std::vector<CLine>& segs = Segments();
    std::vector<CLpoint> pts(kCount), out(kCount);
    for (int i = 0; i < kCount; ++i)
        pts[i] = segs[i].start;
    CMat2d m(CDpoint(1000000, 600000), 1.25, 0.8, 0.3, CDpoint(50000, 40000));
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i)
            out[i] = m * pts[i];
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_TransformPoints)->Unit(benchmark::kMillisecond);

void BM_TransformArcs(benchmark::State& state) {
    const std::vector<CLine>& segs = Segments();
    std::vector<CArc> arcs;
    arcs.reserve(kCount / 10);
    for (int i = 0; i < kCount / 10; ++i)
        arcs.emplace_back(CDpoint(segs[i].start), 1000 + i % 50000, 0.1 * (i % 60),
                          0.1 * (i % 60) + 1.5);
    CMat2d m(CDpoint(1000000, 600000), 1.25, 1.25, 0.3, CDpoint(50000, 40000));
    for (auto _ : state) {
        double sum = 0;
        for (const CArc& a : arcs)
            sum += (m * a).r;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (kCount / 10));
}
BENCHMARK(BM_TransformArcs)->Unit(benchmark::kMillisecond);

} // namespace

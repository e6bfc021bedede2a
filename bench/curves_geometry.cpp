// Spline geometry at import sizes: crossings of self-crossing stars, spike removal and point
// thinning of long traced runs, and joining a drawing of thousands of open paths.
#include "pivora/framework/app_params.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace {

// A closed {n/2} star (n odd): every edge crosses two others.
std::unique_ptr<CSplineItem> Star(int n, LONG dx = 0) {
    if (n % 2 == 0)
        ++n;
    auto s = std::make_unique<CSplineItem>();
    for (int k = 0; k <= n; ++k) {
        const double a = 2 * M_PI * double((2 * k) % n) / n;
        s->Vect(CSb(CSplineItem::kBreak,
                    CLpoint(LONG(dx + 1000000 * std::cos(a)), LONG(1000000 * std::sin(a)))));
    }
    s->MakeCurves();
    return s;
}

// Nearly collinear points a millimetre apart, a few units off the line.
std::unique_ptr<CSplineItem> Collinear(int n, DWORD flags) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> wobble(-3, 3);
    auto s = std::make_unique<CSplineItem>();
    for (int i = 0; i < n; ++i)
        s->Vect(CSb(flags, CLpoint(i * 1000, wobble(rng))));
    return s;
}

// A gentle arc rising at most 8 units over the run: inside a 10-unit tolerance the whole run is
// one chord, and its points keep as many hull corners as whole units allow.
std::unique_ptr<CSplineItem> GentleArc(int n) {
    auto s = std::make_unique<CSplineItem>();
    const double half = n / 2.0;
    for (int i = 0; i < n; ++i) {
        const double u = (i - half) / half;
        s->Vect(CSb(CSplineItem::kBreak, CLpoint(i * 1000, LONG(std::lround(8 * (1 - u * u))))));
    }
    return s;
}

void BM_SelfCrossings(benchmark::State& state) {
    auto star = Star(int(state.range(0)));
    int found = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(found = star->FindIntersections(nullptr, false, false, nullptr));
    state.counters["crossings"] = found;
}
BENCHMARK(BM_SelfCrossings)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SelfCrossingsInserted(benchmark::State& state) {
    int found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto star = Star(int(state.range(0)));
        state.ResumeTiming();
        found = star->FindIntersections(nullptr, true, false, nullptr);
    }
    state.counters["crossings"] = found;
}
BENCHMARK(BM_SelfCrossingsInserted)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TwoItemCrossings(benchmark::State& state) {
    auto a = Star(1000), b = Star(1000, 300000);
    int found = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(found = a->FindIntersections(b.get(), false, false, nullptr));
    state.counters["crossings"] = found;
}
BENCHMARK(BM_TwoItemCrossings)->Unit(benchmark::kMillisecond);

void BM_RemoveSpikes(benchmark::State& state) {
    int removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = Collinear(int(state.range(0)), CSplineItem::kBreak);
        state.ResumeTiming();
        removed = s->RemoveSpikes(0.01, 10);
    }
    state.counters["removed"] = removed;
}
BENCHMARK(BM_RemoveSpikes)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SimpleFilter(benchmark::State& state) {
    const DWORD flags = state.range(1) ? CSplineItem::kBreak : CSplineItem::kSmooth;
    int removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = Collinear(int(state.range(0)), flags);
        state.ResumeTiming();
        removed = s->ApplySimpleFilter(100, 10, 0);
    }
    state.counters["removed"] = removed;
}
// Smooth points go through the window pass; break points through the chord runs.
BENCHMARK(BM_SimpleFilter)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_SimpleFilterArc(benchmark::State& state) {
    int removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = GentleArc(int(state.range(0)));
        state.ResumeTiming();
        removed = s->ApplySimpleFilter(100, 10, 0);
    }
    state.counters["removed"] = removed;
}
BENCHMARK(BM_SimpleFilterArc)->Arg(100000)->Unit(benchmark::kMillisecond);

// One chain of open paths, each ending where the next begins, in random tree order.
void BM_TipToTail(benchmark::State& state) {
    const int n = int(state.range(0));
    QvSetAppParam(L"Spline Compress Timeout", 100000);
    QvSetAppParam(L"Spline Compress Max Sort", 100000);
    int joins = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CVectorArticle root;
        std::vector<int> order(static_cast<size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), std::mt19937(11));
        for (int k : order) {
            auto* a = new CVectorArticle;
            a->SetPaletteIndex(1);
            auto* s = new CSplineItem;
            s->Vect(CSb(CSplineItem::kBreak, CLpoint(k * 1000, (k % 2) * 500)));
            s->Vect(CSb(CSplineItem::kBreak, CLpoint(k * 1000 + 1000, ((k + 1) % 2) * 500)));
            s->MakeCurves();
            a->Item(s);
            root.AddChild(a);
        }
        state.ResumeTiming();
        joins = CSplineItem::fnTipToTailCompress(&root, 1, 0, 1);
    }
    state.counters["joins"] = joins;
}
BENCHMARK(BM_TipToTail)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(3000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

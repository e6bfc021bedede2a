// Grouping imported paths: 1,000 and 5,000 closed paths, letters with their counters and a
// duplicate of every tenth, nested under their outlines (flags 0) or ordered next to them
// (flags 1 | 2 | 4, with every other counter of another colour).
#include "bench_support.h"

#include "maltrec/curve_utils.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<CArticle> Paths(int count) {
    auto group = std::make_unique<CArticle>();
    CTree* last = nullptr;
    auto add = [&](const std::vector<CLpoint>& pts, int palette) {
        auto* s = new CSplineItem;
        for (const CLpoint& p : pts)
            s->Vect(CSb(CSplineItem::kBreak, p));
        s->MakeCurves();
        auto* a = new CVectorArticle;
        a->SetPaletteIndex(palette);
        a->Item(s);
        if (last)
            last->InsertRsibling(a);
        else
            group->AddChild(a);
        last = a;
    };
    for (int i = 0; i < count / 2; ++i) {
        const LONG cx = 12000 + (i % 40) * 22000, cy = 12000 + (i / 40) * 22000;
        // Counters first, as imports often put them.
        add(bench::Star(cx, cy, 4000, 12, 0.0), i % 2 ? 2 : 1);
        add(bench::Star(cx, cy, 10000, 24, 0.0), 1);
        if (i % 10 == 0)
            add(bench::Star(cx, cy, 10000, 24, 0.0), 1);
    }
    return group;
}

void Order(benchmark::State& state, int flags) {
    bench::PrivateFolder("order_segment");
    for (auto _ : state) {
        state.PauseTiming();
        auto group = Paths(int(state.range(0)));
        state.ResumeTiming();
        OrderSegment(group.get(), flags);
        benchmark::DoNotOptimize(group->GetFirstChild());
        state.PauseTiming();
        group.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_OrderSegmentNest(benchmark::State& s) {
    Order(s, 0);
}
void BM_OrderSegmentBeforeAndBehind(benchmark::State& s) {
    Order(s, kOrderSameColour | kOrderInsideBefore | kOrderInsideBehind);
}
BENCHMARK(BM_OrderSegmentNest)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderSegmentBeforeAndBehind)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

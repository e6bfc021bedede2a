// Curves at the sizes a busy sign shop meets: fitting long runs, building segments with breaks,
// flattening long paths and many small ones, and designs full of spline items saved and opened.
#include "bezier/bezier_item.h"
#include "pivora/jox_page.h"
#include "spline/spline_fitting.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Traced artwork: a wobbly walk with points a few millimetres apart.
std::vector<CSb> Walk(int n, int breakEvery = 0, unsigned seed = 5) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> step(-3000, 3000);
    std::vector<CSb> pts;
    pts.reserve(size_t(n));
    LONG x = 0, y = 0;
    for (int i = 0; i < n; ++i) {
        x += 2000 + step(rng);
        y += step(rng);
        const DWORD flags = breakEvery > 0 && i % breakEvery == 0 ? CSplineItem::kBreak : 0;
        pts.emplace_back(flags, CLpoint(x, y));
    }
    return pts;
}

std::unique_ptr<CSplineItem> SplineOf(const std::vector<CSb>& pts) {
    auto s = std::make_unique<CSplineItem>();
    for (const CSb& p : pts)
        s->Vect(p);
    return s;
}

// Anchor, handle, handle, anchor, ...: n points in all.
std::unique_ptr<CBezierItem> BezierOf(int n) {
    auto b = std::make_unique<CBezierItem>();
    const std::vector<CSb> walk = Walk(n);
    for (int i = 0; i < n; ++i) {
        CSb p = walk[size_t(i)];
        p.flags = i % 3 == 0 ? CBezierItem::kSmooth : CBezierItem::kHandle;
        b->Vect(p);
    }
    // The path ends on an anchor.
    while (b->VectCount() > 1 && b->Vect(b->VectCount() - 1).flags == CBezierItem::kHandle)
        b->DelVect(b->VectCount() - 1, 1);
    return b;
}

void BM_CalculateBeziers(benchmark::State& state) {
    std::vector<CSb> pts = Walk(int(state.range(0)));
    std::vector<CBezier> seg(pts.size() - 1);
    for (auto _ : state) {
        CalculateBeziers(pts.data(), seg.data(), int(pts.size()));
        benchmark::DoNotOptimize(seg.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CalculateBeziers)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_MakeCurvesWithBreaks(benchmark::State& state) {
    auto s = SplineOf(Walk(int(state.range(0)), 50));
    for (auto _ : state) {
        s->MakeCurves();
        benchmark::DoNotOptimize(s->Bezier()->GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MakeCurvesWithBreaks)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FlattenLongSpline(benchmark::State& state) {
    auto s = SplineOf(Walk(int(state.range(0))));
    s->MakeCurves();
    for (auto _ : state) {
        s->MakePktArray(4);
        benchmark::DoNotOptimize(s->Pkt()->GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FlattenLongSpline)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FlattenLongBezierItem(benchmark::State& state) {
    auto b = BezierOf(int(state.range(0)));
    for (auto _ : state) {
        b->MakePktArray(4);
        benchmark::DoNotOptimize(b->Pkt()->GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FlattenLongBezierItem)->Arg(300000)->Unit(benchmark::kMillisecond);

// Lettering: 10,000 small closed paths of each kind, rebuilt and flattened as the cut output
// does for a whole job.
void BM_FlattenManyPaths(benchmark::State& state) {
    const int paths = int(state.range(0));
    std::vector<std::unique_ptr<CSplineItem>> splines;
    std::vector<std::unique_ptr<CBezierItem>> beziers;
    for (int i = 0; i < paths; ++i) {
        std::vector<CSb> pts = Walk(12, 5, unsigned(i));
        pts.push_back(pts.front());
        splines.push_back(SplineOf(pts));
        beziers.push_back(BezierOf(13));
    }
    for (auto _ : state) {
        for (auto& s : splines) {
            s->MakeCurves();
            s->MakePktArray(4);
        }
        for (auto& b : beziers)
            b->MakePktArray(4);
    }
    state.SetItemsProcessed(state.iterations() * paths * 2);
}
BENCHMARK(BM_FlattenManyPaths)->Arg(10000)->Unit(benchmark::kMillisecond);

const std::string& Folder() {
    return bench::PrivateFolder("curves");
}

std::unique_ptr<CJoxPage> NewPage() {
    Folder();
    return std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
}

// A row of vector articles, each holding a 12-point spline item.
std::unique_ptr<CJoxPage> CurvedDesign(int articles) {
    auto page = NewPage();
    CArticle* root = page->RootArticle();
    CTree* last = nullptr;
    for (int i = 0; i < articles; ++i) {
        auto* a = new CVectorArticle;
        auto s = SplineOf(Walk(12, 4, unsigned(i)));
        s->MakeCurves();
        a->Item(s.release());
        if (last)
            last->InsertRsibling(a);
        else
            root->AddChild(a);
        last = a;
    }
    root->InvExtents(1);
    return page;
}

void BM_SaveCurvedDesign(benchmark::State& state) {
    auto page = CurvedDesign(int(state.range(0)));
    const CString path = CString::FromUtf8(Folder() + "/Save.KDX");
    for (auto _ : state) {
        if (!page->OnSaveDocument(path))
            state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveCurvedDesign)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_OpenCurvedDesign(benchmark::State& state) {
    const CString path =
        CString::FromUtf8(Folder() + "/Open" + std::to_string(state.range(0)) + ".KDX");
    CurvedDesign(int(state.range(0)))->OnSaveDocument(path);
    for (auto _ : state) {
        auto page = NewPage();
        if (!page->OnOpenDocument(path))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(page->RootArticle()->GetFirstChild());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenCurvedDesign)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

// Sorting a design for cutting at the sizes a busy shop meets: letters with one or two counters
// under every order, start and inside-first setting, beside the plain rescanning sorter; the
// worst cases (deeply nested squares, long outlines with starts nearest the pen); and the
// registration-mark search on a large design.
#include "design/design_page.h"
#include "design/find_velm_marks.h"
#include "design/tests/rescan_sorter.h"
#include "pivora/geometry/sb.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>

namespace {

constexpr DWORD kCorner = 0x200;

std::unique_ptr<CDesignPage> NewDesignPage() {
    bench::PrivateFolder("sorted_output");
    return std::unique_ptr<CDesignPage>(
        static_cast<CDesignPage*>(RUNTIME_CLASS(CDesignPage)->CreateObject()));
}

// Appended after the root's last child, found once: appending by AddChild walks the row.
void Append(CDesignPage& page, CVectorItem* item) {
    static std::map<CDesignPage*, CTree*> last;
    auto* a = new CVectorArticle;
    a->Item(item);
    CTree*& tail = last[&page];
    if (!page.RootArticle()->GetFirstChild())
        tail = nullptr;
    if (tail)
        tail->InsertRsibling(a);
    else
        page.RootArticle()->AddChild(a);
    tail = a;
    a->InvExtents(1);
}

// A closed path of `edges` corners round (cx, cy).
void AddRing(CDesignPage& page, LONG cx, LONG cy, LONG r, int edges) {
    auto* item = new CSplineItem;
    std::vector<CSb> pts;
    for (int i = 0; i < edges; ++i) {
        const double a = 6.283185307 * i / edges;
        pts.emplace_back(kCorner, CLpoint(LONG(cx + r * std::cos(a)), LONG(cy + r * std::sin(a))));
    }
    pts.push_back(pts.front());
    item->InsertElement(-1, pts.data(), int(pts.size()));
    Append(page, item);
}

void AddRect(CDesignPage& page, LONG x1, LONG y1, LONG x2, LONG y2) {
    auto* item = new CSplineItem;
    CSb pts[] = {{kCorner, {x1, y1}},
                 {kCorner, {x2, y1}},
                 {kCorner, {x2, y2}},
                 {kCorner, {x1, y2}},
                 {kCorner, {x1, y1}}};
    item->InsertElement(-1, pts, 5);
    Append(page, item);
}

// Rows of letters 30 mm apart: an outline of 20 corners with one counter, or two, inside it.
void AddLetters(CDesignPage& page, int paths, int perRow = 0, LONG x0 = 0, LONG y0 = 0) {
    if (perRow <= 0)
        perRow = std::max(10, int(std::sqrt(paths / 2.5)));
    for (int made = 0, k = 0; made < paths; ++k) {
        const LONG cx = x0 + (k % perRow) * 30000 + 15000, cy = y0 + (k / perRow) * 30000 + 15000;
        AddRing(page, cx, cy, 12000, 20);
        ++made;
        const int counters = k % 2 ? 2 : 1;
        for (int c = 0; c < counters && made < paths; ++c, ++made)
            AddRing(page, counters == 1 ? cx : cx + (c ? 5000 : -5000), cy, 3000, 20);
    }
}

CDesignPage& Letters(int paths) {
    static std::map<int, std::unique_ptr<CDesignPage>> designs;
    auto& page = designs[paths];
    if (!page) {
        page = NewDesignPage();
        AddLetters(*page, paths);
    }
    return *page;
}

void BM_SortLetters(benchmark::State& state) {
    CDesignPage& page = Letters(int(state.range(0)));
    const auto order = EOrderMode(state.range(1));
    const auto start = EStartPointMode(state.range(2));
    const int inside = int(state.range(3));
    for (auto _ : state)
        page.CreateSortedOutput(0, start, order, inside, 10000, 0);
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortLetters)
    ->ArgNames({"paths", "order", "start", "inside"})
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1, 2}, {0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The rescanning sorter: quadratic, and with inside first nearly cubic, so it gets the smaller
// sizes, inside first only at 1,000.
void BM_SortLettersRescanning(benchmark::State& state) {
    CDesignPage& page = Letters(int(state.range(0)));
    const auto order = EOrderMode(state.range(1));
    const auto start = EStartPointMode(state.range(2));
    const int inside = int(state.range(3));
    if (inside && state.range(0) > 1000) {
        state.SkipWithError("inside first rescans every pair for every pick");
        return;
    }
    page.CreateSortedOutput(0, start, order, inside, 10000, 0);
    const SortedOutput indexed = PageSortedOutput(page);
    for (auto _ : state) {
        const SortedOutput plain = RescanSortedOutput(page, 0, start, order, inside, 10000, 0);
        if (!(plain == indexed))
            state.SkipWithError("the page's sorter gave another order");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortLettersRescanning)
    ->ArgNames({"paths", "order", "start", "inside"})
    ->ArgsProduct({{1000, 10000}, {0, 1, 2}, {0, 1, 2}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// 2,000 squares round one centre: every square holds all smaller ones back.
void BM_SortConcentricSquares(benchmark::State& state) {
    auto page = NewDesignPage();
    for (LONG i = 0; i < 2000; ++i)
        AddRect(*page, -500 - 500 * i, -500 - 500 * i, 500 + 500 * i, 500 + 500 * i);
    const auto order = EOrderMode(state.range(0));
    for (auto _ : state)
        page->CreateSortedOutput(0, eStartUnchanged, order, 1, 10000, 0);
}
BENCHMARK(BM_SortConcentricSquares)
    ->ArgName("order")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);

// 1,000 outlines of 200 corners, each started at the corner nearest the pen.
void BM_SortLongOutlinesFromNearestCorner(benchmark::State& state) {
    auto page = NewDesignPage();
    for (int k = 0; k < 1000; ++k)
        AddRing(*page, (k % 32) * 30000, (k / 32) * 30000, 12000, 200);
    const auto order = EOrderMode(state.range(0));
    for (auto _ : state)
        page->CreateSortedOutput(0, eStartClosestToPrevious, order, 0, 10000, 0);
}
BENCHMARK(BM_SortLongOutlinesFromNearestCorner)
    ->ArgName("order")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);

// 10,000 paths between two columns of 20 marks 100 mm apart, 1.3 m from each other.
void BM_FindMarks(benchmark::State& state) {
    auto page = NewDesignPage();
    AddLetters(*page, 10000, 40, 20000, 20000);
    const CWindow art = page->RootArticle()->Extents(0);
    for (int i = 0; i < 20; ++i) {
        const LONG y = i * 100000;
        AddRect(*page, 0, y, 5000, y + 5000);
        AddRect(*page, art.x2 + 20000, y, art.x2 + 25000, y + 5000);
    }
    CFindVelmMarks finder;
    for (auto _ : state)
        if (!finder.Execute(page.get(), 0))
            state.SkipWithError("no marks found");
}
BENCHMARK(BM_FindMarks)->Unit(benchmark::kMillisecond);

} // namespace

// Arrange and clipboard commands at a busy shop's sizes: copy and paste of 10,000 articles
// (identifiers, merging and the undo record included), even spacing and joining of 10,000
// entries, the angled reflection of 1,000 paths of 1,000 points, and one rotate-drag step over
// 10,000 paths.
#include "design/rotate_tool.h"
#include "design/select_tool.h"
#include "pivora/select.h"
#include "platform/system/global_memory.h"
#include "platform/windowing/clipboard.h"

#include "bench_design_window.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// The design window with its paths all selected and editing allowed.
struct Window : bench::DesignWindow {
    explicit Window(int paths) : DesignWindow("arrange_clipboard") {
        bench::FillPaths(page, paths);
        Fit();
        view->Abilities() |= CSelectTool::kAbilityEdit;
        Command(CSelectTool::ID_SELECT_ALL);
    }
    size_t ClipboardBytes() {
        size_t n = 0;
        if (::OpenClipboard(nullptr)) {
            if (HGLOBAL h = ::GetClipboardData(CSelectTool::ClipboardFormat()))
                n = ::GlobalSize(h);
            ::CloseClipboard();
        }
        return n;
    }
};

void Copy(benchmark::State& state) {
    Window w(int(state.range(0)));
    for (auto _ : state)
        w.Command(CSelectTool::ID_EDIT_COPY);
    state.SetBytesProcessed(int64_t(state.iterations() * w.ClipboardBytes()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Copy)->Arg(10000)->Unit(benchmark::kMillisecond);

// Each paste is undone (untimed), so every one lands in a design of the same size.
void Paste(benchmark::State& state) {
    Window w(int(state.range(0)));
    w.Command(CSelectTool::ID_EDIT_COPY);
    const size_t bytes = w.ClipboardBytes();
    for (auto _ : state) {
        w.Command(CSelectTool::ID_EDIT_PASTE);
        state.PauseTiming();
        w.page->PerformUndoTransaction();
        w.page->ClearUndoTransactions();
        w.Pump();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations() * bytes));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Paste)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void Arrange(benchmark::State& state, UINT command) {
    Window w(int(state.range(0)));
    for (auto _ : state) {
        w.Command(command);
        state.PauseTiming();
        w.page->ClearUndoTransactions();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_CAPTURE(Arrange, SpaceHorizontally, CSelectTool::ID_SPACE_HORIZONTALLY)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Arrange, JoinHorizontally, CSelectTool::ID_JOIN_HORIZONTALLY)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond);

// A closed wavy outline of n points round (cx, cy).
CArticle* Wavy(LONG cx, LONG cy, LONG r, int n) {
    auto* item = new CSplineItem;
    std::vector<CSb> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 6.283185307 * i / (n - 1);
        const double rr = r * (1 + 0.1 * std::sin(a * 12));
        pts.push_back(CSb{0x200, {LONG(cx + rr * std::cos(a)), LONG(cy + rr * std::sin(a))}});
    }
    pts.back() = pts.front();
    item->InsertElement(-1, pts.data(), int(pts.size()));
    auto* art = new CVectorArticle;
    art->Item(item);
    return art;
}

// Reflection about the last selected path's line from its first to its last point: copies of
// every other path.
void ReflectAngled(benchmark::State& state) {
    bench::DesignWindow w("arrange_clipboard");
    CArticle* root = w.page->RootArticle();
    for (int i = 0; i < state.range(0); ++i)
        root->AddChild(
            Wavy(20000 + (i % 40) * 45000, 20000 + (i / 40) * 38000, 15000, int(state.range(1))));
    root->InvExtents(1);
    w.Fit();
    w.Command(CSelectTool::ID_SELECT_ALL);
    for (auto _ : state) {
        w.Command(CSelectTool::ID_NUDGE_DIVIDE);
        state.PauseTiming();
        w.page->PerformUndoTransaction();
        w.page->ClearUndoTransactions();
        w.Command(CSelectTool::ID_SELECT_ALL);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(ReflectAngled)->Args({1000, 1000})->Unit(benchmark::kMillisecond);

// One pointer move of a corner drag of the rotate tool over every path: the echo drawn off,
// the rotation worked out and the echo drawn again.
void RotateDragStep(benchmark::State& state) {
    Window w(int(state.range(0)));
    w.Command(CDesignView::ID_ROTATE_TOOL);
    auto* rotate = dynamic_cast<CRotateTool*>(w.page->GetDesignTool());
    if (!rotate) {
        state.SkipWithError("no rotate tool");
        return;
    }
    w.Command(CSelectTool::ID_SELECT_ALL);
    rotate->OnSelectionChanged();
    const CWindow e = w.page->ObjectSelectionExtents(nullptr);
    const CPoint corner = w.Client(e.x2, e.y2);
    w.Mouse(WM_LBUTTONDOWN, corner, MK_LBUTTON);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        w.Mouse(WM_MOUSEMOVE, corner + CPoint(-step, step), MK_LBUTTON);
    }
    state.counters["echoing"] = rotate->Echo() != nullptr;
    w.Mouse(WM_RBUTTONDOWN, corner, MK_LBUTTON | MK_RBUTTON);
    ::ReleaseCapture();
}
BENCHMARK(RotateDragStep)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

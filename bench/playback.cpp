// The output simulation and the item viewer over designs a busy shop meets: stepping through
// 10,000 sorted paths start to end and a slider jump to the last; the viewer's End and its
// slider to the last over 10,000 items; and one click of the zoom sub tool over 10,000 paths,
// which should stay within a 16 ms frame.
#include "design/show_items_tool.h"
#include "design/simulate_sort_tool.h"
#include "design/zoom_sub_tool.h"

#include "bench_design_window.h"

#include <benchmark/benchmark.h>

namespace {

struct Window : bench::DesignWindow {
    Window() : DesignWindow("playback") {}
};

using bench::FillPaths;

// The playback tool over n sorted paths, current on the window's view.
CSimulateSortTool* Play(Window& w, int n) {
    FillPaths(w.page, n);
    w.Fit();
    w.page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 1);
    auto* tool = new CSimulateSortTool(w.view, nullptr);
    w.view->SelectDesignTool(tool, 1);
    w.Pump();
    return tool;
}

void BM_PlaybackStepThrough(benchmark::State& state) {
    Window w;
    CSimulateSortTool* tool = Play(w, int(state.range(0)));
    int steps = 0;
    for (auto _ : state) {
        tool->OnShowStart(w.view);
        while (tool->OnShowNext(w.view))
            ++steps;
    }
    state.counters["steps"] = benchmark::Counter(double(steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlaybackStepThrough)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PlaybackSliderToEnd(benchmark::State& state) {
    Window w;
    CSimulateSortTool* tool = Play(w, int(state.range(0)));
    for (auto _ : state) {
        tool->OnShowChangePos(w.view, 0);
        tool->OnShowChangePos(w.view, tool->GetRange());
    }
    state.counters["at"] = tool->GetPos();
}
BENCHMARK(BM_PlaybackSliderToEnd)->Arg(10000)->Unit(benchmark::kMillisecond);

// The viewer over n paths, its dialog open, nothing selected.
CShowItemsTool* View(Window& w, int n) {
    FillPaths(w.page, n);
    w.Fit();
    auto* tool = new CShowItemsTool(L"Items", RUNTIME_CLASS(CArticle));
    w.view->SelectDesignTool(tool, 1);
    w.Pump();
    tool->OnShowAutoPan(1);
    tool->OnShowLeaveOn(1);
    return tool;
}

void BM_ViewerEnd(benchmark::State& state) {
    Window w;
    CShowItemsTool* tool = View(w, int(state.range(0)));
    for (auto _ : state) {
        tool->OnShowStart(w.view);
        tool->OnShowEnd(w.view);
    }
    state.counters["at"] = tool->Position();
}
BENCHMARK(BM_ViewerEnd)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ViewerSliderToEnd(benchmark::State& state) {
    Window w;
    CShowItemsTool* tool = View(w, int(state.range(0)));
    const int last = tool->GetItemCount(w.view);
    for (auto _ : state) {
        tool->OnShowChangePos(w.view, 1);
        tool->OnShowChangePos(w.view, last);
    }
    state.counters["at"] = tool->Position();
}
BENCHMARK(BM_ViewerSliderToEnd)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ZoomClick(benchmark::State& state) {
    Window w;
    FillPaths(w.page, int(state.range(0)));
    w.Fit();
    w.Command(CDesignView::ID_ZOOM_IN);
    const CPoint at(640, 400);
    bool in = true;
    for (auto _ : state) {
        // In and out by turns, so the shown area stays the same size.
        const UINT flags = in ? MK_LBUTTON : (MK_LBUTTON | MK_CONTROL);
        platform::SetKeyDown(VK_CONTROL, !in);
        w.Mouse(WM_LBUTTONDOWN, at, flags);
        w.Mouse(WM_LBUTTONUP, at, flags & ~UINT(MK_LBUTTON));
        w.view->UpdateWindow();
        in = !in;
    }
    platform::SetKeyDown(VK_CONTROL, false);
}
BENCHMARK(BM_ZoomClick)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

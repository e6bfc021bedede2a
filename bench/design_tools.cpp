// The select tool at the sizes a busy shop meets: a click, select all, a band and invert over
// 10,000 and 50,000 top-level articles, one drag step over 10,000 paths at each echo level, and
// applying a transform with its undo records to 10,000 selected articles.
#include "design/item_echo.h"
#include "design/select_tool.h"
#include "pivora/select.h"

#include "bench_design_window.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The design window of the select tool's runs.
struct Window : bench::DesignWindow {
    Window() : DesignWindow("design_tools") {}
};

using bench::FillPaths;

void BM_Click(benchmark::State& state) {
    Window w;
    FillPaths(w.page, int(state.range(0)));
    w.Fit();
    const CPoint p = w.Client(3000, 0); // on the bottom line of the first path
    for (auto _ : state) {
        w.Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
        w.Mouse(WM_LBUTTONUP, p, 0);
        ::KillTimer(w.view->m_hWnd, CSelectTool::kTimerDragStart);
        w.Pump();
    }
    state.counters["selected"] = w.page->GetObjectSelectionCount();
}
BENCHMARK(BM_Click)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_SelectAll(benchmark::State& state) {
    Window w;
    FillPaths(w.page, int(state.range(0)));
    w.Fit();
    for (auto _ : state) {
        w.view->SendMessage(WM_COMMAND, CSelectTool::ID_SELECT_ALL, 0);
        w.Pump(); // the selection notice and the prompt
        state.PauseTiming();
        w.page->RemoveAllObjectSelection();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAll)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_Band(benchmark::State& state) {
    Window w;
    FillPaths(w.page, int(state.range(0)));
    w.Fit();
    CSelectTool* tool = w.Tool();
    tool->SetViewForLastMessage(w.view);
    for (auto _ : state) {
        tool->SelectWithinRect(w.view, CRect(-1000, -1000, 2100000, 1100000),
                               CSelect::kSelectArticle, 1);
        w.Pump();
        state.PauseTiming();
        w.page->RemoveAllObjectSelection();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Band)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_Invert(benchmark::State& state) {
    Window w;
    FillPaths(w.page, int(state.range(0)));
    w.Fit();
    for (auto _ : state) {
        w.view->SendMessage(WM_COMMAND, CSelectTool::ID_INVERT_SELECTION, 0);
        w.Pump();
    }
}
BENCHMARK(BM_Invert)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// One pointer move of a body drag over 10,000 selected paths: the outline and the echo are
// drawn off, the transform computed and both drawn again, at the given echo level.
void BM_DragStep(benchmark::State& state) {
    Window w;
    FillPaths(w.page, 10000);
    w.Fit();
    w.view->SendMessage(WM_COMMAND, CSelectTool::ID_SELECT_ALL, 0);
    CSelectTool* tool = w.Tool();
    const CPoint from = w.Client(3000, 0);
    w.Mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
    tool->m_HitHandle = eHandleBody;
    tool->StartEcho(w.view, 0);
    if (tool->Echo())
        tool->Echo()->SetEchoPercent(int(state.range(0)));
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 50;
        w.Mouse(WM_MOUSEMOVE, from + CPoint(step, step / 2), MK_LBUTTON);
    }
    state.counters["echo%"] = tool->Echo() ? tool->Echo()->EchoPercent() : -1;
    w.Mouse(WM_RBUTTONDOWN, from, MK_LBUTTON | MK_RBUTTON);
    ::ReleaseCapture();
}
BENCHMARK(BM_DragStep)->Arg(0)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_DoTransform(benchmark::State& state) {
    Window w;
    FillPaths(w.page, 10000);
    w.Fit();
    w.view->SendMessage(WM_COMMAND, CSelectTool::ID_SELECT_ALL, 0);
    CSelectTool* tool = w.Tool();
    tool->m_Transform = CMat2d(CDpoint(1000, 0));
    for (auto _ : state) {
        tool->DoTransform(w.view);
        state.PauseTiming();
        w.page->ClearUndoTransactions();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DoTransform)->Unit(benchmark::kMillisecond);

} // namespace

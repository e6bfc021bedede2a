// The view dialogs at a busy shop's sizes: a rescale of 10,000 selected paths about their
// centres and of a whole 10,000-path design, each with its undo records; the rotate dialog's
// rotation of 10,000 selected paths; and a 100,000-line script parsed into commands.
#include "design/rescale_data.h"
#include "design/rotate_tool.h"
#include "design/script_parser.h"

#include "bench_design_window.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// 110 % of the extents of the selection (or of the page), about each path's centre.
CRescaleData Grown(const CWindow& extents, bool selected) {
    CRescaleData data;
    CWindow e = extents;
    data.SetOrigExtents(e);
    data.SetSelected(selected ? 1 : 0);
    data.SetCentreScale(1);
    data.UpdateWidthPercentage(110.0f);
    data.UpdateHeightPercentage(110.0f);
    data.CalculateNewExtents();
    return data;
}

void RescaleSelection(benchmark::State& state) {
    bench::DesignWindow w("view_dialogs");
    bench::FillPaths(w.page, int(state.range(0)));
    w.Fit();
    w.Command(CSelectTool::ID_SELECT_ALL);
    CRescaleData data = Grown(w.page->ObjectSelectionExtents(nullptr), true);
    for (auto _ : state) {
        w.view->DesignRescale(data, false);
        state.PauseTiming();
        w.page->ClearUndoTransactions();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(RescaleSelection)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void RescaleWholeDesign(benchmark::State& state) {
    bench::DesignWindow w("view_dialogs");
    bench::FillPaths(w.page, int(state.range(0)));
    w.Fit();
    for (auto _ : state) {
        state.PauseTiming();
        // From the same page size each time, so the numbers stay in range.
        w.page->Extents(CWindow(0, 0, 2000000, 1000000));
        CRescaleData data = Grown(w.page->Extents(), false);
        state.ResumeTiming();
        w.view->DesignRescale(data, false);
        state.PauseTiming();
        w.page->PerformUndoTransaction();
        w.page->ClearUndoTransactions();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(RescaleWholeDesign)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

// What the rotate dialog's OK does: one named rotation of the selection, a tenth of a degree.
void RotateSelection(benchmark::State& state) {
    bench::DesignWindow w("view_dialogs");
    bench::FillPaths(w.page, int(state.range(0)));
    w.Fit();
    w.Command(CDesignView::ID_ROTATE_TOOL);
    auto* rotate = dynamic_cast<CRotateTool*>(w.page->GetDesignTool());
    if (!rotate) {
        state.SkipWithError("no rotate tool");
        return;
    }
    w.Command(CSelectTool::ID_SELECT_ALL);
    rotate->OnSelectionChanged();
    for (auto _ : state) {
        rotate->SetTransformPrecise(w.view, 30.0, CRotateTool::IDS_ROTATE_SHEAR);
        state.PauseTiming();
        w.page->ClearUndoTransactions();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(RotateSelection)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

const SC_COMMAND_REC kTable[] = {
    {1, L"OPEN", L"S", 0},
    {2, L"MOVE", L"II", 0},
    {3, L"CUT", L"IIS", 0},
    {-1, nullptr, nullptr, 0},
};

void ParseScript(benchmark::State& state) {
    char pattern[] = "/tmp/kelvane-bench-script-XXXXXX";
    std::string folder = mkdtemp(pattern);
    std::string path = folder + "/script.txt";
    {
        std::ofstream out(path);
        for (int i = 0; i < state.range(0); ++i) {
            switch (i % 4) {
            case 0:
                out << "OPEN $C:\\Designs\\Sign" << i << ".KDX$\n";
                break;
            case 1:
                out << "  MOVE " << i << " -" << i / 2 << "\n";
                break;
            case 2:
                out << "CUT 1 " << i << " $job " << i << "$\n";
                break;
            default:
                out << "# step " << i << "\n";
                break;
            }
        }
    }
    for (auto _ : state) {
        CScriptParser parser(kTable);
        benchmark::DoNotOptimize(parser.fnParseFromFile(CString(path.c_str())));
        benchmark::DoNotOptimize(parser.fnGetCommandCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::system(("rm -rf '" + folder + "'").c_str());
}

} // namespace

BENCHMARK(ParseScript)->Arg(100000)->Unit(benchmark::kMillisecond);

// Plotter files at shop sizes: a large contour plot in HP-GL (one "PA x,y;" per point after
// "PU;" or "PD;"), and a DM/PL spool and a GnM file of 100,000 points each, imported into a page.
// Peak RSS is shown as a counter: the file is held once and the commands are views into it.
#include "maltrec/import/import_hpgl.h"
#include "maltrec/import/spl_import.h"

#include "design/design_page.h"

#include "platform/core/mem_file.h"
#include "platform/windowing/message_box.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Settings of the run stay in a private folder.
const bool kSandboxed = [] {
    char tmpl[] = "/tmp/kelvane-bench-plot-XXXXXX";
    const char* dir = ::mkdtemp(tmpl);
    if (!dir)
        std::abort();
    const std::string root = dir;
    ::setenv("KELVANE_USER_HIVE", (root + "/user.hive").c_str(), 1);
    ::setenv("KELVANE_MACHINE_HIVE", (root + "/machine.hive").c_str(), 1);
    ::setenv("KELVANE_HOME", root.c_str(), 1);
    ::setenv("KELVANE_PROGRAM_DIR", root.c_str(), 1);
    return true;
}();

// Closed contour rings of about 70 points each, as a plotting program writes them.
std::string ContourPlot(int lines, int pointsPerLine) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> jitter(-40, 40);
    std::string out = "IN;SP1;";
    out.reserve(size_t(lines) * size_t(pointsPerLine) * 13);
    char buf[48];
    for (int l = 0; l < lines; ++l) {
        const double cx = 2000 + (l % 150) * 60, cy = 2000 + (l / 150) * 60;
        const double r = 100 + (l % 7) * 30;
        for (int i = 0; i < pointsPerLine; ++i) {
            const double a = 2 * M_PI * i / (pointsPerLine - 1);
            const int x = int(cx + r * std::cos(a)) + jitter(rng) / 10;
            const int y = int(cy + r * std::sin(a)) + jitter(rng) / 10;
            if (i == 0)
                out += "PU;";
            else if (i == 1)
                out += "PD;";
            const int n = std::snprintf(buf, sizeof buf, "PA%d,%d;\n", x, y);
            out.append(buf, size_t(n));
        }
    }
    return out;
}

std::string Spool(int points) {
    std::string out = ";:HOA,ECN,U,";
    char buf[48];
    for (int i = 0; i < points; ++i) {
        if (i % 100 == 0)
            out += "U,";
        else if (i % 100 == 1)
            out += "D,";
        const int n = std::snprintf(buf, sizeof buf, "%d,%d,", (i * 37) % 40000, (i / 100) * 40);
        out.append(buf, size_t(n));
    }
    return out;
}

std::string GnM(int points) {
    std::string out = "M33\r\n";
    char buf[64];
    for (int i = 0; i < points; ++i) {
        if (i % 100 == 0)
            out += "M64\r\nM65\r\n";
        const int n = std::snprintf(buf, sizeof buf, "G01X%.3fY%.3f\r\n", (i % 100) * 2.5 + (i % 3),
                                    (i / 100) * 1.0 + (i % 7) * 0.5);
        out.append(buf, size_t(n));
    }
    return out;
}

void ReportRss(benchmark::State& state) {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    state.counters["peak_rss_MB"] = double(u.ru_maxrss) / 1024.0;
}

void BM_ImportContourPlotHpgl(benchmark::State& state) {
    (void)kSandboxed;
    const std::string text = ContourPlot(21000, 70);
    platform::MessageBoxResponder boxes;
    for (auto _ : state) {
        auto page =
            std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
        CMemFile file(reinterpret_cast<const BYTE*>(text.data()), UINT(text.size()));
        benchmark::DoNotOptimize(
            CImportHPGL::ImportHPGLDesign(nullptr, page.get(), &file, 0, nullptr));
    }
    state.counters["file_MB"] = double(text.size()) / 1e6;
    ReportRss(state);
}
BENCHMARK(BM_ImportContourPlotHpgl)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same plot converted to SVG by an independent plot renderer, for comparison.
void BM_Hp2xxContourPlotToSvg(benchmark::State& state) {
    if (std::system("command -v hp2xx > /dev/null 2>&1") != 0) {
        state.SkipWithError("hp2xx is not installed");
        return;
    }
    char dir[] = "/tmp/bench_plot_XXXXXX";
    if (!::mkdtemp(dir)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string plot = std::string(dir) + "/contour.plt";
    const std::string svg = std::string(dir) + "/contour.svg";
    std::ofstream(plot, std::ios::binary) << ContourPlot(21000, 70);
    const std::string cmd = "hp2xx -q -m svg -f " + svg + " " + plot + " > /dev/null 2>&1";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("hp2xx failed");
    std::remove(plot.c_str());
    std::remove(svg.c_str());
    ::rmdir(dir);
}
BENCHMARK(BM_Hp2xxContourPlotToSvg)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportSpool(benchmark::State& state) {
    (void)kSandboxed;
    const std::string text = Spool(100000);
    platform::MessageBoxResponder boxes;
    for (auto _ : state) {
        auto page =
            std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
        CMemFile file(reinterpret_cast<const BYTE*>(text.data()), UINT(text.size()));
        benchmark::DoNotOptimize(FnImportSPLFile(nullptr, page.get(), &file, 0, nullptr));
    }
    ReportRss(state);
}
BENCHMARK(BM_ImportSpool)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ImportGnM(benchmark::State& state) {
    (void)kSandboxed;
    const std::string text = GnM(100000);
    platform::MessageBoxResponder boxes;
    for (auto _ : state) {
        auto page =
            std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
        CMemFile file(reinterpret_cast<const BYTE*>(text.data()), UINT(text.size()));
        benchmark::DoNotOptimize(FnImportSPLFile(nullptr, page.get(), &file, 0, nullptr));
    }
    ReportRss(state);
}
BENCHMARK(BM_ImportGnM)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

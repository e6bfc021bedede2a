// EPS import at the sizes sign shops receive: generated files of 1,000, 10,000 and 100,000
// paths (about 0.1, 1 and 10 MB), reading and tokenizing timed apart from executing, and
// Ghostscript rendering the same file to its null device for comparison.
#include "design/design_page.h"
#include "maltrec/import/eps_interpreter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// The prolog sits in the setup section, which the importer skips; it lets Ghostscript run the
// file, painting as stroking.
const char* kProlog = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 2000 2000\n%%EndComments\n"
                      "%%BeginSetup\n/m {moveto} bind def /l {lineto} bind def\n"
                      "/c {curveto} bind def /S {stroke} bind def\n"
                      "/f {closepath stroke} bind def /XA {setrgbcolor} bind def\n%%EndSetup\n";

std::string Generate(int paths) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(0.0, 1900.0), d(1.0, 60.0), col(0.0, 1.0);
    std::string s = kProlog;
    s.reserve(size_t(paths) * 100);
    char line[256];
    for (int i = 0; i < paths; ++i) {
        const double x = pos(rng), y = pos(rng), w = d(rng), h = d(rng);
        if (i % 16 == 0) {
            std::snprintf(line, sizeof line, "%.3f %.3f %.3f XA\n", col(rng), col(rng), col(rng));
            s += line;
        }
        std::snprintf(line, sizeof line,
                      "%.2f %.2f m %.2f %.2f l %.2f %.2f %.2f %.2f %.2f %.2f c %s\n", x, y, x + w,
                      y, x + w, y + h / 3, x + w / 2, y + h, x, y + h, i % 2 ? "S" : "f");
        s += line;
    }
    s += "%%EOF\n";
    return s;
}

const std::string& File(int paths) {
    static std::string files[3];
    const int k = paths >= 100000 ? 2 : paths >= 10000 ? 1 : 0;
    if (files[k].empty())
        files[k] = Generate(paths);
    return files[k];
}

std::unique_ptr<CDesignPage> NewPage() {
    return std::unique_ptr<CDesignPage>(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
}

void BM_EpsReadAndTokenize(benchmark::State& state) {
    const std::string& text = File(int(state.range(0)));
    auto page = NewPage();
    for (auto _ : state) {
        CEPSInterpreter eps(nullptr, page.get(), L"bench.eps");
        eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end()));
        if (eps.Prepare() != 0)
            state.SkipWithError("prepare failed");
        benchmark::DoNotOptimize(eps.TokenCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_EpsExecute(benchmark::State& state) {
    const std::string& text = File(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto owned = NewPage();
        CEPSInterpreter eps(nullptr, owned.get(), L"bench.eps");
        eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end()));
        eps.Prepare();
        state.ResumeTiming();
        if (eps.Execute() != 0)
            state.SkipWithError("execute failed");
        state.PauseTiming();
        owned.reset();
        state.ResumeTiming();
    }
}

void BM_EpsWholeImport(benchmark::State& state) {
    const std::string& text = File(int(state.range(0)));
    for (auto _ : state) {
        auto page = NewPage();
        CEPSInterpreter eps(nullptr, page.get(), L"bench.eps");
        eps.ReadBytes(std::vector<BYTE>(text.begin(), text.end()));
        if (eps.Run() != 0)
            state.SkipWithError("run failed");
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    // The file is held once and tokens are numbers or actions, never copies of the text.
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    state.counters["file_MB"] = double(text.size()) / 1e6;
    state.counters["peak_rss_MB"] = double(u.ru_maxrss) / 1024.0;
}

void BM_GhostscriptNullDevice(benchmark::State& state) {
    if (std::system("gs --version > /dev/null 2>&1") != 0) {
        state.SkipWithError("Ghostscript is not installed");
        return;
    }
    char name[] = "/tmp/bench_eps_XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    close(fd);
    std::ofstream(name, std::ios::binary) << File(int(state.range(0)));
    const std::string cmd =
        std::string("gs -q -dNOPAUSE -dBATCH -sDEVICE=nullpage ") + name + " > /dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("Ghostscript failed");
    }
    std::remove(name);
}

} // namespace

BENCHMARK(BM_EpsReadAndTokenize)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EpsExecute)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EpsWholeImport)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GhostscriptNullDevice)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

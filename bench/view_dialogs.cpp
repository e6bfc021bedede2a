// Script files of a busy shop's automation: a 100,000-line script parsed into commands.
#include "design/script_parser.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

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

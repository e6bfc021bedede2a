// A design of 10,000 or 100,000 segments drawn through the output context to the file port and
// to a network cutter on a loopback connection: how fast the driver turns drawing into cutter
// bytes, against what a 9600-baud serial line and a 100 Mbit network cutter can take.
#include "felgrin/dmpl_cutter.h"
#include "felgrin/output_dc.h"
#include "platform/system/settings_store.h"
#include "qvutils/host_services.h"

#include "bench_sink_cutter.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Closed paths of 100 segments each, 2 mm to 50 mm apart, like a page of lettering.
std::vector<std::vector<POINT>> Design(int segments) {
    std::vector<std::vector<POINT>> paths;
    unsigned seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(range));
    };
    for (int p = 0; p < segments / 100; ++p) {
        std::vector<POINT> path;
        LONG x = 10000 + (p % 10) * 100000, y = 10000 + (p / 10 % 10) * 100000;
        for (int i = 0; i <= 100; ++i) {
            path.push_back({x, y});
            x += 2000 + next(48000) - 25000;
            y += 2000 + next(48000) - 25000;
        }
        paths.push_back(path);
    }
    return paths;
}

void SendDesign(benchmark::State& state, const wchar_t* port, const std::string& service) {
    char tmpl[] = "/tmp/bench-cutter-XXXXXX";
    std::string home = ::mkdtemp(tmpl);
    // Settings and the cut log stay in the benchmark's own folder.
    ::setenv("KELVANE_USER_HIVE", (home + "/user.hive").c_str(), 1);
    ::setenv("KELVANE_MACHINE_HIVE", (home + "/machine.hive").c_str(), 1);
    platform::ResetSettingsStore();
    qvhost::SetHomeFolder(home);
    std::vector<std::vector<POINT>> design = Design(int(state.range(0)));
    CDMPLCutter cutter;
    cutter.SetPortName(port);
    cutter.fnSetNetworkService(service);
    cutter.fnSetTcpTimeouts(100, 1000, 0);
    cutter.fnSetOrigin(1);
    CCutterInstance instance(&cutter);
    instance.fnStartDoc();
    int64_t bytes = 0;
    for (auto _ : state) {
        int before = cutter.DeviceBytesSent();
        {
            COutputDC dc(&instance, 0, 1);
            for (const auto& path : design) {
                dc.MoveTo(path[0]);
                for (size_t i = 1; i < path.size(); ++i)
                    dc.LineTo(path[i]);
            }
        }
        bytes += cutter.DeviceBytesSent() - before;
    }
    instance.fnEndDoc();
    state.SetBytesProcessed(bytes);
    state.counters["bytes_per_job"] = double(bytes) / double(state.iterations());
    // A 9600-baud line with 8N1 framing moves 960 bytes a second; 100 Mbit/s is 12.5 MB/s.
    state.counters["x9600baud"] =
        benchmark::Counter(double(bytes) / 960.0, benchmark::Counter::kIsRate);
    state.counters["x100Mbit"] =
        benchmark::Counter(double(bytes) / 12.5e6, benchmark::Counter::kIsRate);
    std::filesystem::remove_all(home);
}

void BM_OutputContextToFilePort(benchmark::State& state) {
    SendDesign(state, L"FILE", "9100");
}
BENCHMARK(BM_OutputContextToFilePort)
    ->Arg(10000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_OutputContextToLoopbackTcp(benchmark::State& state) {
    bench::SinkCutter sink;
    SendDesign(state, L"127.0.0.1", sink.Service());
}
BENCHMARK(BM_OutputContextToLoopbackTcp)
    ->Arg(10000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

// "Detected cutters" with no cutter present: the two discovery waits (one for each kind of
// network cutter) and the four USB probes, as the operator waits for them when the dialog opens
// or "Refresh" is pressed. Probes go to a loopback port nobody answers on.
#include "pivora/framework/vanter_ping.h"
#include "platform/windowing/dialog_template.h"
#include "varnholm/detect_cutter_dlg.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

namespace {

void BM_DetectWithNoDevice(benchmark::State& state) {
    bench::PrivateFolder("detection");
    ::setenv("VANTERUSB_DIR", "/nonexistent-usb", 1);
    PING_NETWORK n;
    n.broadcastAddress = "127.0.0.1";
    n.probePort = 9;
    n.useLocalPort = true;
    VanterPing::OverrideNetwork(&n);
    // The dialog fills its list as it opens, and is then dismissed.
    platform::ScopedDialogResponder r([](HWND h, UINT) { ::EndDialog(h, IDCANCEL); });
    for (auto _ : state) {
        CDetectCutterDlg dlg;
        benchmark::DoNotOptimize(dlg.DoModal());
    }
    VanterPing::OverrideNetwork(nullptr);
}
BENCHMARK(BM_DetectWithNoDevice)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

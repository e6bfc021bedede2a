// Sending designs of 500 and 5,000 letters (an outline with a counter, curved corners) to a
// DM/PL cutter on the file port and on a loopback network connection: whole, one job per
// object, and in three copies. Each run is the time from the command to the last byte: sorting,
// the curve filter, copying, nesting and writing. The byte rate is set against a 100 Mbit link.
#include "bench_sink_cutter.h"
#include "bench_support.h"

#include "design/design_page.h"
#include "felgrin/cutter_utils.h"
#include "felgrin/dmpl_cutter.h"
#include "felgrin/felgrin_utils.h"
#include "hobrand/media_manager_blk.h"
#include "maltrec/cut_output_sheet.h"
#include "maltrec/send_to_cutter.h"
#include "pivora/framework/app_params.h"
#include "platform/windowing/message_box.h"
#include "qvutils/host_services.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <atomic>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

class Medium : public CMediaManagerBlk {
public:
    explicit Medium(const CString& device) {
        __fnSetDevice(device);
        CWindow roll(0, 0, 600000, 50000000); // 600 mm by 50 m
        __fnSetSpace();
        __fnSetSheetExtents(&roll);
        __fnSetCutterExt(&roll);
        SetFeedOnDelete(0);
        _fnDocStart();
    }
};

CMediaManagerBlk* s_medium = nullptr;
CMediaManagerBlk* Setup(int, int, int) {
    return s_medium;
}

// Letters of 20 mm in rows of 25: an outline of 24 edges with rounded corners and a counter.
std::unique_ptr<CDesignPage> Letters(int count) {
    auto page = std::make_unique<CDesignPage>();
    CArticle* root = page->RootArticle();
    CTree* last = nullptr;
    for (int i = 0; i < count; ++i) {
        const LONG cx = 12000 + (i % 25) * 22000, cy = 12000 + (i / 25) * 22000;
        for (auto [r, edges] : {std::pair{10000, 24}, std::pair{4000, 12}}) {
            auto* s = new CSplineItem;
            int k = 0;
            for (const CLpoint& p : bench::Star(cx, cy, r, edges, 0.1 * i))
                s->Vect(CSb(k++ % 3 ? CSplineItem::kSmooth : CSplineItem::kBreak, p));
            s->MakeCurves();
            auto* a = new CVectorArticle;
            a->Item(s);
            if (last)
                last->InsertRsibling(a);
            else
                root->AddChild(a);
            last = a;
        }
    }
    return page;
}

enum Mode { kWhole, kPerObject, kThreeCopies };

void Send(benchmark::State& state, bool network, Mode mode) {
    const std::string& folder = bench::PrivateFolder("send_to_cutter");
    qvhost::SetHomeFolder(folder);
    platform::MessageBoxResponder quiet;
    std::unique_ptr<bench::SinkCutter> sink;
    auto* cutter = new CDMPLCutter;
    cutter->fnSetName(CString(L"Plotter"));
    if (network) {
        sink = std::make_unique<bench::SinkCutter>(true);
        cutter->SetPortName(CString(L"127.0.0.1"));
        cutter->fnSetNetworkService(sink->Service());
        cutter->fnSetTcpTimeouts(100, 1000, 0);
    } else {
        cutter->SetPortName(CString(L"FILE"));
    }
    CCutterUtils::AddCutterToArray(cutter);
    {
        CDesignPage sheetPage;
        s_medium = new Medium(L"Plotter");
        sheetPage.AddParam(s_medium);
        FnSendServices().medManSetup = Setup;
        FnSendServices().findMarks = nullptr;
        QvSetAppParam(L"Cut objects separate", mode == kPerObject);
        QvSetAppParam(L"Cut Out Feed Options", 1);
        auto design = Letters(int(state.range(0)));
        platform::ScopedDialogResponder copies([](HWND h, UINT) {
            auto* sheet = static_cast<CCutOutputSheet*>(CWnd::FromHandle(h));
            sheet->SetActivePage(&sheet->m_CutOutPP);
            SetDlgItemTextW(sheet->m_CutOutPP.m_hWnd, CCutOutPP::IDC_COPIES, L"3");
            SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
        });
        int64_t bytes = 0;
        for (auto _ : state) {
            const int before = cutter->DeviceBytesSent();
            g_fnSendDesignToCutter(design.get(), nullptr, 0, mode == kThreeCopies ? 0 : 1);
            bytes += cutter->DeviceBytesSent() - before;
        }
        state.SetBytesProcessed(bytes);
        state.counters["bytes_per_send"] = double(bytes) / double(state.iterations());
        state.counters["x100Mbit"] =
            benchmark::Counter(double(bytes) / 12.5e6, benchmark::Counter::kIsRate);
        FnSendServices() = StSendServices();
    }
    s_medium = nullptr;
    FelgrinUtils::QuitCutterDriver();
}

void BM_SendWholeToFile(benchmark::State& s) {
    Send(s, false, kWhole);
}
void BM_SendPerObjectToFile(benchmark::State& s) {
    Send(s, false, kPerObject);
}
void BM_SendThreeCopiesToFile(benchmark::State& s) {
    Send(s, false, kThreeCopies);
}
void BM_SendWholeToLoopback(benchmark::State& s) {
    Send(s, true, kWhole);
}
void BM_SendThreeCopiesToLoopback(benchmark::State& s) {
    Send(s, true, kThreeCopies);
}

#define SIZES ->Arg(500)->Arg(5000)->UseRealTime()->Unit(benchmark::kMillisecond)
BENCHMARK(BM_SendWholeToFile) SIZES;
BENCHMARK(BM_SendPerObjectToFile) SIZES;
BENCHMARK(BM_SendThreeCopiesToFile) SIZES;
BENCHMARK(BM_SendWholeToLoopback) SIZES;
BENCHMARK(BM_SendThreeCopiesToLoopback) SIZES;

} // namespace

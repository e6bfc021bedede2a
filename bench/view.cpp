// The base view at the sizes a busy shop meets: a full redraw of 10,000 vector paths of 20
// segments into a 1920 x 1080 view with the rectangular grid on, a hit test where 200 of
// 10,000 articles overlap the point, and the rulers redrawn at each zoom step.
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/jox_page.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"
#include "vector/vector_style_pb.h"

#include "platform/graphics/surface.h"

#include "bench_path_item.h"
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The straight path with a hit test of its own.
class CViewBenchPathItem : public bench::CStraightPathItem {
    DECLARE_DYNAMIC(CViewBenchPathItem)
public:
    using CStraightPathItem::CStraightPathItem;
    // Hit within the test's accuracy of a segment, in device pixels.
    int HitTestPoint(CItemHitTest* ht) override {
        const CPoint p = ht->GetHitPoint();
        const double tol = ht->GetHitAccuracy();
        for (INT_PTR i = 1; i < m_Points.GetSize(); ++i) {
            CPoint a(m_Points.GetAt(i - 1).pt.x, m_Points.GetAt(i - 1).pt.y);
            CPoint b(m_Points.GetAt(i).pt.x, m_Points.GetAt(i).pt.y);
            ht->GetDC()->LPtoDP(a);
            ht->GetDC()->LPtoDP(b);
            const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
            double t = len > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len : 0;
            t = std::clamp(t, 0.0, 1.0);
            if (std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y) <= tol) {
                ht->SetHitIndex(int(i - 1));
                return 1;
            }
        }
        return 0;
    }
};

IMPLEMENT_DYNAMIC(CViewBenchPathItem, CVectorItem)

void PrivateSettings() {
    bench::PrivateFolder("view");
}

using bench::Star;

// n vector articles of 20 segments over 2 m x 1 m; the first `overlapping` all cover the
// point (1 m, 0.5 m).
std::unique_ptr<CJoxPage> Design(int n, int overlapping) {
    PrivateSettings();
    auto page = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    page->m_bAutoDelete = FALSE;
    page->GetColourPalette(true, eColourPaletteDefault);
    CVectorArticle::fnGetVectorStylePB(page.get())->fnResize(16);
    page->Extents(CWindow(0, 0, 2000000, 1000000));
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(0, 2000000), y(0, 1000000);
    CArticle* root = page->RootArticle();
    CTree* last = nullptr;
    for (int i = 0; i < n; ++i) {
        auto* a = new CVectorArticle;
        a->SetPaletteIndex(i % 16);
        const bool over = i < overlapping;
        a->Item(new CViewBenchPathItem(Star(over ? 1000000 : x(rng), over ? 500000 : y(rng),
                                            over ? 20000 : 5000, 20, over ? 0.0 : 0.1 * i)));
        if (last)
            last->InsertRsibling(a);
        else
            root->AddChild(a);
        last = a;
    }
    root->BuildLinks();
    root->InvExtents(1);
    return page;
}

class BenchView : public CJoxView {
public:
    void OnDraw(CJoxDC* dc) override {
        CJoxView::OnDraw(dc);
        DrawGrid(dc);
        if (CJoxPage* page = GetDocument())
            page->OnDraw(this, dc);
        DrawGuides(dc);
    }
    void SetZoom(CSize window, CSize viewport) {
        m_sizeWindow = window;
        m_sizeViewport = viewport;
    }
};

struct Scene {
    std::unique_ptr<CJoxPage> page;
    BenchView* view = nullptr;
    Scene(int n, int overlapping, bool rulers, bool grid = true) : page(Design(n, overlapping)) {
        view = new BenchView;
        view->CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                       CRect(0, 0, 1920, 1080), nullptr, 0);
        page->AddView(view);
        page->Grid()->showRect = grid ? 1 : 0;
        view->SetRuler(rulers ? 1 : 0, 0);
        view->SetScrollExtents(CWindow(0, 0, 2000000, 1000000));
        view->SetZoomToFit(CWindow(0, 0, 2000000, 1000000), 0);
    }
    ~Scene() {
        view->DestroyWindow();
        page.reset();
    }
};

// Arguments: the number of paths, and the grid on (1) or off (0).
void BM_ViewFullRedraw(benchmark::State& state) {
    Scene scene(int(state.range(0)), 0, true, state.range(1) != 0);
    auto* surface = platform::GetWindowSurface(scene.view->m_hWnd);
    for (auto _ : state) {
        scene.view->Invalidate(TRUE);
        scene.view->UpdateWindow();
        static_cast<platform::RasterSurface*>(surface)->Flush();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ViewFullRedraw)
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

void BM_ViewHitTestOverlapping(benchmark::State& state) {
    Scene scene(10000, 200, false);
    // A corner the 200 overlapping outlines share.
    CPoint pt(1020000, 500000);
    scene.view->DocToClient(pt);
    CArticleList list;
    for (auto _ : state) {
        CArticle* hit = scene.page->RootArticle()->HitTest(scene.view, pt, list);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hits"] = double(list.GetCount());
}
BENCHMARK(BM_ViewHitTestOverlapping)->Unit(benchmark::kMillisecond);

void BM_RulerRedrawPerZoomStep(benchmark::State& state) {
    Scene scene(1, 0, true);
    int step = 0;
    for (auto _ : state) {
        // Zoom steps of a factor 1.25 between 0.0005 and 0.5 pixel per unit.
        const double zoom = 0.0005 * std::pow(1.25, step++ % 31);
        scene.view->SetZoom(CSize(1000000, 1000000),
                            CSize(int(1000000 * zoom), -int(1000000 * zoom)));
        CJoxClientDC dc(scene.view, eClientAll);
        scene.view->OnPrepareDC(&dc, nullptr);
        scene.view->DrawRuler(&dc);
        scene.view->DrawRulerText(&dc);
    }
}
BENCHMARK(BM_RulerRedrawPerZoomStep)->Unit(benchmark::kMicrosecond);

} // namespace

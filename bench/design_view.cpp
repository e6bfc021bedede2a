// The design view at a busy shop's sizes: a full paint of 10,000 paths with grid and guides
// into a 1920 x 1080 back buffer, fitting and one zoom step over them, and the clipboard
// picture of the whole drawing.
#include "design/design_view.h"
#include "design/design_page.h"
#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/geometry/sb.h"
#include "pivora/grid.h"
#include "platform/windowing/clipboard.h"
#include "platform/windowing/message.h"
#include "platform/windowing/resources.h"
#include "spline/spline_item.h"
#include "toolbars/jox_toolbar_frame_wnd.h"
#include "vector/vector_article.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

namespace {

constexpr UINT kTemplateId = 28200;
constexpr int kWidth = 1920, kHeight = 1080;

struct Access : CDesignView {
    static void SaveMetafile(CDesignView* v) { (v->*(&Access::OnSaveMetafile))(); }
};

// One design window of 1920 x 1080 pixels on a new design of n paths, fitted.
struct Window {
    CJoxWinAppEx app;
    CJoxDocTemplate* tmpl = nullptr;
    CJoxToolbarFrameWnd* frame = nullptr;
    CDesignPage* page = nullptr;
    CDesignView* view = nullptr;

    explicit Window(int paths) {
        bench::PrivateFolder("design_view");
        platform::RegisterStrings({{kTemplateId, L"\nDesign\nDesign\n\n\nDesign\nDesign"}});
        app.SetContextCount(100);
        tmpl = new CJoxDocTemplate(kTemplateId, RUNTIME_CLASS(CDesignPage),
                                   RUNTIME_CLASS(CJoxChildWnd), RUNTIME_CLASS(CDesignView),
                                   CDesignView::kContext);
        app.AddDocTemplate(CDesignView::kContext, tmpl, 1);
        frame = new CJoxToolbarFrameWnd;
        frame->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      CRect(0, 0, kWidth + 100, kHeight + 100));
        AfxSetMainWnd(frame);
        page = dynamic_cast<CDesignPage*>(tmpl->OpenDocumentFile(nullptr));
        POSITION pos = page->GetFirstViewPosition();
        view = dynamic_cast<CDesignView*>(page->GetNextView(pos));
        view->GetParent()->MoveWindow(0, 0, kWidth + 40, kHeight + 60);
        view->MoveWindow(0, 0, kWidth, kHeight);
        Fill(paths);
        CGrid* grid = page->Grid();
        grid->showRect = 1;
        grid->showGuides = 1;
        for (int i = 1; i < 10; ++i) {
            grid->AddGridLinePos(i * 200000, CGrid::kVertical);
            grid->AddGridLinePos(i * 100000, CGrid::kHorizontal);
        }
        page->Extents(CWindow(0, 0, 2000000, 1000000));
        view->OnActivateView(TRUE, view, nullptr);
        view->ZoomResize(0, 0);
        Pump();
    }
    ~Window() {
        platform::ResetClipboard();
        frame->DestroyWindow();
        AfxSetMainWnd(nullptr);
    }
    void Pump() {
        MSG msg;
        for (int i = 0; i < 100000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // n closed paths of 6 x 3 mm in rows over 2 x 1 m.
    void Fill(int n) {
        CArticle* root = page->RootArticle();
        CTree* last = nullptr;
        for (int i = 0; i < n; ++i) {
            const LONG x = (i % 250) * 8000, y = (i / 250) * 4000 % 1000000;
            auto* item = new CSplineItem;
            const CSb pts[] = {{0x200, {x, y}},
                               {0x200, {x + 6000, y}},
                               {0x200, {x + 6000, y + 3000}},
                               {0x200, {x, y + 3000}},
                               {0x200, {x, y}}};
            item->InsertElement(-1, const_cast<CSb*>(pts), 5);
            auto* a = new CVectorArticle;
            a->Item(item);
            if (last)
                last->InsertRsibling(a);
            else
                root->AddChild(a);
            last = a;
        }
        root->InvExtents(1);
    }
};

void BM_FullPaint(benchmark::State& state) {
    Window w(int(state.range(0)));
    for (auto _ : state) {
        CJoxView::SetRedrawAll(1);
        w.view->Invalidate(TRUE);
        w.view->UpdateWindow();
    }
}
BENCHMARK(BM_FullPaint)->Arg(10000)->Unit(benchmark::kMillisecond);

// Fitting the design, with and without the repaint it asks for.
void BM_ZoomResize(benchmark::State& state) {
    Window w(int(state.range(0)));
    for (auto _ : state) {
        w.view->ZoomResize(0, 0);
        if (state.range(1))
            w.view->UpdateWindow();
    }
}
BENCHMARK(BM_ZoomResize)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);

// One zoom in and back out through the history, each step with or without its repaint.
void BM_ZoomStep(benchmark::State& state) {
    Window w(int(state.range(0)));
    for (auto _ : state) {
        w.view->Zoom(CWindow(200000, 200000, 800000, 500000));
        if (state.range(1))
            w.view->UpdateWindow();
        w.view->ZoomOut();
        if (state.range(1))
            w.view->UpdateWindow();
    }
}
BENCHMARK(BM_ZoomStep)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);

void BM_ClipboardPicture(benchmark::State& state) {
    Window w(int(state.range(0)));
    for (auto _ : state)
        Access::SaveMetafile(w.view);
}
BENCHMARK(BM_ClipboardPicture)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

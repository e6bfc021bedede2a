// The select tool at the sizes a busy shop meets: a click, select all, a band and invert over
// 10,000 and 50,000 top-level articles, one drag step over 10,000 paths at each echo level, and
// applying a transform with its undo records to 10,000 selected articles.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/item_echo.h"
#include "design/select_tool.h"
#include "pivora/framework/jox_child_wnd.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/geometry/sb.h"
#include "pivora/select.h"
#include "platform/windowing/message.h"
#include "platform/windowing/resources.h"
#include "spline/spline_item.h"
#include "toolbars/jox_toolbar_frame_wnd.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr UINT kTemplateId = 28200;

// One design window: the application, the template of the design page, a frame and the view
// of a new design, 1280 x 800 pixels.
struct Window {
    CJoxWinAppEx app;
    CJoxDocTemplate* tmpl = nullptr;
    CJoxToolbarFrameWnd* frame = nullptr;
    CDesignPage* page = nullptr;
    CDesignView* view = nullptr;

    Window() {
        bench::PrivateFolder("design_tools");
        platform::RegisterStrings({{kTemplateId, L"\nDesign\nDesign\n\n\nDesign\nDesign"}});
        app.SetContextCount(100);
        app.InitContextMenuManager();
        tmpl = new CJoxDocTemplate(kTemplateId, RUNTIME_CLASS(CDesignPage),
                                   RUNTIME_CLASS(CJoxChildWnd), RUNTIME_CLASS(CDesignView),
                                   CDesignView::kContext);
        app.AddDocTemplate(CDesignView::kContext, tmpl, 1);
        frame = new CJoxToolbarFrameWnd;
        frame->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      CRect(0, 0, 1400, 1000));
        AfxSetMainWnd(frame);
        page = dynamic_cast<CDesignPage*>(tmpl->OpenDocumentFile(nullptr));
        POSITION pos = page->GetFirstViewPosition();
        view = dynamic_cast<CDesignView*>(page->GetNextView(pos));
        view->GetParent()->MoveWindow(0, 0, 1320, 860);
        view->MoveWindow(0, 0, 1280, 800);
        Pump();
    }
    ~Window() {
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
    CSelectTool* Tool() { return dynamic_cast<CSelectTool*>(page->GetDesignTool()); }
    void Fit() {
        page->Extents(CWindow(0, 0, 2000000, 1000000));
        view->ZoomFirst();
        Pump();
    }
    LRESULT Mouse(UINT msg, CPoint p, UINT flags) {
        POINT s = p;
        ::ClientToScreen(view->m_hWnd, &s);
        ::SetCursorPos(s.x, s.y);
        return view->SendMessage(msg, flags, MAKELPARAM(WORD(p.x), WORD(p.y)));
    }
    CPoint Client(LONG x, LONG y) {
        CPoint p(x, y);
        view->DocToClient(p);
        return p;
    }
};

// A closed rectangular path of straight spline elements.
CArticle* Path(const CWindow& w) {
    auto* item = new CSplineItem;
    const CSb pts[] = {{0x200, {w.x1, w.y1}},
                       {0x200, {w.x2, w.y1}},
                       {0x200, {w.x2, w.y2}},
                       {0x200, {w.x1, w.y2}},
                       {0x200, {w.x1, w.y1}}};
    item->InsertElement(-1, const_cast<CSb*>(pts), 5);
    auto* a = new CVectorArticle;
    a->Item(item);
    return a;
}

// n paths of 8 mm in rows over 2 x 1 m.
void Fill(CDesignPage* page, int n) {
    CArticle* root = page->RootArticle();
    CTree* last = nullptr;
    const int perRow = 250;
    for (int i = 0; i < n; ++i) {
        const LONG x = (i % perRow) * 8000, y = (i / perRow) * 4000 % 1000000;
        CArticle* a = Path(CWindow(x, y, x + 6000, y + 3000));
        if (last)
            last->InsertRsibling(a);
        else
            root->AddChild(a);
        last = a;
    }
    root->InvExtents(1);
}

void BM_Click(benchmark::State& state) {
    Window w;
    Fill(w.page, int(state.range(0)));
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
    Fill(w.page, int(state.range(0)));
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
    Fill(w.page, int(state.range(0)));
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
    Fill(w.page, int(state.range(0)));
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
    Fill(w.page, 10000);
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
    Fill(w.page, 10000);
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

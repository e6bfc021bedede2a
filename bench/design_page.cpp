// The design page's editing at the sizes a busy shop meets: select all, clicking through a pile
// of stacked articles, deleting a large selection and undoing it, one huge transform
// transaction, and the memory that a hundred edits of a large design keep for undo.
#include "design/design_page.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/select.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>

namespace {

// A box that is hit inside its device rectangle and moves with the matrix.
class CBenchHitBox : public CItem {
public:
    explicit CBenchHitBox(const CWindow& box) : m_box(box) {}
    int HitTestPoint(CItemHitTest* test) override {
        CRect r(m_box.x1, m_box.y2, m_box.x2, m_box.y1);
        test->GetDC()->LPtoDP(static_cast<RECT*>(&r));
        r.NormalizeRect();
        r.InflateRect(0, 0, 1, 1);
        return r.PtInRect(test->GetHitPoint());
    }
    void DoTransform(CMat2d& m) override {
        const CLpoint a = m * CLpoint(m_box.x1, m_box.y1);
        const CLpoint b = m * CLpoint(m_box.x2, m_box.y2);
        m_box =
            CWindow(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
        InvExtents(1);
    }

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

std::unique_ptr<CDesignPage> NewDesignPage() {
    bench::PrivateFolder("design_page");
    auto page = std::unique_ptr<CDesignPage>(
        static_cast<CDesignPage*>(RUNTIME_CLASS(CDesignPage)->CreateObject()));
    page->m_bAutoDelete = FALSE;
    return page;
}

// n top-level articles over 2 x 1 m; the first `overlapping` all cover the point (1 m, 0.5 m).
std::unique_ptr<CDesignPage> TopLevelDesign(int n, int overlapping = 0) {
    auto page = NewDesignPage();
    CArticle* root = page->RootArticle();
    CTree* last = nullptr;
    for (int i = 0; i < n; ++i) {
        auto* a = new CArticle;
        CWindow box;
        if (i < overlapping) {
            const LONG r = 2000 + 300 * i;
            box = CWindow(1000000 - r, 500000 - r, 1000000 + r + i, 500000 + r);
        } else {
            const LONG x = LONG((i * 7919) % 1900) * 1000, y = LONG((i * 104729) % 900) * 1000;
            box = CWindow(x, y, x + 20000, y + 30000);
        }
        a->Item(new CBenchHitBox(box));
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
    void Place(int perPixel) {
        m_sizeWindow = CSize(perPixel, perPixel);
        m_sizeViewport = CSize(1, 1);
        m_nHPos = m_nVPos = 0;
        m_bCentred = 0;
        SetOriginOffset(CPoint(0, 0));
    }
};

size_t BytesInUse() {
    return mallinfo2().uordblks;
}

void BM_SelectAll(benchmark::State& state) {
    auto page = TopLevelDesign(int(state.range(0)));
    for (auto _ : state) {
        page->ChangeObjectSelection(eClearSelection);
        page->ChangeObjectSelection(eSelectAllObjects);
        benchmark::DoNotOptimize(page->GetSelectionCount(nullptr));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SelectAll)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ClickThroughStack(benchmark::State& state) {
    auto page = TopLevelDesign(10000, 200);
    auto* view = new BenchView;
    view->CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 1920, 1080), nullptr, 0);
    page->AddView(view);
    view->Place(1000);
    CPoint at(1000000, 500000);
    view->DocToClient(at);
    for (auto _ : state)
        benchmark::DoNotOptimize(page->ArticleAt(view, at));
    state.counters["stacked"] = double(page->HitList().GetCount());
    view->DestroyWindow();
}
BENCHMARK(BM_ClickThroughStack)->Unit(benchmark::kMillisecond);

void BM_DeleteSelectionAndUndo(benchmark::State& state) {
    auto page = TopLevelDesign(int(state.range(0)));
    for (auto _ : state) {
        page->ChangeObjectSelection(eSelectAllObjects);
        page->OnEditClear(0);
        page->PerformUndoTransaction();
        page->ClearRedoTransactions();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DeleteSelectionAndUndo)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TransformTransactionUndoRedo(benchmark::State& state) {
    auto page = TopLevelDesign(int(state.range(0)));
    page->ChangeObjectSelection(eSelectAllObjects);
    page->Rotate90Selection();
    for (auto _ : state) {
        page->PerformUndoTransaction();
        page->PerformRedoTransaction();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_TransformTransactionUndoRedo)->Arg(50000)->Unit(benchmark::kMillisecond);

// A hundred quarter turns of all 10,000 articles: what the undo stack keeps, which has no
// depth limit.
void BM_UndoMemoryOfEdits(benchmark::State& state) {
    for (auto _ : state) {
        auto page = TopLevelDesign(10000);
        page->ChangeObjectSelection(eSelectAllObjects);
        const size_t before = BytesInUse();
        for (int i = 0; i < 100; ++i)
            page->Rotate90Selection();
        const size_t after = BytesInUse();
        state.counters["undo_MB"] = double(after - before) / 1e6;
        state.counters["bytes_per_record"] = double(after - before) / page->GetUndoCount();
    }
}
BENCHMARK(BM_UndoMemoryOfEdits)->Iterations(1)->Unit(benchmark::kMillisecond);

// An insert point set while paths are added one by one, each asking the page where it goes.
void BM_InsertArticleWhileAdding(benchmark::State& state) {
    auto page = TopLevelDesign(int(state.range(0)));
    CArticle* root = page->RootArticle();
    page->InsertArticle(static_cast<CArticle*>(root->GetFirstChild()->GetRsibling()));
    for (auto _ : state) {
        CArticle* at = page->InsertArticle();
        if (!at) {
            state.SkipWithError("no insert article");
            break;
        }
        root->AddChild(new CArticle);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InsertArticleWhileAdding)->Arg(20000)->Unit(benchmark::kMicrosecond);

} // namespace

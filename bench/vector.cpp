// Vector paths at the sizes a busy shop meets: hatching a thousand outlines, walking and
// cutting paths of 100,000 elements, symmetric runs, drawing 10,000 vector articles onto a
// full-HD raster, measuring them, and storing and reading designs of up to 100,000 of them.
#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/jox_page.h"
#include "pivora/rec_archive.h"
#include "vector/scan_lines.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"
#include "vector/vector_style_pb.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/graphics/surface.h"

#include "bench_path_item.h"
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The straight path, storable and transformable for the document figures.
class CBenchPathItem : public bench::CStraightPathItem {
    DECLARE_SERIAL(CBenchPathItem)
public:
    using CStraightPathItem::CStraightPathItem;
    int TransformElement(CMat2d* m, int first, int count) override {
        for (int i = first; i < first + count && i < m_Points.GetSize(); ++i)
            m_Points.ElementAt(i) = *m * m_Points.GetAt(i);
        MakePktArray(1);
        return 1;
    }
    CObject* CopyObject(CObject* target) override {
        auto* to = target ? static_cast<CBenchPathItem*>(target) : new CBenchPathItem;
        CVectorItem::CopyObject(to);
        to->m_Points.Copy(m_Points);
        to->MakePktArray(1);
        return to;
    }
    void Serialize(CArchive& ar) override {
        CVectorItem::Serialize(ar);
        CRecArchive rec(ar);
        if (ar.IsStoring()) {
            const DWORD pos = rec.StartStore(0);
            ar.WriteCount(DWORD_PTR(m_Points.GetSize()));
            ar.Write(m_Points.GetData(), UINT(m_Points.GetSize() * sizeof(CSb)));
            rec.EndStore(pos);
            rec.StoreEndRec();
            return;
        }
        WORD id;
        DWORD len;
        while (rec.LoadFieldID(id, len)) {
            if (id != 0) {
                rec.SkipField(len);
                continue;
            }
            const DWORD_PTR n = ar.ReadCount(sizeof(CSb));
            m_Points.SetSize(INT_PTR(n));
            ar.ReadExact(m_Points.GetData(), UINT(n * sizeof(CSb)));
        }
        MakePktArray(1);
    }
};

IMPLEMENT_SERIAL(CBenchPathItem, CVectorItem, 0)

void PrivateSettings() {
    bench::PrivateFolder("vector");
}

using bench::Star;

// A row of outlines a metre wide and 20 cm high.
std::vector<std::unique_ptr<CArticle>> Outlines(int n, int edges) {
    std::vector<std::unique_ptr<CArticle>> out;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> turn(0, 1);
    for (int i = 0; i < n; ++i) {
        auto a = std::make_unique<CVectorArticle>();
        const LONG cx = 10000 + (i % 50) * 20000, cy = 10000 + (i / 50) * 10000;
        a->Item(new CBenchPathItem(Star(cx, cy, 9000, edges, turn(rng))));
        out.push_back(std::move(a));
    }
    return out;
}

void BM_HatchOutlines(benchmark::State& state) {
    PrivateSettings();
    static auto outlines = Outlines(1000, 20);
    CTypedPtrArray<CObArray, CArticle*> articles;
    for (auto& a : outlines)
        articles.Add(a.get());
    const double spacing = 200000.0 / double(state.range(0));
    const double angle = double(state.range(1));
    int count = 0;
    for (auto _ : state) {
        std::unique_ptr<CDb[]> strokes(
            FnGenerateScanLines(articles, 100, spacing, angle, count, SCAN_ZIG_ZAG));
        benchmark::DoNotOptimize(strokes.get());
    }
    state.counters["strokes"] = count;
}
BENCHMARK(BM_HatchOutlines)
    ->Args({2000, 0})
    ->Args({2000, 37})
    ->Args({10000, 0})
    ->Args({10000, 37})
    ->Unit(benchmark::kMillisecond);

// 100,000 elements of 1 mm to 2 mm, wandering to the right.
std::unique_ptr<CBenchPathItem> LongPath(bool zigzag) {
    std::vector<CLpoint> pts;
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> d(1000, 2000);
    LONG x = 0;
    for (int i = 0; i <= 100000; ++i) {
        pts.push_back(CLpoint(x, zigzag ? (i % 2 ? 5000 : -5000) : d(rng)));
        x += d(rng);
    }
    return std::make_unique<CBenchPathItem>(pts);
}

void BM_PointAlongPath(benchmark::State& state) {
    PrivateSettings();
    static auto path = LongPath(false);
    const double length = path->GetLength();
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i) {
            CLpoint p;
            double a;
            path->PointAlongPath(length * i / 10000.0, p, a);
            benchmark::DoNotOptimize(p);
        }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_PointAlongPath)->Unit(benchmark::kMillisecond);

void BM_NextPointAlongPathSweep(benchmark::State& state) {
    PrivateSettings();
    static auto path = LongPath(false);
    const double length = path->GetLength();
    for (auto _ : state) {
        int element = -1;
        double start = 0.0;
        for (int i = 0; i < 10000; ++i) {
            CLpoint p;
            double a;
            path->NextPointAlongPath(length * i / 10000.0, p, a, element, start);
            benchmark::DoNotOptimize(p);
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_NextPointAlongPathSweep)->Unit(benchmark::kMillisecond);

void BM_IntersectsZigZag(benchmark::State& state) {
    PrivateSettings();
    static auto path = LongPath(true);
    CLpoint a(-1000, 0), b(200000000, 0);
    int count = 0;
    for (auto _ : state) {
        std::unique_ptr<CLpoint[]> pts(path->fnGetIntersects(&a, &b, count, 1));
        benchmark::DoNotOptimize(pts.get());
    }
    state.counters["crossings"] = count;
}
BENCHMARK(BM_IntersectsZigZag)->Unit(benchmark::kMillisecond);

void BM_ReflectedVectEqualY(benchmark::State& state) {
    PrivateSettings();
    std::vector<CLpoint> pts;
    for (int i = 0; i < state.range(0); ++i)
        pts.push_back(CLpoint(i * 10, 0));
    CBenchPathItem item(pts);
    for (auto _ : state) {
        int lo, hi;
        benchmark::DoNotOptimize(item.ReflectedVect(int(state.range(0) / 3), lo, hi));
    }
}
BENCHMARK(BM_ReflectedVectEqualY)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// A design of n vector articles of 20 segments each, over 2 m x 1 m, on 16 styles.
std::unique_ptr<CJoxPage> VectorDesign(int n) {
    PrivateSettings();
    auto page = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    page->GetColourPalette(true, eColourPaletteDefault);
    CVectorArticle::fnGetVectorStylePB(page.get())->fnResize(16);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(0, 2000000), y(0, 1000000);
    CArticle* root = page->RootArticle();
    CTree* last = nullptr;
    for (int i = 0; i < n; ++i) {
        auto* a = new CVectorArticle;
        a->SetPaletteIndex(i % 16);
        a->Item(new CBenchPathItem(Star(x(rng), y(rng), 5000, 20, 0.1 * i)));
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

struct ScreenDC : CJoxDC {
    explicit ScreenDC(platform::Surface& s) {
        Attach(platform::CreateSurfaceDC(&s));
        SetMapMode(1);
        SetWindowExt(2000000, 1000000);
        SetViewportExt(1920, -1080);
        SetViewportOrg(0, 1080);
        SetDrawMode(CJoxDC::DRAW_PATHS);
    }
};

void BM_DrawVectorArticles(benchmark::State& state) {
    static auto page = VectorDesign(10000);
    platform::RasterSurface surface(1920, 1080);
    ScreenDC dc(surface);
    for (auto _ : state) {
        page->RootArticle()->OnDraw(nullptr, &dc);
        surface.Flush();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DrawVectorArticles)->Unit(benchmark::kMillisecond);

void BM_MeasureVectorArticles(benchmark::State& state) {
    static auto page = VectorDesign(10000);
    for (auto _ : state) {
        double total = 0;
        for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling()) {
            auto* item = static_cast<CVectorArticle*>(t)->GetItem();
            item->MakePktArray(4);
            total += item->GetLength() + item->GetArea();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_MeasureVectorArticles)->Unit(benchmark::kMillisecond);

std::vector<BYTE> Store(CJoxPage& page) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    page.Serialize(ar);
    ar.Close();
    return file.Detach();
}

void BM_SaveVectorDesign(benchmark::State& state) {
    auto page = VectorDesign(int(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state)
        bytes = Store(*page).size();
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_SaveVectorDesign)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_OpenVectorDesign(benchmark::State& state) {
    const std::vector<BYTE> bytes = Store(*VectorDesign(int(state.range(0))));
    for (auto _ : state) {
        auto page = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        page->Serialize(ar);
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenVectorDesign)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

// The design document at the sizes a busy shop meets: save and open of designs with thousands
// of articles, extents of the whole tree, and finding an article by its identifier.
#include "pivora/item.h"
#include "pivora/jox_page.h"

#include "platform/core/archive.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A path stand-in: a stored box, so loading and measuring do real work per item.
class CBenchBoxItem : public CItem {
    DECLARE_SERIAL(CBenchBoxItem)
public:
    CBenchBoxItem() = default;
    explicit CBenchBoxItem(const CWindow& box) : m_box(box) {}
    void Serialize(CArchive& ar) override {
        CItem::Serialize(ar);
        if (ar.IsStoring()) {
            ar << int32_t(m_box.x1) << int32_t(m_box.y1) << int32_t(m_box.x2) << int32_t(m_box.y2);
        } else {
            int32_t v[4];
            ar.ReadExact(v, sizeof v);
            m_box = CWindow(v[0], v[1], v[2], v[3]);
        }
    }

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

IMPLEMENT_SERIAL(CBenchBoxItem, CItem, 0)

const std::string& Folder() {
    return bench::PrivateFolder("document");
}

std::unique_ptr<CJoxPage> NewPage() {
    Folder();
    return std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
}

// Imported artwork: groups of 10 paths under the root, as a long row of groups, each path
// with a name and a named value.
std::unique_ptr<CJoxPage> MakeDesign(int articles, std::vector<LONG>* ids = nullptr) {
    auto page = NewPage();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> x(0, 2000000), y(0, 1200000), d(100, 50000);
    CArticle* root = page->RootArticle();
    CArticle* group = nullptr;
    CTree* lastGroup = nullptr;
    CTree* lastChild = nullptr;
    for (int i = 0; i < articles; ++i) {
        if (i % 11 == 0) {
            group = new CArticle;
            if (lastGroup)
                lastGroup->InsertRsibling(group);
            else
                root->AddChild(group);
            lastGroup = group;
            lastChild = nullptr;
            continue;
        }
        auto* a = new CArticle;
        int x0 = x(rng), y0 = y(rng);
        a->Item(new CBenchBoxItem(CWindow(x0, y0, x0 + d(rng), y0 + d(rng))));
        a->SetName(CString(L"Path"));
        a->fnSaveValue(L".VectorColour", i % 16, 0);
        if (lastChild)
            lastChild->InsertRsibling(a);
        else
            group->AddChild(a);
        lastChild = a;
        if (ids)
            ids->push_back(a->GetID());
    }
    root->InvExtents(1);
    page->GetColourPalette(true, eColourPaletteDefault);
    return page;
}

void BM_SaveDesign(benchmark::State& state) {
    auto page = MakeDesign(int(state.range(0)));
    const CString path = CString::FromUtf8(Folder() + "/Save.KDX");
    for (auto _ : state) {
        if (!page->OnSaveDocument(path))
            state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes"] = double(std::filesystem::file_size(path.ToUtf8()));
}
BENCHMARK(BM_SaveDesign)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_OpenDesign(benchmark::State& state) {
    const CString path =
        CString::FromUtf8(Folder() + "/Open" + std::to_string(state.range(0)) + ".KDX");
    MakeDesign(int(state.range(0)))->OnSaveDocument(path);
    for (auto _ : state) {
        auto page = NewPage();
        if (!page->OnOpenDocument(path))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(page->RootArticle()->GetFirstChild());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenDesign)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_TreeExtents(benchmark::State& state) {
    auto page = MakeDesign(int(state.range(0)));
    for (auto _ : state) {
        // Every article recomputes, as after loading or a transform of everything.
        CArticleList list;
        page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
        for (POSITION pos = list.GetHeadPosition(); pos;)
            list.GetNext(pos)->InvExtents(1);
        page->RecalcExtents(0);
        benchmark::DoNotOptimize(page->Extents());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TreeExtents)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FindArticleById(benchmark::State& state) {
    std::vector<LONG> ids;
    auto page = MakeDesign(int(state.range(0)), &ids);
    std::mt19937 rng(3);
    std::uniform_int_distribution<size_t> pick(0, ids.size() - 1);
    for (auto _ : state) {
        CArticle* a = page->RootArticle()->FindID(ids[pick(rng)]);
        if (!a)
            state.SkipWithError("not found");
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_FindArticleById)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

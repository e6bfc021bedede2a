// Designs the document benchmarks are built from: a stored box standing in for a path, and
// imported artwork as a long row of groups. Included by one source of each benchmark program.
#pragma once

#include "bench_support.h"

#include "pivora/item.h"
#include "pivora/jox_page.h"
#include "platform/core/archive.h"

#include <memory>
#include <random>
#include <vector>

namespace bench {

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

// A fresh page, with the run's settings in a private folder.
inline std::unique_ptr<CJoxPage> NewPage(const char* subject) {
    PrivateFolder(subject);
    return std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
}

// Imported artwork: groups of 10 paths under the root, as a long row of groups, each path
// with a name and a named value.
inline std::unique_ptr<CJoxPage> GroupedBoxDesign(const char* subject, int articles,
                                                  std::vector<LONG>* ids = nullptr) {
    auto page = NewPage(subject);
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
    return page;
}

} // namespace bench

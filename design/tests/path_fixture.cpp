#include "design/tests/path_fixture.h"

#include "pivora/geometry/sb.h"
#include "vector/vector_item.h"

#include <memory>

namespace {

constexpr DWORD kCorner = 0x200;

} // namespace

void PathTest::SetUp() {
    std::unique_ptr<CObject> probe(CRuntimeClass::CreateObject("CSplineItem"));
    if (!probe)
        GTEST_SKIP() << "the curve library is not linked";
}

CVectorArticle* PathTest::AddPath(const std::vector<CLpoint>& pts, bool closed, CArticle* parent) {
    CObject* made = CRuntimeClass::CreateObject("CSplineItem");
    auto* item = DynamicDowncast<CVectorItem>(made);
    std::vector<CSb> sb;
    for (const CLpoint& p : pts)
        sb.emplace_back(kCorner, p);
    if (closed && !pts.empty())
        sb.emplace_back(kCorner, pts.front());
    if (!sb.empty())
        item->InsertElement(-1, sb.data(), int(sb.size()));
    auto* a = new CVectorArticle;
    a->Item(item);
    (parent ? parent : m_page.RootArticle())->AddChild(a);
    a->InvExtents(1);
    return a;
}

CVectorArticle* PathTest::AddSquare(LONG x, LONG y, LONG side, CArticle* parent) {
    return AddRect(x, y, x + side, y + side, parent);
}

CVectorArticle* PathTest::AddRect(LONG x1, LONG y1, LONG x2, LONG y2, CArticle* parent) {
    return AddPath({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}, true, parent);
}

CArticle* PathTest::AddGroup(CArticle* parent) {
    auto* g = new CArticle;
    (parent ? parent : m_page.RootArticle())->AddChild(g);
    return g;
}

void PathTest::SetColour(CVectorArticle* a, COLORREF rgb) {
    int style = 0;
    a->SetLineColour(rgb, style);
}

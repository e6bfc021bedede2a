#include "design/tests/page_fixture.h"

#include "pivora/geometry/mat2d.h"

IMPLEMENT_DYNCREATE(CBoxItem, CItem)

void CBoxItem::DoTransform(CMat2d& m) {
    const CLpoint a = m * CLpoint(m_Box.x1, m_Box.y1);
    const CLpoint b = m * CLpoint(m_Box.x2, m_Box.y2);
    m_Box = CWindow(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    InvExtents(1);
}

CObject* CBoxItem::CopyObject(CObject* obj) {
    auto* to = obj ? DynamicDowncast<CBoxItem>(obj) : new CBoxItem;
    if (!to)
        return obj;
    CItem::CopyObject(to);
    to->m_Box = m_Box;
    return to;
}

CTestDesignPage::CTestDesignPage() = default;

PageTest::PageTest() {
    m_page.Extents(CWindow(0, 0, 100000, 100000));
}

CArticle* PageTest::AddBox(const CWindow& box, CArticle* parent, const wchar_t* name) {
    auto* a = new CArticle;
    a->Item(new CBoxItem(box));
    a->SetName(name);
    (parent ? parent : m_page.RootArticle())->AddChild(a);
    a->InvExtents(1);
    return a;
}

CWindow PageTest::BoxOf(CArticle* a) {
    return static_cast<CBoxItem*>(a->GetItem())->Box();
}

std::vector<std::wstring> PageTest::ChildNames(CArticle* parent) {
    std::vector<std::wstring> out;
    for (CTree* t = (parent ? parent : m_page.RootArticle())->GetFirstChild(); t;
         t = t->GetRsibling())
        out.push_back(static_cast<const wchar_t*>(static_cast<CArticle*>(t)->GetName()));
    return out;
}

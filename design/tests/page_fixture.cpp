#include "design/tests/page_fixture.h"

#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/mat2d.h"
#include "platform/windowing/message.h"
#include "platform/windowing/scroll_bar.h"

// Qt's font database keeps what fontconfig gives it for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

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

int CBoxItem::HitTestPoint(CItemHitTest* test) {
    CRect r(m_Box.x1, m_Box.y2, m_Box.x2, m_Box.y1);
    test->GetDC()->LPtoDP(static_cast<RECT*>(&r));
    r.NormalizeRect();
    r.InflateRect(0, 0, 1, 1);
    return r.PtInRect(test->GetHitPoint());
}

void CTestDesignWindow::Place(int perPixel, int x, int y) {
    m_sizeWindow = CSize(perPixel, perPixel);
    m_sizeViewport = CSize(1, 1);
    m_nHPos = 0;
    m_nVPos = 0;
    m_bCentred = 0;
    const CSize ruler = GetRulerSize();
    SetOriginOffset(CPoint((x - ruler.cx) * perPixel, (y - ruler.cy) * perPixel));
}

BOOL CTestDesignWindow::OnCommand(WPARAM wp, LPARAM lp) {
    commands.push_back(UINT(LOWORD(wp)));
    return CJoxView::OnCommand(wp, lp);
}

CTestDesignPage::CTestDesignPage() = default;

PageTest::PageTest() {
    platform::ResetMessageQueue();
    m_page.m_bAutoDelete = FALSE;
    m_page.Extents(CWindow(0, 0, 100000, 100000));
}

PageTest::~PageTest() {
    if (m_pView && ::IsWindow(m_pView->m_hWnd))
        m_pView->DestroyWindow(); // frees the view
    platform::ResetMessageQueue();
}

CTestDesignWindow* PageTest::View() {
    if (m_pView)
        return m_pView;
    m_pView = new CTestDesignWindow;
    EXPECT_TRUE(m_pView->CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300),
                                  nullptr, 0));
    m_page.AddView(m_pView);
    ShowScrollBar(m_pView->m_hWnd, SB_BOTH, TRUE);
    m_pView->Place(1000, 200, 150);
    return m_pView;
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

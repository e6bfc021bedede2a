#include "pivora/tests/view_fixture.h"

#include "platform/windowing/scroll_bar.h"

// Qt's font database keeps what fontconfig gives it for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

void CTestView::OnDraw(CJoxDC* dc) {
    CJoxView::OnDraw(dc);
    DrawGrid(dc);
    if (CJoxPage* page = GetDocument())
        page->OnDraw(this, dc);
    DrawGuides(dc);
}

void ViewTest::SetUp() {
    DesignTest::SetUp();
    platform::ResetMessageQueue();
    page = NewPage();
    page->m_bAutoDelete = FALSE;
    view = new CTestView;
    ASSERT_TRUE(
        view->CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    page->AddView(view);
    // The bars a view always shows, shown before the test sets its zoom.
    ShowScrollBar(view->m_hWnd, SB_BOTH, TRUE);
}

void ViewTest::TearDown() {
    if (view && ::IsWindow(view->m_hWnd))
        view->DestroyWindow(); // frees the view
    page.reset();
    platform::ResetMessageQueue();
    DesignTest::TearDown();
}

void ViewTest::Place(CSize window, CSize viewport, int x, int y) {
    view->SetZoom(window, viewport);
    view->SetPositions(0, 0);
    const CSize ruler = view->GetRulerSize();
    view->SetOriginOffset(CPoint(int((x - ruler.cx) * double(window.cx) / viewport.cx),
                                 int((y - ruler.cy) * double(window.cy) / viewport.cy)));
}

void CHitBoxItem::OnDraw(CJoxView*, CJoxDC* dc) {
    ++draws;
    CWindow w = FullExtents();
    CPen pen(PS_SOLID, 2, RGB(180, 0, 0));
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(w.x1, w.y1);
    dc->LineTo(w.x2, w.y1);
    dc->LineTo(w.x2, w.y2);
    dc->LineTo(w.x1, w.y2);
    dc->LineTo(w.x1, w.y1);
    dc->SelectObject(old);
}

int CHitBoxItem::HitTestPoint(CItemHitTest* test) {
    CWindow w = FullExtents();
    CRect r(w.x1, w.y2, w.x2, w.y1);
    test->GetDC()->LPtoDP(static_cast<RECT*>(&r));
    r.NormalizeRect();
    if (!r.PtInRect(test->GetHitPoint()))
        return 0;
    test->SetHitIndex(7);
    return 1;
}

CArticle* AddHitBox(CArticle* parent, const CWindow& box) {
    auto* a = new CArticle;
    a->Item(new CHitBoxItem(box));
    parent->AddChild(a);
    a->InvExtents(1);
    return a;
}

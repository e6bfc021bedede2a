#include "kelvane/app/sample_view.h"

#include "pivora/grid.h"
#include "pivora/jox_page.h"
#include "platform/windowing/scroll_bar.h"

IMPLEMENT_DYNCREATE(CSampleView, CJoxView)

namespace {

// The page in data units (micrometres, y up): A4 upright.
constexpr LONG kPageWidth = 210000, kPageHeight = 297000;

} // namespace

void CSampleView::OnInitialUpdate() {
    if (CJoxPage* page = GetDocument()) {
        page->Extents(CWindow(0, 0, kPageWidth, kPageHeight));
        // The sample shows its 10 mm grid.
        if (CGrid* grid = page->Grid())
            grid->showRect = 1;
    }
    SetScrollExtents(CWindow(0, 0, kPageWidth, kPageHeight));
    ShowScrollBar(m_hWnd, SB_BOTH, TRUE);
    SetRuler(1, 0);
    CJoxView::OnInitialUpdate();
    m_bFitted = SetZoomToFit(CWindow(0, 0, kPageWidth, kPageHeight), 1) != 0;
}

void CSampleView::OnSize(UINT type, int cx, int cy) {
    CJoxView::OnSize(type, cx, cy);
    if (!m_bFitted && GetDocument())
        m_bFitted = SetZoomToFit(CWindow(0, 0, kPageWidth, kPageHeight), 1) != 0;
}

void CSampleView::OnDraw(CJoxDC* dc) {
    CJoxView::OnDraw(dc);
    DrawGrid(dc);
    if (CJoxPage* page = GetDocument())
        page->OnDraw(this, dc);

    // A few paths: a star, an ellipse and a curve, as cut lines.
    CPen red(PS_SOLID, 2, RGB(0xD0, 0x20, 0x20)), blue(PS_SOLID, 2, RGB(0x20, 0x40, 0xC0));
    CPen green(PS_SOLID, 2, RGB(0x20, 0x90, 0x30));
    CPen* oldPen = dc->SelectObject(&red);
    dc->SelectStockObject(NULL_BRUSH);
    POINT star[11] = {{105000, 270000}, {117000, 236000}, {153000, 236000}, {124000, 214000},
                      {135000, 180000}, {105000, 200000}, {75000, 180000},  {86000, 214000},
                      {57000, 236000},  {93000, 236000},  {105000, 270000}};
    dc->Polyline(star, 11);
    dc->SelectObject(&blue);
    dc->Ellipse(40000, 160000, 170000, 80000);
    dc->SelectObject(&green);
    POINT curve[4] = {{30000, 40000}, {80000, 110000}, {130000, -20000}, {180000, 60000}};
    dc->PolyBezier(curve, 4);
    dc->SelectObject(oldPen);
    DrawGuides(dc);
}

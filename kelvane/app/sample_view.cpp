#include "kelvane/app/sample_view.h"

#include "pivora/framework/jox_paint_dc.h"

#include <string>

IMPLEMENT_DYNCREATE(CSampleView, CView)

namespace {

// The page in data units (micrometres): A4 upright.
constexpr LONG kPageWidth = 210000, kPageHeight = 297000, kGridStep = 10000;

void DrawRulers(CJoxDC& dc, const CRect& client) {
    CBrush band(RGB(0xF0, 0xF0, 0xF0));
    CRect top(0, 0, client.right, CSampleView::kRuler);
    CRect left(0, 0, CSampleView::kRuler, client.bottom);
    dc.CDC::FillRect(&top, &band);
    dc.CDC::FillRect(&left, &band);
    CPen tick(PS_SOLID, 1, RGB(0x40, 0x40, 0x40));
    CPen* old = dc.SelectObject(&tick);
    dc.SetBkMode(TRANSPARENT);
    // Ticks every 10 mm of the page, numbered every 50 mm.
    for (LONG mm = 0; mm <= kPageHeight / 1000; mm += 10) {
        CPoint x(mm * 1000, 0), y(0, kPageHeight - mm * 1000);
        dc.LPtoDP(x);
        dc.LPtoDP(y);
        bool major = mm % 50 == 0;
        if (mm * 1000 <= kPageWidth) {
            dc.CDC::MoveTo(x.x, CSampleView::kRuler - (major ? 12 : 5));
            dc.CDC::LineTo(x.x, CSampleView::kRuler);
            if (major) {
                std::wstring n = std::to_wstring(mm);
                dc.CDC::TextOut(x.x + 2, 1, n.c_str(), int(n.size()));
            }
        }
        dc.CDC::MoveTo(CSampleView::kRuler - (major ? 12 : 5), y.y);
        dc.CDC::LineTo(CSampleView::kRuler, y.y);
    }
    dc.SelectObject(old);
}

} // namespace

void CSampleView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    Invalidate(FALSE);
}

void CSampleView::OnPaint() {
    CJoxPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBrush back(CJoxDC::DefaultBackColour());
    dc.CDC::FillRect(&client, &back);
    CRect area(kRuler, kRuler, client.right, client.bottom);
    if (area.Width() < 20 || area.Height() < 20)
        return;
    CWindow page(-kGridStep, -kGridStep, kPageWidth + kGridStep, kPageHeight + kGridStep);
    dc.ZoomExtents(area, page);
    CPoint org = dc.GetViewportOrg();
    dc.SetViewportOrg(org.x + kRuler, org.y + kRuler);

    // The page with its shadow, then the grid.
    CBrush white(RGB(0xFF, 0xFF, 0xFF)), shadow(RGB(0x40, 0x40, 0x40));
    CPen none(PS_NULL, 0, COLORREF(0));
    CPen* oldPen = dc.SelectObject(&none);
    CBrush* oldBrush = dc.SelectObject(&shadow);
    dc.Rectangle(2000, -2000, kPageWidth + 2000, kPageHeight - 2000);
    dc.SelectObject(&white);
    dc.Rectangle(0, 0, kPageWidth, kPageHeight);
    CPen grid(PS_SOLID, 1, RGB(0xC8, 0xDC, 0xF0));
    dc.SelectObject(&grid);
    for (LONG x = kGridStep; x < kPageWidth; x += kGridStep) {
        dc.MoveTo(x, 0);
        dc.LineTo(x, kPageHeight);
    }
    for (LONG y = kGridStep; y < kPageHeight; y += kGridStep) {
        dc.MoveTo(0, y);
        dc.LineTo(kPageWidth, y);
    }

    // A few paths: a star, an ellipse and a curve, as cut lines.
    CPen red(PS_SOLID, 2, RGB(0xD0, 0x20, 0x20)), blue(PS_SOLID, 2, RGB(0x20, 0x40, 0xC0));
    CPen green(PS_SOLID, 2, RGB(0x20, 0x90, 0x30));
    CBrush* hollow = static_cast<CBrush*>(dc.SelectStockObject(NULL_BRUSH));
    (void)hollow;
    dc.SelectObject(&red);
    POINT star[11] = {{105000, 270000}, {117000, 236000}, {153000, 236000}, {124000, 214000},
                      {135000, 180000}, {105000, 200000}, {75000, 180000},  {86000, 214000},
                      {57000, 236000},  {93000, 236000},  {105000, 270000}};
    dc.Polyline(star, 11);
    dc.SelectObject(&blue);
    dc.Ellipse(40000, 160000, 170000, 80000);
    dc.SelectObject(&green);
    POINT curve[4] = {{30000, 40000}, {80000, 110000}, {130000, -20000}, {180000, 60000}};
    dc.PolyBezier(curve, 4);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);

    DrawRulers(dc, client);
}

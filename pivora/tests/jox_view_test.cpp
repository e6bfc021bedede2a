#include "pivora/framework/jox_view.h"

#include "pivora/framework/area_hint.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_paint_dc.h"
#include "pivora/tests/view_fixture.h"
#include "platform/framework/frame_messages.h"
#include "platform/windowing/colour_dialog.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/scroll_bar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {

using JoxView = ViewTest;

TEST_F(JoxView, AMillionUnitsAtATenthOfAPixelScrollWithScaledBars) {
    view->SetZoom(CSize(1000000, 1000000), CSize(100000, -100000));
    view->SetScrollSizes(CSize(1000000, 1000000));
    EXPECT_EQ(view->GetTotalDeviceSize(), CSize(100000, 100000));
    EXPECT_EQ(view->GetScrollBarScale(), 4); // 100000 / 32768 + 1
    int lo = -1, hi = -1;
    GetScrollRange(view->m_hWnd, SB_HORZ, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 25000);
    view->ScrollToDevicePosition(CPoint(50000, 0), 0);
    EXPECT_EQ(GetScrollPos(view->m_hWnd, SB_HORZ), 12500);
    EXPECT_EQ(view->GetDeviceScrollPosition(), CPoint(50000, 0));
}

TEST_F(JoxView, DegenerateSizesAndZoomsChangeNothing) {
    view->SetZoom(CSize(1000000, 1000000), CSize(100000, -100000));
    view->SetScrollSizes(CSize(1000000, 1000000));
    const CSize window = view->GetWindowExtent(), device = view->GetTotalDeviceSize();
    view->SetScrollSizes(CSize(0, 100));
    EXPECT_EQ(view->GetWindowExtent(), window);
    EXPECT_EQ(view->GetTotalDeviceSize(), device);
    // 200,000 pixels per unit over 1,000 units is past the device guard.
    view->SetZoom(CSize(1000000, 1000000), CSize(200000000, -200000000));
    view->SetScrollSizes(CSize(1000, 1000));
    EXPECT_EQ(view->GetWindowExtent(), window);
    EXPECT_EQ(view->GetTotalDeviceSize(), device);
    EXPECT_EQ(view->GetScrollBarScale(), 4);
    // A rectangle without width has no zoom that fits it.
    EXPECT_EQ(view->SetZoomToFit(CWindow(5000, 0, 5000, 9000), 1), 0);
    EXPECT_EQ(view->SetZoomToFit(CWindow(0, 7, 9000, 7), 1), 0);
}

TEST_F(JoxView, ASizeWithoutWindowExtentUsesTheDefaultOne) {
    view->SetScrollExtents(CWindow(0, 0, 10000, 10000));
    view->SetZoom(CSize(0, 0), CSize(0, 0));
    view->MoveWindow(0, 0, 500, 400);
    const CSize vp = view->GetViewportExtent();
    EXPECT_GT(vp.cx, 0);
    EXPECT_LT(vp.cy, INT_MAX);
    EXPECT_NE(vp.cx, INT_MIN);
}

TEST_F(JoxView, ACentredViewNeverScrollsToAnInvertedRange) {
    // 1000 units at one pixel each in a 400 x 300 window: nothing to scroll.
    view->SetScrollExtents(CWindow(0, 0, 100, 100));
    view->SetZoom(CSize(100, 100), CSize(100, -100));
    view->SetScrollSizes(CSize(100, 100));
    EXPECT_TRUE(view->IsCentred());
    EXPECT_EQ(view->GetScrollMax(SB_HORZ), 0);
    EXPECT_EQ(view->GetScrollMax(SB_VERT), 0);
    EXPECT_EQ(view->OnScrollBy(CSize(50, 50), 1), 0);
    view->ScrollToPosition(CPoint(1000, -1000), 0);
    view->OnScroll(MAKEWORD(SB_BOTTOM, SB_BOTTOM), 0, 1);
    const CPoint pos = view->GetDeviceScrollPosition();
    EXPECT_LE(pos.x, 0); // centred: the content sits in the middle
    EXPECT_LE(pos.y, 0);
}

TEST_F(JoxView, ScrollCodesMoveByLinesPagesAndToTheEnds) {
    view->SetZoom(CSize(1000000, 1000000), CSize(100000, -100000));
    view->SetScrollSizes(CSize(1000000, 1000000));
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0));
    const int paged = view->GetDeviceScrollPosition().x;
    EXPECT_GT(paged, 0);
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEUP, 0));
    EXPECT_LT(view->GetDeviceScrollPosition().x, paged);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0));
    EXPECT_EQ(view->GetDeviceScrollPosition().y, view->GetScrollMax(SB_VERT));
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100));
    EXPECT_EQ(view->GetDeviceScrollPosition().y, 400); // 100 x scale 4
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0));
    EXPECT_EQ(view->GetDeviceScrollPosition().y, 0);
}

TEST_F(JoxView, DocumentRectanglesConvertAndInvalidateSevenPixelsBeyond) {
    Place(CSize(1000, 1000), CSize(100, -100), 50, 250);
    CRect r(1000, 2000, 3000, 0); // data: left, top (y up), right, bottom
    view->DocToClient(r);
    EXPECT_EQ(r, CRect(150, 50, 350, 250)); // normalised
    CWindow w(1000, 0, 3000, 2000);
    view->DocToClient(w);
    EXPECT_EQ(w, CWindow(150, 250, 350, 50)); // corners as they are
    ValidateRect(view->m_hWnd, nullptr);
    view->InvalidateDocRect(CWindow(1000, 0, 3000, 2000), TRUE);
    CRect update;
    GetUpdateRect(view->m_hWnd, &update, FALSE);
    EXPECT_EQ(update, CRect(143, 43, 357, 257));
    // The typed area hint of UpdateAllViews does the same.
    ValidateRect(view->m_hWnd, nullptr);
    CAreaHint hint(CWindow(1000, 0, 3000, 2000));
    page->UpdateAllViews(nullptr, 0, &hint);
    GetUpdateRect(view->m_hWnd, &update, FALSE);
    EXPECT_EQ(update, CRect(143, 43, 357, 257));
}

TEST_F(JoxView, PrintingScalesByThePrinterResolutionInFloatingPoint) {
    view->SetScrollExtents(CWindow(0, 0, 254000, 127000)); // 10 x 5 inches
    CJoxClientDC dc(view, eClientAll);
    dc.m_bPrinting = TRUE;
    view->OnPrepareDC(&dc, nullptr);
    CPoint corner(254000, 0);
    dc.LPtoDP(corner);
    EXPECT_EQ(corner, CPoint(960, 480)); // 96 pixels per inch, top-left at (0, 0)
}

TEST_F(JoxView, RegionsOfClientContextsAndThePaintContext) {
    view->SetRuler(1, 0);
    EXPECT_EQ(view->GetRulerSize(), CSize(25, 25)); // 1.5 scroll bars
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(client.TopLeft(), CPoint(25, 25));
    {
        CJoxClientDC doc(view, eClientDocument);
        CRect box;
        doc.GetClipBox(&box);
        EXPECT_EQ(box.TopLeft(), CPoint(25, 25));
    }
    view->Invalidate(FALSE);
    {
        CJoxPaintDC dc(view);
        EXPECT_EQ(view->PaintDC(), &dc);
        EXPECT_TRUE(view->InPaint());
    }
    EXPECT_EQ(view->PaintDC(), nullptr);
    view->SetRuler(0, 0);
    CJoxClientDC all(view, eClientDocument);
    CRect box;
    all.GetClipBox(&box);
    EXPECT_EQ(box.TopLeft(), CPoint(0, 0));
}

struct RulerCase {
    const char* name;
    int inches;
    CSize window, viewport;           // zoom
    std::vector<std::wstring> labels; // the first labels from data 0 on
    bool halves, extra;
};

TEST_F(JoxView, RulerLabelsAndTicks) {
    const RulerCase cases[] = {
        {"10 mm",
         0,
         CSize(100000, 100000),
         CSize(1000, -1000),
         {L"0 mm", L"10 mm", L"20 mm"},
         false,
         false},
        {"50 mm", 0, CSize(250000, 250000), CSize(1000, -1000), {L"0 mm", L"50 mm"}, true, true},
        {"0.25 in",
         1,
         CSize(100000, 100000),
         CSize(1000, -1000),
         {L"0 in", L"0.25 in", L"0.5 in"},
         false,
         false},
    };
    for (const RulerCase& c : cases) {
        QvSetAppParam(L"Display Inches", c.inches);
        view->SetRuler(1, 0);
        Place(c.window, c.viewport, 25, 275);
        platform::RecordingSurface rec(400, 300);
        platform::SetWindowSurface(view->m_hWnd, &rec);
        {
            CJoxClientDC dc(view, eClientAll);
            view->DrawRulerText(&dc);
        }
        platform::SetWindowSurface(view->m_hWnd, nullptr);
        std::vector<std::wstring> texts;
        for (const auto& call : rec.Calls(platform::GdiOp::TextOut))
            if (call.pts.empty() || call.pts[0].y == 4) // the top band
                texts.push_back(call.text);
        auto zero = std::find(texts.begin(), texts.end(), c.labels[0]);
        ASSERT_NE(zero, texts.end()) << c.name << "\n" << rec.Dump();
        const auto n = ptrdiff_t(c.labels.size());
        ASSERT_GE(texts.end() - zero, n) << c.name;
        EXPECT_EQ(std::vector<std::wstring>(zero, zero + n), c.labels) << c.name;
        // Tick ends in the top band: the major tick reaches y = 3; the minor ones tell
        // halves (k 3 and 4) from a plain step (k 2 at the middle, else 4) and extra ticks (k 8).
        std::vector<int> ends;
        for (const auto& call : rec.Calls(platform::GdiOp::LineTo))
            if (!call.pts.empty() && call.pts.back().x > 25 && call.pts.back().y < 25)
                ends.push_back(call.pts.back().y);
        auto has = [&](int y) { return std::count(ends.begin(), ends.end(), y) > 0; };
        EXPECT_TRUE(has(3)) << c.name;
        EXPECT_TRUE(has(15)) << c.name;          // k 4: 25 - 16 / 4 - 6
        EXPECT_EQ(has(11), !c.halves) << c.name; // k 2: the longer middle tick
        EXPECT_EQ(has(14), c.halves) << c.name;  // k 3: 25 - 16 / 3 - 6
        EXPECT_EQ(has(17), c.extra) << c.name;   // k 8
    }
}

TEST_F(JoxView, RulerMarksFollowTheMouseAndVanishOverTheBands) {
    view->SetRuler(1, 0);
    platform::RecordingSurface rec(400, 300);
    platform::SetWindowSurface(view->m_hWnd, &rec);
    EXPECT_EQ(view->CJoxView::OnMouseMove(0, CPoint(100, 100)), 0);
    EXPECT_TRUE(view->RulerMarksShown());
    rec.Clear();
    // Over the top band: the marks at (100, 100) are erased and none drawn.
    EXPECT_EQ(view->CJoxView::OnMouseMove(0, CPoint(100, 10)), 1); // guides can be grabbed there
    platform::SetWindowSurface(view->m_hWnd, nullptr);
    EXPECT_FALSE(view->RulerMarksShown());
    auto lines = rec.Calls(platform::GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rop, R2_XORPEN);
    EXPECT_EQ(lines[0].pts.back(), CPoint(100, 3));
    EXPECT_EQ(lines[1].pts.back(), CPoint(3, 100));
    view->SetRuler(0, 0);
    EXPECT_EQ(view->CJoxView::OnMouseMove(0, CPoint(10, 10)), 0);
}

TEST_F(JoxView, TheBackgroundColourIsChosenThroughTheColourDialog) {
    platform::ScopedDialogResponder answer([](HWND dialog, UINT id) {
        ASSERT_EQ(id, platform::kColourDialogId);
        EXPECT_EQ(platform::GetDialogColour(dialog), 0x7D7D7Du);
        platform::SetDialogColour(dialog, RGB(10, 20, 30));
        EndDialog(dialog, IDOK);
    });
    EXPECT_EQ(CJoxView::fnChooseBackColour(), 1);
    EXPECT_EQ(CJoxView::fnGetBackColour(), RGB(10, 20, 30));
    EXPECT_EQ(QvGetAppParam(L"BackColourValue", 0), int(RGB(10, 20, 30)));
    CJoxView::fnSetBackColourOn(0);
    CJoxView::fnSetBackColour(0x7D7D7D);
}

TEST_F(JoxView, SizeToFitIsACommandAndZoomsToTheDesign) {
    AddBox(*page, nullptr, CWindow(0, 0, 200000, 100000));
    view->MoveWindow(0, 0, 400, 300);
    const CSize before = view->GetViewportExtent();
    view->SendMessage(WM_COMMAND, MAKEWPARAM(CJoxView::ID_VIEW_SIZE_TO_FIT, 0));
    EXPECT_NE(view->GetViewportExtent(), before);
    const CWindow ext = view->GetScrollExtents();
    EXPECT_LE(ext.x1, 0);
    EXPECT_GE(ext.x2, 200000);
    EXPECT_EQ(view->SetSizeToFit(), 0); // nothing new to fit
}

} // namespace

namespace {

TEST_F(ViewTest, APageWithGridGuidesRulersFrameAndArticlesOnTheScreen) {
    QvSetAppParam(L"Draw Page Frame", 1);
    QvSetAppParam(L"Display Inches", 0);
    page->Extents(CWindow(0, 0, 210000, 148000)); // A5 across
    page->DeviceExtents(CWindow(0, 0, 210000, 148000));
    CGrid& grid = *page->Grid();
    grid.showRect = 1;
    grid.showOriginLines = 1;
    grid.AddGridLinePos(50000, CGrid::kVertical);
    grid.AddGridLinePos(100000, CGrid::kHorizontal);
    CArticle* root = page->RootArticle();
    AddHitBox(root, CWindow(20000, 20000, 80000, 60000));
    AddHitBox(root, CWindow(100000, 30000, 190000, 130000));
    root->InvExtents(1);
    view->MoveWindow(0, 0, 900, 650);
    view->SetRuler(1, 0);
    view->SetScrollExtents(CWindow(0, 0, 210000, 148000));
    ASSERT_EQ(view->SetZoomToFit(CWindow(-10000, -10000, 220000, 158000), 1), 1);
    view->UpdateWindow();
    auto* surface =
        dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(view->m_hWnd));
    ASSERT_NE(surface, nullptr);
    ASSERT_TRUE(surface->SavePng(std::string(TEST_BINARY_DIR) + "/base_view_page.png"));
    // The rulers' face and the red box outline are on the screen.
    EXPECT_EQ(surface->Pixel(1, 300) & 0xFFFFFF, GetSysColor(COLOR_BTNFACE) & 0xFFFFFF);
    CPoint corner(20000, 20000);
    view->DocToClient(corner);
    bool red = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            red = red || surface->Pixel(corner.x + dx + 20, corner.y + dy) == RGB(180, 0, 0);
    EXPECT_TRUE(red);
}

} // namespace

namespace {

TEST_F(JoxView, ExtentsNearTheLimitsOfADesignZoomScrollAndDraw) {
    const CWindow huge(-99999999, -99999999, 99999999, 99999999);
    page->Extents(huge);
    for (int i = 0; i < 3000; ++i)
        page->Grid()->AddGridLinePos(-99999999 + i * 66666, i % 2);
    view->SetRuler(1, 0);
    view->SetScrollExtents(huge);
    EXPECT_EQ(view->SetZoomToFit(huge, 1), 1);
    view->MoveWindow(0, 0, 420, 310);
    // Zoomed in on a corner: a micrometre a pixel over 200 m is past the guard.
    EXPECT_EQ(view->SetZoomToFit(CWindow(99999000, 99999000, 99999999, 99999999), 1), 1);
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0));
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0));
    CPoint p(99999999, -99999999);
    view->DocToClient(p);
    view->InvalidateDocRect(huge, TRUE);
    view->UpdateWindow(); // rulers, grid, guides and page frame over the whole range
    CSize need, range;
    CPoint move;
    view->GetScrollBarState(CSize(420, 310), need, range, move, FALSE);
    EXPECT_EQ(need, CSize(1, 1));
    EXPECT_GE(move.x, 0);
}

} // namespace

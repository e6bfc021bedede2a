#include "platform/graphics/dc.h"

#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

using platform::GdiOp;

// The system's font library keeps its caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace {

struct SurfaceDC : CDC {
    explicit SurfaceDC(platform::Surface& s) { Attach(platform::CreateSurfaceDC(&s)); }
};

TEST(CDCObjects, SelectReturnsTheOwnerOfTheOldHandleOrATemporaryWrapper) {
    platform::RecordingSurface s;
    SurfaceDC dc(s);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0)), blue(PS_DASH, 1, RGB(0, 0, 255));
    CPen* stock = dc.SelectObject(&red);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock->m_hObject, GetStockObject(BLACK_PEN)); // stock pen: a temporary wrapper
    EXPECT_EQ(dc.SelectObject(&blue), &red);
    EXPECT_TRUE(dc.GetCurrentPen()->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(dc.SelectObject(stock), &blue);
    CGdiObject::DeleteTempMap();
}

TEST(CDCHandles, OutputAndAttributeContextsKeepOnePosition) {
    platform::RecordingSurface out, attrib;
    CDC dc;
    dc.SetOutputDC(platform::CreateSurfaceDC(&out));
    dc.SetAttribDC(platform::CreateSurfaceDC(&attrib));
    dc.MoveTo(10, 20);
    dc.LineTo(30, 40);
    POINT curve[3] = {{40, 40}, {50, 50}, {60, 70}};
    dc.PolyBezierTo(curve, 3);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(60, 70));
    EXPECT_EQ(out.Count(GdiOp::LineTo), 1);
    EXPECT_EQ(attrib.Count(GdiOp::LineTo), 0); // drawing goes to the output only
    dc.SetROP2(R2_XORPEN);
    EXPECT_EQ(::GetROP2(dc.m_hDC), R2_XORPEN);
    EXPECT_EQ(dc.GetROP2(), R2_XORPEN);
    ::DeleteDC(dc.m_hAttribDC);
    dc.ReleaseAttribDC();
}

TEST(CDCText, TextIsRecordedAndPaintedWithTheSystemFonts) {
    platform::RecordingSurface rec;
    SurfaceDC r(rec);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"MS Sans Serif"));
    r.SelectObject(&font);
    r.TextOut(5, 6, L"Vinyl");
    ASSERT_EQ(rec.Count(GdiOp::TextOut), 1);
    EXPECT_EQ(rec.Calls()[0].text, L"Vinyl");
    CSize extent = r.GetTextExtent(L"Vinyl");
    EXPECT_GT(extent.cx, 10);
    EXPECT_GT(extent.cy, 5);

    platform::RasterSurface raster(80, 30);
    SurfaceDC d(raster);
    d.SetBkMode(TRANSPARENT);
    d.SelectObject(&font);
    d.TextOut(2, 2, L"Vinyl");
    int dark = 0;
    for (uint32_t p : raster.Pixels())
        dark += (p & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_GT(dark, 10);
    r.SelectStockObject(SYSTEM_FONT);
    d.SelectStockObject(SYSTEM_FONT);
}

TEST(CDCText, EachFontMeasuresWithItsOwnSize) {
    platform::RecordingSurface rec;
    SurfaceDC dc(rec);
    CFont small, large;
    ASSERT_TRUE(small.CreatePointFont(80, L"MS Sans Serif"));
    ASSERT_TRUE(large.CreatePointFont(240, L"MS Sans Serif"));
    const CSize none = dc.GetTextExtent(L"Vinyl");
    dc.SelectObject(&small);
    const CSize a = dc.GetTextExtent(L"Vinyl");
    dc.SelectObject(&large);
    const CSize b = dc.GetTextExtent(L"Vinyl");
    EXPECT_GT(b.cx, a.cx);
    EXPECT_GT(b.cy, a.cy);
    dc.SelectObject(&small);
    EXPECT_EQ(dc.GetTextExtent(L"Vinyl"), a);
    EXPECT_GT(dc.GetTextExtent(L"Vinyl vinyl").cx, a.cx);
    dc.SelectObject(&large);
    EXPECT_EQ(dc.GetTextExtent(L"Vinyl"), b);
    EXPECT_GT(none.cx, 0);
    CGdiObject::DeleteTempMap();
}

TEST(CDCFill, PolygonFillModeIsKeptAndReachesTheSurface) {
    platform::RecordingSurface s;
    SurfaceDC dc(s);
    EXPECT_EQ(dc.GetPolyFillMode(), ALTERNATE);
    EXPECT_EQ(dc.SetPolyFillMode(WINDING), ALTERNATE);
    EXPECT_EQ(dc.SetPolyFillMode(7), 0);
    EXPECT_EQ(dc.GetPolyFillMode(), WINDING);
    dc.BeginPath();
    dc.MoveTo(0, 0);
    dc.LineTo(10, 0);
    dc.LineTo(10, 10);
    dc.EndPath();
    dc.FillPath();
    ASSERT_EQ(s.Count(GdiOp::FillPath), 1);
    EXPECT_EQ(s.Calls(GdiOp::FillPath)[0].polyFillMode, WINDING);
}

TEST(CDCFill, FillSolidRectLeavesNoBrushBehind) {
    platform::RecordingSurface s;
    SurfaceDC dc(s);
    dc.FillSolidRect(1, 2, 3, 4, RGB(9, 8, 7));
    ASSERT_EQ(s.Count(GdiOp::FillRect), 1);
    EXPECT_EQ(s.Calls()[0].colour, RGB(9, 8, 7));
    EXPECT_EQ(CRect(s.Calls()[0].rect), CRect(1, 2, 4, 6));
}

} // namespace

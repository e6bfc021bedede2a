#include "pivora/framework/jox_dc.h"

#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

using platform::GdiOp;
using platform::RasterSurface;
using platform::RecordingSurface;

namespace {

// A CJoxDC drawing on a surface the test owns.
struct SurfaceDC : CJoxDC {
    explicit SurfaceDC(platform::Surface& s) { Attach(platform::CreateSurfaceDC(&s)); }
};

TEST(JoxDCMapping, MapModeZeroLeavesEveryFormUnchanged) {
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetViewportExt(1000, -1000);
    dc.SetViewportOrg(50, 60);
    POINT pts[2] = {{7, -8}, {123456789, -5}};
    dc.LPtoDP(pts, 2);
    EXPECT_EQ(pts[1].x, 123456789);
    CPoint p(3, 4);
    dc.DPtoLP(p);
    int x = 9, y = 10;
    dc.LPtoDP(x, y);
    RECT r{1, 2, 3, 4};
    dc.LPtoDP(&r);
    SIZE sz{-5, 6};
    dc.DPtoLP(&sz);
    EXPECT_EQ(pts[0].x, 7);
    EXPECT_EQ(pts[0].y, -8);
    EXPECT_EQ(p, CPoint(3, 4));
    EXPECT_EQ(x, 9);
    EXPECT_EQ(y, 10);
    EXPECT_EQ(CRect(r), CRect(1, 2, 3, 4));
    EXPECT_EQ(CSize(sz), CSize(-5, 6));
}

TEST(JoxDCMapping, OwnMappingScalesAndOffsetsBothWays) {
    RecordingSurface s;
    SurfaceDC dc(s);
    EXPECT_EQ(dc.SetMapMode(1), 0);
    dc.SetWindowExt(10000, 10000);
    EXPECT_EQ(dc.SetViewportExt(1000, -1000), CSize(1000, -1000));
    EXPECT_EQ(dc.SetViewportOrg(50, 60), CPoint(50, 60));
    CPoint p(2000, 3000);
    dc.LPtoDP(p);
    EXPECT_EQ(p, CPoint(250, -240));
    dc.DPtoLP(p);
    EXPECT_EQ(p, CPoint(2000, 3000));
    // Sizes keep their sign: absolute extents, no origin.
    SIZE sz{-2000, 3000};
    dc.LPtoDP(&sz);
    EXPECT_EQ(CSize(sz), CSize(-200, 300));
    dc.DPtoLP(&sz);
    EXPECT_EQ(CSize(sz), CSize(-2000, 3000));
}

// Points map with MulDiv's rounding: halves away from zero, either sign, huge values.
TEST(JoxDCMapping, PointsRoundLikeMulDiv) {
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetMapMode(1);
    for (CSize ext : {CSize(7, -7), CSize(-3, 3), CSize(1000, -1000)}) {
        dc.SetWindowExt(20, 20);
        dc.SetViewportExt(ext.cx, ext.cy);
        const CSize vp = dc.SetViewportExt(ext.cx, ext.cy);
        dc.SetViewportOrg(5, -6);
        for (int v : {0, 1, -1, 10, -10, 13, -13, 2147483, -2147483, 2147483647, -2147483647}) {
            CPoint p(v, -v);
            dc.LPtoDP(p);
            EXPECT_EQ(p.x, MulDiv(v, vp.cx, 20) + 5) << v;
            EXPECT_EQ(p.y, MulDiv(-v, vp.cy, 20) - 6) << v;
        }
    }
}

TEST(JoxDCMapping, ViewportExtentTakesTheSmallerScale) {
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetWindowExt(1000, 1000);
    EXPECT_EQ(dc.SetViewportExt(400, -100), CSize(100, -100));
    EXPECT_EQ(dc.GetViewportExt(), CSize(100, -100));
}

TEST(JoxDCMapping, ZoomExtentsCentresTheDocumentWindow) {
    RecordingSurface s;
    SurfaceDC dc(s);
    CRect device(0, 0, 204, 104);
    CWindow doc(0, 0, 1000, 1000);
    dc.ZoomExtents(device, doc);
    EXPECT_EQ(dc.GetMapMode(), 1);
    EXPECT_EQ(dc.GetViewportExt(), CSize(100, -100));
    // The window's top-left (y up) lands on the centring offsets.
    CPoint topLeft(0, 1000), bottomRight(1000, 0);
    dc.LPtoDP(topLeft);
    dc.LPtoDP(bottomRight);
    EXPECT_EQ(topLeft, CPoint(52, 2));
    EXPECT_EQ(bottomRight, CPoint(152, 102));
}

struct LineCase {
    const char* name;
    POINT from, to;
    int result;
    std::vector<POINT> lineTargets; // device targets of the drawing calls
};

TEST(JoxDCLineTo, LongLinesSplitAndFarShortOnesOnlyMove) {
    const LineCase cases[] = {
        {"short inside 16 bits", {100, 100}, {3100, 100}, 1, {{3100, 100}}},
        {"short beyond 16 bits", {38000, 0}, {40000, 0}, 0, {}},
        {"10000 right in thirds",
         {0, 0},
         {10000, 0},
         1,
         {{0, 0}, {3333, 0}, {6667, 0}, {10000, 0}}},
        {"x decides over a longer y",
         {0, 0},
         {5000, 20000},
         1,
         {{0, 0}, {2500, 10000}, {5000, 20000}}},
        {"y alone is long", {0, 0}, {100, 8001}, 1, {{0, 0}, {33, 2667}, {67, 5334}, {100, 8001}}},
    };
    for (const auto& c : cases) {
        RecordingSurface s;
        SurfaceDC dc(s);
        dc.MoveTo(c.from);
        s.Clear();
        EXPECT_EQ(dc.LineTo(c.to), c.result) << c.name;
        auto lines = s.Calls(GdiOp::LineTo);
        ASSERT_EQ(lines.size(), c.lineTargets.size()) << c.name << "\n" << s.Dump();
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].pts[1].x, c.lineTargets[i].x) << c.name << " piece " << i;
            EXPECT_EQ(lines[i].pts[1].y, c.lineTargets[i].y) << c.name << " piece " << i;
        }
        if (c.lineTargets.empty()) {
            EXPECT_EQ(s.Count(GdiOp::MoveTo), 1) << c.name;
        }
        EXPECT_TRUE(dc.IsCurrentPosition(c.to)) << c.name;
    }
}

TEST(JoxDCLineTo, LineToIsMappedAndSeesTheCurrentPositionInDeviceUnits) {
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetMapMode(1);
    dc.SetWindowExt(10000, 10000);
    dc.SetViewportExt(1000, -1000);
    dc.MoveTo(0, 0);
    dc.LineTo(20000, 10000);
    auto lines = s.Calls(GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pts[1].x, 2000);
    EXPECT_EQ(lines[0].pts[1].y, -1000);
}

// Every line a surface was asked to draw, as (from, to) pairs, whatever the calls were.
std::vector<std::pair<POINT, POINT>> Segments(const RecordingSurface& s) {
    std::vector<std::pair<POINT, POINT>> out;
    for (const auto& c : s.Calls())
        if (c.op == GdiOp::LineTo || c.op == GdiOp::PolylineTo)
            for (size_t i = 1; i < c.pts.size(); ++i)
                out.emplace_back(c.pts[i - 1], c.pts[i]);
    return out;
}

TEST(JoxDCLineTo, PolylineToDrawsTheLinesOfLineToInRuns) {
    // At 1:10, short lines, a line split into pieces and one that ends beyond 16 bits.
    const POINT run[] = {{1000, 1000}, {1500, 1200}, {1500, 1200}, {90000, -3000}, {90010, -3000},
                         {900000, 0},  {910000, 0},  {200, 300},   {-400, 900}};
    auto draw = [&](CJoxDC& dc, bool batched) {
        dc.SetMapMode(1);
        dc.SetWindowExt(10000, 10000);
        dc.SetViewportExt(1000, 1000);
        dc.SetViewportOrg(40, 30);
        dc.MoveTo(0, 0);
        if (batched) {
            dc.PolylineTo(run, int(std::size(run)));
        } else {
            for (const POINT& p : run)
                dc.LineTo(p.x, p.y);
        }
        return dc.GetCurrentPosition();
    };
    RecordingSurface one, runs;
    RasterSurface onePixels(200, 200), runPixels(200, 200);
    CPoint ends[4];
    {
        CJoxDC a, b, c, d;
        a.Attach(platform::CreateSurfaceDC(&one));
        b.Attach(platform::CreateSurfaceDC(&runs));
        c.Attach(platform::CreateSurfaceDC(&onePixels));
        d.Attach(platform::CreateSurfaceDC(&runPixels));
        ends[0] = draw(a, false), ends[1] = draw(b, true);
        ends[2] = draw(c, false), ends[3] = draw(d, true);
    }
    EXPECT_LT(runs.Calls().size(), one.Calls().size()) << runs.Dump();
    const auto expected = Segments(one), got = Segments(runs);
    ASSERT_EQ(got.size(), expected.size()) << runs.Dump();
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_TRUE(
            got[i].first.x == expected[i].first.x && got[i].first.y == expected[i].first.y &&
            got[i].second.x == expected[i].second.x && got[i].second.y == expected[i].second.y)
            << "line " << i << "\n"
            << runs.Dump();
    }
    EXPECT_EQ(runPixels.Pixels(), onePixels.Pixels());
    EXPECT_EQ(ends[1], ends[0]);
    EXPECT_EQ(ends[3], ends[2]);
    EXPECT_EQ(ends[1], CPoint(0, 120));
}

TEST(JoxDCLineTo, PolylineToGoesThroughALineToOfTheContextsOwn) {
    struct Counting : CJoxDC {
        int lines = 0;
        int LineTo(int x, int y) override { return ++lines, CJoxDC::LineTo(x, y); }
    };
    RecordingSurface s;
    Counting dc;
    dc.Attach(platform::CreateSurfaceDC(&s));
    const POINT run[] = {{1, 2}, {3, 4}, {5, 6}};
    dc.PolylineTo(run, 3);
    EXPECT_EQ(dc.lines, 3);
    EXPECT_EQ(s.Count(GdiOp::LineTo), 3);
}

TEST(JoxDCPaths, PathCallsReachTheDeviceOnlyWithDrawModeBitOne) {
    RecordingSurface s;
    SurfaceDC dc(s);
    EXPECT_EQ(dc.BeginPath(), 1);
    EXPECT_EQ(dc.EndPath(), 1);
    EXPECT_EQ(dc.StrokePath(), 1);
    EXPECT_EQ(s.Count(GdiOp::BeginPath), 0);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    EXPECT_TRUE(dc.BeginPath());
    dc.MoveTo(0, 0);
    dc.LineTo(10, 10);
    EXPECT_TRUE(dc.EndPath());
    EXPECT_TRUE(dc.StrokePath());
    EXPECT_EQ(s.Count(GdiOp::BeginPath), 1);
    EXPECT_EQ(s.Count(GdiOp::StrokePath), 1);
    // A stroke without a path fails at the device.
    EXPECT_FALSE(dc.StrokePath());
}

TEST(JoxDCState, InitialValuesAndOptionBits) {
    CJoxDC dc;
    EXPECT_EQ(dc.GetDrawMode(), 0);
    EXPECT_EQ(dc.GetViewportExt(), CSize(640, 480));
    EXPECT_EQ(dc.GetWindowExt(), CSize(640, 480));
    EXPECT_EQ(dc.GetDrawCount(), 1);
    EXPECT_EQ(CJoxDC::DefaultBackColour(), 0x7D7D7Du);
    EXPECT_EQ(CJoxDC::XorPenColour(), 0xC0C0C0u);
    dc.SetDrawOption(1, 0x140);
    dc.SetDrawOption(0, 0x40);
    EXPECT_EQ(dc.GetDrawOptions(), 0x100);
    EXPECT_EQ(dc.GetDrawOption(0x140), 0x100);
    EXPECT_EQ(dc.IncLevelCount(), 1);
    EXPECT_EQ(dc.IncLevelCount(), 2);
    EXPECT_EQ(dc.DecLevelCount(), 1);
    EXPECT_TRUE(dc.IsKindOf(RUNTIME_CLASS(CDC)));
}

TEST(JoxDCFocusRect, StartsOnEvenParityAndRestoresTheState) {
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetMapMode(1);
    dc.SetViewportOrg(1000, 1000); // device coordinates: the own mapping is not used
    CRect r(1, 2, 10, 10);
    dc.DrawFocusRect(&r);
    ASSERT_FALSE(s.Calls().empty());
    const auto& first = s.Calls()[0];
    EXPECT_EQ(first.op, GdiOp::MoveTo);
    EXPECT_EQ(first.pts[0].x, 2);
    EXPECT_EQ(first.pts[0].y, 2);
    auto lines = s.Calls(GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 4u) << s.Dump();
    for (const auto& l : lines) {
        EXPECT_EQ(l.rop, R2_XORPEN);
        EXPECT_EQ(l.penStyle & PS_STYLE_MASK, PS_ALTERNATE);
        EXPECT_EQ(l.penColour, 0xC0C0C0u);
        EXPECT_EQ(l.bkMode, TRANSPARENT);
    }
    // (10 + 2) is even: the right side starts at the corner; (10 + 10) even; (1 + 10) odd.
    EXPECT_EQ(s.Count(GdiOp::MoveTo), 2);
    EXPECT_EQ(s.Calls(GdiOp::MoveTo)[1].pts[0].x, 1);
    EXPECT_EQ(s.Calls(GdiOp::MoveTo)[1].pts[0].y, 9);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetCurrentPen()->m_hObject, GetStockObject(BLACK_PEN));
}

TEST(JoxDCFocusRect, DrawnTwiceTheScreenIsUnchanged) {
    RasterSurface s(40, 40);
    SurfaceDC dc(s);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            SetPixel(dc.m_hDC, x, y, RGB(BYTE(x * 6), BYTE(y * 6), 90));
    auto before = s.Pixels();
    const CRect rects[] = {{1, 2, 10, 10}, {0, 0, 39, 39}, {-3, -5, 20, 17}, {5, 6, 6, 30}};
    for (const CRect& r : rects) {
        dc.DrawFocusRect(&r);
        EXPECT_NE(s.Pixels(), before);
        dc.DrawFocusRect(&r);
        EXPECT_EQ(s.Pixels(), before) << r.left << "," << r.top;
    }
}

TEST(JoxDCBitmap, CreateBitmapHandleGivesA24BitSectionOrNull) {
    RecordingSurface s;
    SurfaceDC dc(s);
    HBITMAP bmp = dc.CreateBitmapHandle(10, 7);
    ASSERT_NE(bmp, nullptr);
    BITMAP bm{};
    GetObjectW(bmp, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 24);
    EXPECT_EQ(bm.bmWidthBytes, 32);
    DeleteObject(bmp);
    EXPECT_EQ(dc.CreateBitmapHandle(0, 7), nullptr);
}

TEST(JoxDCPicture, WritesAPngOfASmallDrawing) {
    RasterSurface s(320, 240, RGB(125, 125, 125));
    SurfaceDC dc(s);
    CRect device(0, 0, 320, 240);
    CWindow doc(0, 0, 100000, 75000); // 10 cm by 7.5 cm in micrometres
    dc.ZoomExtents(device, doc);
    CBrush white(RGB(255, 255, 255));
    CRect page(0, 75000, 100000, 0);
    dc.FillRect(&page, &white);
    CPen blue(PS_SOLID, 2, RGB(0, 0, 200));
    CPen* old = dc.SelectObject(&blue);
    dc.MoveTo(10000, 10000);
    dc.LineTo(90000, 10000);
    dc.LineTo(50000, 65000);
    dc.LineTo(10000, 10000);
    POINT curve[4] = {{10000, 40000}, {30000, 80000}, {70000, 0}, {90000, 40000}};
    dc.PolyBezier(curve, 4);
    dc.SelectObject(old);
    CPen xorPen(PS_SOLID, 0, CJoxDC::XorPenColour());
    dc.SelectObject(&xorPen);
    dc.SetROP2(R2_XORPEN);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Ellipse(30000, 50000, 70000, 20000);
    dc.SelectStockObject(BLACK_PEN);
    CRect focus(20, 20, 120, 80);
    dc.DrawFocusRect(&focus);
    std::string path = std::string(TEST_BINARY_DIR) + "/jox_dc_drawing.png";
    ASSERT_TRUE(s.SavePng(path));
    // The triangle's base runs along device y of data y = 10000.
    CPoint base(50000, 10000);
    dc.LPtoDP(base);
    EXPECT_EQ(s.Pixel(base.x, base.y), RGB(0, 0, 200));
}

} // namespace

#include "platform/graphics/gdi.h"

#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

long Area(HRGN rgn) {
    std::vector<RECT> rects(size_t(GetRegionRects(rgn, nullptr, 0)));
    GetRegionRects(rgn, rects.data(), int(rects.size()));
    long area = 0;
    for (const RECT& r : rects)
        area += long(r.right - r.left) * (r.bottom - r.top);
    return area;
}

struct CombineCase {
    int mode;
    long area;
    int type;
    bool inA, inB, inBoth;
};

TEST(Regions, CombineModesGiveTheExpectedAreas) {
    // A = (0,0)-(10,10), B = (5,5)-(15,15): overlap 25.
    const CombineCase cases[] = {
        {RGN_AND, 25, SIMPLEREGION, false, false, true},
        {RGN_OR, 175, COMPLEXREGION, true, true, true},
        {RGN_XOR, 150, COMPLEXREGION, true, true, false},
        {RGN_DIFF, 75, COMPLEXREGION, true, false, false},
        {RGN_COPY, 100, SIMPLEREGION, true, false, true},
    };
    for (const auto& c : cases) {
        HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15),
             d = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.type) << c.mode;
        EXPECT_EQ(Area(d), c.area) << c.mode;
        EXPECT_EQ(bool(PtInRegion(d, 1, 1)), c.inA) << c.mode;
        EXPECT_EQ(bool(PtInRegion(d, 12, 12)), c.inB) << c.mode;
        EXPECT_EQ(bool(PtInRegion(d, 7, 7)), c.inBoth) << c.mode;
        DeleteObject(a), DeleteObject(b), DeleteObject(d);
    }
}

TEST(Regions, EmptyResultAndEquality) {
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(20, 20, 30, 30),
         d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
    // Two halves joined equal the whole.
    HRGN l = CreateRectRgn(0, 0, 5, 10), r = CreateRectRgn(5, 0, 10, 10);
    EXPECT_EQ(CombineRgn(d, l, r, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(d, a));
    RECT box;
    EXPECT_EQ(GetRgnBox(d, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
    for (HRGN h : {a, b, d, l, r})
        DeleteObject(h);
}

TEST(Paths, FlattenedBezierIsDeterministicAndEndsOnTheEndPoint) {
    platform::RecordingSurface surface;
    HDC dc = platform::CreateSurfaceDC(&surface);
    POINT bez[4] = {{0, 0}, {0, 100}, {100, 100}, {100, 0}};
    auto flatten = [&] {
        EXPECT_TRUE(BeginPath(dc));
        EXPECT_TRUE(PolyBezier(dc, bez, 4));
        EXPECT_TRUE(EndPath(dc));
        EXPECT_TRUE(FlattenPath(dc));
        int n = GetPath(dc, nullptr, nullptr, 0);
        std::vector<POINT> pts(size_t(n > 0 ? n : 0));
        std::vector<BYTE> types(pts.size());
        EXPECT_EQ(GetPath(dc, pts.data(), types.data(), n), n);
        EXPECT_EQ(types[0], PT_MOVETO);
        for (size_t i = 1; i < types.size(); ++i)
            EXPECT_EQ(types[i], PT_LINETO);
        AbortPath(dc);
        return pts;
    };
    std::vector<POINT> first = flatten(), second = flatten();
    ASSERT_GT(first.size(), 8u);
    EXPECT_EQ(first.back().x, 100);
    EXPECT_EQ(first.back().y, 0);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_TRUE(first[i].x == second[i].x && first[i].y == second[i].y);
    // The curve's top lies at y = 75; the flattening stays within half a unit of it.
    LONG top = 0;
    for (const POINT& p : first)
        top = std::max(top, p.y);
    EXPECT_NEAR(top, 75, 1);
    DeleteDC(dc);
}

TEST(Paths, ReadingOrStrokingWithoutAClosedPathFails) {
    platform::RecordingSurface surface;
    HDC dc = platform::CreateSurfaceDC(&surface);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1);
    EXPECT_FALSE(FlattenPath(dc));
    EXPECT_FALSE(StrokePath(dc));
    BeginPath(dc);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 10, 0);
    EXPECT_EQ(surface.Count(platform::GdiOp::LineTo), 0); // inside a path nothing is drawn
    EXPECT_FALSE(StrokePath(dc));                         // still open
    EndPath(dc);
    EXPECT_TRUE(StrokePath(dc));
    ASSERT_EQ(surface.Count(platform::GdiOp::StrokePath), 1);
    EXPECT_EQ(surface.Calls(platform::GdiOp::StrokePath)[0].pts.size(), 2u);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1); // stroking used the path up
    DeleteDC(dc);
}

// A run of lines handed down at once gives the pixels, the path and the current position
// that LineTo gives one point at a time: pens the pixels are written for and pens the painter
// draws, copy and XOR, clipped, inside a path, and ends far outside the image.
TEST(Lines, PolylineToDrawsWhatLineToDrawsOnePointAtATime) {
    const int w = 120, h = 90;
    struct Case {
        const char* name;
        int penStyle, penWidth, rop;
        bool clip, path;
    } cases[] = {
        {"copy", PS_SOLID, 0, R2_COPYPEN, false, false},
        {"xor clipped", PS_SOLID, 1, R2_XORPEN, true, false},
        {"dashed", PS_DASH, 1, R2_XORPEN, false, false},
        {"wide", PS_SOLID, 3, R2_COPYPEN, true, false},
        {"in a path", PS_SOLID, 0, R2_COPYPEN, false, true},
    };
    const POINT run[] = {{30, 10}, {31, 10},  {31, 10}, {60, 80}, {5, 40},   {-70000, 45},
                         {110, 5}, {110, 85}, {40, 88}, {0, 0},   {119, 89}, {20, 30}};
    const int n = int(sizeof run / sizeof run[0]);
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels[2];
        POINT end[2]{};
        for (int batched = 0; batched < 2; ++batched) {
            platform::RasterSurface s(w, h, 0x336699);
            HDC dc = platform::CreateSurfaceDC(&s);
            if (c.clip)
                IntersectClipRect(dc, 8, 6, 100, 70);
            SetROP2(dc, c.rop);
            HPEN pen = CreatePen(c.penStyle, c.penWidth, RGB(200, 40, 90));
            HGDIOBJ old = SelectObject(dc, pen);
            if (c.path)
                BeginPath(dc);
            MoveToEx(dc, 12, 70, nullptr);
            if (batched) {
                EXPECT_TRUE(PolylineTo(dc, run, DWORD(n)));
            } else {
                for (const POINT& p : run)
                    LineTo(dc, p.x, p.y);
            }
            GetCurrentPositionEx(dc, &end[batched]);
            if (c.path) {
                EndPath(dc);
                StrokePath(dc);
            }
            SelectObject(dc, old);
            DeleteObject(pen);
            DeleteDC(dc);
            pixels[batched] = s.Pixels();
        }
        EXPECT_EQ(pixels[1], pixels[0]) << c.name;
        EXPECT_EQ(end[1].x, 20) << c.name;
        EXPECT_EQ(end[1].y, 30) << c.name;
    }
}

TEST(Lines, PolylineToIsOneCallFromTheCurrentPosition) {
    platform::RecordingSurface surface;
    HDC dc = platform::CreateSurfaceDC(&surface);
    SetViewportOrgEx(dc, 100, 0, nullptr);
    MoveToEx(dc, 1, 2, nullptr);
    const POINT run[] = {{3, 4}, {5, 6}};
    EXPECT_TRUE(PolylineTo(dc, run, 2));
    EXPECT_TRUE(PolylineTo(dc, run, 0)); // nothing to draw is no failure
    EXPECT_FALSE(PolylineTo(dc, nullptr, 2));
    ASSERT_EQ(surface.Count(platform::GdiOp::PolylineTo), 1) << surface.Dump();
    const auto call = surface.Calls(platform::GdiOp::PolylineTo)[0];
    ASSERT_EQ(call.pts.size(), 3u);
    EXPECT_EQ(call.pts[0].x, 101);
    EXPECT_EQ(call.pts[2].x, 105);
    EXPECT_EQ(call.pts[2].y, 6);
    DeleteDC(dc);
}

TEST(Objects, DeletingASelectedPenIsDeferredUntilItIsDeselected) {
    platform::RecordingSurface surface;
    HDC dc = platform::CreateSurfaceDC(&surface);
    HPEN pen = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(dc, pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN); // still alive while selected
    LineTo(dc, 5, 5);
    EXPECT_EQ(surface.Calls()[0].penColour, RGB(1, 2, 3));
    SelectObject(dc, old);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_FALSE(DeleteObject(pen)); // a second delete is refused, not a double free
    DeleteDC(dc);
}

TEST(Objects, StockObjectsAreSharedAndNeverDeleted) {
    HGDIOBJ black = GetStockObject(BLACK_PEN);
    EXPECT_EQ(black, GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetObjectType(black), OBJ_PEN);
    EXPECT_TRUE(DeleteObject(black));
    EXPECT_EQ(GetObjectType(black), OBJ_PEN);
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), OBJ_BRUSH);
    EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(Bitmaps, DibSectionHasRowsPaddedToFourBytes) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    ASSERT_NE(bits, nullptr);
    BITMAP bm{};
    ASSERT_GT(GetObjectW(bmp, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidthBytes, 16); // 15 bytes rounded up
    bi.bmiHeader.biBitCount = 8;
    EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biWidth = 1 << 20;
    EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    DeleteObject(bmp);
}

} // namespace

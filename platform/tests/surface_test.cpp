#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using platform::GdiOp;
using platform::RasterSurface;
using platform::RecordingSurface;

namespace {

// A surface with a pattern so that XOR mistakes show.
void Pattern(HDC dc, int w, int h) {
    for (int y = 0; y < h; y += 8)
        for (int x = 0; x < w; x += 8) {
            RECT r{x, y, x + 8, y + 8};
            HBRUSH b = CreateSolidBrush(RGB(BYTE(x * 3), BYTE(y * 5), BYTE((x + y) * 7)));
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
}

TEST(RecordingSurface, LogsCallsInDeviceUnitsWithTheirState) {
    RecordingSurface s;
    HDC dc = platform::CreateSurfaceDC(&s);
    SetViewportOrgEx(dc, 100, 200, nullptr);
    HPEN pen = CreatePen(PS_DASH, 1, RGB(10, 20, 30));
    SelectObject(dc, pen);
    SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, 1, 2, nullptr);
    LineTo(dc, 3, 4);
    ASSERT_EQ(s.Calls().size(), 2u) << s.Dump();
    const auto& line = s.Calls()[1];
    EXPECT_EQ(line.op, GdiOp::LineTo);
    EXPECT_EQ(line.pts[0].x, 101);
    EXPECT_EQ(line.pts[1].y, 204);
    EXPECT_EQ(line.rop, R2_XORPEN);
    EXPECT_EQ(line.penStyle, PS_DASH);
    EXPECT_EQ(line.penColour, RGB(10, 20, 30));
    DeleteDC(dc);
    DeleteObject(pen);
}

TEST(RasterSurface, XorDrawnTwiceRestoresEveryPixel) {
    const int w = 120, h = 90;
    RasterSurface s(w, h);
    HDC dc = platform::CreateSurfaceDC(&s);
    Pattern(dc, w, h);
    std::vector<uint32_t> before = s.Pixels();
    for (int style : {PS_SOLID, PS_DOT, PS_DASHDOT, PS_ALTERNATE}) {
        HPEN pen = CreatePen(style, 1, 0xC0C0C0);
        HGDIOBJ old = SelectObject(dc, pen);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        SetROP2(dc, R2_XORPEN);
        POINT poly[5] = {{5, 5}, {100, 7}, {60, 80}, {5, 5}, {115, 85}};
        POINT bez[4] = {{10, 80}, {30, -20}, {90, 150}, {110, 10}};
        for (int pass = 0; pass < 2; ++pass) {
            MoveToEx(dc, 2, 3, nullptr);
            LineTo(dc, 90, 60);
            LineTo(dc, 30, 70); // joined segments: shared vertex XORed once
            Polyline(dc, poly, 5);
            PolyBezier(dc, bez, 4);
            Rectangle(dc, 20, 20, 70, 50);
            Ellipse(dc, 40, 10, 110, 60);
            MoveToEx(dc, -50000, 40, nullptr);
            LineTo(dc, 50000, 45); // far ends are clipped, not overflowed
        }
        SelectObject(dc, old);
        DeleteObject(pen);
        EXPECT_EQ(s.Pixels(), before) << "pen style " << style;
    }
    DeleteDC(dc);
}

// Thin solid lines written straight into the pixels give exactly what the painter gives,
// line by line: copy and XOR, with and without a clip rectangle, at the image's edges and
// partly outside it.
TEST(RasterSurface, DirectLinesMatchThePainterLineByLine) {
    const int w = 160, h = 120;
    struct Case {
        int rop;
        bool clip;
    } cases[] = {{R2_COPYPEN, false}, {R2_XORPEN, false}, {R2_COPYPEN, true}, {R2_XORPEN, true}};
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels[2];
        for (int direct = 0; direct < 2; ++direct) {
            RasterSurface s(w, h);
            s.SetDirectLines(direct != 0);
            HDC dc = platform::CreateSurfaceDC(&s);
            Pattern(dc, w, h);
            if (c.clip)
                IntersectClipRect(dc, 10, 12, 150, 100);
            SetROP2(dc, c.rop);
            HPEN pen = CreatePen(PS_SOLID, 0, RGB(200, 40, 90));
            HGDIOBJ old = SelectObject(dc, pen);
            // A star of joined runs, a fan of every slope, short random runs and edge lines.
            for (int i = 0; i <= 20; ++i) {
                const double a = 6.283185307 * i / 20, r = i % 2 ? 25 : 45;
                const int x = 80 + int(r * std::cos(a)), y = 60 + int(r * std::sin(a));
                if (i == 0)
                    MoveToEx(dc, x, y, nullptr);
                else
                    LineTo(dc, x, y);
            }
            for (int d = -30; d <= 30; d += 3) {
                MoveToEx(dc, 40, 40, nullptr);
                LineTo(dc, 40 + d, 40 + 30);
                LineTo(dc, 40 + 30, 40 - d);
            }
            std::mt19937 rng(7);
            std::uniform_int_distribution<int> x(0, w - 1), y(0, h - 1), step(-5, 5);
            for (int i = 0; i < 300; ++i) {
                int px = x(rng), py = y(rng);
                MoveToEx(dc, px, py, nullptr);
                for (int k = 0; k < 4; ++k)
                    LineTo(dc, px += step(rng), py += step(rng));
            }
            POINT edges[] = {{0, 0},     {w - 1, 0}, {w - 1, h - 1},
                             {0, h - 1}, {0, 0},     {w + 20, h / 2}};
            Polyline(dc, edges, 6);
            POINT bez[4] = {{10, 110}, {30, -20}, {120, 150}, {150, 10}};
            PolyBezier(dc, bez, 4);
            SelectObject(dc, old);
            DeleteObject(pen);
            DeleteDC(dc);
            pixels[direct] = s.Pixels();
            if (direct && c.rop == R2_XORPEN && c.clip)
                s.SavePng(std::string(TEST_BINARY_DIR) + "/direct_lines_xor_clipped.png");
        }
        EXPECT_EQ(pixels[1], pixels[0]) << "rop " << c.rop << " clip " << c.clip;
    }
}

TEST(RasterSurface, XorOverWhiteAndFlatCaps) {
    RasterSurface s(20, 10);
    HDC dc = platform::CreateSurfaceDC(&s);
    HPEN pen = CreatePen(PS_SOLID, 0, 0xC0C0C0);
    SelectObject(dc, pen);
    SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, 2, 5, nullptr);
    LineTo(dc, 8, 5);
    EXPECT_EQ(s.Pixel(1, 5), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(2, 5), 0x3F3F3Fu);
    EXPECT_EQ(s.Pixel(7, 5), 0x3F3F3Fu);
    EXPECT_EQ(s.Pixel(8, 5), 0xFFFFFFu); // the last pixel is not drawn
    LineTo(dc, 8, 9);
    EXPECT_EQ(s.Pixel(8, 5), 0x3F3F3Fu); // the joint belongs to the next segment only
    DeleteDC(dc);
    DeleteObject(pen);
}

TEST(RasterSurface, RectangleCoversLeftToRightMinusOneAndFillRectIgnoresTheRop) {
    RasterSurface s(20, 20);
    HDC dc = platform::CreateSurfaceDC(&s);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 2, 3, 8, 9);
    EXPECT_EQ(s.Pixel(2, 3), 0u);
    EXPECT_EQ(s.Pixel(7, 8), 0u);
    EXPECT_EQ(s.Pixel(8, 8), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(7, 9), 0xFFFFFFu);
    SetROP2(dc, R2_XORPEN);
    RECT r{10, 10, 12, 12};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    FillRect(dc, &r, red);
    EXPECT_EQ(s.Pixel(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(s.Pixel(12, 12), 0xFFFFFFu);
    DeleteDC(dc);
    DeleteObject(red);
}

TEST(RasterSurface, ClipRegionKeepsDrawingInside) {
    RasterSurface s(20, 20);
    HDC dc = platform::CreateSurfaceDC(&s);
    HRGN clip = CreateRectRgn(0, 0, 10, 20);
    SelectClipRgn(dc, clip);
    ExcludeClipRect(dc, 0, 0, 10, 5);
    MoveToEx(dc, 0, 2, nullptr);
    LineTo(dc, 20, 2);
    MoveToEx(dc, 0, 10, nullptr);
    LineTo(dc, 20, 10);
    EXPECT_EQ(s.Pixel(3, 2), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(3, 10), 0u);
    EXPECT_EQ(s.Pixel(15, 10), 0xFFFFFFu);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.top, 5);
    DeleteDC(dc);
    DeleteObject(clip);
}

TEST(RasterSurface, MemoryContextDrawsIntoADibSectionAndBlitsOut) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    SetPixel(mem, 1, 0, RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(mem, 1, 0), RGB(0, 0, 255));
    // Bottom-up rows: device row 0 is the last row in memory; blue is the first byte.
    EXPECT_EQ(static_cast<uint8_t*>(bits)[3 * 16 + 4], 255);
    RasterSurface screen(10, 10);
    HDC dc = platform::CreateSurfaceDC(&screen);
    BitBlt(dc, 5, 5, 4, 4, mem, 0, 0, SRCCOPY);
    EXPECT_EQ(screen.Pixel(6, 5), RGB(0, 0, 255));
    EXPECT_EQ(screen.Pixel(5, 5), 0u);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteDC(dc);
    DeleteObject(bmp);
}

} // namespace

#include "pivora/framework/jox_echo_dc.h"

#include "platform/framework/wnd.h"
#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

#include <vector>

using platform::GdiOp;

namespace {

struct Echo : ::testing::Test {
    CWnd w;
    platform::RecordingSurface rec{200, 100};
    void SetUp() override {
        ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
        platform::SetWindowSurface(w.m_hWnd, &rec);
    }
    void TearDown() override { platform::SetWindowSurface(w.m_hWnd, nullptr); }
};

TEST_F(Echo, AtFiftyPercentEveryOtherSegmentIsDrawnFromTheEndOfTheSkippedOne) {
    CJoxEchoDC dc(&w);
    dc.SetEchoPercent(50);
    dc.MoveTo(0, 0);
    for (int i = 1; i <= 6; ++i)
        dc.LineTo(10 * i, 0);
    std::vector<std::pair<GdiOp, LONG>> seen;
    for (const auto& c : rec.Calls())
        if (c.op == GdiOp::MoveTo || c.op == GdiOp::LineTo)
            seen.push_back({c.op, c.op == GdiOp::MoveTo ? c.pts[0].x : c.pts[1].x});
    const std::vector<std::pair<GdiOp, LONG>> expected = {
        {GdiOp::MoveTo, 0},  {GdiOp::LineTo, 10}, // 1st
        {GdiOp::MoveTo, 20}, {GdiOp::LineTo, 30}, // 3rd, from the end of the 2nd
        {GdiOp::MoveTo, 40}, {GdiOp::LineTo, 50}, // 5th
    };
    EXPECT_EQ(seen, expected) << rec.Dump();
}

TEST_F(Echo, XorPenStaysWhateverTheDrawingCodeSelects) {
    CJoxEchoDC dc(&w);
    CPen red(PS_SOLID, 3, RGB(255, 0, 0));
    EXPECT_EQ(dc.SelectObject(&red), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CGdiObject*>(&red)), nullptr);
    EXPECT_EQ(dc.SelectStockObject(BLACK_PEN), nullptr);
    EXPECT_EQ(dc.SelectStockObject(WHITE_PEN), nullptr);
    EXPECT_EQ(dc.SelectStockObject(NULL_PEN), nullptr);
    EXPECT_NE(dc.SelectStockObject(NULL_BRUSH), nullptr); // other objects pass
    dc.MoveTo(1, 1);
    dc.LineTo(50, 1);
    auto lines = rec.Calls(GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].penColour, 0xC0C0C0u);
    EXPECT_EQ(lines[0].rop, R2_XORPEN);
    EXPECT_EQ(lines[0].brushStyle, BS_NULL);
    EXPECT_EQ(dc.BeginPath(), 1);
    EXPECT_EQ(rec.Count(GdiOp::BeginPath), 0);
}

TEST_F(Echo, TransformAppliesBeforeTheMappingAndToPolylines) {
    CJoxEchoDC dc(&w);
    CMat2d shift(CDpoint(100, 0));
    dc.XForm(shift);
    dc.MoveTo(0, 5);
    dc.LineTo(20, 5);
    ASSERT_EQ(rec.Count(GdiOp::LineTo), 1);
    EXPECT_EQ(rec.Calls(GdiOp::LineTo)[0].pts[1].x, 120);
    rec.Clear();
    // A rotation about the origin has no translation terms and must still be applied.
    CMat2d quarter(CDpoint(0, 0), 1.0, 1.0, GEO_PI_2, CDpoint(0, 0));
    dc.XForm(quarter);
    POINT poly[2] = {{10, 0}, {20, 0}};
    dc.Polyline(poly, 2);
    auto lines = rec.Calls(GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 1u) << rec.Dump();
    EXPECT_EQ(lines[0].pts[0].x, 0);
    EXPECT_EQ(lines[0].pts[0].y, 10);
    EXPECT_EQ(lines[0].pts[1].y, 20);
}

TEST(EchoRaster, ThinnedOutlineDrawnTwiceLeavesTheViewAsItWas) {
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 80, 20), nullptr, 0));
    auto* s = static_cast<platform::RasterSurface*>(platform::GetWindowSurface(w.m_hWnd));
    auto before = s->Pixels();
    auto outline = [&] {
        CJoxEchoDC dc(&w);
        dc.SetEchoPercent(50);
        dc.MoveTo(0, 10);
        for (int i = 1; i <= 6; ++i)
            dc.LineTo(10 * i, 10);
    };
    outline();
    // Segments 1, 3 and 5 are on the screen, 2, 4 and 6 are not.
    for (int seg = 0; seg < 6; ++seg) {
        COLORREF expect = seg % 2 == 0 ? 0x3F3F3F : 0xFFFFFF;
        EXPECT_EQ(s->Pixel(seg * 10 + 5, 10), expect) << "segment " << seg + 1;
    }
    outline();
    EXPECT_EQ(s->Pixels(), before);
}

} // namespace

#include "design/rescale_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// 200 x 100 mm about (0, 0).
CRescaleData Original(int keep) {
    CRescaleData d;
    CWindow e(-100000, -50000, 100000, 50000);
    d.SetOrigExtents(e);
    d.SetAspectRatio(keep);
    return d;
}

TEST(RescaleData, UpdatesFollowTheAspectFlag) {
    const struct {
        const char* name;
        int keep;
        std::function<void(CRescaleData&)> update;
        float width, height, widthPct, heightPct;
    } cases[] = {
        {"width % 50, keep", 1, [](CRescaleData& d) { d.UpdateWidthPercentage(50); }, 100, 50, 50,
         50},
        {"width % 50, free", 0, [](CRescaleData& d) { d.UpdateWidthPercentage(50); }, 100, 100, 50,
         100},
        {"height 25, keep", 1, [](CRescaleData& d) { d.UpdateHeight(25); }, 50, 25, 25, 25},
        {"height 25, free", 0, [](CRescaleData& d) { d.UpdateHeight(25); }, 200, 25, 100, 25},
        {"width 300, keep", 1, [](CRescaleData& d) { d.UpdateWidth(300); }, 300, 150, 150, 150},
        // A spin step of the height percentage: 0.1 % of the original height, up raises.
        {"height % spin up, free", 0, [](CRescaleData& d) { d.UpdateDeltaHeightPercentage(-1); },
         200, 100.1f, 100, 100.1f},
        {"height % spin down, keep", 1, [](CRescaleData& d) { d.UpdateDeltaHeightPercentage(1); },
         199.8f, 99.9f, 99.9f, 99.9f},
        {"width spin up, free", 0, [](CRescaleData& d) { d.UpdateDeltaWidth(-1); }, 200.01f, 100,
         100.005f, 100},
    };
    for (const auto& c : cases) {
        CRescaleData d = Original(c.keep);
        c.update(d);
        EXPECT_NEAR(d.GetWidth(), c.width, 1e-3) << c.name;
        EXPECT_NEAR(d.GetHeight(), c.height, 1e-3) << c.name;
        EXPECT_NEAR(d.GetWidthPercentage(), c.widthPct, 1e-3) << c.name;
        EXPECT_NEAR(d.GetHeightPercentage(), c.heightPct, 1e-3) << c.name;
    }
}

TEST(RescaleData, NewExtentsKeepTheCentre) {
    CRescaleData d;
    CWindow e(10, 20, 1010, 2020); // 1 x 2 mm
    d.SetOrigExtents(e);
    EXPECT_FLOAT_EQ(d.GetWidth(), 1.0f);
    d.SetAspectRatio(0);
    d.UpdateWidth(1.003f); // 3 units more: split 1 left, 2 right by integer division
    d.UpdateHeight(4.0f);
    ASSERT_EQ(d.CalculateNewExtents(), CRescaleData::eSizeOk);
    EXPECT_EQ(d.GetNewExtents().x1, 10 - 1);
    EXPECT_EQ(d.GetNewExtents().x2, 10 - 1 + 1003);
    EXPECT_EQ(d.GetNewExtents().y1, 20 - 1000);
    EXPECT_EQ(d.GetNewExtents().y2, 3020);
    double sx = 0, sy = 0;
    d.GetScaleFactors(sx, sy);
    EXPECT_NEAR(sx, 1.003, 1e-9);
    EXPECT_DOUBLE_EQ(sy, 2.0);
}

TEST(RescaleData, InchesAndMillimetres) {
    CRescaleData d;
    d.SetInches(1);
    CWindow e(0, 0, 25400, 50800);
    d.SetOrigExtents(e);
    EXPECT_NEAR(d.GetWidth(), 1.0, 1e-5);
    EXPECT_NEAR(d.GetHeight(), 2.0, 1e-5);
    // Millimetres are cut to two decimals with rounding.
    CRescaleData m;
    CWindow f(0, 0, 12345, 6789);
    m.SetOrigExtents(f);
    EXPECT_FLOAT_EQ(m.GetWidth(), 12.35f);
    EXPECT_FLOAT_EQ(m.GetHeight(), 6.79f);
}

TEST(RescaleData, SizesThatCannotBeAppliedAreRefused) {
    const struct {
        const char* name;
        CWindow original;
        float width, height;
        CRescaleData::ESizeCheck expected;
    } cases[] = {
        {"zero width original", CWindow(0, 0, 0, 1000), 1, 1, CRescaleData::eNothingToRescale},
        {"empty original", CWindow::EmptyExtent(), 1, 1, CRescaleData::eNothingToRescale},
        {"width 0", CWindow(0, 0, 1000, 1000), 0, 1, CRescaleData::eSizeTooSmall},
        {"negative height", CWindow(0, 0, 1000, 1000), 1, -1, CRescaleData::eSizeTooSmall},
        {"past the data range", CWindow(0, 0, 1000, 1000), 300000, 1, CRescaleData::eSizeTooLarge},
        {"centre near the edge", CWindow(99990000, 0, 99999000, 1000), 100, 1,
         CRescaleData::eSizeTooLarge},
        {"sound", CWindow(0, 0, 1000, 1000), 2, 3, CRescaleData::eSizeOk},
    };
    for (const auto& c : cases) {
        CRescaleData d;
        CWindow e = c.original;
        d.SetOrigExtents(e);
        d.SetAspectRatio(0);
        // Percentages of an original without size stay finite.
        d.UpdateWidth(c.width);
        d.UpdateHeight(c.height);
        EXPECT_TRUE(std::isfinite(d.GetWidthPercentage())) << c.name;
        const CWindow before = d.GetNewExtents();
        EXPECT_EQ(d.CalculateNewExtents(), c.expected) << c.name;
        if (c.expected != CRescaleData::eSizeOk) {
            EXPECT_EQ(d.GetNewExtents(), before) << c.name;
        }
    }
}

} // namespace

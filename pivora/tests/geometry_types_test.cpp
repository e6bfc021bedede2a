#include "pivora/geometry/geometry_types.h"

#include "pivora/geometry/arc.h"
#include "pivora/geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(GeometryTypes, RoundIsHalfAwayFromZero) {
    struct Case {
        double x, y;
        LONG rx, ry;
    } cases[] = {
        {0.5, -0.5, 1, -1},
        {0.49999, -0.49999, 0, 0},
        {2.5, -2.5, 3, -3},
        {-0.0, 0.0, 0, 0},
        {1.4999, -1.5001, 1, -2},
        {1e6 + 0.5, -1e6 - 0.5, 1000001, -1000001},
        {2147483646.4, -2147483647.4, 2147483646, -2147483647},
    };
    for (const Case& c : cases) {
        CLpoint p = CDpoint(c.x, c.y).round();
        EXPECT_EQ(p, CLpoint(c.rx, c.ry)) << c.x << "," << c.y;
    }
}

TEST(GeometryTypes, ConversionOfBadValuesSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(CDpoint(1e20, -1e20).round(), CLpoint(INT32_MAX, INT32_MIN));
    EXPECT_EQ(CDpoint(std::numeric_limits<double>::quiet_NaN(), 0).round(), CLpoint(0, 0));
    EXPECT_EQ(fnTruncLong(-1.9), -1);
    EXPECT_EQ(fnTruncLong(std::numeric_limits<double>::infinity()), INT32_MAX);
}

TEST(GeometryTypes, DoublePrecision) {
    struct Case {
        double value;
        int decimals;
        bool round;
        double expected;
    } cases[] = {
        {2.25, 1, true, 2.3},   {-2.25, 1, true, -2.3},    {2.349, 2, false, 2.34},
        {125, -1, true, 130},   {-125, -1, true, -130},    {124, -1, true, 120},
        {2.5, 0, true, 3},      {-2.5, 0, true, -3},       {0.0, 2, true, 0.0},
        {-2.999, 0, false, -2}, {25.4 / 3, 2, true, 8.47},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(fnDoublePrecision(c.value, c.decimals, c.round), c.expected)
            << c.value << " " << c.decimals << " " << c.round;
}

// The angle constants are the stored ten-digit values, not the exact ones: a full circle made
// from points sweeps exactly 6.283185307, and a reflex difference of directions folds by it.
TEST(GeometryTypes, AnglesUseTheStoredConstants) {
    constexpr double kExact2Pi = 6.283185307179586;
    CArc none;
    none.make(CDpoint(5, 5), CDpoint(5, 5), CDpoint(9, 9)); // no arc: a point "circle"
    EXPECT_EQ(none.a0, 0.0);
    EXPECT_EQ(none.a1, 6.283185307);

    CArc circle;
    ASSERT_EQ(circle.make(CDpoint(10, 0), CDpoint(-10, 0), CDpoint(10, 0)), 1);
    EXPECT_NEAR(circle.a1 - circle.a0, 6.283185307, 1e-12);
    EXPECT_GT(std::fabs(circle.a1 - circle.a0 - kExact2Pi), 1e-10);

    // Directions of 170 and -170 degrees lie 20 degrees apart across the negative x axis.
    const CDpoint o(0, 0);
    const CDpoint a = CDpoint(std::cos(170 * kExact2Pi / 360), std::sin(170 * kExact2Pi / 360));
    const CDpoint b = CDpoint(a.x, -a.y);
    const double raw = std::fabs(angle(o, a) - angle(o, b));
    EXPECT_DOUBLE_EQ(angle(o, a, o, b), 6.283185307 - raw);
    EXPECT_EQ(DegAngle(o, a), 170);
    EXPECT_EQ(DegAngle(o, b), -170);
}

TEST(GeometryTypes, WindowGrowsFromEmptyValue) {
    CWindow w = CWindow::EmptyExtent();
    EXPECT_EQ(w, CWindow(99999999, 99999999, -99999999, -99999999));
    EXPECT_TRUE(w.fnIsEmptyExtent());

    w.fnIncludePoint(CLpoint(7, -3));
    EXPECT_EQ(w, CWindow(7, -3, 7, -3));
    EXPECT_TRUE(w.fnIsEmptyExtent()); // a single point

    w.fnIncludePoint(CLpoint(-2, 10));
    EXPECT_EQ(w, CWindow(-2, -3, 7, 10));
    EXPECT_FALSE(w.fnIsEmptyExtent());

    // A point beyond the sentinels still becomes the whole extent.
    CWindow far = CWindow::EmptyExtent();
    far.fnIncludePoint(CLpoint(150000000, -150000000));
    EXPECT_EQ(far, CWindow(150000000, -150000000, 150000000, -150000000));
}

TEST(GeometryTypes, WindowEmptyTestAndCentre) {
    EXPECT_TRUE(CWindow().fnIsEmptyExtent());
    EXPECT_FALSE(CWindow(0, 0, 0, 5).fnIsEmptyExtent()); // a line has extent
    EXPECT_FALSE(CWindow(0, 0, 99999998, 1).fnIsEmptyExtent());
    EXPECT_TRUE(CWindow(0, 0, 99999999, 1).fnIsEmptyExtent());
    EXPECT_TRUE(CWindow(0, 0, 1, -99999999).fnIsEmptyExtent());

    EXPECT_EQ(CWindow(-3, -3, 0, 0).fnCentre(), CLpoint(-1, -1));
    EXPECT_EQ(CWindow(0, 0, 3, 5).fnCentre(), CLpoint(1, 2));
    EXPECT_EQ(CWindow(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX).fnCentre(),
              CLpoint(INT32_MAX, INT32_MAX));
    EXPECT_EQ(CWindow::EmptyExtent().fnCentre(), CLpoint(0, 0));
}

TEST(GeometryTypes, DeviceRectangleFlipsIntoWindow) {
    RECT r{10, 200, 110, 50}; // left, top, right, bottom after mapping into data space
    EXPECT_EQ(CWindow(r), CWindow(10, 50, 110, 200));
}

TEST(GeometryTypes, TakeMaxRaisesEachCoordinate) {
    CLpoint p(5, -5);
    p.fnTakeMax(CLpoint(3, 2));
    EXPECT_EQ(p, CLpoint(5, 2));
}

TEST(GeometryTypes, PointAndSegmentConversions) {
    CDpoint d = CLpoint(-7, 2147483647);
    EXPECT_EQ(d.x, -7.0);
    EXPECT_EQ(d.y, 2147483647.0);
    EXPECT_EQ((CDpoint(1, 2) + CDpoint(3, 5)) / 2.0, CDpoint(2, 3.5));

    CDline l(CLine(CLpoint(1, 2), CLpoint(3, 4)));
    EXPECT_EQ(l, CDline(CDpoint(1, 2), CDpoint(3, 4)));
    EXPECT_EQ(CDline(), CDline(CDpoint(0, 0), CDpoint(0, 0)));

    CSpoint s(CLpoint(70000, -70000)); // cut to 16 bits
    EXPECT_EQ(s.x, int16_t(70000 - 65536));
    EXPECT_EQ(s.y, int16_t(-70000 + 65536));
    EXPECT_EQ(CLpoint(CSpoint(-5, 6)), CLpoint(-5, 6));
}

} // namespace

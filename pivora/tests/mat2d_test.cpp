#include "pivora/geometry/mat2d.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectNear(const CMat2d& a, const CMat2d& b, double eps = 1e-9) {
    const double x[9] = {a.m0, a.m1, a.m2, a.m3, a.m4, a.m5, a.m6, a.m7, a.m8};
    const double y[9] = {b.m0, b.m1, b.m2, b.m3, b.m4, b.m5, b.m6, b.m7, b.m8};
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(x[i], y[i], eps) << "element m" << i;
}

CMat2d Sample() {
    CMat2d m;
    m.m0 = 1.5, m.m1 = -0.25, m.m3 = 0.75, m.m4 = 2.0, m.m6 = 10, m.m7 = -20;
    return m;
}

TEST(Mat2dConstruct, ElementaryMatrices) {
    CMat2d s(CScale(2, 3));
    EXPECT_EQ(s.m0, 2);
    EXPECT_EQ(s.m4, 3);
    EXPECT_EQ(s.m8, 1);
    EXPECT_EQ(s.m6, 0);
    EXPECT_EQ(CMat2d(CShear(0.5, 0)) * CDpoint(2, 4), CDpoint(4, 4));
    EXPECT_EQ(CMat2d(CShear(0, 0.5)) * CDpoint(2, 4), CDpoint(2, 5));
    EXPECT_EQ(CMat2d(CDpoint(3, -4)) * CDpoint(1, 1), CDpoint(4, -3));
    EXPECT_EQ(CMat2d(CSize(3, -4)) * CLpoint(1, 1), CLpoint(4, -3));
    EXPECT_EQ(CMat2d(CAngle(M_PI / 2)) * CLpoint(1000, 0), CLpoint(0, 1000));
    EXPECT_EQ(CMat2d(CAngle(GEO_PI_2)) * CLpoint(1000, 0), CLpoint(0, 1000));
}

TEST(Mat2dConstruct, ProductAppliesLeftOperandFirst) {
    CMat2d t(CDpoint(10, 0)), r(CAngle(M_PI / 2));
    CDpoint a = (t * r) * CDpoint(0, 0), b = (r * t) * CDpoint(0, 0);
    EXPECT_NEAR(a.x, 0, 1e-12);
    EXPECT_NEAR(a.y, 10, 1e-12);
    EXPECT_NEAR(b.x, 10, 1e-12);
    EXPECT_NEAR(b.y, 0, 1e-12);
    EXPECT_EQ(CMat2d() * Sample(), Sample());
    EXPECT_EQ(Sample() * CMat2d(), Sample());
    CMat2d m = t;
    m *= r;
    EXPECT_EQ(m, t * r);
}

TEST(Mat2dConstruct, RectangleOntoRectangle) {
    struct Case {
        CWindow from, to;
        CLpoint in, out;
    } cases[] = {
        {{0, 0, 100, 50}, {1000, 1000, 1200, 1200}, {100, 50}, {1200, 1200}},
        {{0, 0, 100, 50}, {1000, 1000, 1200, 1200}, {0, 0}, {1000, 1000}},
        {{0, 0, 100, 50}, {1000, 1000, 1200, 1200}, {50, 25}, {1100, 1100}},
        {{0, 5, 100, 5}, {0, 0, 200, 300}, {10, 7}, {20, 2}},     // zero height keeps y scale 1
        {{3, 0, 3, 10}, {0, 0, 200, 20}, {4, 10}, {1, 20}},       // zero width keeps x scale 1
        {{0, 0, 100, 100}, {0, 100, 100, 0}, {20, 30}, {20, 70}}, // flipped target mirrors
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0, 100, 100}, {0, 0}, {50, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMat2d(c.from, c.to) * c.in, c.out) << c.in.x << "," << c.in.y;

    // The empty extents give a finite mapping, not a division by zero.
    CMat2d e(CWindow::EmptyExtent(), CWindow(0, 0, 100, 100));
    EXPECT_TRUE(std::isfinite(e.m0) && std::isfinite(e.m4) && std::isfinite(e.m6));
}

TEST(Mat2dConstruct, OriginScaleRotateTo) {
    CMat2d m(CDpoint(10, 10), 2, 2, M_PI / 2, CDpoint(100, 100));
    CDpoint p = m * CDpoint(11, 10);
    EXPECT_NEAR(p.x, 100, 1e-9);
    EXPECT_NEAR(p.y, 102, 1e-9);
}

TEST(Mat2dInverse, InvertsAndUndoes) {
    ExpectNear(~CMat2d(CScale(2, 4)), CMat2d(CScale(0.5, 0.25)), 0);
    CMat2d cases[] = {
        Sample(),
        CMat2d(CAngle(M_PI / 2)),
        CMat2d(CAngle(GEO_PI_2)),
        CMat2d(CAngle(-M_PI / 2)) * CMat2d(CDpoint(5, 7)),
        CMat2d(CAngle(M_PI)),
        CMat2d(CScale(-1, 1)) * CMat2d(CShear(0.3, -0.2)) * CMat2d(CDpoint(-1e6, 3e6)),
        CMat2d(CScale(1e-6, 1e-6)),
    };
    for (const CMat2d& m : cases) {
        CMat2d inv;
        EXPECT_EQ(m.fnInverse(&inv), 1);
        EXPECT_EQ(inv, ~m);
        ExpectNear(m * inv, CMat2d());
        ExpectNear(m / m, CMat2d());
        CDpoint back = inv * (m * CDpoint(1234, -567));
        EXPECT_NEAR(back.x, 1234, 1e-6);
        EXPECT_NEAR(back.y, -567, 1e-6);
    }
}

TEST(Mat2dInverse, QuarterTurnWithZeroFirstPivotUndoesTheRotation) {
    CMat2d rot;
    rot.m0 = 0, rot.m1 = 1, rot.m3 = -1, rot.m4 = 0; // exactly a quarter turn
    CMat2d undo = ~rot;
    EXPECT_NE(undo, rot);
    EXPECT_EQ(undo * (rot * CLpoint(1000, 0)), CLpoint(1000, 0));
    CMat2d m = rot;
    m /= rot;
    ExpectNear(m, CMat2d());
}

TEST(Mat2dInverse, SingularMatrixIsReportedAndCopied) {
    CMat2d cases[] = {CMat2d(CScale(0, 1)), CMat2d(CScale(1, 0)), CMat2d(CScale(1e-11, 5)),
                      CMat2d() * 0.0, CMat2d(CWindow(0, 0, 10, 10), CWindow(5, 5, 5, 50))};
    for (const CMat2d& m : cases) {
        CMat2d out = Sample();
        EXPECT_EQ(m.fnInverse(&out), 0);
        EXPECT_EQ(out, m);
        EXPECT_EQ(~m, m);
    }
    // Dividing by a singular matrix multiplies by its fallback copy.
    EXPECT_EQ(Sample() / CMat2d(CScale(0, 1)), Sample() * CMat2d(CScale(0, 1)));
    CMat2d nan = CMat2d(CScale(NAN, 1));
    CMat2d out;
    EXPECT_EQ(nan.fnInverse(&out), 0);
}

TEST(Mat2dOperators, ScalarsTouchAllNineElements) {
    CMat2d m = CMat2d() * 2.0;
    EXPECT_EQ(m.m0, 2);
    EXPECT_EQ(m.m4, 2);
    EXPECT_EQ(m.m8, 2);
    EXPECT_EQ(m.m1, 0);
    m /= 4.0;
    EXPECT_EQ(m.m8, 0.5);
    m *= 2.0;
    EXPECT_EQ(m, CMat2d());
    EXPECT_EQ(Sample() / 2.0 * 2.0, Sample());
}

TEST(Mat2dTransform, PointsSizesAndControlPoints) {
    CMat2d up(CScale(2.5, 2.5)), down(CScale(-2.5, -2.5));
    EXPECT_EQ(up * CLpoint(1, 1), CLpoint(3, 3));
    EXPECT_EQ(down * CLpoint(1, 1), CLpoint(-3, -3));
    EXPECT_EQ(up * CSize(1, 1), CPoint(2, 2));
    EXPECT_EQ(down * CSize(1, 1), CPoint(-2, -2));
    EXPECT_EQ((up * CMat2d(CDpoint(0.6, 0))) * CSize(1, 1), CPoint(3, 2)); // translated too
    EXPECT_EQ(CMat2d(CScale(1000, 1)) * CSpoint(100, -7), CSpoint(int16_t(-31072), -7));
    EXPECT_EQ(up * CSb(0x200, CLpoint(2, -2)), CSb(0x200, CLpoint(5, -5)));
    EXPECT_EQ(up * CLine(CLpoint(1, 1), CLpoint(-1, 2)), CLine(CLpoint(3, 3), CLpoint(-3, 5)));
    CDpoint d = Sample() * CDpoint(2, 4);
    EXPECT_EQ(d, CDpoint(1.5 * 2 + 0.75 * 4 + 10, -0.25 * 2 + 2.0 * 4 - 20));
    EXPECT_EQ(CMat2d(CScale(1e20, 1)) * CLpoint(1, 1), CLpoint(INT32_MAX, 1)); // saturates
}

void ExpectArcNear(const CArc& a, const CArc& b) {
    EXPECT_NEAR(a.cx, b.cx, 1e-6);
    EXPECT_NEAR(a.cy, b.cy, 1e-6);
    EXPECT_NEAR(a.r, b.r, 1e-6);
    EXPECT_NEAR(a.a0, b.a0, 1e-9);
    EXPECT_NEAR(a.a1, b.a1, 1e-9);
}

TEST(Mat2dTransform, Arcs) {
    CArc top(CDpoint(0, 0), CDpoint(10, 10), CDpoint(20, 0)); // clockwise through the top
    ExpectArcNear(CMat2d(CDpoint(5, 5)) * top, top + CDpoint(5, 5));
    CArc rot = CMat2d(CAngle(M_PI / 2)) * top;
    EXPECT_NEAR(rot.cx, 0, 1e-9);
    EXPECT_NEAR(rot.cy, 10, 1e-9);
    EXPECT_LT(rot.angDiff(), 0);
    CArc mirrored = CMat2d(CScale(-1, 1)) * top;
    EXPECT_GT(mirrored.angDiff(), 0); // a reflection reverses the direction
    EXPECT_NEAR(mirrored.cx, -10, 1e-9);
    CArc squashed = CMat2d(CScale(1, 0.5)) * top;
    EXPECT_NEAR(squashed.start().x, 0, 1e-9);
    EXPECT_NEAR(squashed.end().x, 20, 1e-9);
    CDpoint topMid = CMat2d(CScale(1, 0.5)) * top.mid();
    EXPECT_NEAR(std::hypot(topMid.x - squashed.cx, topMid.y - squashed.cy), squashed.r, 1e-9);

    CArc collapsed = CMat2d(CScale(1, 0)) * top;
    EXPECT_EQ(collapsed, CArc(CDpoint(0, 0), 0, 0, GEO_2PI));
}

TEST(Mat2dTransform, FullCircleStaysAFullCircle) {
    // A small circle: its end point misses its start by the rounding of the stored 2pi, which
    // alone must not make the transformed circle collapse.
    CArc circle(CDpoint(0, 0), CDpoint(0, 100), CDpoint(0, 0));
    ASSERT_EQ(circle.a1, circle.a0 + GEO_2PI);
    CArc moved = CMat2d(CDpoint(100, 0)) * circle;
    EXPECT_NEAR(moved.cx, 100, 1e-6);
    EXPECT_NEAR(moved.cy, 50, 1e-6);
    EXPECT_NEAR(moved.r, 50, 1e-6);
    EXPECT_EQ(moved.a1 - moved.a0, GEO_2PI);
    CArc mirrored = CMat2d(CScale(-2, 2)) * circle;
    EXPECT_NEAR(mirrored.cy, 100, 1e-6);
    EXPECT_NEAR(mirrored.r, 100, 1e-6);
    EXPECT_EQ(mirrored.a1 - mirrored.a0, -GEO_2PI);
    // make's failure value (a point) stays a point at the moved position.
    CArc point = CMat2d(CDpoint(7, 8)) * CArc(CDpoint(1, 1), 0, 0, GEO_2PI);
    EXPECT_EQ(point, CArc(CDpoint(8, 9), 0, 0, GEO_2PI));
    CArc large = CMat2d(CAngle(0.3)) * CArc(CDpoint(1e6, 0), 5e5, 1.0, 1.0 + GEO_2PI);
    EXPECT_NEAR(large.r, 5e5, 1e-6);
    EXPECT_EQ(large.a1 - large.a0, GEO_2PI);
}

TEST(Mat2dPermissions, XformAllowed) {
    struct Case {
        CMat2d m;
        DWORD permissions;
        int allowed;
    } cases[] = {
        {CMat2d(CScale(2, 2)), 0x1F7, 1},
        {CMat2d(CScale(2, 2)), 0x1E7, 0}, // no rotate: the linear part must be the identity
        {CMat2d(CScale(2, 2)), 0x016, 1},
        {CMat2d(CScale(2, 1)), 0x014, 0}, // no scale x
        {CMat2d(CScale(1, 2)), 0x012, 0}, // no scale y
        {CMat2d(CDpoint(5, 0)), 0, 0},
        {CMat2d(CDpoint(5, 0)), 1, 1},
        {CMat2d(CDpoint(0, -5)), 0x1F6, 0},
        {CMat2d(CShear(0.5, 0)), 0x10, 0},
        {CMat2d(CShear(0.5, 0)), 0x30, 1},
        {CMat2d(CShear(0, 0.5)), 0x30, 0},
        {CMat2d(CShear(0, 0.5)), 0x50, 1},
        {CMat2d(CAngle(0.3)), 0x1F7, 1},
        {CMat2d(CAngle(0.3)), 0x76, 1},
        {CMat2d(CAngle(0.3)), 0x66, 0},
        {CMat2d(), 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.m.XformAllowed(c.permissions), c.allowed) << std::hex << c.permissions;
    EXPECT_EQ(CMat2d(CDpoint(5, 5)).NoScale(), 1);
    EXPECT_EQ(CMat2d(CScale(1, -1)).NoScale(), 0);
    EXPECT_EQ(CMat2d(CAngle(M_PI / 2)).NoScale(), 0);
}

} // namespace

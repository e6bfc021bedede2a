#include "pivora/geometry/arc.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double kEps = 1e-9;

void ExpectFailureValue(const CArc& a, double sx, double sy) {
    EXPECT_EQ(a.cx, sx);
    EXPECT_EQ(a.cy, sy);
    EXPECT_EQ(a.r, 0.0);
    EXPECT_EQ(a.a0, 0.0);
    EXPECT_EQ(a.a1, GEO_2PI);
}

TEST(ArcMake, ClockwiseThroughTheTop) {
    CArc a;
    ASSERT_EQ(a.make(CDpoint(0, 0), CDpoint(10, 10), CDpoint(20, 0)), 1);
    EXPECT_NEAR(a.cx, 10, kEps);
    EXPECT_NEAR(a.cy, 0, kEps);
    EXPECT_NEAR(a.r, 10, kEps);
    EXPECT_NEAR(a.a0, M_PI, kEps);
    EXPECT_NEAR(a.a1, 0, kEps);
    EXPECT_NEAR(length(a), 10 * M_PI, 1e-8);
}

TEST(ArcMake, CounterClockwiseAndIntegerOverloadAgree) {
    CArc d, l;
    ASSERT_EQ(d.make(CDpoint(10, 0), CDpoint(0, 10), CDpoint(-10, 0)), 1);
    ASSERT_EQ(l.make(CLpoint(10, 0), CLpoint(0, 10), CLpoint(-10, 0)), 1);
    EXPECT_EQ(d, l);
    EXPECT_NEAR(d.a0, 0, kEps);
    EXPECT_NEAR(d.a1, M_PI, kEps);
    EXPECT_GT(d.angDiff(), 0);
}

TEST(ArcMake, EqualEndsMakeAFullCircle) {
    CArc a;
    ASSERT_EQ(a.make(CDpoint(0, 0), CDpoint(0, 10), CDpoint(0, 0)), 1);
    EXPECT_EQ(a.cx, 0);
    EXPECT_EQ(a.cy, 5);
    EXPECT_EQ(a.r, 5);
    EXPECT_NEAR(a.a0, -M_PI / 2, kEps);
    EXPECT_EQ(a.a1, a.a0 + GEO_2PI);
}

TEST(ArcMake, DegenerateInputsLeaveTheFailureValue) {
    struct Case {
        CDpoint s, m, e;
    } cases[] = {
        {{0, 0}, {5, 5}, {10, 10}},       // collinear
        {{0, 0}, {10, 0}, {5, 0}},        // collinear, mid outside
        {{3, 4}, {3, 4}, {10, 10}},       // mid = start
        {{3, 4}, {10, 10}, {10, 10}},     // end = mid
        {{3, 4}, {3, 4}, {3, 4}},         // all three equal
        {{0, 0}, {1e6, 1e-12}, {2e6, 0}}, // nearly collinear within the tolerance
    };
    for (const Case& c : cases) {
        CArc a(CDpoint(99, 99), 1, 1, 2);
        EXPECT_EQ(a.make(c.s, c.m, c.e), 0) << c.m.x << "," << c.m.y;
        ExpectFailureValue(a, c.s.x, c.s.y);
        ExpectFailureValue(CArc(c.s, c.m, c.e), c.s.x, c.s.y);
    }
}

TEST(ArcMake, PassesThroughItsPointsWithTheMiddleInsideTheSweep) {
    struct Case {
        CDpoint s, m, e;
    } cases[] = {
        {{0, 0}, {10, 10}, {20, 0}},
        {{20, 0}, {10, 10}, {0, 0}},
        {{0, 0}, {10, -10}, {20, 0}},
        {{-5, 1}, {-10, -20}, {30, 7}},
        {{100, 0}, {0, -100}, {0, 100}},
        {{0, 100}, {-100, 0}, {100, 0}},
        {{-100, -1}, {0, 100}, {-100, 1}},
        {{-100, 1}, {0, 100}, {-100, -1}},
        {{1e6, 2e6}, {1.5e6, 2.2e6}, {2e6, 1.9e6}},
    };
    for (const Case& c : cases) {
        CArc a;
        ASSERT_EQ(a.make(c.s, c.m, c.e), 1);
        EXPECT_NEAR(a.start().x, c.s.x, 1e-6);
        EXPECT_NEAR(a.start().y, c.s.y, 1e-6);
        EXPECT_NEAR(a.end().x, c.e.x, 1e-6);
        EXPECT_NEAR(a.end().y, c.e.y, 1e-6);
        EXPECT_LT(std::fabs(a.angDiff()), GEO_2PI);
        double m = std::atan2(c.m.y - a.cy, c.m.x - a.cx);
        EXPECT_EQ(ang_is_inside(a.a0, a.a1, m), 1) << c.s.x << "," << c.s.y;
        // the arc's own middle point lies on the same side as the given one
        CDpoint mid = a.mid();
        EXPECT_LT(std::hypot(mid.x - c.m.x, mid.y - c.m.y), 2 * a.r);
    }
}

// The sweep must be the one the three directions' angles give through sort_angles, bit for bit:
// stored elements and cutter output depend on it. Random points at every scale, points round
// the cut at +-pi, nearly collinear points and middles nearly in line with an end.
TEST(ArcMake, SweepMatchesTheAnglesOfAllThreeDirections) {
    std::mt19937 rng(11);
    std::vector<std::array<CLpoint, 3>> cases;
    for (double scale : {10.0, 1e3, 1e6, 1e9}) {
        std::uniform_real_distribution<double> u(-scale, scale);
        auto p = [&] { return CLpoint(LONG(u(rng)), LONG(u(rng))); };
        for (int i = 0; i < 20000; ++i)
            cases.push_back({p(), p(), p()});
    }
    std::uniform_real_distribution<double> a(-0.01, 0.01);
    for (double r : {7.0, 1000.0, 1e8}) {
        auto on = [&](double t) {
            return CLpoint(LONG(std::lround(r * std::cos(t))), LONG(std::lround(r * std::sin(t))));
        };
        for (int i = 0; i < 20000; ++i) {
            const double t0 = GEO_PI + a(rng), t1 = GEO_PI + a(rng), t2 = GEO_PI + 3 * a(rng);
            cases.push_back({on(t0), on(t1), on(t2)});
            cases.push_back({on(t0), on(t0 + 1e-9 * i), on(t2 + GEO_PI / 2)});
        }
    }
    std::uniform_int_distribution<LONG> k(-3, 3);
    for (int i = 0; i < 20000; ++i) {
        const LONG x = 1000 + i;
        cases.push_back({CLpoint(0, 0), CLpoint(x, x / 2 + k(rng)), CLpoint(2 * x, x + k(rng))});
        cases.push_back({CLpoint(x, 0), CLpoint(x + k(rng), 1), CLpoint(0, x)});
    }
    int checked = 0;
    for (const auto& c : cases) {
        CArc arc;
        if (!arc.make(c[0], c[1], c[2]) || c[0] == c[2])
            continue;
        auto dir = [&](CLpoint q) {
            const double dx = q.x - arc.cx, dy = q.y - arc.cy;
            return dx == 0 && dy == 0 ? 0.0 : std::atan2(dy, dx);
        };
        double s = dir(c[0]), m = dir(c[1]), e = dir(c[2]);
        sort_angles(&s, &m, &e);
        ASSERT_EQ(arc.a0, s) << c[0].x << "," << c[0].y << " " << c[1].x << "," << c[1].y << " "
                             << c[2].x << "," << c[2].y;
        ASSERT_EQ(arc.a1, e);
        ++checked;
    }
    EXPECT_GT(checked, 100000);
}

TEST(ArcAngles, SortAngles) {
    struct Case {
        double a0, m, a1, ea0, ea1;
    } cases[] = {
        {0.5, 2.0, 1.0, 0.5, 1.0 - GEO_2PI},    // undone on a0, a1 lowered
        {0.0, 1.0, 2.0, 0.0, 2.0},              // already counter-clockwise through m
        {2.0, 1.0, 0.0, 2.0, 0.0},              // already clockwise through m
        {1.0, 2.0, -3.0, 1.0 - GEO_2PI, -3.0},  // a0 lowered
        {1.0, 0.5, 2.0, 1.0, 2.0 - GEO_2PI},    // a1 lowered
        {3.0, -3.0, -2.9, 3.0 - GEO_2PI, -2.9}, // undone on a1, a0 lowered
    };
    for (const Case& c : cases) {
        double a0 = c.a0, m = c.m, a1 = c.a1;
        sort_angles(&a0, &m, &a1);
        EXPECT_DOUBLE_EQ(a0, c.ea0) << c.a0 << " " << c.m << " " << c.a1;
        EXPECT_DOUBLE_EQ(a1, c.ea1) << c.a0 << " " << c.m << " " << c.a1;
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(ang_is_inside(a0, a1, c.m), 1);
    }
}

TEST(ArcAngles, AngleIsInside) {
    struct Case {
        double a0, a1, angle;
        int inside;
    } cases[] = {
        {-3.0, 3.0, 3.1, 0}, {2.0, 4.0, -3.0, 1},   {0.0, 1.0, 1.0, 1},
        {1.0, 0.0, 0.5, 1},  {0.0, 1.0, 1.0001, 0}, {-1.0, -2.0, GEO_2PI - 1.5, 1},
        {0.0, 1.0, -0.5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ang_is_inside(c.a0, c.a1, c.angle), c.inside)
            << c.a0 << " " << c.a1 << " " << c.angle;
}

TEST(ArcExtents, ByQuadrants) {
    struct Case {
        CArc arc;
        CLpoint lo, hi;
    } cases[] = {
        {CArc({0, 0}, 10, 0, M_PI / 2), {0, 0}, {10, 10}},
        {CArc({0, 0}, 10, 0, GEO_PI_2), {0, 0}, {10, 10}},
        {CArc({0, 0}, 10, 0, M_PI), {-10, 0}, {10, 10}},
        {CArc({0, 0}, 10, 0, GEO_PI), {-10, 0}, {10, 10}},
        {CArc({0, 0}, 10, M_PI / 2, -M_PI / 2), {0, -10}, {10, 10}}, // clockwise right half
        {CArc({100, 200}, 50, 0.3, 0.3 + GEO_2PI), {50, 150}, {150, 250}},
        {CArc({0, 0}, 100, 2.0, 1.0 + GEO_2PI), {-100, -100}, {100, 91}},
        {CArc({0.7, -0.7}, 10, 1.0, 1.0 + GEO_2PI), {-9, -10}, {10, 9}}, // truncated
        {CArc({0, 0}, 100, 0.1, 0.2), {98, 10}, {100, 20}},
        {CArc({0, 0}, 0, 0, GEO_2PI), {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        CLpoint lo(-1, -1), hi(-1, -1);
        arc_extents(c.arc, &lo, &hi);
        EXPECT_EQ(lo, c.lo) << c.arc.a0 << " " << c.arc.a1;
        EXPECT_EQ(hi, c.hi) << c.arc.a0 << " " << c.arc.a1;
    }
}

TEST(ArcPoints, SplitArc) {
    CArc quarter({0, 0}, 10, 0, M_PI / 2);
    CLpoint out[7];
    for (CLpoint& p : out)
        p = CLpoint(-99, -99);
    split_arc(&quarter, 2, out, 1, 2);
    EXPECT_EQ(out[1], CLpoint(10, 0));
    EXPECT_EQ(out[3], CLpoint(7, 7));
    EXPECT_EQ(out[5], CLpoint(0, 10));
    for (int i : {0, 2, 4, 6})
        EXPECT_EQ(out[i], CLpoint(-99, -99));

    CLpoint one[2] = {{-99, -99}, {-99, -99}};
    split_arc(&quarter, 0, one, 0, 1);
    EXPECT_EQ(one[0], CLpoint(10, 0));
    EXPECT_EQ(one[1], CLpoint(-99, -99));
    split_arc(&quarter, -3, one, 1, 1); // no division by zero; start only
    EXPECT_EQ(one[1], CLpoint(10, 0));

    // Each offset rounds away from zero by its own sign, then the sum is truncated.
    CArc small({100, 0}, 0.3, M_PI, M_PI);
    CLpoint p;
    split_arc(&small, 0, &p, 0, 1);
    EXPECT_EQ(p, CLpoint(99, 0));
    CArc lower({0, 0}, 10, M_PI, 1.5 * M_PI);
    CLpoint q[3];
    split_arc(&lower, 2, q, 0, 1);
    EXPECT_EQ(q[0], CLpoint(-10, 0));
    EXPECT_EQ(q[1], CLpoint(-7, -7));
    EXPECT_EQ(q[2], CLpoint(0, -10));
}

TEST(ArcPoints, MidPointLocusAndDisplace) {
    CArc quarter({0, 0}, 10, 0, M_PI / 2);
    CLpoint l;
    CDpoint d;
    mid_point(quarter, 0.5, &l);
    mid_point(quarter, 0.5, &d);
    EXPECT_EQ(l, CLpoint(7, 7));
    EXPECT_NEAR(d.x, 10 / std::sqrt(2.0), kEps);
    mid_point(CArc({0, 0}, 10, 0, -M_PI / 2), 0.5, &l);
    EXPECT_EQ(l, CLpoint(7, -7));
    mid_point(CArc({0, 0}, 2.5, M_PI, M_PI), 0.0, &l); // rounded half away from zero
    EXPECT_EQ(l, CLpoint(-3, 0));

    CLpoint c(0, 0), out;
    locus(&out, &c, 10, 0.75 * M_PI); // truncated, not rounded
    EXPECT_EQ(out, CLpoint(-7, 7));
    CDpoint dc(0.9, -0.9);
    locus(&out, &dc, 0, 0);
    EXPECT_EQ(out, CLpoint(0, 0));
    CDpoint dout;
    locus(&dout, CDpoint(1, 1), 2, M_PI);
    EXPECT_NEAR(dout.x, -1, kEps);
    EXPECT_NEAR(dout.y, 1, kEps);

    CArc half({0, 0}, 10, 0, M_PI);
    CLpoint pts[6];
    displace(half, pts, 0, 2, 5, 0);
    EXPECT_EQ(pts[0], CLpoint(15, 0));
    EXPECT_EQ(pts[2], CLpoint(0, 15));
    EXPECT_EQ(pts[4], CLpoint(-15, 0));
    displace(half, pts, 0, 1, -5, 1); // |dist| inward
    EXPECT_EQ(pts[0], CLpoint(5, 0));
    EXPECT_EQ(pts[1], CLpoint(0, 5));
    EXPECT_EQ(pts[2], CLpoint(-5, 0));
    displace(CArc({3.7, -3.7}, 10, 0, M_PI), pts, 0, 1, 50, 1); // clamped to the centre
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pts[i], CLpoint(3, -3));
}

TEST(ArcOperators, MoveAndScaleKeepAngles) {
    CArc a({1, 2}, 3, 0.5, 1.5);
    EXPECT_EQ(a + CLpoint(10, 20), CArc({11, 22}, 3, 0.5, 1.5));
    EXPECT_EQ(a - CDpoint(1, 2), CArc({0, 0}, 3, 0.5, 1.5));
    EXPECT_EQ(a + CSpoint(-1, -1), CArc({0, 1}, 3, 0.5, 1.5));
    EXPECT_EQ(a - 1.0, CArc({0, 1}, 3, 0.5, 1.5));
    EXPECT_EQ(a * 2.0, CArc({2, 4}, 6, 0.5, 1.5));
    EXPECT_EQ(a / 2.0, CArc({0.5, 1}, 1.5, 0.5, 1.5));
    CArc b = a;
    ++b;
    EXPECT_EQ(b, CArc({2, 3}, 3, 0.5, 1.5));
    --b;
    b += CLpoint(1, 1);
    b -= 1.0;
    b *= 3.0;
    b /= 3.0;
    EXPECT_EQ(b, a);
    EXPECT_EQ(b.move(-1, -2), CArc({0, 0}, 3, 0.5, 1.5));
    EXPECT_EQ(CArc(), CArc({0, 0}, 0, 0, 0));
}

} // namespace

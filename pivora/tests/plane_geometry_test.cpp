#include "pivora/geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double kEps = 1e-9;

CDline DL(double x1, double y1, double x2, double y2) {
    return CDline(CDpoint(x1, y1), CDpoint(x2, y2));
}

// ---- directions ----

TEST(PlaneDirections, Angles) {
    EXPECT_EQ(angle(CDpoint(0, 0)), 0.0);
    EXPECT_EQ(angle(CDpoint(-0.0, 0.0)), 0.0); // a zero vector, whatever its signs
    EXPECT_NEAR(angle(CDpoint(1, 1)), M_PI / 4, kEps);
    EXPECT_NEAR(angle(CDpoint(-1, 0)), M_PI, kEps);
    EXPECT_NEAR(angle(CDpoint(5, 5), CDpoint(5, 0)), -M_PI / 2, kEps);
    EXPECT_NEAR(angle(CDline(CDpoint(1, 1), CDpoint(0, 2))), 0.75 * M_PI, kEps);

    struct Case {
        CDpoint a, b, c, d;
        double expected;
    } cases[] = {
        {{0, 0}, {1, 0}, {0, 0}, {0, 1}, M_PI / 2},
        {{0, 0}, {1, 0}, {0, 0}, {-1, 0}, M_PI},
        {{0, 0},
         {-1, 0.1412},
         {0, 0},
         {-1, -0.1425},
         2 * std::atan(0.1425) / 2 + std::atan(0.1412)},
        {{0, 0},
         {std::cos(3.0), std::sin(3.0)},
         {0, 0},
         {std::cos(-3.0), std::sin(-3.0)},
         GEO_2PI - 6.0}, // across the seam at pi
        {{3, 3}, {3, 3}, {0, 0}, {1, 0}, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(angle(c.a, c.b, c.c, c.d), c.expected, 1e-4) << c.b.x << "," << c.b.y;
    EXPECT_NEAR(angle(CDpoint(10, 0), CDpoint(0, 0), CDpoint(0, 7)), M_PI / 2, kEps);
    EXPECT_NEAR(angle(CDpoint(10, 0), CDpoint(0, 0), CDpoint(-10, 0)), M_PI, kEps);
}

TEST(PlaneDirections, DegAngleRoundsWithItsOwnOffset) {
    auto dir = [](double deg) {
        return CDpoint(std::cos(deg / 57.29577951), std::sin(deg / 57.29577951));
    };
    struct Case {
        CDpoint b;
        int degrees;
    } cases[] = {
        {{-1, 0}, 180},    {{0, -1}, -90},   {{1, 1}, 45},        {{0, 0}, 0},
        {dir(10.495), 10}, {dir(10.51), 11}, {dir(-10.495), -10}, {dir(-10.51), -11},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DegAngle(CDpoint(0, 0), c.b), c.degrees) << c.b.x << "," << c.b.y;
}

// ---- distances ----

TEST(PlaneDistances, PointsSegmentsAndRectangles) {
    EXPECT_EQ(length(CDpoint(3, 4)), 5);
    EXPECT_EQ(length(CSize(-3, 4)), 5);
    EXPECT_EQ(length(CLpoint(1, 1), CLpoint(4, 5)), 5);
    EXPECT_EQ(length(CPoint(1, 1), CPoint(-2, -3)), 5);
    EXPECT_EQ(length(CLpoint(INT32_MIN, 0), CLpoint(INT32_MAX, 0)), 4294967295.0);
    EXPECT_EQ(length(CDline(CDpoint(0, 0), CDpoint(0, -7))), 7);

    CDline seg(CDpoint(0, 0), CDpoint(10, 0));
    struct Case {
        CDpoint p;
        CDline l;
        double d;
    } cases[] = {
        {{5, 3}, seg, 3},
        {{-3, 4}, seg, 5},
        {{13, -4}, seg, 5},
        {{10, 0}, seg, 0},
        {{3, 4}, CDline(CDpoint(0, 0), CDpoint(0, 0)), 5}, // zero length: the start
    };
    for (const Case& c : cases)
        EXPECT_NEAR(length(c.p, c.l), c.d, kEps) << c.p.x << "," << c.p.y;

    // Crossing segments are measured by their ends only.
    EXPECT_EQ(length(seg, CDline(CDpoint(5, -5), CDpoint(5, 5))), 5);
    EXPECT_EQ(length(seg, CDline(CDpoint(12, 0), CDpoint(20, 0))), 2);

    CWindow w(0, 0, 10, 20);
    struct WCase {
        CLpoint p;
        double d;
    } wcases[] = {{{5, 5}, 0},  {{10, 20}, 0}, {{0, 7}, 0},   {{-4, 7}, 4},
                  {{5, 23}, 3}, {{13, 24}, 5}, {{-3, -4}, 5}, {{INT32_MIN, 0}, 2147483648.0}};
    for (const WCase& c : wcases)
        EXPECT_EQ(length(c.p, w), c.d) << c.p.x << "," << c.p.y;
}

TEST(PlaneDistances, PointToArc) {
    CArc quarter(CDpoint(0, 0), 10, 0, M_PI / 2);
    struct Case {
        CDpoint p;
        double d;
    } cases[] = {
        {{3, 4}, 5},                    // inside the sweep: radial
        {{30, 40}, 40},                 // radial from outside
        {{0, 0}, 10},                   // the centre: direction 0 is within the sweep
        {{-10, 0}, std::hypot(10, 10)}, // beyond the sweep: nearer end (0,10)
        {{10, -3}, 3},                  // beyond the sweep: the start (10,0)
    };
    for (const Case& c : cases)
        EXPECT_NEAR(length(c.p, quarter), c.d, kEps) << c.p.x << "," << c.p.y;
}

TEST(PlaneDistances, SegmentToArcAndArcToArc) {
    CArc upper(CDpoint(0, 0), 10, 0, M_PI); // upper half circle
    struct Case {
        CDline l;
        double d;
    } cases[] = {
        {CDline(CDpoint(0, 0), CDpoint(0, 20)), 0},      // crosses within the sweep
        {CDline(CDpoint(-20, 15), CDpoint(20, 15)), 5},  // misses the circle above
        {CDline(CDpoint(0, 0.5), CDpoint(0, 1.5)), 9.5}, // shorter than 1.7: its start
        {CDline(CDpoint(-20, -5), CDpoint(20, -5)), 5},  // crosses the circle below the sweep
        {CDline(CDpoint(5, 0), CDpoint(5, 5)), 10 - std::sqrt(50.0)}, // ends short of the arc
    };
    for (const Case& c : cases)
        EXPECT_NEAR(length(c.l, upper), c.d, 1e-6) << c.l.start.x << "," << c.l.start.y;

    CArc right(CDpoint(0, 0), 10, -1, 1), left(CDpoint(30, 0), 10, M_PI - 1, M_PI + 1);
    EXPECT_NEAR(length(right, left), 10, kEps);
    CArc leftAway(CDpoint(30, 0), 10, -1, 1); // faces away: measured through its chord
    EXPECT_NEAR(length(right, leftAway), 30 + 10 * std::cos(1.0) - 10, 1e-6);
}

TEST(PlaneDistances, RectangleToRectangle) {
    struct Case {
        CWindow a, b;
        double d;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 20}, -1},       {{0, 0, 10, 10}, {10, 0, 20, 10}, -1},
        {{0, 0, 10, 10}, {13, 2, 20, 8}, 3},        {{0, 0, 10, 10}, {-20, 0, -4, 10}, 4},
        {{0, 0, 10, 10}, {0, 17, 10, 30}, 7},       {{0, 0, 10, 10}, {20, 20, 30, 30}, -2},
        {CWindow::EmptyExtent(), {0, 0, 1, 1}, -2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(length(c.a, c.b), c.d) << c.b.x1 << "," << c.b.y1;
}

TEST(PlaneDistances, NearestApproachOfSegments) {
    struct Case {
        CLine l1, l2;
        double d;
        CLpoint at;
    } cases[] = {
        {{{0, 0}, {10, 0}}, {{5, -5}, {5, 5}}, 0, {5, 0}},   // crossing
        {{{0, 0}, {10, 0}}, {{2, 5}, {8, 5}}, 5, {2, 0}},    // parallel above
        {{{0, 0}, {10, 0}}, {{13, 4}, {20, 4}}, 5, {10, 0}}, // beyond the end
        {{{0, 0}, {10, 0}}, {{4, 0}, {4, 0}}, 0, {4, 0}},    // a point on l1
        {{{0, 0}, {0, 0}}, {{3, 4}, {6, 8}}, 5, {0, 0}},     // l1 a point
    };
    for (const Case& c : cases) {
        CLpoint out(-99, -99);
        EXPECT_NEAR(point_length(c.l1, c.l2, &out), c.d, kEps) << c.l2.start.x;
        EXPECT_EQ(out, c.at) << c.l2.start.x;
    }
}

TEST(PlaneDistances, NearestApproachWithArcs) {
    // The half circle is sampled in n = 19 steps (pi / 0.17453292 + 1): the best sample lies
    // at 9 pi / 19, and out is that sample of the arc.
    CArc upper(CDpoint(0, 0), 10, 0, M_PI);
    CLpoint out(-99, -99);
    double best = 20 - 10 * std::sin(9 * M_PI / 19);
    EXPECT_NEAR(point_length(CLine(CLpoint(-50, 20), CLpoint(50, 20)), upper, &out), best, 1e-9);
    EXPECT_EQ(out, CLpoint(1, 10));
    CArc facing(CDpoint(0, 40), 10, -M_PI, 0);
    out = CLpoint(-99, -99);
    EXPECT_LT(point_length(upper, facing, &out), 20.1);
    EXPECT_EQ(out, CLpoint(1, 10));

    // Nothing beats the starting minimum: out stays as it was.
    out = CLpoint(-99, -99);
    CArc far(CDpoint(5e6, 0), 10, 0, 1);
    EXPECT_EQ(point_length(CLine(CLpoint(0, 0), CLpoint(1, 0)), far, &out), 1000000);
    EXPECT_EQ(out, CLpoint(-99, -99));
    // A broken sweep neither hangs nor overruns.
    CArc broken(CDpoint(0, 0), 10, 0, NAN);
    point_length(broken, upper, &out);
    point_length(CArc(CDpoint(0, 0), 10, 0, 1e12), upper, &out);
}

TEST(PlaneDistances, PerpendicularDistanceTruncatesTheFoot) {
    CDpoint a(0, 0), b(10, 0), p(3.7, -5), foot;
    EXPECT_NEAR(perp_dist(&a, &b, &p, &foot), 5, kEps);
    EXPECT_EQ(foot, CDpoint(3, 0));
    CDpoint q(-3.7, 5);
    perp_dist(&a, &b, &q, &foot);
    EXPECT_EQ(foot, CDpoint(-3, 0));
    CDpoint same(1.5, 1.5);
    EXPECT_NEAR(perp_dist(&same, &same, &b, &foot), std::hypot(8.5, 1.5), kEps);
    EXPECT_EQ(foot, same);

    CLpoint la(0, 0), lb(10, 10), lp(0, 10), lfoot;
    EXPECT_NEAR(perp_dist(&la, &lb, &lp, &lfoot), std::sqrt(50.0), kEps);
    EXPECT_EQ(lfoot, CLpoint(5, 5));
}

// ---- intersections ----

TEST(PlaneIntersections, SegmentWithSegment) {
    struct Case {
        CDline l1, l2;
        int result;
        CDpoint out;
    } cases[] = {
        {DL(0, 0, 10, 0), DL(5, -5, 5, 5), 1, {5, 0}},
        {DL(0, 0, 10, 0), DL(20, -5, 20, 5), 0, {20, 0}},      // written all the same
        {DL(0, 0, 10, 0), DL(5, 0, 15, 0), 1, {7.5, 0}},       // collinear overlap
        {DL(0, 0, 10, 0), DL(10, 0, 10, 10), 1, {10, 0}},      // meeting at the ends
        {DL(0, 0, 10, 0), DL(20, 0, 30, 0), 0, {15, 0}},       // collinear apart
        {DL(0, 0, 10, 0), DL(0, 5, 10, 5), 0, {0, 2.5}},       // parallel apart
        {DL(0, 0, 10, 0), DL(0, 0, 10, 0), 1, {5, 0}},         // identical
        {DL(0, 0, 10, 0), DL(10, 0, 0, 0), 1, {5, 0}},         // identical, reversed
        {DL(0, 0, 10, 0), DL(0, 1, 10, 1.00001), 1, {0, 0.5}}, // near parallel, close
    };
    for (const Case& c : cases) {
        CDpoint out(-99, -99);
        EXPECT_EQ(intersect(c.l1, c.l2, &out), c.result) << c.l2.start.x << "," << c.l2.start.y;
        EXPECT_NEAR(out.x, c.out.x, 1e-6) << c.l2.start.x << "," << c.l2.start.y;
        EXPECT_NEAR(out.y, c.out.y, 1e-6) << c.l2.start.x << "," << c.l2.start.y;
    }
}

TEST(PlaneIntersections, ZeroLengthSegmentsNeverCross) {
    CDline seg(CDpoint(0, 0), CDpoint(10, 0)), dot(CDpoint(5, 0), CDpoint(5, 0));
    CDpoint out(-99, -99);
    CLpoint lout(-99, -99);
    EXPECT_EQ(intersect(seg, dot, &out), 0);
    EXPECT_EQ(intersect(dot, seg, &lout), 0);
    EXPECT_EQ(intersect(seg, dot, &out, 1, 1), 0);
    EXPECT_EQ(intersect(CLine(CLpoint(5, 0), CLpoint(5, 0)), CLine(CLpoint(0, 0), CLpoint(10, 0)),
                        &lout, 0, 0),
              0);
    EXPECT_EQ(out, CDpoint(-99, -99));
    EXPECT_EQ(lout, CLpoint(-99, -99));
    CLpoint a(5, 0), b(0, 0), c(10, 0);
    EXPECT_EQ(CheckIntersect(a, a, b, c), 0);
}

TEST(PlaneIntersections, FlaggedSegmentsAndTolerance) {
    CDline l1(CDpoint(0, 0), CDpoint(10, 0)), l2(CDpoint(11.5, -5), CDpoint(11.5, 5));
    CDpoint out;
    EXPECT_EQ(intersect(l1, l2, &out, 0, 0), 1);
    EXPECT_EQ(intersect(l1, l2, &out, 1, 1), 1); // 1.5 off l1's end
    EXPECT_EQ(intersect(l1, CDline(CDpoint(12, -5), CDpoint(12, 5)), &out, 1, 0), 0);
    EXPECT_EQ(intersect(l1, CDline(CDpoint(12, -5), CDpoint(12, 5)), &out, 0, 1), 1);
    EXPECT_EQ(out, CDpoint(12, 0));

    CLpoint lout;
    EXPECT_EQ(intersect(CLine(CLpoint(0, 0), CLpoint(3, 3)), CLine(CLpoint(0, 3), CLpoint(3, 0)),
                        &lout, 1, 1),
              1);
    EXPECT_EQ(lout, CLpoint(2, 2)); // 1.5 rounded away from zero
    EXPECT_EQ(intersect(CDline(CDpoint(0, 0), CDpoint(3, 3)), CDline(CDpoint(0, 3), CDpoint(3, 0)),
                        &lout),
              1);
    EXPECT_EQ(lout, CLpoint(2, 2));

    struct Case {
        CLpoint a1, a2, b1, b2;
        int result;
    } cases[] = {
        {{0, 0}, {10, 0}, {11, -5}, {11, 5}, 1}, // 1-unit miss
        {{0, 0}, {10, 0}, {12, -5}, {12, 5}, 0}, // 2-unit miss
        {{0, 0}, {10, 0}, {5, 1}, {5, 5}, 1},    // 1 unit short of l1
        {{0, 0}, {10, 0}, {5, 2}, {5, 5}, 0},
        {{0, 0}, {10, 0}, {11, 1}, {20, 1}, 1}, // near-parallel rule within 1.7
        {{0, 0}, {10, 0}, {0, 2}, {10, 2}, 1},  // parallel 2 apart: 1 from each
        {{0, 0}, {10, 0}, {0, 4}, {10, 4}, 0},
    };
    for (Case& c : cases)
        EXPECT_EQ(CheckIntersect(c.a1, c.a2, c.b1, c.b2), c.result) << c.b1.x << "," << c.b1.y;
}

// CheckIntersect is the flagged crossing with both flags, whatever shortcut it takes.
TEST(PlaneIntersections, CheckIntersectAgreesWithTheFlaggedCrossing) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 40);
    int met = 0;
    for (int i = 0; i < 20000; ++i) {
        CLpoint a1(coord(rng), coord(rng)), a2(coord(rng), coord(rng));
        CLpoint b1(coord(rng), coord(rng)), b2(coord(rng), coord(rng));
        CDpoint out;
        int expected = intersect(CDline(a1, a2), CDline(b1, b2), &out, 1, 1);
        met += expected;
        ASSERT_EQ(CheckIntersect(a1, a2, b1, b2), expected)
            << a1.x << "," << a1.y << " " << a2.x << "," << a2.y << " " << b1.x << "," << b1.y
            << " " << b2.x << "," << b2.y;
    }
    EXPECT_GT(met, 1000);
    EXPECT_LT(met, 19000);
}

TEST(PlaneIntersections, LineWithCircle) {
    CArc circle(CDpoint(0, 0), 10, 0, GEO_2PI);
    CDpoint f, n;
    ASSERT_EQ(intersect(CDline(CDpoint(-20, 6), CDpoint(20, 6)), circle, &f, &n), 1);
    EXPECT_NEAR(f.x, 8, kEps);
    EXPECT_NEAR(n.x, -8, kEps);
    EXPECT_NEAR(f.y, 6, kEps);
    // The line is infinite: a short segment away from the circle still finds the crossings.
    ASSERT_EQ(intersect(CDline(CDpoint(20, 6), CDpoint(30, 6)), circle, &f, &n), 1);
    EXPECT_NEAR(f.x, 8, kEps); // farther along the direction of l
    EXPECT_NEAR(n.x, -8, kEps);
    ASSERT_EQ(intersect(CDline(CDpoint(-20, 10), CDpoint(20, 10)), circle, &f, &n), 1); // tangent
    EXPECT_NEAR(f.x, 0, kEps);
    EXPECT_EQ(f, n);

    f = n = CDpoint(-99, -99);
    EXPECT_EQ(intersect(CDline(CDpoint(-20, 11), CDpoint(20, 11)), circle, &f, &n), 0);
    EXPECT_EQ(intersect(CDline(CDpoint(1, 1), CDpoint(1, 1)), circle, &f, &n), 0); // zero length
    EXPECT_EQ(f, CDpoint(-99, -99));
    CLpoint lf(-99, -99), ln(-99, -99);
    EXPECT_EQ(intersect(CDline(CDpoint(-20, 11), CDpoint(20, 11)), circle, &lf, &ln), 0);
    EXPECT_EQ(lf, CLpoint(0, 0));
    EXPECT_EQ(ln, CLpoint(0, 0));
    EXPECT_EQ(intersect(CDline(CDpoint(-20, 6), CDpoint(20, 6)), circle, &lf, &ln), 1);
    EXPECT_EQ(lf, CLpoint(8, 6));
    EXPECT_EQ(ln, CLpoint(-8, 6));
}

TEST(PlaneIntersections, FlaggedLineWithArc) {
    CArc upper(CDpoint(0, 0), 10, 0, M_PI);
    CDpoint out;
    CDline across(CDpoint(-20, 6), CDpoint(20, 6));
    ASSERT_EQ(intersect(across, upper, &out, 1, 1), 1);
    EXPECT_NEAR(out.x, 8, kEps); // the farther crossing first
    ASSERT_EQ(intersect(CDline(CDpoint(-20, 6), CDpoint(0, 6)), upper, &out, 1, 1), 1);
    EXPECT_NEAR(out.x, -8, kEps); // the far one lies off the segment
    EXPECT_EQ(intersect(CDline(CDpoint(-20, -6), CDpoint(20, -6)), upper, &out, 1, 1), 0);
    ASSERT_EQ(intersect(CDline(CDpoint(-20, -6), CDpoint(20, -6)), upper, &out, 1, 0), 1);
    EXPECT_NEAR(out.x, 8, kEps);
    EXPECT_EQ(intersect(CDline(CDpoint(-20, 6), CDpoint(-15, 6)), upper, &out, 1, 0), 0);
    CLpoint lout;
    ASSERT_EQ(intersect(across, upper, &lout, 0, 0), 1);
    EXPECT_EQ(lout, CLpoint(8, 6));
}

TEST(PlaneIntersections, CircleWithCircle) {
    CArc a(CDpoint(0, 0), 5, 0, GEO_2PI), b(CDpoint(8, 0), 5, 0, GEO_2PI);
    CDpoint l, r;
    ASSERT_EQ(intersect(a, b, &l, &r), 1);
    EXPECT_NEAR(l.x, 4, kEps);
    EXPECT_NEAR(l.y, 3, kEps); // left of the line from a's centre to b's
    EXPECT_NEAR(r.y, -3, kEps);

    struct Case {
        CArc a, b;
    } none[] = {
        {CArc(CDpoint(0, 0), 5, 0, 1), CArc(CDpoint(10, 0), 5, 0, 1)}, // touching
        {CArc(CDpoint(0, 0), 5, 0, 1), CArc(CDpoint(0, 0), 7, 0, 1)},  // concentric
        {CArc(CDpoint(0, 0), 5, 0, 1), CArc(CDpoint(0, 0), 5, 0, 1)},  // coincident
        {CArc(CDpoint(0, 0), 5, 0, 1), CArc(CDpoint(20, 0), 5, 0, 1)}, // apart
        {CArc(CDpoint(0, 0), 10, 0, 1), CArc(CDpoint(1, 0), 2, 0, 1)}, // one inside the other
    };
    for (const Case& c : none) {
        CLpoint ll(-99, -99), lr(-99, -99);
        EXPECT_EQ(intersect(c.a, c.b, &ll, &lr), 0) << c.b.cx << " " << c.b.r;
        EXPECT_EQ(ll, CLpoint(0, 0));
        EXPECT_EQ(lr, CLpoint(0, 0));
    }

    CArc upper(CDpoint(0, 0), 5, 0, M_PI), lower(CDpoint(8, 0), 5, M_PI, 1.5 * M_PI);
    CDpoint out;
    EXPECT_EQ(intersect(upper, lower, &out, 1, 1), 0);
    EXPECT_NEAR(out.y, -3, kEps); // the second candidate
    ASSERT_EQ(intersect(upper, lower, &out, 1, 0), 1);
    EXPECT_NEAR(out.y, 3, kEps);
    ASSERT_EQ(intersect(upper, lower, &out, 0, 1), 1);
    EXPECT_NEAR(out.y, -3, kEps);
}

// ---- perpendiculars, sides, parallelism ----

TEST(PlanePerpendiculars, FootAndSides) {
    struct Case {
        CDpoint a, b, p;
        int result;
        CDpoint foot;
    } cases[] = {
        {{0, 0}, {10, 0}, {4, 7}, 1, {4, 0}},
        {{0, 0}, {10, 0}, {14, 7}, 0, {14, 0}},     // beyond the end
        {{3, 3}, {3, 3}, {14, 7}, 1, {3, 3}},       // a = b
        {{3, 3}, {3.05, 3.05}, {14, 7}, 0, {3, 3}}, // shorter than 0.1
    };
    for (const Case& c : cases) {
        CDpoint foot;
        EXPECT_EQ(perp(c.a, c.b, c.p, &foot), c.result) << c.p.x;
        EXPECT_NEAR(foot.x, c.foot.x, kEps);
        EXPECT_NEAR(foot.y, c.foot.y, kEps);
    }
    CLpoint a(0, 0), b(10, 10), p(5, 0), lfoot;
    EXPECT_EQ(perp(&a, &b, &p, &lfoot), 1);
    EXPECT_EQ(lfoot, CLpoint(3, 3)); // 2.5 rounded away from zero

    EXPECT_EQ(half_plane(CDpoint(0, -1), CDline(CDpoint(0, 0), CDpoint(1, 0))), 1);
    EXPECT_EQ(half_plane(CDpoint(0, 1), CDline(CDpoint(0, 0), CDpoint(1, 0))), -1);
    EXPECT_EQ(half_plane(CDpoint(7, 0), CDline(CDpoint(0, 0), CDpoint(1, 0))), 0);
    CLpoint s(INT32_MIN, INT32_MIN), e(INT32_MAX, INT32_MAX), right(INT32_MAX, INT32_MIN),
        left(INT32_MIN, INT32_MAX), on(0, 0);
    EXPECT_EQ(half_plane(&right, &s, &e), 1);
    EXPECT_EQ(half_plane(&left, &s, &e), -1);
    CLpoint s2(-1, -1), e2(1, 1);
    EXPECT_EQ(half_plane(&on, &s2, &e2), 0);
}

TEST(PlanePerpendiculars, PointBeforeLine) {
    struct Case {
        CLpoint p, a, b;
        int result;
    } cases[] = {
        {{5, 100}, {10, 0}, {20, 1}, 1}, // x dominant, forwards: p.x <= a.x
        {{15, 100}, {10, 0}, {20, 1}, 0}, {{10, 0}, {10, 0}, {20, 1}, 1},
        {{15, 0}, {10, 0}, {0, 1}, 1}, // x dominant, backwards: p.x >= a.x
        {{5, 0}, {10, 0}, {0, 1}, 0},     {{100, -5}, {0, 0}, {1, 10}, 1}, // y dominant
        {{100, 5}, {0, 0}, {1, -10}, 1},  {{100, 5}, {0, 0}, {1, 10}, 0},
        {{0, 5}, {0, 0}, {5, 5}, 0}, // a tie goes to y
    };
    for (Case& c : cases)
        EXPECT_EQ(point_before_line(&c.p, &c.a, &c.b), c.result) << c.p.x << "," << c.p.y;
}

TEST(PlanePerpendiculars, Parallel) {
    struct Case {
        CDpoint a1, a2, b1, b2;
        double angTol, distTol;
        bool result;
    } cases[] = {
        {{0, 0}, {10, 0}, {2, 1}, {8, 1}, 0.01, 2, true},    // overlapping, close
        {{0, 0}, {10, 0}, {8, 1}, {2, 1}, 0.01, 2, true},    // opposite direction
        {{0, 0}, {10, 0}, {2, 5}, {8, 5}, 0.01, 2, false},   // too far apart
        {{0, 0}, {10, 0}, {2, 5}, {8, 5}, 0.01, -1, true},   // directions only
        {{0, 0}, {10, 0}, {0, 0}, {10, 3}, 0.01, -1, false}, // not parallel
        {{0, 0}, {10, 0}, {20, 1}, {30, 1}, 0.01, 2, false}, // parallel, no overlap
        {{0, 0}, {10, 0}, {5, 0}, {15, 0}, 0.01, 2, true},   // collinear
        {{0, 0}, {10, 0}, {20, 0}, {30, 0}, 0.01, 2, true},  // collinear: both distances 0
        {{0, 0}, {10, 0}, {-5, 1}, {15, 1}, 0.01, 2, true},  // a inside b
    };
    for (const Case& c : cases)
        EXPECT_EQ(parallel(c.a1, c.a2, c.b1, c.b2, c.angTol, c.distTol), c.result)
            << c.b1.x << "," << c.b1.y << " " << c.distTol;
}

// ---- points along segments, offsets, clipping, fitting ----

TEST(PlanePoints, MidPointsAndSplitting) {
    CDpoint d;
    mid_point(CDpoint(0, 0), CDpoint(10, -10), 0.25, &d);
    EXPECT_EQ(d, CDpoint(2.5, -2.5));
    CLpoint l;
    mid_point(CLpoint(0, 0), CLpoint(10, -10), 0.25, &l);
    EXPECT_EQ(l, CLpoint(3, -3));
    CLpoint a(-3, -3), b(0, 0), out;
    EXPECT_EQ(mid_point(&a, &b, &out), &out);
    EXPECT_EQ(out, CLpoint(-1, -1));
    CLpoint big(INT32_MAX, INT32_MAX);
    mid_point(&big, &big, &out);
    EXPECT_EQ(out, big);

    CLpoint pts[7];
    for (CLpoint& p : pts)
        p = CLpoint(-99, -99);
    CLpoint s(0, 0), e(10, -5);
    split_line(&s, &e, 3, pts, 0, 2);
    EXPECT_EQ(pts[0], CLpoint(0, 0));
    EXPECT_EQ(pts[2], CLpoint(3, -2)); // 3.33 and -1.67 rounded by their signs
    EXPECT_EQ(pts[4], CLpoint(7, -3));
    EXPECT_EQ(pts[6], CLpoint(10, -5));
    EXPECT_EQ(pts[1], CLpoint(-99, -99));
    CLpoint one[2] = {{-99, -99}, {-99, -99}};
    split_line(&s, &e, 0, one, 1, 1);
    EXPECT_EQ(one[0], CLpoint(-99, -99));
    EXPECT_EQ(one[1], e);
    split_line(&s, &e, -2, one, 0, 1);
    EXPECT_EQ(one[0], e);
}

// Every point a + s is rounded half away from zero by its own sign: the first point is a,
// the last b, whatever the signs of the coordinates and of the steps.
TEST(PlanePoints, SplitLineRoundsEachPointByItsOwnSign) {
    struct Case {
        CLpoint a, b;
        int n;
        std::vector<CLpoint> want;
    } cases[] = {
        {{-10, 0}, {0, 0}, 4, {{-10, 0}, {-8, 0}, {-5, 0}, {-3, 0}, {0, 0}}}, // -7.5 -> -8
        {{-10, 5}, {10, -5}, 4, {{-10, 5}, {-5, 3}, {0, 0}, {5, -3}, {10, -5}}},
        {{-7, -7}, {-1, -1}, 3, {{-7, -7}, {-5, -5}, {-3, -3}, {-1, -1}}},
        {{3, -4}, {-3, 4}, 3, {{3, -4}, {1, -1}, {-1, 1}, {-3, 4}}}, // 1.33, -1.33 and back
    };
    for (const Case& c : cases) {
        std::vector<CLpoint> out(size_t(c.n + 1), CLpoint(-99, -99));
        CLpoint a = c.a, b = c.b;
        split_line(&a, &b, c.n, out.data(), 0, 1);
        EXPECT_EQ(out, c.want) << c.a.x << "," << c.a.y << " to " << c.b.x << "," << c.b.y;
    }
}

TEST(PlanePoints, DisplaceSegmentSideways) {
    struct Case {
        CLpoint a, b;
        LONG dist;
        int side;
        CLpoint oa, ob;
    } cases[] = {
        {{0, 0}, {10, 0}, 5, 1, {0, -5}, {10, -5}}, // to the right of a->b
        {{0, 0}, {10, 0}, 5, -1, {0, 5}, {10, 5}},
        {{0, 0}, {3, 4}, 10, 1, {8, -6}, {11, -2}},
        {{0, 0}, {3, 4}, 1, 1, {0, 0}, {3, 4}}, // 0.8 and -0.6 truncated
        {{0, 0}, {10, 0}, 0, 1, {0, 0}, {10, 0}},
        {{0, 0}, {10, 0}, 5, 0, {0, 0}, {10, 0}},
        {{0, 0}, {1, 1}, 5, 1, {0, 0}, {1, 1}}, // shorter than 1.7
        // At the 32-bit limits the offset stops there instead of wrapping.
        {{INT32_MAX, 0}, {INT32_MAX, 10}, 5, 1, {INT32_MAX, 0}, {INT32_MAX, 10}},
        {{INT32_MIN, 10}, {INT32_MIN, 0}, 5, 1, {INT32_MIN, 10}, {INT32_MIN, 0}},
    };
    for (const Case& c : cases) {
        CLpoint oa, ob;
        displace(c.a, c.b, &oa, &ob, c.dist, c.side);
        EXPECT_EQ(oa, c.oa) << c.b.x << " " << c.dist << " " << c.side;
        EXPECT_EQ(ob, c.ob) << c.b.x << " " << c.dist << " " << c.side;
    }
}

TEST(PlanePoints, SwapAndRemainder) {
    CLpoint a(1, 2), b(3, 4);
    EXPECT_EQ(xchg_point(&a, &b), &a);
    EXPECT_EQ(a, CLpoint(3, 4));
    EXPECT_EQ(b, CLpoint(1, 2));
    struct Case {
        LONG a, b, r;
    } cases[] = {{7, 3, 1}, {-7, 3, -1}, {7, -3, 1},        {-7, -3, -1},
                 {6, 3, 0}, {5, 0, 0},   {INT32_MIN, -1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(lmod(c.a, c.b), c.r) << c.a << " % " << c.b;
}

TEST(PlaneClipping, Outcodes) {
    CWindow w(0, 0, 100, 50);
    struct Case {
        CLpoint p;
        int code;
    } cases[] = {{{50, 25}, 0},  {{0, 0}, 0},   {{100, 50}, 0}, {{50, 51}, 1}, {{50, -1}, 2},
                 {{101, 25}, 4}, {{-1, 25}, 8}, {{101, 51}, 5}, {{-1, -1}, 10}};
    for (Case& c : cases)
        EXPECT_EQ(FnCheckClip(&c.p, &w), c.code) << c.p.x << "," << c.p.y;
}

TEST(PlaneClipping, ClipLine) {
    CWindow w(0, 0, 100, 100);
    struct Case {
        CLpoint a, b;
        int result;
        CLpoint ca, cb;
    } cases[] = {
        {{10, 10}, {90, 90}, 1, {10, 10}, {90, 90}},           // wholly inside
        {{-50, 50}, {50, 50}, 1, {0, 50}, {50, 50}},           // crosses the left side
        {{50, 50}, {150, 50}, 1, {50, 50}, {100, 50}},         // crosses the right side
        {{-50, -50}, {150, 150}, 1, {0, 0}, {100, 100}},       // corner to corner in one pass
        {{-10, 200}, {-10, -200}, 0, {-10, 200}, {-10, -200}}, // left of it
        {{150, 120}, {120, 150}, 0, {150, 120}, {120, 150}},   // both above right
        {{120, 50}, {50, 250}, 0, {}, {}},                     // misses the corner
        {{130, 110},
         {30, 90},
         1,
         {80, 100},
         {30, 90}}, // from the top-right corner region via the top
        {{150, 110}, {50, 90}, 1, {100, 100}, {50, 90}}, // through the corner itself
        {{0, 0}, {0, 0}, 1, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        CLpoint a = c.a, b = c.b;
        EXPECT_EQ(FnClipLine(a, b, &w), c.result) << c.a.x << "," << c.a.y;
        if (c.result) {
            EXPECT_EQ(a, c.ca) << c.a.x << "," << c.a.y;
            EXPECT_EQ(b, c.cb) << c.a.x << "," << c.a.y;
        }
    }
}

// Every segment that runs through the window keeps its visible part, whichever regions its ends
// lie in; one that misses it is refused.
TEST(PlaneClipping, ClipLineAgreesWithExactClipping) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> coord(-1000, 1000);
    CWindow w(-300, -200, 400, 500);
    int visible = 0;
    for (int i = 0; i < 20000; ++i) {
        CLpoint a(coord(rng), coord(rng)), b(coord(rng), coord(rng));
        // Exact parametric clip in doubles.
        double t0 = 0, t1 = 1, dx = double(b.x) - a.x, dy = double(b.y) - a.y;
        auto edge = [&](double p, double q) {
            if (p == 0)
                return q >= 0;
            double t = q / p;
            if (p < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            return true;
        };
        bool ok = edge(-dx, a.x - w.x1) && edge(dx, w.x2 - a.x) && edge(-dy, a.y - w.y1) &&
                  edge(dy, w.y2 - a.y);
        double visibleLength = ok && t1 > t0 ? (t1 - t0) * std::hypot(dx, dy) : 0;
        CLpoint ca = a, cb = b;
        int r = FnClipLine(ca, cb, &w);
        if (visibleLength > 3) {
            ++visible;
            ASSERT_EQ(r, 1) << a.x << "," << a.y << " " << b.x << "," << b.y;
            EXPECT_EQ(FnCheckClip(&ca, &w), 0);
            EXPECT_EQ(FnCheckClip(&cb, &w), 0);
            CDpoint ea(a.x + t0 * dx, a.y + t0 * dy), eb(a.x + t1 * dx, a.y + t1 * dy);
            EXPECT_LT(length(CDpoint(ca), ea), 2.0)
                << a.x << "," << a.y << " " << b.x << "," << b.y;
            EXPECT_LT(length(CDpoint(cb), eb), 2.0)
                << a.x << "," << a.y << " " << b.x << "," << b.y;
        } else if (!ok || t1 < t0 - 0.01) {
            EXPECT_EQ(r, 0) << a.x << "," << a.y << " " << b.x << "," << b.y;
        }
    }
    EXPECT_GT(visible, 1000);
}

TEST(PlaneFitting, MakeSizeSimilar) {
    struct Case {
        CSize size, ref;
        bool grow;
        CSize out;
    } cases[] = {
        {{100, 100}, {2, 1}, true, {200, 100}},
        {{100, 100}, {2, 1}, false, {100, 50}},
        {{100, 50}, {2, 1}, true, {100, 50}}, // equal ratios
        {{0, 10}, {2, 1}, true, {20, 10}},    // zero side takes ref times the ratio
        {{10, 0}, {1, 2}, true, {10, 20}},
        {{0, 0}, {2, 1}, true, {0, 0}},
        {{100, 100}, {0, 5}, true, {0, 100}}, // ref without width
        {{100, 100}, {5, 0}, false, {100, 0}},
        {{100, 100}, {0, 0}, true, {100, 100}},
        {{-100, 100}, {2, 1}, true, {-200, 100}},
        {{100, 100}, {3, 2}, false, {100, 66}}, // truncated
    };
    for (const Case& c : cases) {
        CSize s = c.size;
        fnMakeSizeSimilar(s, c.ref, c.grow);
        EXPECT_EQ(s, c.out) << c.size.cx << "x" << c.size.cy << " to " << c.ref.cx << "x"
                            << c.ref.cy << (c.grow ? " grow" : "");
    }
}

} // namespace

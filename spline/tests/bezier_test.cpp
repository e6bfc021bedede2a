#include "spline/bezier.h"

#include "curve_dc.h"
#include "pivora/geometry/plane_geometry.h"
#include "pivora/item.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using platform::GdiOp;

namespace {

CBezier Cubic(CLpoint s, CLpoint c1, CLpoint c2, CLpoint e) {
    CBezier b;
    b.type = CBezier::kCubic;
    b.start = s, b.control1 = c1, b.control2 = c2, b.end = e;
    return b;
}

CBezier Segment(int type, CLpoint s, CLpoint c1, CLpoint e) {
    CBezier b;
    b.type = type;
    b.start = s, b.control1 = c1, b.control2 = c1, b.end = e;
    return b;
}

// An arch from (0,0) to (100,0) that rises to 75 at its middle.
CBezier Arch() {
    return Cubic(CLpoint(0, 0), CLpoint(0, 100), CLpoint(100, 100), CLpoint(100, 0));
}

} // namespace

TEST(BezierSegment, DefaultIsACurvedCubicAtTheOrigin) {
    CBezier b;
    EXPECT_EQ(b.type, CBezier::kCubic);
    EXPECT_EQ(b.curved, 1);
    EXPECT_EQ(b.PointExtents(), CWindow(0, 0, 0, 0));
}

TEST(BezierSegment, ElementCountsFollowTheClampedLevel) {
    struct Case {
        int type, level, count;
    };
    const Case cases[] = {
        {CBezier::kCubic, 0, 1},
        {CBezier::kCubic, -3, 1},
        {CBezier::kCubic, 2, 2},
        {CBezier::kCubic, 9, 4},
        {CBezier::kLine, 4, 1},
        {CBezier::kArc, 4, 1},
        {7, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " level " << c.level);
        CBezier b = Arch();
        b.type = c.type;
        EXPECT_EQ(b.NumPkts(c.level), c.count);
        CPkt out[5];
        EXPECT_EQ(b.MakePkts(out, c.level), c.count);
    }
}

TEST(BezierSegment, CubicFlattensIntoArcsThroughItsSamples) {
    CBezier b = Arch();
    CPkt out[4];
    ASSERT_EQ(b.MakePkts(out, 1), 1);
    EXPECT_EQ(out[0].Mode(), CPkt::kArc);
    EXPECT_EQ(out[0].Mid(), CLpoint(50, 75));
    ASSERT_EQ(b.MakePkts(out, 4), 4);
    EXPECT_EQ(out[0].Start(), CLpoint(0, 0));
    EXPECT_EQ(out[3].End(), CLpoint(100, 0));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(out[k].End(), out[k + 1].Start());
    EXPECT_EQ(out[1].End(), CLpoint(50, 75));
}

TEST(BezierSegment, FlatCubicIsStraightEverywhere) {
    CBezier b = Cubic(CLpoint(0, 5), CLpoint(30, 5), CLpoint(70, 5), CLpoint(100, 5));
    CPkt out[4];
    ASSERT_EQ(b.MakePkts(out, 4), 4);
    for (const CPkt& p : out)
        EXPECT_EQ(p.Mode(), 0);
    b.TestCurvature();
    EXPECT_EQ(b.curved, 0);
    CurveDC dc(false);
    dc.MoveTo(0, 5);
    b.Draw(&dc, false);
    EXPECT_EQ(dc.surface.Count(GdiOp::LineTo), 1);
    EXPECT_EQ(dc.surface.Count(GdiOp::PolyBezierTo), 0);
}

TEST(BezierSegment, CurvatureAgainstTheChord) {
    struct Case {
        const char* what;
        CBezier b;
        int curved;
    };
    const Case cases[] = {
        {"arch", Arch(), 1},
        {"start equal to end, far controls",
         Cubic(CLpoint(0, 0), CLpoint(5000, 5000), CLpoint(-5000, 5000), CLpoint(0, 0)), 0},
        {"controls on the chord",
         Cubic(CLpoint(0, 0), CLpoint(1, 0), CLpoint(2, 0), CLpoint(100000, 0)), 0},
        // (50 + 51) / 100000 = 0.00101 > 0.001.
        {"just curved",
         Cubic(CLpoint(0, 0), CLpoint(100, 50), CLpoint(200, 51), CLpoint(100000, 0)), 1},
        // (50 + 50) / 100000 = 0.001 exactly: straight.
        {"at the limit",
         Cubic(CLpoint(0, 0), CLpoint(100, 50), CLpoint(200, 50), CLpoint(100000, 0)), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBezier b = c.b;
        b.TestCurvature();
        EXPECT_EQ(b.curved, c.curved);
    }
}

// Curvature decided as the rounded distances decide it, near the limit too.
TEST(BezierSegment, CurvatureAgreesWithTheRoundedDistances) {
    std::mt19937 rng(3);
    int curved = 0, straight = 0;
    for (double scale : {1e3, 1e5, 1e8}) {
        std::uniform_real_distribution<double> u(-scale, scale), side(-0.002, 0.002);
        std::uniform_int_distribution<LONG> k(-1, 1);
        for (int i = 0; i < 30000; ++i) {
            const CLpoint s(LONG(u(rng)), LONG(u(rng))), e(LONG(u(rng)), LONG(u(rng)));
            const double dx = double(e.x) - s.x, dy = double(e.y) - s.y;
            // Controls about the limit's distance from the chord, on either side, or anywhere.
            auto control = [&](double t) {
                if (i % 3 == 0)
                    return CLpoint(LONG(u(rng)), LONG(u(rng)));
                const double d = i % 3 == 1 ? 0.0005 : side(rng);
                return CLpoint(LONG(s.x + t * dx - d * dy) + k(rng),
                               LONG(s.y + t * dy + d * dx) + k(rng));
            };
            CBezier b = Cubic(s, control(0.3), control(0.7), e);
            const CDline chord(s, e);
            const double l = length(chord);
            const double r =
                l == 0
                    ? 0.0
                    : (length(CDpoint(b.control1), chord) + length(CDpoint(b.control2), chord)) / l;
            b.TestCurvature();
            ASSERT_EQ(b.curved, r > CBezier::kFlatness ? 1 : 0) << i;
            ++(b.curved ? curved : straight);
        }
    }
    EXPECT_GT(curved, 1000);
    EXPECT_GT(straight, 1000);
}

TEST(BezierSegment, ExtentsPerType) {
    struct Case {
        const char* what;
        CBezier b;
        CWindow box;
    };
    const Case cases[] = {
        // The top of the arch is 75 exactly.
        {"arch", Arch(), CWindow(0, 0, 100, 75)},
        // Right to left: the smaller x first; B(1/2).y = 37.5 converts to 38.
        {"right to left", Cubic(CLpoint(100, 0), CLpoint(80, 50), CLpoint(20, 50), CLpoint(0, 0)),
         CWindow(0, 0, 100, 38)},
        // Negative values convert with +0.5 and truncation: -37.5 + 0.5 = -37.
        {"downward", Cubic(CLpoint(100, 0), CLpoint(80, -50), CLpoint(20, -50), CLpoint(0, 0)),
         CWindow(0, -37, 100, 0)},
        {"line", Segment(CBezier::kLine, CLpoint(10, 50), CLpoint(99, 99), CLpoint(-10, 20)),
         CWindow(-10, 20, 10, 50)},
        {"half circle arc",
         Segment(CBezier::kArc, CLpoint(-100, 0), CLpoint(0, 100), CLpoint(100, 0)),
         CWindow(-100, 0, 100, 100)},
        {"collinear arc", Segment(CBezier::kArc, CLpoint(0, 0), CLpoint(50, 0), CLpoint(100, 0)),
         CWindow(0, 0, 100, 0)},
        {"unknown type", Segment(5, CLpoint(10, 10), CLpoint(20, 20), CLpoint(30, 30)),
         CWindow(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBezier b = c.b;
        EXPECT_EQ(b.Extents(), c.box);
    }
    CBezier arch = Arch();
    EXPECT_EQ(arch.PointExtents(), CWindow(0, 0, 100, 100));
}

TEST(BezierSegment, CollinearArcIsALineOnScreenOnPaperAndInElements) {
    CBezier b = Segment(CBezier::kArc, CLpoint(0, 0), CLpoint(50, 0), CLpoint(100, 0));
    CPkt out;
    ASSERT_EQ(b.MakePkts(&out, 4), 1);
    EXPECT_EQ(out.Mode(), 0);
    for (bool printing : {false, true}) {
        SCOPED_TRACE(printing ? "printing" : "screen");
        CurveDC dc(false);
        dc.m_bPrinting = printing;
        dc.MoveTo(0, 0);
        b.Draw(&dc, false);
        auto lines = dc.surface.Calls(GdiOp::LineTo);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].pts.back().x, 100);
    }
    CurveDC dc;
    CItemHitTest ht(&dc, CurveDC::Device(60, 1), CItemHitTest::kModePath, 2);
    EXPECT_EQ(b.HitTest(&ht), 1);
    EXPECT_EQ(ht.GetHitSegment(), CLine(CLpoint(0, 0), CLpoint(100, 0)));
    ht.SetHitPoint(CurveDC::Device(60, 8));
    EXPECT_EQ(b.HitTest(&ht), 0);
}

TEST(BezierSegment, DrawingReversedRunsBackAndKeepsThePoints) {
    CBezier b = Arch();
    CurveDC dc(false);
    dc.MoveTo(100, 0);
    b.Draw(&dc, true);
    auto calls = dc.surface.Calls(GdiOp::PolyBezierTo);
    ASSERT_EQ(calls.size(), 1u);
    // The recording holds the current position, then the three points handed over.
    ASSERT_EQ(calls[0].pts.size(), 4u);
    EXPECT_EQ(calls[0].pts[1].x, 100);
    EXPECT_EQ(calls[0].pts[2].x, 0);
    EXPECT_EQ(calls[0].pts[3].x, 0);
    EXPECT_EQ(calls[0].pts[3].y, 0);
    EXPECT_EQ(b.start, CLpoint(0, 0));
    EXPECT_EQ(b.control1, CLpoint(0, 100));
    EXPECT_EQ(b.end, CLpoint(100, 0));
}

TEST(BezierSegment, CubicHitTestUsesTheFlattenedPath) {
    CurveDC dc;
    CBezier b = Arch();
    CItemHitTest ht(&dc, CurveDC::Device(50, 74), CItemHitTest::kModePath, 2);
    ASSERT_EQ(b.HitTest(&ht), 1);
    EXPECT_EQ(dc.GetDrawMode(), 1);
    // The hit piece is in device units, and runs across the hit point.
    const CLine& hit = ht.GetHitSegment();
    EXPECT_LE(std::min(hit.start.x, hit.end.x), 50);
    EXPECT_GE(std::max(hit.start.x, hit.end.x), 50);
    EXPECT_NEAR(hit.start.y, CurveDC::kOriginY - 75, 3);
    // Inside the box, off the curve.
    ht.SetHitPoint(CurveDC::Device(50, 30));
    EXPECT_EQ(b.HitTest(&ht), 0);
    // Outside the widened box.
    ht.SetHitPoint(CurveDC::Device(50, 80));
    EXPECT_EQ(b.HitTest(&ht), 0);
    // An unknown type never hits.
    b.type = 3;
    ht.SetHitPoint(CurveDC::Device(0, 0));
    EXPECT_EQ(b.HitTest(&ht), 0);
}

TEST(BezierSegment, SamplesAlongTheCubic) {
    CBezier b = Arch();
    POINT two[2];
    b.GetPoints(two, 2);
    EXPECT_EQ(two[0].x, 0);
    EXPECT_EQ(two[1].x, 100);
    POINT pts[3];
    b.GetPoints(pts, 3);
    EXPECT_EQ(pts[1].x, 50);
    EXPECT_EQ(pts[1].y, 75);
    POINT eight[8];
    b.GetPoints(eight, 8);
    EXPECT_EQ(eight[7].x, 100);
    EXPECT_EQ(eight[7].y, 0);
    // t = 1/7: y = 300 t (1-t)^2 + 300 t^2 (1-t) = 300 t (1-t) = 36.7..., truncated.
    EXPECT_EQ(eight[1].y, 36);
}

TEST(BezierSegment, FarApartControlPointsSampleWithoutOverflow) {
    // 3 (control1 - start) is 2.4e9: beyond 32 bits.
    const LONG far = 400000000;
    CBezier b =
        Cubic(CLpoint(-far, -far), CLpoint(far, far), CLpoint(far, -far), CLpoint(-far, far));
    POINT pts[3];
    b.GetPoints(pts, 3);
    // B(1/2) = (s + 3 c1 + 3 c2 + e) / 8.
    EXPECT_EQ(pts[1].x, (-far + 3 * far + 3 * far - far) / 8);
    EXPECT_EQ(pts[1].y, 0);
    CPkt out[4];
    ASSERT_EQ(b.MakePkts(out, 1), 1);
    EXPECT_EQ(out[0].Mid(), CLpoint(pts[1].x, pts[1].y));
}

// Offsets and crossings
// -----------------------------------------------------------------------------------------

TEST(BezierSegment, DisplacedLinesKeepTheirLayout) {
    CBezier line = Segment(CBezier::kLine, CLpoint(0, 0), CLpoint(1000, 0), CLpoint(1000, 0));
    line.Displace(100, 1);
    EXPECT_EQ(line.start, CLpoint(0, -100));
    EXPECT_EQ(line.end, CLpoint(1000, -100));
    EXPECT_EQ(line.control1, line.end);
    EXPECT_EQ(line.control2, line.start);

    CBezier tiny = Segment(CBezier::kLine, CLpoint(0, 0), CLpoint(1, 0), CLpoint(1, 0));
    tiny.Displace(100, 1);
    EXPECT_EQ(tiny.start, CLpoint(0, 0));
    EXPECT_EQ(tiny.end, CLpoint(1, 0));
}

TEST(BezierSegment, DisplacedArcsGrowOnEitherSide) {
    for (int side : {1, -1}) {
        // A half circle of radius 1000 about the origin.
        CBezier arc = Segment(CBezier::kArc, CLpoint(1000, 0), CLpoint(0, 1000), CLpoint(-1000, 0));
        arc.Displace(100, side);
        EXPECT_NEAR(length(arc.start, CLpoint(0, 0)), 1100, 1) << side;
        EXPECT_NEAR(length(arc.control1, CLpoint(0, 0)), 1100, 1) << side;
        EXPECT_NEAR(length(arc.end, CLpoint(0, 0)), 1100, 1) << side;
        EXPECT_EQ(arc.control1, arc.control2);
    }
    // Three points on a line make no arc: the tangent lines move like a cubic's.
    CBezier flat = Segment(CBezier::kArc, CLpoint(0, 0), CLpoint(500, 0), CLpoint(1000, 0));
    flat.Displace(100, 1);
    EXPECT_EQ(flat.start, CLpoint(0, -100));
    EXPECT_EQ(flat.end, CLpoint(1000, -100));
}

TEST(BezierSegment, CrossingsPerPair) {
    const CPoint untouched(-7, -7);
    const CBezier across =
        Segment(CBezier::kLine, CLpoint(50, -50), CLpoint(50, 200), CLpoint(50, 200));
    const CBezier wide =
        Segment(CBezier::kLine, CLpoint(-10, 40), CLpoint(200, 40), CLpoint(200, 40));
    const CBezier arc = Segment(CBezier::kArc, CLpoint(0, 0), CLpoint(50, 50), CLpoint(100, 0));
    // An S from (0,-100) to (300,100): up to 44, down to -44, up again.
    const CBezier s =
        Cubic(CLpoint(0, -100), CLpoint(100, 300), CLpoint(200, -300), CLpoint(300, 100));
    const CBezier axis =
        Segment(CBezier::kLine, CLpoint(-10, 20), CLpoint(310, 20), CLpoint(310, 20));
    struct Case {
        const char* what;
        CBezier a, b;
        int found;
        bool p2Set;
    };
    const Case cases[] = {
        {"line and line", across, wide, 1, false},
        {"line and arch", wide, Arch(), 2, true},
        {"arch and line", Arch(), wide, 2, true},
        {"line through the S three times", axis, s, 3, true},
        {"two cubics stop at two", s,
         Cubic(CLpoint(0, 100), CLpoint(100, -300), CLpoint(200, 300), CLpoint(300, -100)), 2,
         true},
        {"cubic and arc", Arch(), arc, 0, false},
        {"arc and line", arc, across, 0, false},
        {"line and arc", across, arc, 0, false},
        {"apart", across, Segment(CBezier::kLine, CLpoint(60, 0), CLpoint(90, 0), CLpoint(90, 0)),
         0, false},
    };
    for (const Case& c : cases) {
        CBezier a = c.a;
        CPoint p1 = untouched, p2 = untouched;
        EXPECT_EQ(a.Intersect(c.b, p1, p2), c.found) << c.what;
        EXPECT_EQ(p1 != untouched, c.found > 0) << c.what;
        EXPECT_EQ(p2 != untouched, c.p2Set) << c.what;
    }
    CBezier a = across;
    CPoint p1, p2;
    ASSERT_EQ(a.Intersect(wide, p1, p2), 1);
    EXPECT_EQ(p1, CPoint(50, 40));
}

#include "pivora/geometry/pkt.h"

#include "pivora/framework/jox_dc.h"
#include "pivora/item.h"

#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

CPkt Arc(CLpoint s, CLpoint m, CLpoint e) {
    CPkt p;
    p.Start(s);
    p.Mid(m);
    p.End(e);
    p.Mode(CPkt::kArc);
    EXPECT_EQ(p.MakeArc(), 1);
    return p;
}

CPkt Line(CLpoint s, CLpoint e) {
    CPkt p;
    p.Start(s);
    p.Mid(CLpoint((s.x + e.x) / 2, (s.y + e.y) / 2));
    p.End(e);
    return p;
}

} // namespace

TEST(PathElement, DefaultsAndCopies) {
    CPkt p;
    EXPECT_EQ(p.Mode(), 0);
    EXPECT_EQ(p.Arc(), CArc());
    CPkt a = Arc(CLpoint(0, 0), CLpoint(50, 50), CLpoint(100, 0));
    CPkt copy(a);
    EXPECT_EQ(copy.Mode(), 2);
    EXPECT_EQ(copy.Arc(), a.Arc());
    EXPECT_EQ(copy.Mid(), CLpoint(50, 50));
    CDpkt d;
    EXPECT_EQ(d.flags, 0);
    EXPECT_EQ(d.end2, CLpoint());
}

TEST(PathElement, TestArcDemotesDegenerateArcs) {
    CPkt good = Arc(CLpoint(0, 0), CLpoint(50, 50), CLpoint(100, 0));
    EXPECT_EQ(good.TestArc(), 1);
    EXPECT_EQ(good.Mode(), 2);
    CPkt bad;
    bad.Start(CLpoint(0, 0));
    bad.Mid(CLpoint(100, 100));
    bad.End(CLpoint(10, 0));
    bad.Mode(2);
    EXPECT_EQ(bad.TestArc(), 0); // chord 10 is shorter than 141
    EXPECT_EQ(bad.Mode(), 0);
}

// The demotion follows the rounded lengths exactly, ties and near ties included, at every scale.
TEST(PathElement, TestArcAgreesWithTheRoundedLengths) {
    std::mt19937 rng(5);
    int demoted = 0, kept = 0;
    for (double scale : {20.0, 1e4, 1e7, 2e9}) {
        std::uniform_real_distribution<double> u(-scale, scale);
        std::uniform_int_distribution<LONG> k(-1, 1);
        for (int i = 0; i < 30000; ++i) {
            CLpoint s(LONG(u(rng)), LONG(u(rng))), m(LONG(u(rng)), LONG(u(rng)));
            // Every other end sits at the length of the first half from the start, give or take
            // one.
            double half = std::hypot(double(m.x) - s.x, double(m.y) - s.y);
            CLpoint e = i % 2 ? CLpoint(LONG(u(rng)), LONG(u(rng)))
                              : CLpoint(LONG(std::clamp(s.x + half, -2.1e9, 2.1e9)) + k(rng), s.y);
            // Far out and as long as the first half but for a few units of the square: the
            // rounded lengths may come out equal.
            if (i % 5 == 0) {
                const LONG x = LONG(std::fabs(u(rng)) / 2);
                s = CLpoint(0, 0), e = CLpoint(x, x), m = CLpoint(x + 1 + k(rng), x - 1);
                half = std::hypot(double(m.x), double(m.y));
            }
            CPkt p;
            p.Start(s), p.Mid(m), p.End(e), p.Mode(CPkt::kArc);
            const double chord = std::hypot(double(e.x) - s.x, double(e.y) - s.y);
            const bool demote =
                chord < half || chord < std::hypot(double(e.x) - m.x, double(e.y) - m.y);
            ASSERT_EQ(p.TestArc(), demote ? 0 : 1)
                << s.x << "," << s.y << " " << m.x << "," << m.y << " " << e.x << "," << e.y;
            ASSERT_EQ(p.Mode(), demote ? 0 : CPkt::kArc);
            ++(demote ? demoted : kept);
        }
    }
    EXPECT_GT(demoted, 1000);
    EXPECT_GT(kept, 1000);
}

TEST(PathElement, ExtentsOfArcsAndLines) {
    CPkt half = Arc(CLpoint(-100, 0), CLpoint(0, 100), CLpoint(100, 0));
    EXPECT_EQ(half.Extents(), CWindow(-100, 0, 100, 100));
    CPkt line = Line(CLpoint(30, -5), CLpoint(-10, 20));
    line.Mid(CLpoint(1000, 1000)); // the mid point of a line does not count
    EXPECT_EQ(line.Extents(), CWindow(-10, -5, 30, 20));
}

TEST(PathElement, SplitMidHalvesLinesAndArcs) {
    CPkt line = Line(CLpoint(0, 0), CLpoint(101, 0));
    line.Mid(CLpoint(51, 0));
    CPkt a, b;
    line.SplitMid(a, b);
    EXPECT_EQ(a.Start(), CLpoint(0, 0));
    EXPECT_EQ(a.Mid(), CLpoint(25, 0)); // truncated
    EXPECT_EQ(a.End(), CLpoint(51, 0));
    EXPECT_EQ(b.Start(), CLpoint(51, 0));
    EXPECT_EQ(b.Mid(), CLpoint(76, 0));
    EXPECT_EQ(b.End(), CLpoint(101, 0));
    EXPECT_EQ(a.Mode(), 0); // collinear: no arc, the mode stays
    EXPECT_EQ(b.Mode(), 0);

    // Counter-clockwise half circle over the top.
    CPkt top = Arc(CLpoint(100, 0), CLpoint(0, 100), CLpoint(-100, 0));
    CPkt f, s;
    top.SplitMid(f, s);
    EXPECT_EQ(f.Mid(), CLpoint(71, 71));
    EXPECT_EQ(s.Mid(), CLpoint(-71, 71));
    EXPECT_EQ(f.Mode(), 2);
    EXPECT_EQ(s.Mode(), 2);

    // Across the cut at pi: from 135 degrees through 180 to 225 degrees.
    CPkt left = Arc(CLpoint(-71, 71), CLpoint(-100, 0), CLpoint(-71, -71));
    left.SplitMid(f, s);
    EXPECT_NEAR(f.Mid().x, -92, 1);
    EXPECT_NEAR(f.Mid().y, 38, 1);
    EXPECT_NEAR(s.Mid().x, -92, 1);
    EXPECT_NEAR(s.Mid().y, -38, 1);
}

TEST(PathElement, PointAlongLinesAndArcs) {
    CPkt line = Line(CLpoint(0, 0), CLpoint(100, 0));
    CLpoint p(7, 7);
    double dir = 9, len = 0;
    EXPECT_EQ(CPkt::PointAlongPkt(line, 25, p, dir, &len), 1);
    EXPECT_EQ(p, CLpoint(25, 0));
    EXPECT_DOUBLE_EQ(dir, 0);
    EXPECT_DOUBLE_EQ(len, 100);
    EXPECT_EQ(CPkt::PointAlongPkt(line, 150, p, dir, nullptr), 0); // beyond: extrapolated
    EXPECT_EQ(p, CLpoint(150, 0));

    CPkt zero = Line(CLpoint(5, 5), CLpoint(5, 5));
    p = CLpoint(7, 7);
    dir = 9;
    EXPECT_EQ(CPkt::PointAlongPkt(zero, 1, p, dir, &len), 0);
    EXPECT_EQ(p, CLpoint(7, 7));
    EXPECT_EQ(dir, 9);
    EXPECT_EQ(len, 0);

    CPkt top = Arc(CLpoint(1000, 0), CLpoint(0, 1000), CLpoint(-1000, 0));
    EXPECT_EQ(CPkt::PointAlongPkt(top, 1000 * GEO_PI / 2, p, dir, &len), 1);
    EXPECT_EQ(p, CLpoint(0, 1000));
    EXPECT_NEAR(dir, GEO_PI, 0.05); // heading left at the top
}

TEST(PathElement, OnSegmentAndOnLine) {
    struct Case {
        CLpoint a, b, p;
        int expected;
    };
    const Case cases[] = {
        {{100, 100}, {0, 0}, {50, 70}, 1},
        {{100, 100}, {0, 0}, {50, 71}, 0},
        {{0, 0}, {100, 100}, {50, 70}, 1},
        {{0, 0}, {100, 100}, {50, 71}, 0},
        {{0, 0}, {100, 0}, {50, 0}, 1},
        {{0, 0}, {100, 0}, {50, 1}, 0}, // outside the flat box of a horizontal segment
        {{0, 0}, {100, 0}, {105, 0}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(on_segment(c.a, c.b, c.p), c.expected)
            << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y << " p " << c.p.x << ","
            << c.p.y;

    CLpoint same(3, 3);
    EXPECT_EQ(on_line(CLpoint(3, 3), same, same, 5), 1);
    EXPECT_EQ(on_line(CLpoint(4, 3), same, same, 5), 0);
    CPoint dev(3, 3);
    EXPECT_EQ(on_line(CPoint(40, 40), dev, dev, 1), 1); // a device point segment takes all
}

TEST(PathElement, HitTestLineSegUsesTheAccuracyBox) {
    CItemHitTest test(nullptr, CPoint(50, 3), CItemHitTest::kModePath, 3);
    CPoint a(100, 10 - 10), b(0, 0);
    EXPECT_EQ(HitTestLineSeg(&test, a, b), 1);
    test.SetHitPoint(CPoint(50, 4));
    EXPECT_EQ(HitTestLineSeg(&test, a, b), 0);
    test.SetHitPoint(CPoint(103, 0));
    EXPECT_EQ(HitTestLineSeg(&test, a, b), 1);
    test.SetHitPoint(CPoint(104, 0));
    EXPECT_EQ(HitTestLineSeg(&test, a, b), 0);

    // Device points of far-off data lie at the ends of the int range: the box around them
    // must not wrap.
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    CPoint left(lo, lo), right(hi, hi);
    test.SetHitPoint(CPoint(0, 0));
    EXPECT_EQ(HitTestLineSeg(&test, left, right), 1);
    test.SetHitPoint(CPoint(hi, lo));
    EXPECT_EQ(HitTestLineSeg(&test, left, right), 0);
    CPoint low(lo, lo), lowToo(lo + 1, lo);
    test.SetHitPoint(CPoint(hi, hi));
    EXPECT_EQ(HitTestLineSeg(&test, low, lowToo), 0);
}

namespace {

// A drawing context on a recording surface; map mode 0, so data and device units agree.
struct RecordingDC : CJoxDC {
    platform::RecordingSurface surface;
    RecordingDC() { Attach(platform::CreateSurfaceDC(&surface)); }
};

CPkt ArcOf(double r, double a0, double a1) {
    CPkt p;
    p.Mode(CPkt::kArc);
    CArc arc(CDpoint(0, 0), r, a0, a1);
    p.Arc(arc);
    p.Start(arc.start().round());
    p.Mid(arc.mid().round());
    p.End(arc.end().round());
    return p;
}

} // namespace

TEST(PathElementDrawing, PiecesFollowTheDeviceLength) {
    struct Case {
        const char* what;
        CPkt element;
        int lines;
    };
    const Case cases[] = {
        {"straight", Line(CLpoint(0, 0), CLpoint(100, 50)), 1},
        {"arc of 7 pixels: through the mid point", ArcOf(5, 0, 1.4), 2},
        // The device radius runs to the rounded end (54, 84): 99 whole pixels, 20 pieces.
        {"arc of 99 pixels", ArcOf(100, 0, 1.0), 20},
        {"arc of 605 pixels: at most 120 pieces", ArcOf(385, 0, GEO_PI_2), 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingDC dc;
        CPkt element = c.element;
        dc.MoveTo(element.Start().x, element.Start().y);
        element.Draw(&dc);
        EXPECT_EQ(dc.surface.Count(platform::GdiOp::LineTo), c.lines);
        ASSERT_FALSE(dc.surface.Calls(platform::GdiOp::LineTo).empty());
    }
}

TEST(PathElementDrawing, HitTestRecordsTheSubSegmentHit) {
    RecordingDC dc;
    CPkt line = Line(CLpoint(0, 0), CLpoint(100, 0));
    CItemHitTest test(&dc, CPoint(40, 2), CItemHitTest::kModePath, 3);
    EXPECT_EQ(line.HitTest(&test), 1);
    EXPECT_EQ(test.GetHitSegment(), CLine(CLpoint(0, 0), CLpoint(100, 0)));
    test.SetHitPoint(CPoint(40, 5));
    EXPECT_EQ(line.HitTest(&test), 0);

    // 605 device pixels: hit-tested in 61 pieces, so the last piece starts one 61st of the
    // sweep before the end.
    CPkt arc = ArcOf(385, 0, GEO_PI_2);
    CLpoint pieces[62];
    split_arc(&arc.Arc(), 61, pieces, 0, 1);
    test.SetHitPoint(CPoint(arc.End().x, arc.End().y));
    ASSERT_EQ(arc.HitTest(&test), 1);
    EXPECT_EQ(test.GetHitSegment(), CLine(pieces[60], pieces[61]));

    CPkt small = ArcOf(5, 0, 1.4); // short arcs are tested as their two halves
    test.SetHitAccuracy(0);
    test.SetHitPoint(CPoint(small.End().x, small.End().y));
    ASSERT_EQ(small.HitTest(&test), 1);
    EXPECT_EQ(test.GetHitSegment(), CLine(small.Mid(), small.End()));
    test.SetHitPoint(CPoint(300, 300));
    EXPECT_EQ(small.HitTest(&test), 0);
}

#include "spline/spline_fitting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<CBezier> Fit(const std::vector<CLpoint>& pts) {
    std::vector<CSb> sb;
    for (const CLpoint& p : pts)
        sb.emplace_back(0, p);
    std::vector<CBezier> seg(pts.size() - 1);
    CalculateBeziers(sb.data(), seg.data(), int(sb.size()));
    return seg;
}

// Cross product of b - a and c - a.
double Cross(CLpoint a, CLpoint b, CLpoint c) {
    return (double(b.x) - a.x) * (double(c.y) - a.y) - (double(b.y) - a.y) * (double(c.x) - a.x);
}

} // namespace

TEST(SplineFitting, TwoPointsGiveAStraightCubicWithControlsAtThirds) {
    struct Case {
        CLpoint end, c1, c2;
    };
    // Thirds truncated toward zero on both sides of zero: 16666.67 -> 16666, -10666.67 -> -10666.
    const Case cases[] = {
        {CLpoint(100000, 50000), CLpoint(33333, 16666), CLpoint(66666, 33333)},
        {CLpoint(-32000, 98000), CLpoint(-10666, 32666), CLpoint(-21333, 65333)},
        {CLpoint(300, 0), CLpoint(100, 0), CLpoint(200, 0)},
    };
    for (const Case& c : cases) {
        auto seg = Fit({CLpoint(0, 0), c.end});
        ASSERT_EQ(seg.size(), 1u);
        EXPECT_EQ(seg[0].type, CBezier::kCubic);
        EXPECT_EQ(seg[0].start, CLpoint(0, 0));
        EXPECT_EQ(seg[0].end, c.end);
        EXPECT_EQ(seg[0].control1, c.c1);
        EXPECT_EQ(seg[0].control2, c.c2);
        EXPECT_EQ(seg[0].curved, 0);
    }
}

TEST(SplineFitting, CollinearPointsStayOnTheirLine) {
    auto seg = Fit({CLpoint(0, 7), CLpoint(100, 7), CLpoint(200, 7)});
    ASSERT_EQ(seg.size(), 2u);
    for (const CBezier& b : seg) {
        EXPECT_EQ(b.control1.y, 7);
        EXPECT_EQ(b.control2.y, 7);
        EXPECT_EQ(b.curved, 0);
    }
    EXPECT_EQ(seg[0].end, seg[1].start);
}

TEST(SplineFitting, CirclePointsJoinExactlyWithTangentsInLine) {
    std::vector<CLpoint> pts;
    const double r = 100000;
    for (int i = 0; i <= 12; ++i) {
        const double a = i * GEO_2PI / 12;
        pts.emplace_back(fnRoundLong(r * std::cos(a)), fnRoundLong(r * std::sin(a)));
    }
    auto seg = Fit(pts);
    ASSERT_EQ(seg.size(), 12u);
    for (size_t i = 0; i < seg.size(); ++i) {
        EXPECT_EQ(seg[i].start, pts[i]);
        EXPECT_EQ(seg[i].end, pts[i + 1]);
        EXPECT_EQ(seg[i].curved, 1);
    }
    for (size_t i = 1; i < seg.size(); ++i) {
        // control2 before the joint, the joint, control1 after it: one line up to truncation.
        const CLpoint before = seg[i - 1].control2, joint = pts[i], after = seg[i].control1;
        const double span = std::hypot(double(after.x) - before.x, double(after.y) - before.y);
        EXPECT_LT(std::fabs(Cross(before, joint, after)) / span, 2.0) << "joint " << i;
        // The fitted curve stays near the circle at its middle.
        POINT mid[3];
        CBezier b = seg[i];
        b.GetPoints(mid, 3);
        EXPECT_NEAR(std::hypot(mid[1].x, mid[1].y), r, r * 0.002) << "segment " << i;
    }
}

TEST(SplineFitting, CoincidentPointsDoNotBreakTheFit) {
    auto seg = Fit({CLpoint(0, 0), CLpoint(100, 100), CLpoint(100, 100), CLpoint(200, 0)});
    ASSERT_EQ(seg.size(), 3u);
    EXPECT_EQ(seg[1].start, seg[1].end);
    EXPECT_EQ(seg[1].curved, 0);
    for (const CBezier& b : seg)
        for (CLpoint p : {b.control1, b.control2}) {
            EXPECT_GT(p.x, -1000);
            EXPECT_LT(p.x, 1000);
            EXPECT_GT(p.y, -1000);
            EXPECT_LT(p.y, 1000);
        }
}

TEST(SplineFitting, ExtremeCoordinatesStayInRange) {
    const LONG big = INT32_MAX, small = INT32_MIN;
    auto seg =
        Fit({CLpoint(small, small), CLpoint(big, small), CLpoint(big, big), CLpoint(small, big)});
    ASSERT_EQ(seg.size(), 3u);
    EXPECT_EQ(seg[2].end, CLpoint(small, big));
}

TEST(SplineFitting, AFitDoesNotDependOnTheRunsFittedBeforeIt) {
    // Runs of several lengths, the longest past what the fitter keeps between runs, fitted in
    // turn and again in another order: every fit gives the same segments each time.
    std::mt19937 rng(3);
    std::uniform_int_distribution<LONG> coord(-200000, 200000);
    std::vector<std::vector<CLpoint>> runs;
    for (int n : {2, 3, 9, 64, 5000, 4, 300}) {
        std::vector<CLpoint> pts;
        for (int i = 0; i < n; ++i)
            pts.emplace_back(coord(rng), coord(rng));
        runs.push_back(pts);
    }
    auto same = [](const std::vector<CBezier>& a, const std::vector<CBezier>& b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].start != b[i].start || a[i].control1 != b[i].control1 ||
                a[i].control2 != b[i].control2 || a[i].end != b[i].end ||
                a[i].curved != b[i].curved || a[i].type != b[i].type)
                return false;
        return true;
    };
    std::vector<std::vector<CBezier>> first;
    for (const auto& r : runs)
        first.push_back(Fit(r));
    for (size_t k = runs.size(); k-- > 0;)
        EXPECT_TRUE(same(first[k], Fit(runs[k]))) << runs[k].size() << " points";
}

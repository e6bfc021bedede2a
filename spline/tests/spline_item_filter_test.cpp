// The point-reduction filters of spline items (the cut output and the cutter-file readers thin
// imported points through them).
#include "spline/spline_item.h"

#include "curve_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// The filter as first written, one chord check over the whole run per point: the oracle of the
// hull-based pass.
std::vector<CSb> ReferenceWindowPass(const std::vector<CSb>& in, int tolerance, unsigned options,
                                     bool (*filter)(CSb*, int, unsigned)) {
    if (in.size() < 3)
        return in;
    std::vector<bool> drop(in.size(), false);
    size_t middle = 1;
    CSb w[3] = {in[0], in[1], CSb()};
    for (size_t i = 2; i < in.size(); ++i) {
        w[2] = in[i];
        if (filter(w, tolerance, options))
            drop[middle] = true;
        middle = i;
    }
    std::vector<CSb> out;
    for (size_t i = 0; i < in.size(); ++i)
        if (!drop[i])
            out.push_back(in[i]);
    return out;
}

std::vector<CSb> ReferenceSimpleFilter(const std::vector<CSb>& in, int len, int dev,
                                       unsigned options) {
    if (in.size() < 3)
        return in;
    bool polyline = true;
    for (const CSb& p : in)
        polyline = polyline && (p.flags & CSplineItem::kBreak);
    std::vector<CSb> afterDev;
    if (!polyline) {
        afterDev = ReferenceWindowPass(in, dev, options, &CSplineItem::ApplyDeviationFilter);
    } else {
        std::vector<bool> drop(in.size(), false);
        std::vector<CSb> points = in;
        CSbArray run;
        run.Add(points[0]);
        run.Add(points[1]);
        for (size_t i = 2; i < in.size(); ++i) {
            run.Add(points[i]);
            if (CSplineItem::ApplyDeviationFilter(run, dev, options)) {
                drop[i - 1] = true;
                continue;
            }
            CSb from = run[run.GetSize() - 2];
            run.RemoveAll();
            run.Add(from);
            run.Add(points[i]);
        }
        for (size_t i = 0; i < in.size(); ++i)
            if (!drop[i])
                afterDev.push_back(in[i]);
    }
    return ReferenceWindowPass(afterDev, len, options, &CSplineItem::ApplyLenFilter);
}

struct WindowCase {
    const char* what;
    bool lengthTest;
    CSb w0, w1, w2;
    int tolerance;
    unsigned options;
    bool dropped;
};

TEST(SplineItemFilter, WindowTests) {
    const WindowCase cases[] = {
        {"deviation 3 below 4", false, B(0, 0), B(10, 3), B(20, 0), 4, 0, true},
        {"deviation 3 not below 3", false, B(0, 0), B(10, 3), B(20, 0), 3, 0, false},
        {"smooth end halves 4 to 2", false, P(0, 0), B(10, 3), B(20, 0), 4, 0, false},
        {"length 4 not below halved 8", true, P(0, 0), B(4, 0), B(4, 10), 8, 2, false},
        {"short edge into a corner kept", true, P(0, 0), B(3, 0), B(3, 10), 8, 2, false},
        {"without the option it goes", true, P(0, 0), B(3, 0), B(3, 10), 8, 0, true},
        {"deviation option leaves length alone", true, P(0, 0), B(3, 0), B(3, 10), 8, 1, true},
        {"collinear smooth point moves onto w0", true, B(0, 0), P(50, 0), B(100, 0), 1, 0, true},
        {"collinear smooth point, tolerance 0", true, B(0, 0), P(50, 0), B(100, 0), 0, 0, false},
    };
    for (const WindowCase& c : cases) {
        CSb w[3] = {c.w0, c.w1, c.w2};
        const bool dropped = c.lengthTest
                                 ? CSplineItem::ApplyLenFilter(w, c.tolerance, c.options)
                                 : CSplineItem::ApplyDeviationFilter(w, c.tolerance, c.options);
        EXPECT_EQ(dropped, c.dropped) << c.what;
        // Dropping keeps w0; keeping shifts the window; w1 is the old w2 either way.
        EXPECT_EQ(w[1], c.w2) << c.what;
        if (dropped)
            EXPECT_EQ(w[0], c.w0) << c.what;
        else
            EXPECT_NE(w[0], c.w0) << c.what;
    }
}

TEST(SplineItemFilter, ChordTest) {
    CSb a = B(0, 0), m = B(50, 5), e = B(100, 0);
    CSbArray run;
    run.Add(a);
    run.Add(m);
    EXPECT_FALSE(CSplineItem::ApplyDeviationFilter(run, 100, 0)) << "two points";
    run.Add(e);
    EXPECT_TRUE(CSplineItem::ApplyDeviationFilter(run, 6, 0));
    EXPECT_FALSE(CSplineItem::ApplyDeviationFilter(run, 5, 0));
    run[0] = P(0, 0);
    EXPECT_FALSE(CSplineItem::ApplyDeviationFilter(run, 6, 0)) << "halved to 3";
}

TEST(SplineItemFilter, FewerThanThreePointsStayAsTheyAre) {
    const std::vector<std::vector<CSb>> inputs = {
        {}, {B(0, 0)}, {B(10000, 20000), B(30000, 20000)}};
    for (const auto& in : inputs) {
        auto s = std::make_unique<CSplineItem>();
        for (CSb p : in)
            s->Vect(p);
        const std::vector<CSb> before = PointsOf(*s);
        EXPECT_EQ(s->ApplySimpleFilter(50, 20, 0), 0);
        EXPECT_EQ(PointsOf(*s), before);
    }
}

struct FilterCase {
    const char* what;
    std::vector<CSb> in;
    int len, dev;
    std::vector<CSb> out;
};

TEST(SplineItemFilter, SimpleFilter) {
    const FilterCase cases[] = {
        {"polyline: the straight run goes, the corner stays",
         {B(0, 0), B(100, 1), B(200, 0), B(300, 1), B(400, 0), B(400, 400)},
         50,
         20,
         {B(0, 0), B(400, 0), B(400, 400)}},
        {"polyline: two runs deleted apart",
         {B(0, 0), B(100, 1), B(200, 0), B(200, 100), B(201, 200), B(200, 300)},
         0,
         20,
         {B(0, 0), B(200, 0), B(200, 300)}},
        {"smooth collinear points fold onto the first",
         {P(0, 0), P(10, 0), P(20, 0), P(30, 0), P(40, 0)},
         0,
         2,
         {P(0, 0), P(40, 0)}},
        {"length pass after a deviation pass that removes nothing",
         {B(0, 0), B(10, 0), B(100, 0), B(105, 0), B(200, 0)},
         20,
         0,
         {B(0, 0), B(100, 0), B(200, 0)}},
        {"a corner beyond the tolerance stays",
         {B(0, 0), B(100, 0), B(100, 100)},
         50,
         20,
         {B(0, 0), B(100, 0), B(100, 100)}},
    };
    for (const FilterCase& c : cases) {
        auto s = std::make_unique<CSplineItem>();
        for (CSb p : c.in)
            s->Vect(p);
        EXPECT_EQ(s->ApplySimpleFilter(c.len, c.dev, 0), int(c.in.size() - c.out.size())) << c.what;
        EXPECT_EQ(PointsOf(*s), c.out) << c.what;
    }
}

TEST(SplineItemFilter, RemovingPointsClearsTheSelection) {
    auto s = MakeCurveItem<CSplineItem>({B(0, 0), B(100, 1), B(200, 0), B(300, 1), B(400, 0)});
    s->SelectElement(4);
    ASSERT_EQ(s->ApplySimpleFilter(0, 20, 0), 3);
    EXPECT_EQ(s->NumSelectedPoints(), 0);
    s->MakeCurves();
    s->MakePktArray(4);
    EXPECT_EQ(s->VectCount(), 2);
}

TEST(SplineItemFilter, DegenerateInputEndsQuietly) {
    const LONG big = INT32_MAX - 1, small = INT32_MIN + 1;
    const std::vector<std::vector<CSb>> inputs = {
        {P(5, 5), P(5, 5), P(5, 5), P(5, 5)},
        {B(5, 5), B(5, 5), B(5, 5), B(5, 5)},
        {P(small, small), P(big, small), P(big, big), P(small, big), P(0, 1)},
        {B(small, small), B(big, big), B(small, small), B(big, 0)},
        {P(0, 0), P(big, 1), P(small, -1)},
    };
    for (const auto& in : inputs) {
        auto s = std::make_unique<CSplineItem>();
        for (CSb p : in)
            s->Vect(p);
        const int removed = s->ApplySimpleFilter(50, 20, 3);
        EXPECT_GE(removed, 0);
        EXPECT_GE(s->VectCount(), 2);
        EXPECT_EQ(s->VectCount() + removed, int(in.size()));
    }
}

// Long nearly straight runs: along the axes, on diagonals (distances fall between integers), on
// gentle arcs (every point a hull corner) and near the coordinate limits, with wobbles that land
// exactly on the tolerance.
TEST(SplineItemFilter, SimpleFilterMatchesTheRunByRunCheck) {
    std::mt19937 rng(20261210);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 300; ++round) {
        const int n = pick(3, 400);
        const int dev = pick(0, 4) == 0 ? 0 : pick(1, 30);
        const int len = pick(0, 80);
        const int wobble = pick(0, 2) == 0 ? dev : pick(0, 40);
        const int shape = pick(0, 3);
        const bool mixed = pick(0, 3) == 0;
        const int64_t baseX = pick(0, 4) == 0 ? INT32_MAX - 2000000 : pick(-100000, 100000);
        const int64_t baseY = pick(0, 4) == 0 ? INT32_MIN + 1000 : 0;
        std::vector<CSb> in;
        for (int i = 0; i < n; ++i) {
            const int64_t along = int64_t(i) * pick(1, 60);
            const int off = pick(-wobble, wobble);
            int64_t x = along, y = off;
            if (shape == 1)
                x = along + off, y = along - off;
            else if (shape == 2)
                y = off + (along * (int64_t(n) * 30 - along)) / 400000;
            else if (shape == 3 && pick(0, 20) == 0)
                y += pick(-500, 500);
            x = std::clamp<int64_t>(baseX - 1000000 + x, INT32_MIN, INT32_MAX);
            y = std::clamp<int64_t>(baseY + y, INT32_MIN, INT32_MAX);
            const DWORD flags =
                mixed && pick(0, 9) == 0 ? CSplineItem::kSmooth : CSplineItem::kBreak;
            in.push_back(CSb(flags, CLpoint(LONG(x), LONG(y))));
        }
        const unsigned options = unsigned(pick(0, 3));
        const std::vector<CSb> expected = ReferenceSimpleFilter(in, len, dev, options);
        auto s = std::make_unique<CSplineItem>();
        for (CSb p : in)
            s->Vect(p);
        EXPECT_EQ(s->ApplySimpleFilter(len, dev, options), int(in.size() - expected.size()))
            << "round " << round;
        ASSERT_EQ(PointsOf(*s), expected) << "round " << round;
    }
}

} // namespace

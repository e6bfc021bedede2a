// Whole-path queries of spline items: containment, spikes, direction, copies, sections,
// proximity and offsets.
#include "spline/spline_item.h"

#include "curve_fixtures.h"

#include <gtest/gtest.h>

#include "pivora/geometry/plane_geometry.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

using Spline = std::unique_ptr<CSplineItem>;

// Spike removal as first written, deleting each spike from the list at once: the oracle of the
// one-pass form.
bool ReferenceIsSpike(const CDpoint& a, const CDpoint& b, const CDpoint& c, double angleTol,
                      double distTol) {
    const double pi = 3.141592654, twoPi = 6.283185307;
    const double t = angle(a, b, c);
    if ((t >= pi - angleTol && t <= pi + angleTol) ||
        (t >= twoPi - angleTol && t <= twoPi + angleTol) || (t >= -angleTol && t <= angleTol))
        return true;
    if (length(a, c) <= distTol)
        return true;
    double d = 2 * distTol;
    CDpoint f;
    if (!perp(a, b, c, &f))
        d = perp(b, c, a, &f) ? length(f, a) : length(f, c);
    return d <= distTol;
}

int ReferenceRemoveSpikes(CSplineItem& s, double angleTol, double distTol) {
    int n = s.ElementCount();
    if (n < 4)
        return 0;
    const bool closed = s.IsClosed(0) != 0;
    int removed = 0;
    int i = 0, j = 1, k = 2;
    bool closingSpike = false;
    while (i < n - 1 && j < n && k < n) {
        const CDpoint a(s.Vect(i).pt), b(s.Vect(j).pt), c(s.Vect(k).pt);
        if (ReferenceIsSpike(a, b, c, angleTol, distTol)) {
            s.DelVect(j, 1);
            n = s.ElementCount();
            ++removed;
            if (closed && k == 1) {
                s.DelVect(0, 1);
                n = s.ElementCount();
                closingSpike = true;
                break;
            }
        } else {
            ++i;
        }
        if (i == n - 2) {
            if (!closed)
                break;
            j = i + 1, k = 1;
        } else {
            j = i + 1, k = i + 2;
        }
    }
    if (closingSpike && n > 0) {
        CSb first = s.Vect(0);
        s.Vect(first);
    }
    return removed;
}

const std::vector<CSb> kSquare = {B(0, 0), B(100, 0), B(100, 100), B(0, 100), B(0, 0)};

} // namespace

TEST(SplineItemGeometry, InsideTheSquare) {
    Spline s = MakeSpline(kSquare);
    const struct {
        CLpoint p;
        int expected;
    } cases[] = {{{50, 50}, 1}, {{150, 50}, 0}, {{0, 0}, -1}, {{50, 0}, -2}, {{100, 50}, -2}};
    for (const auto& c : cases)
        EXPECT_EQ(s->IsInside(c.p), c.expected) << c.p.x << "," << c.p.y;
    // Open: the last point is joined back to the first.
    Spline open = MakeSpline({B(0, 0), B(100, 0), B(100, 100), B(0, 100)});
    EXPECT_EQ(open->IsInside(CLpoint(50, 50)), 1);
}

TEST(SplineItemGeometry, InsideNearTheCoordinateLimits) {
    // Coordinate differences near 2^32: their product leaves 64 bits as well.
    const LONG lo = INT32_MIN + 10, hi = INT32_MAX - 10, m = 1000000;
    Spline s = MakeSpline({B(lo, lo), B(hi, lo), B(hi, hi), B(lo, lo)});
    EXPECT_EQ(s->IsInside(CLpoint(hi - m, lo + m)), 1);
    EXPECT_EQ(s->IsInside(CLpoint(lo + m, hi - m)), 0);
    EXPECT_EQ(s->IsInside(CLpoint(0, 0)), -2);
}

TEST(SplineItemGeometry, SpikesOnStraightRuns) {
    const std::vector<CSb> run = {B(0, 0), B(50, 0), B(100, 0), B(100, 100)};
    Spline few = MakeCurveItem<CSplineItem>({B(0, 0), B(50, 0), B(100, 0)});
    EXPECT_EQ(few->RemoveSpikes(0.1, 10), 0);
    EXPECT_EQ(few->VectCount(), 3);

    Spline exact = MakeCurveItem<CSplineItem>(run);
    EXPECT_EQ(exact->RemoveSpikes(0, 1), 0) << "the pi constant lies above pi";
    Spline loose = MakeCurveItem<CSplineItem>(run);
    EXPECT_EQ(loose->RemoveSpikes(0.000001, 1), 1);
    EXPECT_EQ(PointsOf(*loose), (std::vector<CSb>{B(0, 0), B(100, 0), B(100, 100)}));
}

TEST(SplineItemGeometry, SpikesOfADegenerateClosedItemLeaveNothingToClose) {
    Spline s = MakeCurveItem<CSplineItem>({B(5, 5), B(5, 5), B(5, 5), B(5, 5), B(5, 5)});
    s->SelectElement(4);
    EXPECT_NO_THROW(EXPECT_EQ(s->RemoveSpikes(0.01, 0), 4));
    EXPECT_EQ(s->VectCount(), 0);
    EXPECT_EQ(s->NumSelectedPoints(), 0);
}

TEST(SplineItemGeometry, SpikeAcrossTheClosingPointRecloses) {
    // A closed path whose first point sits in the middle of a straight edge.
    Spline s = MakeCurveItem<CSplineItem>(
        {B(50, 0), B(100, 0), B(100, 100), B(0, 100), B(0, 0), B(50, 0)});
    EXPECT_EQ(s->RemoveSpikes(0.001, 1), 1);
    const std::vector<CSb> pts = PointsOf(*s);
    ASSERT_EQ(pts.size(), 5u);
    EXPECT_EQ(pts.front(), pts.back());
    EXPECT_EQ(pts.front(), B(100, 0));
}

// Straight runs with reversals, coincident points and small steps, open and closed (the closed
// ones often start mid-edge, so the closing spike comes up).
TEST(SplineItemGeometry, SpikesMatchDeletingOneAtATime) {
    std::mt19937 rng(1210);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 400; ++round) {
        const int n = pick(4, 300);
        std::vector<CSb> in;
        LONG x = 0, y = 0;
        int dx = pick(-3, 3) * 100, dy = pick(-3, 3) * 100;
        for (int i = 0; i < n; ++i) {
            in.push_back(B(x, y));
            switch (pick(0, 9)) {
            case 0:
                dx = -dx, dy = -dy;
                break;
            case 1:
                dx = pick(-3, 3) * 100, dy = pick(-3, 3) * 100;
                break;
            case 2:
                continue; // a coincident point
            default:
                break;
            }
            x += dx + pick(-2, 2);
            y += dy + pick(-2, 2);
        }
        if (pick(0, 1))
            in.push_back(in.front());
        const double angleTol = pick(0, 3) * 0.01;
        const double distTol = pick(0, 6);
        Spline expected = MakeCurveItem<CSplineItem>(in);
        Spline s = MakeCurveItem<CSplineItem>(in);
        const int want = ReferenceRemoveSpikes(*expected, angleTol, distTol);
        EXPECT_EQ(s->RemoveSpikes(angleTol, distTol), want) << "round " << round;
        ASSERT_EQ(PointsOf(*s), PointsOf(*expected)) << "round " << round;
    }
}

TEST(SplineItemGeometry, DirectionOfTheSquare) {
    Spline unit = MakeSpline({B(0, 0), B(1, 0), B(1, 1), B(0, 1), B(0, 0)});
    EXPECT_EQ(unit->Direction(), -1);
    Spline back = MakeSpline({B(0, 0), B(0, 1), B(1, 1), B(1, 0), B(0, 0)});
    EXPECT_EQ(back->Direction(), 1);
    EXPECT_EQ(MakeSpline({B(0, 0), B(1, 0), B(2, 0)})->Direction(), 0);
    EXPECT_EQ(MakeSpline({B(0, 0), B(1, 0)})->Direction(), 0);
}

TEST(SplineItemGeometry, CopiesForwardAndReversed) {
    Spline s = MakeSpline({P(0, 0), B(100, 50), P(200, 0)});
    s->DrawLine(3);
    s->MakePktArray(4);
    std::unique_ptr<CSplineItem> rev(s->Copy(1));
    EXPECT_EQ(PointsOf(*rev), (std::vector<CSb>{P(200, 0), B(100, 50), P(0, 0)}));
    EXPECT_EQ(rev->DrawLine(), 3);
    EXPECT_EQ(rev->Bezier()->GetSize(), 2);
    EXPECT_GT(rev->Pkt()->GetSize(), 0);
    std::unique_ptr<CSplineItem> same(s->Copy(0));
    EXPECT_EQ(PointsOf(*same), PointsOf(*s));
}

TEST(SplineItemGeometry, SectionsRoundSelectedPoints) {
    std::vector<CSb> pts;
    for (int i = 0; i < 20; ++i)
        pts.push_back(P(i * 100, (i % 2) * 50));
    Spline open = MakeSpline(pts);
    open->SelectElement(10);
    std::unique_ptr<int[]> f(open->Sections());
    int flagged = 0;
    for (int i = 0; i < 20; ++i)
        flagged += f[size_t(i)];
    EXPECT_EQ(flagged, 11);
    EXPECT_EQ(open->NumSections(), 1);
    int first = 0, count = 0;
    open->Section(0, first, count);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(count, 11);

    // A closed curve with only point 0 selected: the flags run on round the end.
    std::vector<CSb> ring = pts;
    ring.push_back(pts.front());
    Spline closed = MakeSpline(ring);
    ASSERT_TRUE(closed->IsClosedCurve(0));
    closed->SelectElement(0);
    EXPECT_EQ(closed->NumSections(), 1);
    closed->Section(0, first, count);
    EXPECT_EQ(first, 15);
    EXPECT_EQ(count, 11);
}

TEST(SplineItemGeometry, SectionsBeyondTheLastAnswerNone) {
    std::vector<CSb> pts;
    for (int i = 0; i < 8; ++i)
        pts.push_back(P(i * 100, (i % 2) * 50));
    Spline open = MakeSpline(pts);
    open->SelectElement(1);
    std::vector<CSb> ring = pts;
    ring.push_back(pts.front());
    Spline closed = MakeSpline(ring);
    closed->SelectElement(2);
    Spline none = MakeSpline(pts);
    for (CSplineItem* s : {open.get(), closed.get(), none.get()}) {
        const int k = s->NumSections();
        for (int beyond : {k, k + 1, k + 50}) {
            int first = 7, count = 7;
            s->Section(beyond, first, count);
            EXPECT_EQ(first, -1);
            EXPECT_EQ(count, 0);
        }
    }
    // Every distinct point of a closed curve flagged: one run of n - 1 points.
    int first = 0, count = 0;
    closed->Section(0, first, count);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(count, 8);
}

TEST(SplineItemGeometry, WithinUsesTheStartOfOthersSegments) {
    Spline line = MakeSpline({B(0, 0), B(1000, 0)});
    Spline near = MakeSpline({B(500, 90), B(600, 500)});
    EXPECT_EQ(near->Within(line.get(), 100), 1);
    EXPECT_EQ(near->Within(line.get(), 94), 0) << "0.95 of the distance";
    EXPECT_EQ(near->Within(line.get(), 0), 0);
    Spline bare = MakeCurveItem<CSplineItem>({B(0, 0), B(1000, 0)});
    EXPECT_EQ(near->Within(bare.get(), 1000), 0);
}

TEST(SplineItemGeometry, SelectingAnEndOfAClosedPathSelectsBoth) {
    Spline s = MakeSpline(kSquare);
    s->Select(nullptr, 0);
    EXPECT_TRUE(s->Selected(0));
    EXPECT_TRUE(s->Selected(4));
    s->Select(nullptr, 2);
    EXPECT_TRUE(s->Selected(2));
    EXPECT_EQ(s->NumSelectedPoints(), 2) << "the twin ends count once";
}

TEST(SplineItemGeometry, DisplaceMovesSegmentsOnly) {
    Spline s = MakeSpline({B(0, 0), B(1000, 0)});
    s->Displace(100, 1);
    EXPECT_EQ(s->Bezier(0).start, CLpoint(0, -100));
    EXPECT_EQ(s->Vect(0).pt, CLpoint(0, 0));
}

// Crossings of spline items' control polygons and the rejoining of offset segments.
#include "spline/spline_item.h"

#include "curve_fixtures.h"
#include "pivora/geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using Spline = std::unique_ptr<CSplineItem>;

double PolygonLength(CSplineItem& s) {
    double sum = 0;
    for (int i = 0; i + 1 < s.VectCount(); ++i)
        sum += length(s.Vect(i).pt, s.Vect(i + 1).pt);
    return sum;
}

struct Pieces {
    CSplineItemArray array;
    ~Pieces() {
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            delete array.GetAt(i);
    }
};

const std::vector<CSb> kEight = {B(0, 0), B(100, 100), B(100, 0), B(0, 100), B(0, 0)};

// Two cubic segments over three points, with the given ends meeting at point 1.
Spline TwoCubics(DWORD middleMode, CBezier a, CBezier b) {
    Spline s = MakeSpline({B(0, 0), CSb(middleMode, CLpoint(50, 50)), B(100, 0)});
    s->Bezier()->SetSize(2);
    a.type = b.type = CBezier::kCubic;
    s->Bezier()->SetAt(0, a);
    s->Bezier()->SetAt(1, b);
    return s;
}

CBezier Seg(CLpoint s, CLpoint c1, CLpoint c2, CLpoint e) {
    CBezier b;
    b.start = s, b.control1 = c1, b.control2 = c2, b.end = e;
    return b;
}

} // namespace

TEST(SplineItemIntersect, FigureEightCrossesOnce) {
    Spline s = MakeSpline(kEight);
    EXPECT_EQ(s->FindIntersections(nullptr, false, false, nullptr), 1);
    EXPECT_EQ(PointsOf(*s), kEight);
    EXPECT_EQ(s->FindIntersections(nullptr, true, false, nullptr), 1);
    EXPECT_EQ(PointsOf(*s), (std::vector<CSb>{B(0, 0), B(50, 50), B(100, 100), B(100, 0), B(50, 50),
                                              B(0, 100), B(0, 0)}));
}

TEST(SplineItemIntersect, FigureEightLosesItsLoop) {
    Spline s = MakeSpline(kEight);
    Pieces pieces;
    EXPECT_EQ(s->FindIntersections(&pieces.array), 1);
    ASSERT_EQ(pieces.array.GetSize(), 1);
    EXPECT_EQ(PointsOf(*pieces.array.GetAt(0)),
              (std::vector<CSb>{B(50, 50), B(100, 0), B(100, 100), B(50, 50)}));
    EXPECT_EQ(PointsOf(*s), (std::vector<CSb>{B(0, 0), B(50, 50), B(0, 100), B(0, 0)}));
}

TEST(SplineItemIntersect, CrossingsAtPointsAndOnTheLastEdge) {
    // Edge 0 passes through control point (50,50), the end of edge 2: the point goes into
    // edge 0 only.
    Spline atPoint = MakeSpline({B(0, 0), B(100, 100), B(100, 50), B(50, 50), B(0, 100)});
    EXPECT_EQ(atPoint->FindIntersections(nullptr, true, false, nullptr), 1);
    EXPECT_EQ(PointsOf(*atPoint), (std::vector<CSb>{B(0, 0), B(50, 50), B(100, 100), B(100, 50),
                                                    B(50, 50), B(0, 100)}));
    // The last edge crosses edge 0, but the last edge is never tested.
    Spline last = MakeSpline({B(0, 0), B(100, 100), B(100, 0), B(0, 100)});
    EXPECT_EQ(last->FindIntersections(nullptr, true, true, nullptr), 0);
}

TEST(SplineItemIntersect, ManySelfCrossingsLandOnTheirEdges) {
    // A seven-pointed star drawn point to every third point: many crossings on each edge.
    std::vector<CSb> star;
    for (int i = 0; i <= 7; ++i) {
        const double a = (i * 3 % 7) * 2 * M_PI / 7;
        star.push_back(
            B(LONG(std::lround(10000 * std::cos(a))), LONG(std::lround(10000 * std::sin(a)))));
    }
    Spline s = MakeSpline(star);
    const double before = PolygonLength(*s);
    const int found = s->FindIntersections(nullptr, true, false, nullptr);
    EXPECT_GT(found, 5);
    EXPECT_EQ(s->VectCount(), int(star.size()) + 2 * found);
    // Points inserted on the wrong edge would add detours to the outline.
    EXPECT_NEAR(PolygonLength(*s), before, 2.0 * found);
}

TEST(SplineItemIntersect, TrimmingDeletesEveryPointInside) {
    Spline square = MakeSpline({B(0, 0), B(100, 0), B(100, 100), B(0, 100), B(0, 0)});
    // An open path starting inside with two inside points in a row, ending inside too.
    Spline open = MakeSpline({B(10, 10), B(20, 20), B(200, 50), B(30, 80)});
    square->FindIntersections(open.get(), false, true, nullptr);
    // The crossings with the square's edge stay, on its boundary.
    EXPECT_EQ(PointsOf(*open), (std::vector<CSb>{B(100, 33), B(200, 50), B(100, 67)}));

    // A closed path that starts inside keeps closed.
    Spline ring = MakeSpline({B(50, 50), B(200, 40), B(200, 60), B(50, 50)});
    square->FindIntersections(ring.get(), false, true, nullptr);
    const std::vector<CSb> pts = PointsOf(*ring);
    ASSERT_FALSE(pts.empty());
    EXPECT_EQ(pts.front(), pts.back());
    for (const CSb& p : pts)
        EXPECT_LE(square->IsInside(p.pt), 0);
}

TEST(SplineItemIntersect, TwoItemsInsertOnBoth) {
    Spline a = MakeSpline({B(0, 0), B(100, 0)});
    a->Vect(B(100, 100));
    a->MakeCurves();
    Spline b = MakeSpline({B(50, -50), B(50, 50), B(150, 50)});
    EXPECT_EQ(a->FindIntersections(b.get(), true, false, nullptr), 2);
    EXPECT_EQ(PointsOf(*a),
              (std::vector<CSb>{B(0, 0), B(50, 0), B(100, 0), B(100, 50), B(100, 100)}));
    EXPECT_EQ(PointsOf(*b),
              (std::vector<CSb>{B(50, -50), B(50, 0), B(50, 50), B(100, 50), B(150, 50)}));
}

TEST(SplineItemIntersect, RejoiningSmoothAndBreakJunctions) {
    Spline smooth = TwoCubics(0, Seg({-50, 0}, {-40, 0}, {0, 0}, {10, 0}),
                              Seg({13, 4}, {20, 10}, {40, 10}, {100, 0}));
    smooth->CalcIntersects();
    EXPECT_EQ(smooth->Vect(1).pt, CLpoint(11, 2));
    EXPECT_EQ(smooth->Bezier(0).end, CLpoint(11, 2));
    EXPECT_EQ(smooth->Bezier(1).start, CLpoint(11, 2));
    EXPECT_EQ(smooth->Vect(0).pt, CLpoint(-50, 0)) << "open ends follow the segments";
    EXPECT_EQ(smooth->Vect(2).pt, CLpoint(100, 0));

    Spline corner = TwoCubics(CSplineItem::kBreak, Seg({-50, 0}, {-40, 0}, {0, 0}, {10, 0}),
                              Seg({20, 5}, {20, 15}, {40, 10}, {100, 0}));
    corner->CalcIntersects();
    EXPECT_EQ(corner->Vect(1).pt, CLpoint(20, 0));
    EXPECT_EQ(corner->Bezier(0).end, CLpoint(20, 0));
    EXPECT_EQ(corner->Bezier(1).start, CLpoint(20, 0));

    // Parallel tangents join at the truncated midpoint.
    Spline parallel = TwoCubics(CSplineItem::kBreak, Seg({0, 0}, {-5, 0}, {0, 0}, {-10, 0}),
                                Seg({-13, -4}, {-20, -4}, {-40, 10}, {-100, 0}));
    parallel->CalcIntersects();
    EXPECT_EQ(parallel->Vect(1).pt, CLpoint(-11, -2));
}

TEST(SplineItemIntersect, RejoiningAnOffsetPolyline) {
    Spline s = MakeSpline({B(0, 0), B(1000, 0), B(1000, 1000)});
    s->Displace(100, -1);
    s->CalcIntersects();
    EXPECT_EQ(s->Vect(1).pt, CLpoint(900, 100));
    EXPECT_EQ(s->Bezier(0).end, CLpoint(900, 100));
}

TEST(SplineItemIntersect, DegenerateItemsEndQuietly) {
    Spline none = MakeSpline({});
    none->CalcIntersects();
    Spline one = MakeSpline({B(5, 5)});
    one->CalcIntersects();
    Spline stale = MakeSpline({B(0, 0), B(10, 0), B(20, 0)});
    stale->Bezier()->RemoveAll();
    stale->CalcIntersects();
    EXPECT_EQ(stale->Vect(1).pt, CLpoint(10, 0));
    Spline same = MakeSpline({B(7, 7), B(7, 7), B(7, 7), B(7, 7), B(7, 7)});
    Pieces pieces;
    EXPECT_GE(same->FindIntersections(&pieces.array), 0);
    same->CalcIntersects();
}

TEST(SplineItemIntersect, LoopsWhoseCrossingsComeBackEveryLevelAreCutOnlySoFar) {
    // Far-off points whose polygon crosses nearly every edge: each loop cut off was about the
    // whole path again with twice the points, without end.
    Spline wild = MakeSpline({B(-99, 33554432), B(99, 1000), B(901, 719847424), B(-99, -1),
                              B(65637, 21102592), B(-99, 18930), B(419430172, -2147466624),
                              B(-805306280, 150994998)});
    const int before = wild->VectCount();
    Pieces pieces;
    EXPECT_GT(wild->FindIntersections(&pieces.array), 0);
    ASSERT_GT(pieces.array.GetSize(), 0);
    // Every piece searched further held fewer points than the path it was cut from.
    for (INT_PTR i = 0; i < pieces.array.GetSize(); ++i)
        EXPECT_LT(pieces.array.GetAt(i)->VectCount(), 4 * before) << i;
}

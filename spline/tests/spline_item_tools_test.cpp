// Static path tools of spline items: short steps, duplicates, neighbours, crossing counts,
// ellipses and the tip-to-tail joining of open paths.
#include "spline/spline_item.h"

#include "curve_fixtures.h"
#include "pivora/framework/app_params.h"
#include "pivora/tests/app_settings_fixture.h"
#include "vector/vector_article.h"

#include "platform/core/ptr_array.h"
#include "platform/system/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using Spline = std::unique_ptr<CSplineItem>;

std::vector<CLpoint> PositionsOf(CSplineItem& s) {
    std::vector<CLpoint> out;
    for (int i = 0; i < s.VectCount(); ++i)
        out.push_back(s.Vect(i).pt);
    return out;
}

CVectorArticle* AddPath(CArticle* parent, const std::vector<CSb>& points, int palette = 1) {
    auto* a = new CVectorArticle;
    a->SetPaletteIndex(palette);
    a->Item(MakeSpline(points).release());
    parent->AddChild(a);
    return a;
}

CSplineItem* PathOf(CArticle* a) {
    return DynamicDowncast<CSplineItem>(a->GetItem());
}

// A clock that moves a second every time it is read.
class RunningClock : public platform::Clock {
public:
    ULONGLONG NowMs() override { return m_now += 1000; }
    void SleepMs(DWORD ms) override { m_now += ms; }

private:
    ULONGLONG m_now = 0;
};

} // namespace

TEST(SplineItemTools, ShortStepsIntoCorners) {
    Spline s = MakeSpline({B(0, 0), B(2, 0), B(100, 0), B(100, 50)});
    s->SelectElement(3);
    EXPECT_EQ(CSplineItem::FilterShortPoints(s.get()), 1);
    EXPECT_EQ(PointsOf(*s), (std::vector<CSb>{B(0, 0), B(100, 0), B(100, 50)}));
    EXPECT_EQ(s->NumSelectedPoints(), 0);
    Spline smooth = MakeSpline({P(0, 0), B(2, 0), B(100, 0), B(100, 50)});
    EXPECT_EQ(CSplineItem::FilterShortPoints(smooth.get()), 0);
    EXPECT_EQ(smooth->VectCount(), 4);
    Spline few = MakeSpline({B(0, 0), B(2, 0), B(100, 0)});
    EXPECT_EQ(CSplineItem::FilterShortPoints(few.get()), 0);
}

TEST(SplineItemTools, ArcPointsMoveToTheMiddleOfTheirArc) {
    Spline s = MakeSpline({B(1000, 0), P(966, 259), B(0, 1000), B(0, 2000)});
    CSplineItem::BalanceArcPoints(s.get());
    EXPECT_NEAR(s->Vect(1).pt.x, 707, 1);
    EXPECT_NEAR(s->Vect(1).pt.y, 707, 1);
    EXPECT_EQ(s->Vect(1).flags, CSplineItem::kSmooth);
}

TEST(SplineItemTools, NeighboursOnAClosedPath) {
    Spline s = MakeSpline({B(0, 0), B(10, 0), B(10, 10), B(0, 10), B(0, 0)});
    EXPECT_EQ(CSplineItem::GetPrevPoint(s.get(), 0), CLpoint(0, 10));
    EXPECT_EQ(CSplineItem::GetNextPoint(s.get(), 4), CLpoint(10, 0));
    EXPECT_EQ(CSplineItem::GetPrevPoint(s.get(), 5), CLpoint(0, 0));
    EXPECT_EQ(CSplineItem::GetNextPoint(s.get(), -1), CLpoint(0, 0));
    Spline two = MakeSpline({B(5, 5), B(10, 0)});
    EXPECT_EQ(CSplineItem::GetNextPoint(two.get(), 0), CLpoint(0, 0));
    CLpoint p(7, 8);
    CSplineItem::AddPoint(two.get(), p);
    EXPECT_EQ(two->Vect(2), B(7, 8));
}

TEST(SplineItemTools, CrossingCountsShrinkTheSegment) {
    Spline wall = MakeSpline({B(10, -10), B(10, 10)});
    EXPECT_EQ(CSplineItem::GetIntersectNo(wall.get(), CLpoint(0, 0), CLpoint(99, 0), 50, 5), 1);
    EXPECT_EQ(CSplineItem::GetIntersectNo(wall.get(), CLpoint(0, 0), CLpoint(101, 0), 50, 5), 0);
    Spline zigzag = MakeSpline({B(10, -10), B(20, 10), B(30, -10), B(40, 10)});
    EXPECT_EQ(CSplineItem::GetIntersectNo(zigzag.get(), CLpoint(0, 0), CLpoint(50, 0), 0, 10), 3);
    EXPECT_EQ(CSplineItem::GetIntersectNo(zigzag.get(), CLpoint(0, 0), CLpoint(50, 0), 0, 2), 2);

    Spline a = MakeSpline({B(0, 0), B(0, 100)});
    Spline b = MakeSpline({B(100, 0), B(100, 100)});
    CLpoint p(50, -10), q(50, 10);
    EXPECT_EQ(CSplineItem::CheckIntersectEnds(a.get(), b.get(), p, q), 1);
    CLpoint r(50, 40), t(50, 60);
    EXPECT_EQ(CSplineItem::CheckIntersect(a.get(), b.get(), r, t), 0);
}

TEST(SplineItemTools, Duplicates) {
    Spline s = MakeSpline({B(0, 0), B(5, 5), B(5, 5), B(5, 5), B(9, 9)});
    CUIntMap map;
    EXPECT_EQ(CSplineItem::FindDups(s.get(), map), 3);
    UINT v = 0;
    EXPECT_TRUE(map.Lookup(1, v) && v == 1);
    EXPECT_TRUE(map.Lookup(2, v) && v == 4);
    EXPECT_TRUE(map.Lookup(3, v) && v == 4);
    CStartEndArray runs;
    EXPECT_EQ(CSplineItem::FindDups(s.get(), runs), 0);
    ASSERT_EQ(runs.GetSize(), 1);
    EXPECT_EQ(runs[0].start, 1);
    EXPECT_EQ(runs[0].end, 3);
    CStartEndArray groups;
    CSplineItem::FindDupGroups(s.get(), map, groups);
    ASSERT_EQ(groups.GetSize(), 1);
    EXPECT_EQ(groups[0].start, 1);
    EXPECT_EQ(groups[0].end, 3);

    // Two runs that touch make one group.
    Spline touching = MakeSpline({B(0, 0), B(5, 5), B(5, 5), B(6, 6), B(6, 6), B(9, 9)});
    CUIntMap map2;
    CSplineItem::FindDups(touching.get(), map2);
    CSplineItem::FindDupGroups(touching.get(), map2, groups);
    ASSERT_EQ(groups.GetSize(), 1);
    EXPECT_EQ(groups[0].start, 1);
    EXPECT_EQ(groups[0].end, 4);
}

TEST(SplineItemTools, FlatRuns) {
    Spline s = MakeSpline({B(0, 0), P(100, 1), P(200, 0), P(300, 1), P(400, 0), B(500, 300)});
    stStartEnd small{0, 2}, out{7, 7};
    EXPECT_EQ(CSplineItem::FindArcGroup(s.get(), small, out), 0);
    EXPECT_EQ(out.start, 7);
    stStartEnd all{0, 5};
    EXPECT_GE(CSplineItem::FindArcGroup(s.get(), all, out), 3);
    EXPECT_EQ(out.start, 0);
    // A range past the last point stops at the last window.
    stStartEnd wide{0, 1000};
    EXPECT_NO_THROW(CSplineItem::FindArcGroup(s.get(), wide, out));
}

TEST(SplineItemTools, EllipseInARectangle) {
    std::unique_ptr<CSplineItem> e(CSplineItem::CreateEllipse(CRect(0, 0, 200, 100), 2));
    ASSERT_TRUE(e);
    const std::vector<CLpoint> expected = {{100, 99}, {150, 93}, {186, 74}, {200, 50}, {186, 25},
                                           {150, 6},  {100, 0},  {50, 6},   {13, 24},  {0, 49},
                                           {13, 74},  {49, 93},  {100, 99}};
    EXPECT_EQ(PositionsOf(*e), expected);
    EXPECT_EQ(e->DrawLine(), 2);
    EXPECT_EQ(e->Vect(3).flags, CSplineItem::kSmooth);
    EXPECT_EQ(e->Bezier()->GetSize(), 12);
    EXPECT_EQ(CSplineItem::CreateEllipse(CRect(5, 0, 5, 100), 1), nullptr);
}

TEST(SplineItemTools, EllipticArcs) {
    stEllipse quarter;
    quarter.radius = CLpoint(1000, 0);
    quarter.end = M_PI / 2;
    std::unique_ptr<CSplineItem> q(CSplineItem::CreateEllipse(quarter, 1));
    ASSERT_TRUE(q);
    ASSERT_EQ(q->VectCount(), 6);
    EXPECT_EQ(q->Vect(0), B(1000, 0));
    EXPECT_EQ(q->Vect(5), B(0, 1000));
    EXPECT_EQ(q->Vect(2).flags, CSplineItem::kSmooth);

    // A turned arc starts at the end of its radius vector, also when x is negative.
    stEllipse turned = quarter;
    turned.centre = CLpoint(5000, 5000);
    turned.radius = CLpoint(-1000, 1000);
    std::unique_ptr<CSplineItem> t(CSplineItem::CreateEllipse(turned, 1));
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->Vect(0).pt.x, 4000, 1);
    EXPECT_NEAR(t->Vect(0).pt.y, 6000, 1);

    for (double end : {0.0, -1.0, std::nan("")}) {
        stEllipse bad = quarter;
        bad.end = end;
        EXPECT_EQ(CSplineItem::CreateEllipse(bad, 1), nullptr) << end;
    }
    stEllipse huge = quarter;
    huge.end = 1e12;
    EXPECT_EQ(CSplineItem::CreateEllipse(huge, 1), nullptr);
}

TEST(SplineItemTools, JoinModes) {
    Spline a = MakeSpline({B(0, 0), B(100, 0)});
    const struct {
        std::vector<CSb> b;
        int mode;
    } cases[] = {{{B(103, 0), B(200, 0)}, 4},
                 {{B(105, 0), B(200, 0)}, 0},
                 {{B(0, 3), B(-100, 0)}, 5},
                 {{B(200, 0), B(100, 4)}, 6},
                 {{B(-50, 0), B(0, 1)}, 7}};
    for (const auto& c : cases) {
        Spline b = MakeSpline(c.b);
        EXPECT_EQ(CSplineItem::fnGetJoinMode(a.get(), b.get(), 5), c.mode);
    }
    EXPECT_EQ(CSplineItem::fnGetJoinMode(a.get(), a.get(), 5), 0);
}

class SplineItemJoining : public AppSettingsTest {
protected:
    CVectorArticle root;
    // K -> L, L -> M and M -> N round a square.
    const std::vector<CSb> kl = {B(0, 0), B(1000, 0)};
    const std::vector<CSb> lm = {B(1000, 0), B(1000, 1000)};
    const std::vector<CSb> mn = {B(1000, 1000), B(0, 1000)};
};

TEST_F(SplineItemJoining, AChainJoinsIntoTheLastArticle) {
    CVectorArticle* a1 = AddPath(&root, kl);
    CVectorArticle* a2 = AddPath(&root, lm);
    CVectorArticle* a3 = AddPath(&root, mn);
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&root, 1, 0, 0), 2);
    EXPECT_EQ(PositionsOf(*PathOf(a3)),
              (std::vector<CLpoint>{{0, 1000}, {1000, 1000}, {1000, 0}, {0, 0}}));
    EXPECT_EQ(a1->fnGetValue(L".MERGED", 0), 1);
    EXPECT_EQ(a2->fnGetValue(L".MERGED", 0), 1);
    EXPECT_EQ(a3->fnGetValue(L".MERGED", 1), 0);
}

TEST_F(SplineItemJoining, DeletingMergedPaths) {
    AddPath(&root, kl);
    AddPath(&root, lm);
    CVectorArticle* a3 = AddPath(&root, mn);
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&root, 1, 0, 1), 2);
    EXPECT_EQ(root.GetFirstChild(), a3);
    EXPECT_EQ(a3->GetRsibling(), nullptr);
    EXPECT_EQ(PathOf(a3)->VectCount(), 4);
}

TEST_F(SplineItemJoining, DeletingMergedPathsWithChildrenKeepsTheChildren) {
    CVectorArticle* a1 = AddPath(&root, kl);
    CVectorArticle* a2 = AddPath(a1, lm);
    CVectorArticle* a3 = AddPath(a2, mn);
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&root, 1, 1, 1), 2);
    EXPECT_EQ(a1->GetFirstChild(), a2);
    EXPECT_EQ(a2->GetFirstChild(), a3);
    EXPECT_EQ(PathOf(a3)->VectCount(), 4);
    EXPECT_EQ(a1->GetItem(), nullptr);
    EXPECT_EQ(a2->GetItem(), nullptr);
}

TEST_F(SplineItemJoining, OnlyTheSamePaletteAndOpenPathsJoin) {
    AddPath(&root, kl, 1);
    AddPath(&root, lm, 2);
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&root, 1, 0, 0), 0);
    CVectorArticle other;
    AddPath(&other, kl);
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&other, 1, 0, 0), 0) << "one path";
    AddPath(&other, {B(1000, 0), B(0, 10)}); // closes K-L within 50
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&other, 1, 0, 0), 1);
    CVectorArticle closed;
    AddPath(&closed, {B(0, 0), B(1000, 0), B(0, 20)});
    AddPath(&closed, {B(0, 20), B(500, 500)});
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&closed, 1, 0, 0), 0);
}

TEST_F(SplineItemJoining, TooManyPathsAndTheTimeLimit) {
    QvSetAppParam(L"Spline Compress Max Sort", 2);
    AddPath(&root, kl);
    AddPath(&root, lm);
    AddPath(&root, mn);
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&root, 1, 0, 0), 0);

    QvSetAppParam(L"Spline Compress Max Sort", 3000);
    QvSetAppParam(L"Spline Compress Timeout", 0);
    RunningClock clock;
    platform::ScopedClock use(clock);
    CVectorArticle chain;
    // Paths that join nothing first: the limit is looked at only when the joining index is not
    // a multiple of 10.
    for (int i = 0; i < 5; ++i)
        AddPath(&chain, {B(i * 10, 5000), B(i * 10, 6000)}, 2);
    for (int i = 0; i < 40; ++i)
        AddPath(&chain, {B(i * 100, 0), B(i * 100 + 100, 0)});
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&chain, 1, 0, 0), 1);
}

TEST_F(SplineItemJoining, ReversedPathsKeepTheirProperties) {
    CVectorArticle* a1 = AddPath(&root, kl);
    AddPath(&root, {B(0, 0), B(-500, 0)});
    PathOf(a1)->SetProperty(CItem::kHiddenBits);
    PathOf(a1)->SetXformProperties(0x3);
    EXPECT_EQ(CSplineItem::fnTipToTailCompress(&root, 1, 0, 0), 1);
    CSplineItem* joined = PathOf(a1);
    EXPECT_EQ(PositionsOf(*joined), (std::vector<CLpoint>{{1000, 0}, {0, 0}, {-500, 0}}));
    EXPECT_TRUE(joined->GetProperty(CItem::kHiddenBits));
    EXPECT_EQ(joined->GetXformProperties(), 0x3u);

    // Ends that touch but are kept open stay so through a reversal.
    CVectorArticle* loop = AddPath(&root, {B(0, 0), B(500, 500), B(0, 0)});
    CSplineItem* a = PathOf(loop);
    a->SetProperty(CSplineItem::kKeepOpenBit);
    CSplineItem* b = PathOf(a1);
    CSplineItem::fnMerge(a, b, 1);
    EXPECT_EQ(a, PathOf(loop));
    EXPECT_TRUE(a->GetProperty(CSplineItem::kKeepOpenBit));
}

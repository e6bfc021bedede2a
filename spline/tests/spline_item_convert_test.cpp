// Editing of spline items' points: transforms, conversions, corner loops, mirror, reversal.
#include "spline/spline_item.h"

#include "curve_fixtures.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/geometry/plane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using Spline = std::unique_ptr<CSplineItem>;

// Two points joined by one arc segment through mid.
Spline OneArc(CLpoint start, CLpoint mid, CLpoint end) {
    Spline s = MakeSpline({B(start.x, start.y), B(end.x, end.y)});
    CBezier* seg = s->BezierPtr(0);
    seg->type = CBezier::kArc;
    seg->control1 = seg->control2 = mid;
    return s;
}

// An item that stops the transform from converting arcs when asked.
class NoArcInsertion : public CSplineItem {
public:
    int fnCanInsertXformArcs() override { return allow; }
    int allow = 0;
};

CMat2d Matrix(double sx, double sy, double shear = 0) {
    CMat2d m;
    m.m0 = sx, m.m4 = sy, m.m3 = shear;
    return m;
}

} // namespace

TEST(SplineItemConvert, ArcPieces) {
    const struct {
        const char* what;
        CLpoint mid, end;
        int degrees, pieces;
    } cases[] = {
        {"semicircle at 30", {0, 1000}, {-1000, 0}, 30, 6},
        {"quarter at 30", {707, 707}, {0, 1000}, 30, 3},
        {"0.1 rad", {999, 50}, {995, 100}, 30, 2},
        {"never above 24", {0, 1000}, {-1000, 0}, 1, 24},
        {"0 degrees cuts finest", {0, 1000}, {-1000, 0}, 0, 24},
        {"negative degrees", {0, 1000}, {-1000, 0}, -30, 24},
    };
    for (const auto& c : cases) {
        Spline s = OneArc(CLpoint(1000, 0), c.mid, c.end);
        s->SelectElement(1);
        EXPECT_EQ(s->ConvertArcs(c.degrees), 1) << c.what;
        EXPECT_EQ(s->VectCount() - 1, c.pieces) << c.what;
        EXPECT_EQ(s->NumSelectedPoints(), 0) << c.what;
        EXPECT_EQ(s->Vect(0), B(1000, 0)) << c.what;
        EXPECT_EQ(s->Vect(s->VectCount() - 1).pt, c.end) << c.what;
        for (int i = 1; i + 1 < s->VectCount(); ++i) {
            EXPECT_EQ(s->Vect(i).flags, CSplineItem::kSmooth);
            EXPECT_NEAR(length(s->Vect(i).pt, CLpoint(0, 0)), 1000, 2) << c.what;
        }
    }
    Spline line = MakeSpline({B(0, 0), B(100, 0)});
    EXPECT_EQ(line->ConvertArcs(30), 0);
}

TEST(SplineItemConvert, CountedArcs) {
    Spline s = OneArc(CLpoint(1000, 0), CLpoint(0, 1000), CLpoint(-1000, 0));
    stCountArcs counts[1];
    s->CountConvertArcs(counts, 30);
    EXPECT_EQ(counts[0].type, CBezier::kArc);
    EXPECT_EQ(counts[0].count, 6);
    counts[0].count = 2;
    EXPECT_EQ(s->ConvertArcs(counts), 1);
    ASSERT_EQ(s->VectCount(), 3);
    EXPECT_NEAR(s->Vect(1).pt.x, 0, 1);
    EXPECT_NEAR(s->Vect(1).pt.y, 1000, 1);
}

TEST(SplineItemConvert, LinePieces) {
    const struct {
        LONG len;
        int pieces, expected;
    } cases[] = {{49, 5, 1}, {50, 5, 5}, {29, 1, 1}, {30, 1, 3}, {239, 100, 1}, {240, 100, 24}};
    for (const auto& c : cases) {
        Spline s = MakeSpline({B(0, 0), B(c.len, 0)});
        EXPECT_EQ(s->ConvertLines(0, c.pieces), c.expected > 1 ? 1 : 0) << c.len;
        EXPECT_EQ(s->VectCount() - 1, c.expected) << c.len;
    }
    Spline forced = MakeSpline({B(0, 0), B(5, 0)});
    EXPECT_EQ(forced->ConvertLines(1, 3), 1);
    EXPECT_EQ(forced->VectCount(), 4);
}

TEST(SplineItemConvert, TransformKeepsArcsUnlessDistorted) {
    const std::vector<CSb> pts = {B(0, 0), P(100, 100), B(200, 0), B(300, 0)};
    CMat2d turn;
    turn.m0 = 0, turn.m1 = 1, turn.m3 = -1, turn.m4 = 0;
    const struct {
        const char* what;
        CMat2d m;
        int allow;
        bool converted;
    } cases[] = {
        {"quarter turn", turn, 1, false},
        {"mirror", Matrix(-1, 1), 1, false},
        {"uniform scale", Matrix(3, 3), 1, false},
        {"scale 2,1 allowed", Matrix(2, 1), 1, true},
        {"scale 2,1 refused", Matrix(2, 1), 0, false},
        {"scale 1.4, 1/1.4", Matrix(1.4, 1 / 1.4), 1, false},
        {"shear", Matrix(1, 1, 0.5), 0, true},
    };
    for (const auto& c : cases) {
        NoArcInsertion s;
        s.allow = c.allow;
        for (CSb p : pts)
            s.Vect(p);
        s.MakeCurves();
        CMat2d m = c.m;
        s.DoTransform(m);
        EXPECT_EQ(s.VectCount() > 4, c.converted) << c.what;
        EXPECT_EQ(s.Bezier()->GetSize(), s.VectCount() - 1) << c.what;
    }
    // Three points with a smooth middle: any distortion converts.
    NoArcInsertion three;
    for (CSb p : {B(0, 0), P(100, 100), B(200, 0)})
        three.Vect(p);
    three.MakeCurves();
    CMat2d scale = Matrix(1.2, 1);
    three.DoTransform(scale);
    EXPECT_GT(three.VectCount(), 3);

    Spline one = MakeSpline({B(10, 10)});
    CMat2d twice = Matrix(2, 2);
    one->DoTransform(twice);
    EXPECT_EQ(one->Vect(0).pt, CLpoint(20, 20));
    EXPECT_EQ(one->Pkt()->GetSize(), 0);
}

TEST(SplineItemConvert, CornerLoops) {
    const std::vector<CSb> corner = {B(0, 0), B(100, 0), B(100, 100)};
    Spline s = MakeSpline(corner);
    s->ConvertPoints(40, 1, 91);
    ASSERT_EQ(s->VectCount(), 9);
    EXPECT_EQ(s->Bezier()->GetSize(), 8);
    EXPECT_EQ(s->Vect(1), B(100, 0));
    EXPECT_EQ(s->Vect(7), B(100, 0));
    EXPECT_EQ(s->Vect(8), B(100, 100));
    // The far point of the loop lies from the corner at 45 degrees, one diameter away.
    EXPECT_NEAR(s->Vect(4).pt.x, 100 + 40 * std::cos(M_PI / 4), 2);
    EXPECT_NEAR(s->Vect(4).pt.y, 40 * std::sin(M_PI / 4), 2);

    for (auto [side, degrees] : {std::pair{1, 90}, std::pair{-1, 91}}) {
        Spline same = MakeSpline(corner);
        same->ConvertPoints(40, side, degrees);
        EXPECT_EQ(PointsOf(*same), corner) << side << " " << degrees;
    }
    // Without current segments nothing is inserted.
    Spline stale = MakeSpline(corner);
    stale->Bezier()->RemoveAll();
    EXPECT_FALSE(stale->InsertRoundedCorner(40, 1.0, 1));
    EXPECT_EQ(stale->VectCount(), 3);
}

TEST(SplineItemConvert, Mirror) {
    Spline s = MakeSpline({B(10, 5), B(10, 1), B(150, 1)});
    CLine axis(CLpoint(0, 0), CLpoint(100, 0));
    EXPECT_EQ(s->DoMirror(axis), 1);
    EXPECT_EQ(PointsOf(*s), (std::vector<CSb>{B(10, -5), B(10, 1), B(150, -1)}));
}

TEST(SplineItemConvert, ReverseAndDescribe) {
    Spline s = MakeSpline({P(0, 0), B(100, -20), P(200, 0)});
    s->fnReverse();
    EXPECT_EQ(PointsOf(*s), (std::vector<CSb>{P(200, 0), B(100, -20), P(0, 0)}));
    EXPECT_EQ(s->Bezier()->GetSize(), 2);
    CString text;
    EXPECT_EQ(s->ElementStr(1, text), 1);
    EXPECT_EQ(std::wstring(text.GetString()), L"1) Break X:100 Y:-20");
    s->ElementStr(2, text);
    EXPECT_EQ(std::wstring(text.GetString()), L"2) Curve X:0 Y:0");
}

#include "spline/spline_item.h"

#include "curve_dc.h"
#include "curve_fixtures.h"
#include "pivora/framework/area_hint.h"
#include "pivora/framework/jox_view.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/jox_page.h"
#include "pivora/tests/app_settings_fixture.h"
#include "vector/vector_article.h"

#include "platform/core/dword_array.h"
#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using platform::GdiOp;

namespace {

using Spline = std::unique_ptr<CSplineItem>;

std::vector<int> Types(CSplineItem& s) {
    std::vector<int> t;
    for (INT_PTR i = 0; i < s.Bezier()->GetSize(); ++i)
        t.push_back(s.Bezier(int(i)).type);
    return t;
}

// Counts rebuilds.
class CountingSpline : public CSplineItem {
public:
    void MakeCurves() override {
        ++rebuilds;
        CSplineItem::MakeCurves();
    }
    int rebuilds = 0;
};

} // namespace

// Building
// -----------------------------------------------------------------------------------------

TEST(SplineItemRuns, BreaksCutThePointsIntoRuns) {
    const int C = CBezier::kCubic, L = CBezier::kLine, A = CBezier::kArc;
    struct Case {
        const char* what;
        std::initializer_list<CSb> points;
        std::vector<int> types;
    };
    const Case cases[] = {
        {"one open run", {P(0, 0), P(100, 50), P(200, 0), P(300, 50), P(400, 0)}, {C, C, C, C}},
        // Two runs of three with a smooth end each: both fitted.
        {"break at 2", {P(0, 0), P(100, 50), B(200, 0), P(300, 50), P(400, 0)}, {C, C, C, C}},
        {"three points between breaks", {B(0, 0), P(100, 100), B(200, 0)}, {A, A}},
        {"two points", {P(0, 0), P(100, 50)}, {L}},
        {"a line between breaks",
         {P(0, 0), P(100, 50), B(200, 0), B(300, 0), P(400, 50), P(500, 0)},
         {C, C, L, C, C}},
        {"one point", {P(5, 5)}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Spline s = MakeSpline(c.points);
        EXPECT_EQ(Types(*s), c.types);
        for (INT_PTR i = 0; i < s->Bezier()->GetSize(); ++i) {
            EXPECT_EQ(s->Bezier(int(i)).start, s->Vect(int(i)).pt);
            EXPECT_EQ(s->Bezier(int(i)).end, s->Vect(int(i + 1)).pt);
        }
    }
}

TEST(SplineItemRuns, ArcPairFlattensIntoOneArcElement) {
    Spline s = MakeSpline({B(-100, 0), P(0, 100), B(100, 0)});
    ASSERT_EQ(s->Bezier()->GetSize(), 2);
    EXPECT_EQ(s->Bezier(0).end, CLpoint(0, 100));
    s->MakePktArray(4);
    ASSERT_EQ(s->Pkt()->GetSize(), 1);
    CPkt e = s->Pkt(0);
    EXPECT_EQ(e.Mode(), CPkt::kArc);
    EXPECT_EQ(e.Start(), CLpoint(-100, 0));
    EXPECT_EQ(e.Mid(), CLpoint(0, 100));
    EXPECT_EQ(e.End(), CLpoint(100, 0));
}

TEST(SplineItemRuns, TwoPointsFlattenStraight) {
    Spline s = MakeSpline({P(0, 0), P(100, 50)});
    s->MakePktArray(4);
    ASSERT_EQ(s->Pkt()->GetSize(), 1);
    EXPECT_EQ(s->Pkt(0).Mode(), 0);
}

TEST(SplineItemRuns, ClosedCurveIsFittedRoundItsJoint) {
    Spline s = MakeSpline({P(0, 0), P(1000, 0), P(1000, 1000), P(0, 1000), P(0, 0)});
    ASSERT_EQ(s->VectCount(), 5);
    ASSERT_EQ(s->Bezier()->GetSize(), 4);
    EXPECT_EQ(s->Vect(4), P(0, 0));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s->Bezier(i).type, CBezier::kCubic);
    // The joint at the first point is fitted from two neighbours on either side: the tangents
    // before and after it turn by a few degrees only (a corner would turn by 90).
    const CLpoint before = s->Bezier(3).control2, after = s->Bezier(0).control1;
    const double in = std::atan2(0.0 - before.y, 0.0 - before.x);
    const double out = std::atan2(double(after.y), double(after.x));
    EXPECT_LT(std::fabs(in - out), 0.1);
}

TEST(SplineItemRuns, ClosedCurvesOfTooFewPointsBuildAsOpen) {
    // A crafted file may hold a closed curve of two points; it once read point -1.
    Spline two = MakeSpline({P(10, 10), P(10, 10)});
    EXPECT_EQ(Types(*two), std::vector<int>{CBezier::kLine});
    Spline three = MakeSpline({P(0, 0), P(100, 100), P(0, 0)});
    EXPECT_EQ(three->Bezier()->GetSize(), 2);
    EXPECT_EQ(three->VectCount(), 3);
}

TEST(SplineItemRuns, LevelsPerVisit) {
    Spline s = MakeSpline({P(0, 0), P(100, 50), P(200, 0), B(300, 50), P(400, 100), B(500, 50)});
    ASSERT_EQ(Types(*s), (std::vector<int>{CBezier::kCubic, CBezier::kCubic, CBezier::kCubic,
                                           CBezier::kArc, CBezier::kArc}));
    CDWordArray levels;
    levels.Add(1);
    levels.Add(4);
    levels.Add(9); // the arc pair ignores its level
    s->MakePktArray(&levels, 2);
    // Visits: three cubics at 1, 4 and 9 (clamped to 4), then the arc pair.
    EXPECT_EQ(s->Pkt()->GetSize(), 1 + 4 + 4 + 1);
    CDWordArray none;
    s->MakePktArray(&none, 2);
    EXPECT_EQ(s->Pkt()->GetSize(), 2 + 2 + 2 + 1);
    s->MakePktArray(nullptr, 1);
    EXPECT_EQ(s->Pkt()->GetSize(), 1 + 1 + 1 + 1);
}

TEST(SplineItemRuns, PairRecordOfAnElement) {
    Spline s = MakeSpline({B(-100, 0), P(0, 100), B(100, 0), P(200, 0)});
    s->MakePktArray(4);
    const int n = int(s->Pkt()->GetSize());
    ASSERT_EQ(n, 2);
    CDpkt d;
    d.flags = 0x7F;
    ASSERT_EQ(s->GetDpkt(0, d), 1);
    EXPECT_EQ(d.flags, CDpkt::kFirstArc);
    EXPECT_EQ(d.mid1, CLpoint(0, 100));
    ASSERT_EQ(s->GetDpkt(1, d), 1);
    EXPECT_EQ(d.flags, 0);
    CDpkt untouched;
    untouched.flags = 99;
    EXPECT_EQ(s->GetDpkt(n, untouched), 0);
    EXPECT_EQ(untouched.flags, 99);
}

TEST(SplineItemRuns, ExtentsFollowTheSegments) {
    Spline s = MakeSpline({B(-100, 0), P(0, 100), B(100, 0)});
    EXPECT_EQ(s->Extents(), CWindow(-100, 0, 100, 100));
    CSplineItem empty;
    EXPECT_EQ(empty.Extents(), CWindow::EmptyExtent());
}

// Editing ----------------------------------------------------------------------------------------

TEST(SplineItemEditing, ToggleOfASelectionRebuildsOnce) {
    CountingSpline s;
    for (CSb p : {P(0, 0), P(100, 50), P(200, 0), P(300, 50), P(400, 0)})
        s.Vect(p);
    for (int i : {1, 2, 3})
        s.SelectElement(i);
    s.CurveToggle(false);
    EXPECT_EQ(s.rebuilds, 1);
    EXPECT_EQ(s.Vect(1).flags, CSplineItem::kBreak);
    EXPECT_EQ(s.Vect(3).flags, CSplineItem::kBreak);
    EXPECT_EQ(s.Vect(0).flags, 0u);
    s.CurveToggle(2, false);
    EXPECT_EQ(s.Vect(2).flags, 0u);
    EXPECT_EQ(s.rebuilds, 1);
}

TEST(SplineItemEditing, PointDeleteRemovesTheSelectionAndRebuilds) {
    Spline s = MakeSpline({P(0, 0), P(100, 50), P(200, 0), P(300, 50), P(400, 0)});
    s->SelectElement(1);
    s->SelectElement(3);
    s->PointDelete();
    EXPECT_EQ(s->VectCount(), 3);
    EXPECT_EQ(s->Vect(1), P(200, 0));
    EXPECT_EQ(s->SelectedElements().GetSize(), 0);
    EXPECT_EQ(s->Bezier()->GetSize(), 2);
    // Deleting every point leaves no segment of the old shape behind.
    s->SelectAll();
    s->PointDelete();
    EXPECT_EQ(s->VectCount(), 0);
    EXPECT_EQ(s->Bezier()->GetSize(), 0);
}

TEST(SplineItemEditing, ElementEditsOfTheUndoRecord) {
    Spline s = MakeSpline({P(0, 0), P(100, 0)});
    CSb block[2] = {P(50, 50), B(60, 60)};
    EXPECT_EQ(s->InsertElement(1, block, 2), 1);
    ASSERT_EQ(s->VectCount(), 4);
    EXPECT_EQ(s->Vect(1), P(50, 50));
    EXPECT_EQ(s->Vect(2), B(60, 60));
    EXPECT_EQ(s->Bezier()->GetSize(), 3);
    EXPECT_EQ(s->InsertElement(-1, block, 1), 1);
    EXPECT_EQ(s->Vect(4), P(50, 50));

    unsigned char* data = nullptr;
    int size = 0;
    EXPECT_EQ(s->ElementData(2, &data, size), 1);
    EXPECT_EQ(size, 12);
    EXPECT_EQ(data, reinterpret_cast<unsigned char*>(s->VectPtr(2)));
    EXPECT_EQ(s->ElementData(2, nullptr, size), 1);

    s->MakePktArray(4);
    CMat2d shift;
    shift.m6 = 10;
    shift.m7 = -5;
    EXPECT_EQ(s->TransformElement(&shift, 1, 2), 1);
    EXPECT_EQ(s->Vect(1), P(60, 45));
    EXPECT_EQ(s->Vect(2), B(70, 55));
    EXPECT_EQ(s->Vect(3), P(100, 0));
    EXPECT_EQ(s->Pkt()->GetSize(), 0);

    EXPECT_EQ(s->DeleteElement(0, 2), 1);
    EXPECT_EQ(s->VectCount(), 3);
    EXPECT_THROW(s->Vect(7), CInvalidArgException);
    EXPECT_THROW(s->BezierPtr(-1), CInvalidArgException);
}

TEST(SplineItemEditing, MovingTheStartOfAClosedPath) {
    Spline open = MakeSpline({P(0, 0), P(100, 0), P(100, 100), P(0, 100), P(0, 500)});
    EXPECT_EQ(open->fnCanMoveItemStart(), 0);
    Spline small = MakeSpline({P(0, 0), P(100, 0), P(0, 0)});
    EXPECT_EQ(small->fnCanMoveItemStart(), 0);

    Spline s = MakeSpline({P(0, 0), P(100, 0), B(100, 100), P(0, 100), P(0, 0)});
    EXPECT_EQ(s->fnCanMoveItemStart(), 1);
    // Nothing selected: nothing happens (it once read a selection that was not there).
    s->fnDoMoveItemStart();
    EXPECT_EQ(s->Vect(0), P(0, 0));
    s->SelectElement(2);
    s->fnDoMoveItemStart();
    ASSERT_EQ(s->VectCount(), 5);
    EXPECT_EQ(s->Vect(0), B(100, 100));
    EXPECT_EQ(s->Vect(1), P(0, 100));
    EXPECT_EQ(s->Vect(2), P(0, 0));
    EXPECT_EQ(s->Vect(3), P(100, 0));
    EXPECT_EQ(s->Vect(4), B(100, 100));
    EXPECT_TRUE(s->Selected(0));
    EXPECT_TRUE(s->Selected(4));
    EXPECT_EQ(s->Bezier()->GetSize(), 4);
}

TEST(SplineItemEditing, ClosednessAndTheKeepOpenProperty) {
    Spline s = MakeSpline({P(0, 0), P(100, 0), P(100, 100), P(0, 0)});
    EXPECT_EQ(s->IsClosed(0), 1);
    EXPECT_EQ(s->IsClosedCurve(0), 1);
    s->Vect(B(0, 0), 0);
    EXPECT_EQ(s->IsClosedCurve(0), 0);
    s->SetProperty(CSplineItem::kKeepOpenBit);
    EXPECT_EQ(s->IsClosed(0), 0);
    s->Vect(P(50, 0), 3);
    EXPECT_EQ(s->IsClosed(100), 0);
    EXPECT_EQ(s->GetProperty(CSplineItem::kKeepOpenBit), 1);
    EXPECT_EQ(s->IsClosed(0), 0);
    EXPECT_EQ(s->GetProperty(CSplineItem::kKeepOpenBit), 0);
    EXPECT_EQ(s->IsClosed(50), 1);
}

TEST(SplineItemEditing, FixOldDesignsMarksShortEndRuns) {
    struct Case {
        const char* what;
        std::vector<CSb> points;
        std::vector<DWORD> flags;
    };
    const Case cases[] = {
        {"steps 1 and 3",
         {P(0, 0), P(1, 0), B(2, 0), P(3, 0), P(4, 0)},
         {0x200, 0, 0x200, 0, 0x200}},
        {"step 2 only", {P(0, 0), B(1, 0)}, {0x200, 0x200}},
        {"open, no breaks", {P(0, 0), P(1, 0), P(2, 0), P(3, 0)}, {0, 0, 0, 0}},
        {"closed", {P(0, 0), P(1, 0), P(2, 2), P(0, 0)}, {0x200, 0, 0, 0x200}},
        // Whole words are compared: a break with an extra bit is not a plain break.
        {"foreign bits", {P(0, 0), P(1, 0), CSb(0x300, CLpoint(2, 0))}, {0, 0, 0x300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSplineItem s;
        for (CSb p : c.points)
            s.Vect(p);
        s.FixOldDesigns();
        std::vector<DWORD> got;
        for (int i = 0; i < s.VectCount(); ++i)
            got.push_back(s.Vect(i).flags);
        EXPECT_EQ(got, c.flags);
    }
}

TEST(SplineItemEditing, CopyRebuildsSegmentsAndElements) {
    Spline s = MakeSpline({B(-100, 0), P(0, 100), B(100, 0), P(200, 50)});
    s->SelectElement(1);
    std::unique_ptr<CSplineItem> copy(static_cast<CSplineItem*>(s->CopyObject(nullptr)));
    ASSERT_EQ(copy->VectCount(), 4);
    EXPECT_EQ(copy->Vect(3), P(200, 50));
    EXPECT_EQ(copy->Bezier()->GetSize(), 3);
    EXPECT_EQ(copy->Pkt()->GetSize(), 2);
    EXPECT_TRUE(copy->Selected(1));
    EXPECT_EQ(IsCSplineItem(copy.get()), 1);
    EXPECT_EQ(IsCSplineItem(nullptr), 0);
}

namespace {

// The segments and elements of two items are the same, field by field.
void ExpectSameArrays(CSplineItem& a, CSplineItem& b) {
    ASSERT_EQ(a.Bezier()->GetSize(), b.Bezier()->GetSize());
    for (int i = 0; i < int(a.Bezier()->GetSize()); ++i) {
        const CBezier x = a.Bezier(i), y = b.Bezier(i);
        EXPECT_TRUE(x.type == y.type && x.curved == y.curved && x.start == y.start &&
                    x.control1 == y.control1 && x.control2 == y.control2 && x.end == y.end)
            << "segment " << i;
    }
    ASSERT_EQ(a.Pkt()->GetSize(), b.Pkt()->GetSize());
    for (int i = 0; i < int(a.Pkt()->GetSize()); ++i) {
        const CPkt x = a.Pkt(i), y = b.Pkt(i);
        EXPECT_TRUE(x.mode == y.mode && x.start == y.start && x.mid == y.mid && x.end == y.end &&
                    x.arc.cx == y.arc.cx && x.arc.cy == y.arc.cy && x.arc.r == y.arc.r &&
                    x.arc.a0 == y.arc.a0 && x.arc.a1 == y.arc.a1)
            << "element " << i;
    }
}

// What a copy must hold: the points fitted and flattened afresh.
Spline FreshBuild(CSplineItem& s) {
    auto fresh = std::make_unique<CSplineItem>();
    fresh->Vect()->Copy(*s.Vect());
    if (s.GetProperty(CSplineItem::kKeepOpenBit))
        fresh->SetProperty(CSplineItem::kKeepOpenBit);
    fresh->MakeCurves();
    fresh->MakePktArray(CSplineItem::kCopyLevel);
    return fresh;
}

} // namespace

// A copy takes the source's arrays over only while they are the fit and flattening of its
// points: any edit since, by any road, makes the copy build afresh.
TEST(SplineItemEditing, CopiesEqualAFreshBuildWhateverChangedSinceTheFlattening) {
    const struct Case {
        const char* what;
        void (*edit)(CSplineItem&);
    } cases[] = {
        {"nothing", [](CSplineItem&) {}},
        {"a point moved in place", [](CSplineItem& s) { s.Vect(P(40, 130), 1); }},
        {"a point added", [](CSplineItem& s) { s.Vect(P(260, 90)); }},
        {"a segment moved", [](CSplineItem& s) { s.BezierPtr(0)->control1.x += 7; }},
        {"an element changed",
         [](CSplineItem& s) {
             CPkt e = s.Pkt(0);
             e.end.y += 3;
             s.Pkt(e, 0);
         }},
        {"the keep-open property set",
         [](CSplineItem& s) { s.SetProperty(CSplineItem::kKeepOpenBit); }},
        {"flattened at another level", [](CSplineItem& s) { s.MakePktArray(2); }},
        {"flattened by visit levels",
         [](CSplineItem& s) {
             CDWordArray levels;
             levels.Add(1);
             s.MakePktArray(&levels, CSplineItem::kCopyLevel);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Spline s = MakeSpline({P(0, 0), P(30, 120), B(150, 140), P(220, 30), P(120, -40), P(0, 0)});
        s->MakePktArray(CSplineItem::kCopyLevel);
        c.edit(*s);
        Spline copy(static_cast<CSplineItem*>(s->CopyObject(nullptr)));
        Spline fresh = FreshBuild(*s);
        ExpectSameArrays(*copy, *fresh);
        // An edit of the copy after the copy is built again by the next copy.
        copy->Vect(P(10, 10), 0);
        Spline again(static_cast<CSplineItem*>(copy->CopyObject(nullptr)));
        Spline freshAgain = FreshBuild(*copy);
        ExpectSameArrays(*again, *freshAgain);
    }
}

// Storage ----------------------------------------------------------------------------------------

TEST(SplineItemStorage, PointsAreStoredAsCountAndTwelveBytePoints) {
    const std::vector<CSb> points = {P(1, -2), B(-70000, 65536), CSb(0x300, CLpoint(5, 6))};
    auto s = MakeCurveItem<CSplineItem>({points[0], points[1], points[2]});
    std::vector<BYTE> bytes = StoreObject(s.get());
    const std::vector<BYTE> group = PointGroupBytes(points);
    ASSERT_GE(bytes.size(), group.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - group.size(), bytes.end()), group);

    auto loaded = LoadObject<CSplineItem>(bytes);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->VectCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(loaded->Vect(i), points[i]);
    // Rebuilt on load; a flag word with the break bit among others still breaks.
    EXPECT_EQ(Types(*loaded), (std::vector<int>{CBezier::kLine, CBezier::kLine}));
    EXPECT_EQ(loaded->Pkt()->GetSize(), 0);
    EXPECT_EQ(StoreObject(loaded.get()), bytes);
}

TEST(SplineItemStorage, DamagedPointFieldsRaiseAndOddOnesLoad) {
    auto s = MakeCurveItem<CSplineItem>({P(1, 2), P(3, 4)});
    std::vector<BYTE> bytes = StoreObject(s.get());
    const size_t group = PointGroupBytes({P(1, 2), P(3, 4)}).size();
    const size_t countAt = bytes.size() - group + 6;
    // A count beyond the stream.
    std::vector<BYTE> big = bytes;
    big[countAt] = 0x00;
    big[countAt + 1] = 0x10;
    EXPECT_THROW(LoadObject<CSplineItem>(big), CArchiveException);
    // Every cut of the stream raises; none crashes.
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_THROW(LoadObject<CSplineItem>(std::vector<BYTE>(bytes.begin(), bytes.begin() + n)),
                     CArchiveException)
            << "length " << n;
    // A closed curve of two points and coordinates at the limits load, measure and flatten.
    auto odd = MakeCurveItem<CSplineItem>(
        {P(INT32_MIN, INT32_MAX), P(INT32_MAX, INT32_MIN), P(INT32_MIN, INT32_MAX)});
    auto back = LoadObject<CSplineItem>(StoreObject(odd.get()));
    ASSERT_EQ(back->Bezier()->GetSize(), 2);
    back->MakePktArray(4);
    (void)back->Extents();
    auto pair = LoadObject<CSplineItem>(StoreObject(MakeSpline({P(7, 7), P(7, 7)}).get()));
    EXPECT_EQ(pair->Bezier()->GetSize(), 1);
}

// Drawing ----------------------------------------------------------------------------------------

class SplineItemDrawing : public AppSettingsTest {
protected:
    void SetUp() override {
        AppSettingsTest::SetUp();
        CSplineItem::fnResetPrintThickenAdj();
        FnGetScreenVectorThickness(reinterpret_cast<void*>(-1));
        m_article.Item(MakeSpline({P(0, 0), P(100, 100), B(200, 0), P(300, 100)}).release());
    }
    void TearDown() override {
        CSplineItem::fnResetPrintThickenAdj();
        AppSettingsTest::TearDown();
    }
    CSplineItem* Item() { return static_cast<CSplineItem*>(m_article.GetItem()); }

    CVectorArticle m_article;
};

TEST_F(SplineItemDrawing, OneClosedPathOfTheSegments) {
    CurveDC dc(false);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    Item()->OnDraw(nullptr, &dc);
    EXPECT_EQ(dc.surface.Count(GdiOp::StrokeAndFillPath), 1);
    EXPECT_EQ(dc.GetLevelCount(), 0);
    auto strokes = dc.surface.Calls(GdiOp::StrokeAndFillPath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].penStyle & 0xF, PS_SOLID);
}

TEST_F(SplineItemDrawing, ScreenDashStyleAndColour) {
    m_article.fnSetValue(CSplineItem::kDashStyle, 1, 0);
    m_article.fnSetValue(CSplineItem::kDashStyleColourSet, 1, 0);
    m_article.fnSetValue(CSplineItem::kDashStyleColourRgb, 0x0000FF, 0);
    CurveDC dc(false);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    Item()->OnDraw(nullptr, &dc);
    auto strokes = dc.surface.Calls(GdiOp::StrokeAndFillPath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].penStyle & 0xF, PS_DASH);
    EXPECT_EQ(strokes[0].penColour, 0x0000FFu);
}

TEST_F(SplineItemDrawing, PrintingThickensOnceReadAndStored) {
    StoreInt(CSplineItem::kPrintThickenAdj, 7);
    m_article.fnSetValue(CSplineItem::kDashStyle, 1, 0); // screens only
    m_article.fnSetPenWidth(2);
    CurveDC dc(false);
    dc.m_bPrinting = TRUE;
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    Item()->OnDraw(nullptr, &dc);
    auto strokes = dc.surface.Calls(GdiOp::StrokeAndFillPath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].penWidth, 9);
    EXPECT_EQ(strokes[0].penStyle & 0xF, PS_SOLID);
    // The value is kept for the process: a change in the store is not seen.
    StoreInt(CSplineItem::kPrintThickenAdj, 1);
    QvResetAppParamCache();
    dc.surface.Clear();
    Item()->OnDraw(nullptr, &dc);
    EXPECT_EQ(dc.surface.Calls(GdiOp::StrokeAndFillPath)[0].penWidth, 9);
    // Exact output draws the thinnest line.
    dc.SetDrawOptions(CSplineItem::kDrawOptionExact);
    dc.surface.Clear();
    Item()->OnDraw(nullptr, &dc);
    EXPECT_EQ(dc.surface.Calls(GdiOp::StrokeAndFillPath)[0].penWidth, 0);
}

TEST_F(SplineItemDrawing, DefaultThickeningIsWrittenBack) {
    CurveDC dc(false);
    dc.m_bPrinting = TRUE;
    Item()->OnDraw(nullptr, &dc);
    DWORD v = 0;
    ASSERT_TRUE(StoredInt(CSplineItem::kPrintThickenAdj, v));
    EXPECT_EQ(v, 3u);
}

TEST_F(SplineItemDrawing, MarkersAreXorPixelsRoundThePoint) {
    platform::RasterSurface raster(60, 60, 0xFFFFFF);
    struct RasterDC : CJoxDC {
        explicit RasterDC(platform::RasterSurface& s) {
            Attach(platform::CreateSurfaceDC(&s));
            SetMapMode(1);
            SetWindowExt(1, 1);
            SetViewportExt(1, -1);
            SetViewportOrg(0, 60);
        }
    } dc(raster);
    auto s = MakeCurveItem<CSplineItem>({P(15, 45), B(45, 45), P(30, 15), P(15, 45)});
    s->MakeCurves();
    for (int i = 0; i < 4; ++i)
        s->SelectElement(i);
    s->DrawSelectedPoints(&dc);
    // Outlines use the caller's pen (black XOR white would leave no trace).
    CPen pen(PS_SOLID, 0, CJoxDC::XorPenColour());
    CPen* old = dc.SelectObject(&pen);
    s->DrawPoint(&dc, 2, 4, 0);
    s->DrawPoint(&dc, 1, 6, CSplineItem::kBreak);
    dc.SelectObject(old);
    raster.Flush();
    ASSERT_TRUE(raster.SavePng(std::string(TEST_BINARY_DIR) + "/spline_markers.png"));
    // The mapping and the raster operation are back, and the pen rests on the last point.
    EXPECT_EQ(dc.GetMapMode(), 1);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    // Smooth point 0 at device (15, 15): the triangle's top row is its centre pixel only.
    EXPECT_NE(raster.Pixel(15, 15 - 3), COLORREF(0xFFFFFF));
    EXPECT_EQ(raster.Pixel(13, 15 - 3), COLORREF(0xFFFFFF));
    // Break point 1 at device (45, 15): a filled square.
    EXPECT_NE(raster.Pixel(43, 13), COLORREF(0xFFFFFF));
    EXPECT_NE(raster.Pixel(47, 17), COLORREF(0xFFFFFF));
    // The outlines: a square of half side 6 round point 1, a triangle whose base lies 6 below
    // point 2.
    EXPECT_NE(raster.Pixel(45, 9), COLORREF(0xFFFFFF));
    EXPECT_EQ(raster.Pixel(45, 10), COLORREF(0xFFFFFF));
    EXPECT_NE(raster.Pixel(30, 51), COLORREF(0xFFFFFF));
}

TEST_F(SplineItemDrawing, SelectedPointsSkipTheClosingPoint) {
    CurveDC dc;
    auto s = MakeCurveItem<CSplineItem>({P(0, 0), P(100, 0), P(50, 50), P(0, 0)});
    s->SelectElement(0);
    s->SelectElement(3);
    s->DrawSelectedPoints(&dc);
    // Nine rows for the one smooth marker.
    EXPECT_EQ(dc.surface.Count(GdiOp::LineTo), 9);
    auto rows = dc.surface.Calls(GdiOp::LineTo);
    EXPECT_EQ(rows[0].rop, R2_XORPEN);
    EXPECT_EQ(rows[0].penColour, CJoxDC::XorPenColour());
}

// Repainting
// ---------------------------------------------------------------------------------------

namespace {

class CHintView : public CJoxView {
public:
    void OnUpdate(CView*, LPARAM, CObject* hintObject) override {
        const auto* area = DynamicDowncast<CAreaHint>(hintObject);
        areas.push_back(area ? area->Area() : CWindow(-1, -1, -1, -1));
    }
    void OnDraw(CJoxDC*) override {}
    std::vector<CWindow> areas;
};

} // namespace

TEST_F(SplineItemDrawing, RepaintsTheSegmentsRoundTheSelection) {
    auto page = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    page->m_bAutoDelete = FALSE;
    CHintView view;
    page->AddView(&view);
    Spline s = MakeSpline(
        {P(0, 0), P(100, 0), P(200, 0), P(300, 0), P(400, 0), P(500, 0), P(600, 0), P(700, 0)});
    s->UpdateViews(&view, 0); // nothing selected
    EXPECT_TRUE(view.areas.empty());
    s->SelectElement(3);
    s->UpdateViews(&view, 0);
    // Three segments back to point 0 and three on to point 6: segments 0 .. 5.
    ASSERT_EQ(view.areas.size(), 6u);
    EXPECT_EQ(view.areas[0], s->Bezier(0).Extents());
    EXPECT_EQ(view.areas[5], s->Bezier(5).Extents());
    // A break stops the run.
    view.areas.clear();
    s->Vect(B(200, 0), 2);
    s->MakeCurves();
    s->UpdateViews(&view, 0);
    ASSERT_EQ(view.areas.size(), 4u);
    EXPECT_EQ(view.areas[0], s->Bezier(2).Extents());
    page->RemoveView(&view);
}

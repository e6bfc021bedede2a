#include "vector/vector_item.h"

#include "vector_fixtures.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/geometry/mat2d.h"
#include "platform/windowing/message.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <memory>

using platform::GdiOp;
using platform::RecordingSurface;

namespace {

const std::vector<BYTE> kEnd = {0xFE, 0xFE, 0, 0, 0, 0};

std::vector<int> Selection(const CVectorItem& item) {
    std::vector<int> out;
    for (INT_PTR i = 0; i < item.SelectedElements().GetSize(); ++i)
        out.push_back(int(item.SelectedElements().GetAt(i)));
    return out;
}

CPolyTestItem* Line5() {
    return new CPolyTestItem({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}});
}

using VectorItemTest = VectorTest;

// ---- Value, storing, copying ----

TEST_F(VectorItemTest, NewItemHasDrawLineOneAndNothingElse) {
    std::unique_ptr<CVectorItem> item(
        static_cast<CVectorItem*>(RUNTIME_CLASS(CVectorItem)->CreateObject()));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->DrawLine(), 1);
    EXPECT_EQ(item->VectCount(), 0);
    EXPECT_EQ(item->Pkt()->GetSize(), 0);
    EXPECT_EQ(item->SelectedElements().GetSize(), 0);
    EXPECT_EQ(item->Extents(), CWindow::EmptyExtent());
    EXPECT_EQ(item->fnGetCompanion(), nullptr);
    EXPECT_EQ(IsCVectorItem(item.get()), 1);
    EXPECT_EQ(IsCVectorItem(nullptr), 0);
    CVectorItem sized(3);
    EXPECT_EQ(sized.Pkt()->GetSize(), 3);
}

TEST_F(VectorItemTest, StoresOnlyTheDrawLineNumberAsFieldZero) {
    CVectorItem item;
    item.DrawLine(0x12345);
    EXPECT_EQ(item.DrawLine(), 0x2345);
    std::vector<BYTE> bytes = StoreObject(&item);
    EXPECT_TRUE(EndsWith(bytes, {0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x45, 0x23, 0xFE, 0xFE, 0x00,
                                 0x00, 0x00, 0x00}));

    // A later writer's field in front of the end mark is skipped.
    bytes.insert(bytes.end() - 6, {0x05, 0x00, 0x03, 0x00, 0x00, 0x00, 0xAA, 0xBB, 0xCC});
    std::unique_ptr<CVectorItem> back(LoadObjectAs<CVectorItem>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->DrawLine(), 0x2345);
}

TEST_F(VectorItemTest, CopyKeepsTheSelectionAndGivesDrawLineOne) {
    CPolyTestItem item({{0, 0}, {10, 0}, {20, 0}});
    item.DrawLine(0);
    item.SelectElement(2);
    item.SelectElement(0);
    std::unique_ptr<CVectorItem> copy(static_cast<CVectorItem*>(item.CopyObject(nullptr)));
    EXPECT_EQ(copy->DrawLine(), 1);
    EXPECT_EQ(Selection(*copy), (std::vector<int>{0, 2}));
}

// ---- Selection ----

TEST_F(VectorItemTest, SelectionStaysSortedWithoutDuplicates) {
    std::unique_ptr<CPolyTestItem> item(Line5());
    EXPECT_EQ(item->SelectElement(3), 1);
    EXPECT_EQ(item->SelectElement(1), 1);
    EXPECT_EQ(item->SelectElement(4), 1);
    EXPECT_EQ(item->SelectElement(3), 0);
    EXPECT_EQ(Selection(*item), (std::vector<int>{1, 3, 4}));
    EXPECT_TRUE(item->Selected(3));
    EXPECT_FALSE(item->Selected(2));
    EXPECT_EQ(item->DeselectElement(3), 1);
    EXPECT_EQ(item->DeselectElement(3), 0);
    item->ReindexSelectedElements(1);
    EXPECT_EQ(Selection(*item), (std::vector<int>{0, 3}));
    EXPECT_EQ(item->DeselectAllElements(), 1);
    EXPECT_EQ(item->DeselectAllElements(), 0);
    item->SelectAll();
    EXPECT_EQ(Selection(*item), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(VectorItemTest, DeselectElementsReportsWhetherTheWholeRangeWasSelected) {
    std::unique_ptr<CPolyTestItem> item(Line5());
    item->SelectElement(2);
    item->SelectElement(4);
    EXPECT_EQ(item->DeselectElements(2, -1), 0);
    EXPECT_TRUE(Selection(*item).empty());
    item->SelectElement(1);
    item->SelectElement(2);
    EXPECT_EQ(item->DeselectElements(1, 2), 1);
}

TEST_F(VectorItemTest, NeighbourSelectionWrapsAtBothEnds) {
    std::unique_ptr<CPolyTestItem> item(Line5());
    EXPECT_EQ(item->SelectNeighbouringElement(1), -1);
    item->SelectElement(0);
    EXPECT_EQ(item->SelectNeighbouringElement(1), 4);
    EXPECT_EQ(Selection(*item), (std::vector<int>{4}));
    EXPECT_EQ(item->SelectNeighbouringElement(3), 0);
    EXPECT_EQ(item->SelectNeighbouringElement(4), 1);
    EXPECT_EQ(item->SelectNeighbouringElement(2), 0);
    EXPECT_EQ(Selection(*item), (std::vector<int>{0}));
}

TEST_F(VectorItemTest, NeighbourOfASelectionOnAnItemWithoutPointsIsNone) {
    CPolyTestItem item;
    item.SelectElement(2);
    EXPECT_EQ(item.SelectNeighbouringElement(1), -1);
    EXPECT_EQ(item.SelectNeighbouringElement(3), -1);
    EXPECT_EQ(Selection(item), (std::vector<int>{2}));
}

TEST_F(VectorItemTest, ClosedPathCountsItsJoinedEndsOnce) {
    std::unique_ptr<CPolyTestItem> square(Square(0, 0, 100));
    square->SelectElement(0);
    square->SelectElement(4);
    EXPECT_EQ(square->NumSelectedPoints(), 1);
    std::unique_ptr<CPolyTestItem> open(Line5());
    open->SelectElement(0);
    open->SelectElement(4);
    EXPECT_EQ(open->NumSelectedPoints(), 2);
}

TEST_F(VectorItemTest, ReflectednessOutsideTheArrayReadsZero) {
    CVectorItem item;
    item.Reflectednesses().SetSize(2);
    item.ReflectedVect(1, 2u);
    EXPECT_EQ(item.ReflectedVect(1), 2u);
    EXPECT_EQ(item.ReflectedVect(2), 0u);
    EXPECT_EQ(item.ReflectedVect(-1), 0u);
    EXPECT_THROW(item.ReflectedVect(-1, 1u), CInvalidArgException);
    EXPECT_THROW(item.PktPtr(0), CInvalidArgException);
    CDpkt d;
    EXPECT_EQ(item.GetDpkt(0, d), 0);
}

TEST_F(VectorItemTest, ScreenThicknessIsCachedAndLimitedToFive) {
    QvSetAppParam(L"Screen Vector Thickness", 9);
    EXPECT_EQ(FnGetScreenVectorThickness(nullptr), 5);
    QvSetAppParam(L"Screen Vector Thickness", 3);
    EXPECT_EQ(FnGetScreenVectorThickness(nullptr), 5);
    FnGetScreenVectorThickness(reinterpret_cast<void*>(-1));
    EXPECT_EQ(FnGetScreenVectorThickness(nullptr), 3);
}

TEST_F(VectorItemTest, ExtentsOfTheFlattenedPathIncludeArcs) {
    CVectorItem item;
    CPkt line;
    line.start = CLpoint(0, 0);
    line.end = CLpoint(100, 0);
    item.Pkt(line);
    CPkt arc;
    arc.mode = CPkt::kArc;
    arc.start = CLpoint(100, 0);
    arc.mid = CLpoint(150, 50);
    arc.end = CLpoint(200, 0);
    ASSERT_TRUE(arc.MakeArc());
    item.Pkt(arc);
    item.InvExtents(1);
    CWindow e = item.Extents();
    EXPECT_EQ(e.x1, 0);
    EXPECT_EQ(e.y1, 0);
    EXPECT_EQ(e.x2, 200);
    EXPECT_EQ(e.y2, 50);
}

// ---- Drawing ----

TEST_F(VectorItemTest, DrawingStrokesAndFillsOrOnlyStrokesByAutoFillMode) {
    std::unique_ptr<CPolyTestItem> item(Square(0, 0, 100));
    for (int autoFill : {1, 0}) {
        QvSetAppParam(L"Auto Fill Mode", autoFill);
        RecordingSurface s;
        SurfaceDC dc(s);
        dc.SetDrawMode(CJoxDC::DRAW_PATHS);
        item->OnDraw(nullptr, &dc);
        EXPECT_EQ(s.Count(GdiOp::BeginPath), 1);
        EXPECT_EQ(s.Count(GdiOp::EndPath), 1);
        EXPECT_EQ(s.Count(GdiOp::StrokeAndFillPath), autoFill);
        EXPECT_EQ(s.Count(GdiOp::StrokePath), 1 - autoFill);
        EXPECT_EQ(dc.GetLevelCount(), 0);
    }
}

TEST_F(VectorItemTest, DrawingHandsThePathDownInRunsOfTheSameLines) {
    // Lines, short and long arcs, and enough of them to fill more than one run.
    CVectorItem item;
    CLpoint at(0, 0);
    for (int i = 0; i < 150; ++i) {
        CPkt p;
        p.start = at;
        p.end = CLpoint(at.x + 300 + 10 * (i % 7), (i % 2) ? 6000 : -5000);
        if (i % 3 == 1) {
            p.mode = CPkt::kArc;
            const LONG bulge = (i % 6 == 1) ? 60 : 1500;
            p.mid = CLpoint((p.start.x + p.end.x) / 2 + bulge, (p.start.y + p.end.y) / 2);
            ASSERT_TRUE(p.MakeArc());
        }
        item.Pkt(p);
        at = p.end;
    }
    auto draw = [&](platform::Surface& s, bool elementByElement) {
        CJoxDC dc;
        dc.Attach(platform::CreateSurfaceDC(&s));
        dc.SetMapMode(1);
        dc.SetWindowExt(100, 100);
        dc.SetViewportExt(1, -1);
        dc.SetViewportOrg(5, 100);
        dc.MoveTo(0, 0);
        if (elementByElement) {
            for (INT_PTR i = 0; i < item.Pkt()->GetSize(); ++i)
                item.Pkt()->ElementAt(i).Draw(&dc);
        } else {
            item.DrawPkts(&dc, 0, int(item.Pkt()->GetSize()));
        }
    };
    auto segments = [](const RecordingSurface& s) {
        std::vector<std::array<LONG, 4>> out;
        for (const auto& c : s.Calls())
            for (size_t i = 1; i < c.pts.size(); ++i)
                out.push_back({c.pts[i - 1].x, c.pts[i - 1].y, c.pts[i].x, c.pts[i].y});
        return out;
    };
    RecordingSurface one, runs;
    draw(one, true);
    draw(runs, false);
    EXPECT_EQ(segments(runs), segments(one));
    EXPECT_GT(runs.Count(GdiOp::PolylineTo), 1);
    EXPECT_LT(runs.Calls().size() * 20, one.Calls().size());
    platform::RasterSurface onePixels(560, 200), runPixels(560, 200);
    draw(onePixels, true);
    draw(runPixels, false);
    EXPECT_EQ(runPixels.Pixels(), onePixels.Pixels());
    runPixels.SavePng(std::string(TEST_BINARY_DIR) + "/vector_item_runs.png");
}

TEST_F(VectorItemTest, DrawingInsideAnOpenPathAddsToIt) {
    std::unique_ptr<CPolyTestItem> item(Square(0, 0, 100));
    RecordingSurface s;
    SurfaceDC dc(s);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    dc.IncLevelCount();
    item->OnDraw(nullptr, &dc);
    EXPECT_EQ(s.Count(GdiOp::BeginPath), 0);
    EXPECT_EQ(s.Count(GdiOp::EndPath), 0);
    EXPECT_EQ(dc.GetLevelCount(), 1);
}

TEST_F(VectorItemTest, SpotMarksOnlyAOnePointItemOnAnExactContext) {
    struct Case {
        const char* name;
        std::vector<CLpoint> points;
        int options;
        int lines;
    } cases[] = {
        {"one point, exact", {{50, 60}}, 0x10, 4},
        {"two points", {{50, 60}, {70, 80}}, 0x10, 0},
        {"not exact", {{50, 60}}, 0, 0},
    };
    for (const Case& c : cases) {
        CPolyTestItem item(c.points);
        RecordingSurface s;
        SurfaceDC dc(s);
        dc.SetDrawOptions(c.options);
        item.OnDrawSpot(nullptr, &dc);
        EXPECT_EQ(s.Count(GdiOp::LineTo), c.lines) << c.name;
        if (c.lines) {
            auto lines = s.Calls(GdiOp::LineTo);
            EXPECT_EQ(lines[0].pts.back().x, 53) << c.name;
            EXPECT_EQ(lines[0].pts.back().y, 57) << c.name;
        }
    }
}

TEST_F(VectorItemTest, AutoPanStepsTowardsAPointOutsideTheClientArea) {
    CArray<CPoint, CPoint> moves;
    FnAutoPanMoves(CRect(0, 0, 100, 100), CPoint(50, 50), moves);
    EXPECT_EQ(moves.GetSize(), 0);
    // Margin 10; target x = 1000 - 100 + 10 = 910; steps = (910 / 40 + 0) / 2 = 11.
    FnAutoPanMoves(CRect(0, 0, 100, 100), CPoint(1000, 50), moves);
    ASSERT_EQ(moves.GetSize(), 11);
    EXPECT_EQ(moves[0], CPoint(82, 0));
    EXPECT_EQ(moves[10], CPoint(910, 0));
}

TEST_F(VectorItemTest, AutoPanOnAMinimisedWindowGoesStraightToTheTarget) {
    CArray<CPoint, CPoint> moves;
    FnAutoPanMoves(CRect(0, 0, 5, 300), CPoint(-400, 20), moves);
    ASSERT_EQ(moves.GetSize(), 1);
    EXPECT_EQ(moves[0], CPoint(-400, 0));
}

// A base view whose zoom the test sets.
class CPanTestView : public CJoxView {
public:
    void SetZoom(CSize window, CSize viewport) {
        m_sizeWindow = window;
        m_sizeViewport = viewport;
    }
};

// Where a data point shows in the view's client area now.
CPoint OnScreen(CJoxView* view, const CLpoint& p) {
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc);
    CPoint d(p.x, p.y);
    dc.LPtoDP(d);
    return d;
}

TEST_F(VectorItemTest, AutoPanBringsTheElementIntoTheView) {
    platform::ResetMessageQueue();
    auto page = NewPage();
    page->m_bAutoDelete = FALSE;
    auto* view = new CPanTestView;
    ASSERT_TRUE(
        view->CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    page->AddView(view);
    view->SetZoom(CSize(1000000, 1000000), CSize(100000, -100000));
    view->SetScrollSizes(CSize(1000000, 1000000));
    CRect client;
    view->GetClientRect(&client);

    // A point 2000 pixels right of the client area.
    CLpoint far;
    {
        CJoxClientDC dc(view, eClientDocument);
        view->OnPrepareDC(&dc);
        CPoint d(client.right + 2000, client.top + client.Height() / 2);
        dc.DPtoLP(d);
        far = CLpoint(d.x, d.y);
    }
    CPolyTestItem item({far, CLpoint(far.x + 10, far.y)});
    const CPoint before = view->GetDeviceScrollPosition();
    item.AutoPan(view, 0);
    const CPoint shown = OnScreen(view, far);
    EXPECT_GT(view->GetDeviceScrollPosition().x, before.x);
    EXPECT_TRUE(client.PtInRect(shown)) << shown.x << "," << shown.y;

    // An element already in view moves nothing.
    const CPoint settled = view->GetDeviceScrollPosition();
    item.AutoPan(view, 0);
    EXPECT_EQ(view->GetDeviceScrollPosition(), settled);
    item.AutoPan(nullptr, 0);

    view->DestroyWindow();
    page.reset();
    platform::ResetMessageQueue();
}

// ---- Path measures ----

TEST_F(VectorItemTest, PointAlongAnOpenPathStartsAtPointZero) {
    CPolyTestItem item({{7, 9}, {107, 9}});
    CLpoint p;
    double a = 5;
    EXPECT_EQ(item.PointAlongPath(0.0, p, a), 1);
    EXPECT_EQ(p, CLpoint(7, 9));
    EXPECT_EQ(a, 0.0);
}

TEST_F(VectorItemTest, PointAlongAPathWithoutPointsDoesNotReadPointZero) {
    CVectorItem item;
    CLpoint p(1, 1);
    double a = 0;
    EXPECT_EQ(item.PointAlongPath(0.0, p, a), 0);
    CPkt e;
    e.start = CLpoint(5, 5);
    e.end = CLpoint(15, 5);
    item.Pkt(e);
    EXPECT_EQ(item.PointAlongPath(0.0, p, a), 1);
    EXPECT_EQ(p, CLpoint(5, 5));
}

TEST_F(VectorItemTest, PointAlongPathCases) {
    // A closed square of length 100 and an open line of length 100 along x.
    std::unique_ptr<CPolyTestItem> square(Square(0, 0, 25));
    CPolyTestItem line({{0, 0}, {100, 0}});
    struct Case {
        const char* name;
        CVectorItem* item;
        double dist;
        CLpoint expected;
    } cases[] = {
        {"closed wraps", square.get(), 250.0, {25, 25}},
        {"closed plain", square.get(), 50.0, {25, 25}},
        {"open past the end", &line, 130.0, {130, 0}},
        {"open before the start", &line, -20.0, {-20, 0}},
        {"open inside", &line, 40.0, {40, 0}},
    };
    for (const Case& c : cases) {
        CLpoint p;
        double a;
        EXPECT_EQ(c.item->PointAlongPath(c.dist, p, a), 1) << c.name;
        EXPECT_EQ(p, c.expected) << c.name;
    }
}

TEST_F(VectorItemTest, HugeDistanceOnAClosedPathReturnsAtOnce) {
    std::unique_ptr<CPolyTestItem> square(Square(0, 0, 25));
    CLpoint p, q;
    double a;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(square->PointAlongPath(1.0e300, p, a), 1);
    EXPECT_EQ(square->PointAlongPath(1.0e15 + 50.0, q, a), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(q, CLpoint(25, 25));
    EXPECT_EQ(square->PointAlongPath(std::nan(""), p, a), 0);
}

TEST_F(VectorItemTest, ExtraEntriesReceiveElementRemainderAndLength) {
    std::unique_ptr<CPolyTestItem> square(Square(0, 0, 25));
    int element = -1;
    double left = -1, total = -1;
    CPtrArray extra;
    extra.Add(&element);
    extra.Add(&left);
    extra.Add(&total);
    CLpoint p;
    double a;
    square->PointAlongPath(60.0, p, a, &extra);
    EXPECT_EQ(element, 2);
    EXPECT_DOUBLE_EQ(left, 10.0);
    EXPECT_DOUBLE_EQ(total, 100.0);
}

TEST_F(VectorItemTest, ZeroLengthPathHasNoPointAlongIt) {
    CPolyTestItem item({{5, 5}, {5, 5}, {5, 5}});
    CLpoint p;
    double a;
    EXPECT_EQ(item.PointAlongPath(10.0, p, a), 0);
    int element = 0;
    double start = 0;
    EXPECT_EQ(item.NextPointAlongPath(10.0, p, a, element, start), 0);
    EXPECT_EQ(element, -1);
}

TEST_F(VectorItemTest, ResumedWalkGivesTheSamePointsAsFreshOnes) {
    CPolyTestItem item({{0, 0}, {30, 0}, {30, 40}, {0, 40}, {0, 90}, {50, 90}});
    int element = -1;
    double start = 0.0;
    for (double d : {0.5, 10.0, 29.0, 31.0, 75.0, 75.0, 120.0, 150.0, 200.0, 50.0}) {
        CLpoint p, q;
        double a, b;
        EXPECT_EQ(item.PointAlongPath(d, p, a), 1);
        EXPECT_EQ(item.NextPointAlongPath(d, q, b, element, start), 1);
        EXPECT_EQ(p, q) << d;
        EXPECT_DOUBLE_EQ(a, b) << d;
    }
}

TEST_F(VectorItemTest, AResumedWalkMovesItsCacheOnlyPastTheElementsItLeft) {
    CPolyTestItem item({{0, 0}, {30, 0}, {30, 40}, {0, 40}});
    int element = -1;
    double start = 0.0;
    CLpoint p;
    double a;
    // Found on the first element: the cache stays as it was given, still invalid.
    ASSERT_EQ(item.NextPointAlongPath(10.0, p, a, element, start), 1);
    EXPECT_EQ(element, -1);
    EXPECT_EQ(start, 0.0);
    ASSERT_EQ(item.NextPointAlongPath(50.0, p, a, element, start), 1);
    EXPECT_EQ(element, 1);
    EXPECT_EQ(start, 30.0);
    // A distance behind the cached element walks from the start again.
    ASSERT_EQ(item.NextPointAlongPath(5.0, p, a, element, start), 1);
    EXPECT_EQ(p, CLpoint(5, 0));
    EXPECT_EQ(element, -1);
    EXPECT_EQ(start, 0.0);
}

TEST_F(VectorItemTest, LengthAndArea) {
    std::unique_ptr<CPolyTestItem> square(Square(0, 0, 100000));
    EXPECT_EQ(square->GetArea(), 1.0e10);
    EXPECT_DOUBLE_EQ(square->GetLength(), 400000.0);
    // An open L is measured without a closing chord: only the foot counts.
    CPolyTestItem ell({{0, 100}, {0, 0}, {50, 0}});
    EXPECT_EQ(ell.GetArea(), 0.0);
    CPolyTestItem slope({{0, 0}, {100, 100}});
    EXPECT_EQ(slope.GetArea(), 5000.0);
    CVectorItem empty;
    EXPECT_EQ(empty.GetLength(), 0.0);
}

TEST_F(VectorItemTest, DistancesToAndAlongThePath) {
    CPolyTestItem one({{3, 4}});
    double d = 0;
    EXPECT_EQ(one.fnGetDistance(CLpoint(0, 0), d), 1);
    EXPECT_DOUBLE_EQ(d, 5.0);
    CVectorItem none;
    EXPECT_EQ(none.fnGetDistance(CLpoint(0, 0), d), 0);

    std::unique_ptr<CPolyTestItem> square(Square(0, 0, 100));
    EXPECT_EQ(square->fnGetDistance(CLpoint(50, 130), d), 1);
    EXPECT_DOUBLE_EQ(d, 30.0);
    CLpoint p(100, 40);
    int element = -1;
    EXPECT_DOUBLE_EQ(square->fnDistanceAlongPath(p, element), 140.0);
    EXPECT_EQ(element, 1);
}

TEST_F(VectorItemTest, CrossingsOfASegmentWithThePath) {
    std::unique_ptr<CPolyTestItem> square(Square(0, 0, 100));
    CLpoint a(-50, 50), b(150, 50);
    int count = -1;
    std::unique_ptr<CLpoint[]> pts(square->fnGetIntersects(&a, &b, count, 1));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(pts[0], CLpoint(100, 50));
    EXPECT_EQ(pts[1], CLpoint(0, 50));

    // The path passes through the segment at its vertex (50, 0): one crossing.
    CPolyTestItem vee({{0, -100}, {50, 0}, {100, 100}});
    CLpoint c(-200, 0), e(300, 0);
    pts.reset(vee.fnGetIntersects(&c, &e, count, 1));
    EXPECT_EQ(count, 1);

    CLpoint far1(0, 500), far2(100, 500);
    pts.reset(square->fnGetIntersects(&far1, &far2, count, 1));
    EXPECT_EQ(pts, nullptr);
    EXPECT_EQ(count, 0);
}

TEST_F(VectorItemTest, InsideOfComparesExtentsStrictly) {
    std::unique_ptr<CPolyTestItem> outer(Square(0, 0, 100));
    std::unique_ptr<CPolyTestItem> same(Square(0, 0, 100));
    std::unique_ptr<CPolyTestItem> inner(Square(10, 10, 50));
    std::unique_ptr<CPolyTestItem> touching(Square(0, 10, 50));
    EXPECT_EQ(same->InsideOf(outer.get()), 0);
    EXPECT_EQ(inner->InsideOf(outer.get()), 1);
    EXPECT_EQ(touching->InsideOf(outer.get()), 0);
    EXPECT_EQ(outer->InsideOf(inner.get()), 0);
}

// Symmetric about x = 0 (point 3), points 0 and 6 coincide on the axis.
CPolyTestItem* Symmetric7() {
    return new CPolyTestItem({{0, 0}, {-10, 10}, {-20, 20}, {0, 30}, {20, 20}, {10, 10}, {0, 0}});
}

TEST_F(VectorItemTest, SymmetricRunAroundAPoint) {
    std::unique_ptr<CPolyTestItem> item(Symmetric7());
    int lo, hi;
    EXPECT_TRUE(item->ReflectedVect(2, lo, hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 6);
    EXPECT_TRUE(item->ReflectedVect(3, lo, hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 6);
    CPolyTestItem two({{0, 0}, {1, 1}});
    EXPECT_FALSE(two.ReflectedVect(0, lo, hi));
    EXPECT_EQ(lo, -1);
    EXPECT_FALSE(item->ReflectedVect(-1, lo, hi));
}

TEST_F(VectorItemTest, ReflectednessMarksTheHalfHoldingTheHitPoint) {
    std::unique_ptr<CPolyTestItem> item(Symmetric7());
    item->SelectElement(1);
    item->FindReflectednessWrtHitPoint(1);
    std::vector<UINT> values;
    for (int i = 0; i < 7; ++i)
        values.push_back(item->ReflectedVect(i));
    EXPECT_EQ(values, (std::vector<UINT>{1, 0, 0, 1, 2, 2, 1}));
    EXPECT_EQ(Selection(*item), (std::vector<int>{1, 5}));

    item->FindReflectednessWrtHitPoint(-1);
    EXPECT_EQ(item->Reflectednesses().GetSize(), 0);
}

} // namespace

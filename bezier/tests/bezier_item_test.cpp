#include "bezier/bezier_item.h"

#include "pivora/framework/area_hint.h"
#include "pivora/framework/jox_view.h"
#include "pivora/geometry/mat2d.h"
#include "pivora/item.h"
#include "pivora/jox_page.h"
#include "pivora/tests/app_settings_fixture.h"
#include "spline/spline_item.h"
#include "spline/tests/curve_dc.h"
#include "spline/tests/curve_fixtures.h"
#include "vector/vector_article.h"

#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

using platform::GdiOp;

namespace {

using Item = std::unique_ptr<CBezierItem>;

Item MakeItem(std::initializer_list<CSb> points) {
    return MakeCurveItem<CBezierItem>(points);
}

// anchor, handle, handle, anchor, handle, handle, anchor
Item TwoCurves() {
    return MakeItem(
        {P(0, 0), H(0, 100), H(100, 100), P(100, 0), H(100, -100), H(200, -100), P(200, 0)});
}

std::vector<CLpoint> Positions(CVectorItem& v) {
    std::vector<CLpoint> out;
    for (int i = 0; i < v.VectCount(); ++i)
        out.push_back(v.Vect(i).pt);
    return out;
}

} // namespace

// Flattening and extents -------------------------------------------------------------------------

TEST(BezierItemPath, SegmentsFollowTheHandles) {
    struct Case {
        const char* what;
        std::initializer_list<CSb> points;
        int elements;
        std::vector<int> modes; // of the elements, when given
    };
    const Case cases[] = {
        {"anchor, handle, handle, anchor: one cubic",
         {P(0, 0), H(0, 100), H(100, 100), P(100, 0)},
         4,
         {CPkt::kArc, CPkt::kArc, CPkt::kArc, CPkt::kArc}},
        {"three anchors: two lines", {P(0, 0), P(100, 0), B(100, 100)}, 2, {0, 0}},
        // A curve whose handles run past the end of an open path is a line to its last point.
        {"handles without their end anchor", {P(0, 0), H(10, 10), H(20, 0)}, 1, {0}},
        {"one handle at the end", {P(0, 0), P(50, 0), H(60, 10)}, 2, {0, 0}},
        {"one point", {P(5, 5)}, 0, {}},
        {"no points", {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Item b = MakeItem(c.points);
        b->MakePktArray(1); // the level is always 4
        ASSERT_EQ(b->Pkt()->GetSize(), c.elements);
        for (size_t k = 0; k < c.modes.size(); ++k)
            EXPECT_EQ(b->Pkt(int(k)).Mode(), c.modes[k]) << "element " << k;
        if (c.elements > 0) {
            EXPECT_EQ(b->Pkt(c.elements - 1).End(), b->Vect(b->VectCount() - 1).pt);
        }
    }
}

TEST(BezierItemPath, ExtentsOfTheCurveAndOfAllPoints) {
    Item b = MakeItem({P(0, 0), H(0, 100), H(100, 100), P(100, 0)});
    const CWindow e = b->Extents();
    EXPECT_EQ(e.x1, 0);
    EXPECT_EQ(e.x2, 100);
    EXPECT_EQ(e.y1, 0);
    EXPECT_NEAR(e.y2, 75, 1);
    EXPECT_EQ(b->FullExtents(), CWindow(0, 0, 100, 100));
    CBezierItem empty;
    EXPECT_EQ(empty.Extents(), CWindow::EmptyExtent());
}

TEST(BezierItemPath, ClosednessAndTheKeepOpenProperty) {
    Item b = MakeItem({P(0, 0), H(0, 100), H(100, 100), P(0, 0)});
    EXPECT_EQ(b->IsClosed(0), 1);
    EXPECT_EQ(b->IsClosedCurve(0), 1);
    b->SetProperty(CBezierItem::kKeepOpenBit);
    EXPECT_EQ(b->IsClosed(0), 0);
    b->Vect(P(5, 0), 3);
    EXPECT_EQ(b->IsClosed(0), 0);
    EXPECT_EQ(b->GetProperty(CBezierItem::kKeepOpenBit), 0);
    EXPECT_EQ(b->IsClosed(5), 1);
    b->Vect(B(0, 0), 0);
    EXPECT_EQ(b->IsClosedCurve(5), 0);
    CBezierItem one;
    one.Vect(P(0, 0));
    EXPECT_EQ(one.IsClosed(0), 0);
}

TEST(BezierItemPath, HitTests) {
    CurveDC dc;
    Item b = MakeItem({P(0, 0), H(0, 100), H(100, 100), P(100, 0), P(103, 2)});
    CItemHitTest points(&dc, CurveDC::Device(101, 1), CItemHitTest::kModeNodes, 2);
    ASSERT_EQ(b->HitTestPoint(&points), 1);
    // Every point inside the box counts, edges included.
    ASSERT_EQ(points.GetHitElementCount(), 2);
    EXPECT_EQ(points.GetHitElement(0), 3);
    EXPECT_EQ(points.GetHitElement(1), 4);
    EXPECT_EQ(points.GetEndMode(), 1u);

    CItemHitTest line(&dc, CurveDC::Device(50, 74), CItemHitTest::kModePath, 2);
    EXPECT_EQ(b->HitTestPoint(&line), 1);
    EXPECT_EQ(line.GetEndMode(), 2u);
    line.SetHitPoint(CurveDC::Device(50, 30));
    EXPECT_EQ(b->HitTestPoint(&line), 0);
    // Nodes are not asked for in a path test.
    line.SetHitPoint(CurveDC::Device(0, 100));
    EXPECT_EQ(b->HitTestPoint(&line), 0);
    // A truncated curve is tested as its line.
    Item cut = MakeItem({P(0, 0), H(10, 10), H(20, 0)});
    line.SetHitPoint(CurveDC::Device(15, 0));
    EXPECT_EQ(cut->HitTestPoint(&line), 1);
}

TEST(BezierItemPath, ContainmentOverloadTestsThePolygon) {
    Item big = MakeItem({P(0, 0), P(1000, 0), P(1000, 1000), P(0, 1000), P(0, 0)});
    Item small = MakeItem({P(100, 100), P(200, 100), P(200, 200), P(100, 100)});
    EXPECT_EQ(small->InsideOf(big.get()), 1);
    EXPECT_EQ(big->InsideOf(small.get()), 0);
    // Inside the extents of an L, outside its polygon.
    Item ell = MakeItem(
        {P(0, 0), P(1000, 0), P(1000, 300), P(300, 300), P(300, 1000), P(0, 1000), P(0, 0)});
    Item corner = MakeItem({P(600, 600), P(700, 600), P(700, 700), P(600, 600)});
    EXPECT_EQ(corner->InsideOf(ell.get()), 0);
    // The virtual form looks at the extents only.
    EXPECT_EQ(corner->InsideOf(static_cast<CVectorItem*>(ell.get())), 1);
}

// Editing ----------------------------------------------------------------------------------------

TEST(BezierItemEditing, ElementText) {
    Item b = MakeItem({P(7, 8), B(-1, 2), P(3, 4), H(100, -20)});
    struct Case {
        int i;
        const wchar_t* text;
    };
    for (const Case& c : {Case{3, L"3) Control X:100 Y:-20"}, Case{1, L"1) Break X:-1 Y:2"},
                          Case{0, L"0) Curve X:7 Y:8"}}) {
        CString s;
        EXPECT_EQ(b->ElementStr(c.i, s), 1);
        EXPECT_EQ(std::wstring(s.GetString()), std::wstring(c.text));
    }
    EXPECT_EQ(b->GetDefaultToolId(), 41006);
}

TEST(BezierItemEditing, ToggleMakesASmoothAnchorWithBalancedHandles) {
    Item b =
        MakeItem({P(0, 0), H(50, 100), H(150, 50), B(200, 100), H(250, 300), H(300, 0), P(400, 0)});
    b->SelectElement(3);
    b->CurveToggle(false);
    EXPECT_EQ(b->Vect(3).flags, 0u);
    const CLpoint a = b->Vect(3).pt, h1 = b->Vect(2).pt, h2 = b->Vect(4).pt;
    EXPECT_EQ(b->Vect(2).flags, CBezierItem::kHandle);
    EXPECT_EQ(b->Vect(4).flags, CBezierItem::kHandle);
    const double l1 = std::hypot(h1.x - a.x, h1.y - a.y), l2 = std::hypot(h2.x - a.x, h2.y - a.y);
    EXPECT_NEAR(l1, l2, 1.5);
    // r = (|A - P| + |A - N|) / 2 with the old handles.
    EXPECT_NEAR(l1, (std::hypot(50, 50) + std::hypot(50, 200)) / 2, 1.5);
    // On one line through the anchor, parallel to the old handles' line.
    const double cross = double(h1.x - a.x) * (h2.y - a.y) - double(h1.y - a.y) * (h2.x - a.x);
    EXPECT_LT(std::fabs(cross) / (l1 * l2), 0.02);
    EXPECT_LT(h1.x, a.x);
    // Toggling again makes a break and leaves the handles.
    b->CurveToggle(false);
    EXPECT_EQ(b->Vect(3).flags, CBezierItem::kBreak);
    EXPECT_EQ(b->Vect(2).pt, h1);

    // An anchor next to a straight segment, and the first point of an open path, stay.
    Item lines = MakeItem({P(0, 0), B(100, 0), H(150, 50), H(200, 50), P(250, 0)});
    lines->SelectElement(0);
    lines->SelectElement(1);
    lines->CurveToggle(false);
    EXPECT_EQ(lines->Vect(0).flags, 0u);
    EXPECT_EQ(lines->Vect(1).flags, CBezierItem::kBreak);
}

TEST(BezierItemEditing, DeletingACurveAnchorTakesItsHandles) {
    Item b = TwoCurves();
    b->SelectElement(3);
    b->PointDelete();
    EXPECT_EQ(Positions(*b), (std::vector<CLpoint>{CLpoint(0, 0), CLpoint(0, 100),
                                                   CLpoint(200, -100), CLpoint(200, 0)}));
    EXPECT_EQ(b->SelectedElements().GetSize(), 0);
    // The first anchor starts a curve: it once read point -1. Its handles go too, so the path
    // starts on an anchor again.
    Item first = TwoCurves();
    first->SelectElement(0);
    first->PointDelete();
    EXPECT_EQ(Positions(*first), (std::vector<CLpoint>{CLpoint(100, 0), CLpoint(100, -100),
                                                       CLpoint(200, -100), CLpoint(200, 0)}));
    // The last anchor: the handles before it are left at the end and go.
    Item last = TwoCurves();
    last->SelectElement(6);
    last->PointDelete();
    EXPECT_EQ(last->VectCount(), 4);
    EXPECT_EQ(last->Vect(3).pt, CLpoint(100, 0));
    // Selected handles are not deleted.
    Item handle = TwoCurves();
    handle->SelectElement(1);
    handle->PointDelete();
    EXPECT_EQ(handle->VectCount(), 7);
}

TEST(BezierItemEditing, SelectingPointsAndHandles) {
    Item b = MakeItem({P(0, 0), H(0, 100), H(100, 100), P(100, 0), P(0, 0)});
    b->Select(nullptr, 0);
    EXPECT_TRUE(b->Selected(4)); // the closing twin
    b->Select(nullptr, 1);
    EXPECT_FALSE(b->Selected(1)); // no handle while points are selected
    b->DeselectAllElements();
    b->Select(nullptr, 1);
    b->Select(nullptr, 3);
    EXPECT_TRUE(b->Selected(1));
    CurveDC dc;
    b->DeselectAllControl(&dc);
    EXPECT_FALSE(b->Selected(1));
    EXPECT_TRUE(b->Selected(3));
}

TEST(BezierItemEditing, MovingTheStart) {
    Item b = MakeItem({P(0, 0), H(0, 100), H(100, 100), P(100, 0), P(50, -50), P(0, 0)});
    // Nothing selected: the query answers 0 (it once raised).
    EXPECT_EQ(b->fnCanMoveItemStart(), 0);
    b->SelectElement(1);
    EXPECT_EQ(b->fnCanMoveItemStart(), 0); // a handle
    b->DeselectAllElements();
    b->SelectElement(3);
    ASSERT_EQ(b->fnCanMoveItemStart(), 1);
    b->fnDoMoveItemStart();
    EXPECT_EQ(Positions(*b),
              (std::vector<CLpoint>{CLpoint(100, 0), CLpoint(50, -50), CLpoint(0, 0),
                                    CLpoint(0, 100), CLpoint(100, 100), CLpoint(100, 0)}));
    EXPECT_TRUE(b->Selected(0));
    EXPECT_TRUE(b->Selected(5));
    Item open = TwoCurves();
    open->SelectElement(3);
    EXPECT_EQ(open->fnCanMoveItemStart(), 0);
    Item three = MakeItem({P(0, 0), P(10, 0), P(0, 0)});
    three->SelectElement(1);
    EXPECT_EQ(three->fnCanMoveItemStart(), 0);
}

TEST(BezierItemEditing, TransformsMirrorAndReverse) {
    Item b = MakeItem({P(10, 20), H(5, 1), B(-30, 40)});
    CLine axis(CLpoint(0, 0), CLpoint(100, 0));
    EXPECT_EQ(b->DoMirror(axis), 1);
    EXPECT_EQ(b->Vect(0), P(10, -20));
    EXPECT_EQ(b->Vect(1), H(5, 1)); // within 1.7 of the line
    EXPECT_EQ(b->Vect(2), B(-30, -40));
    b->fnReverse();
    EXPECT_EQ(b->Vect(0), B(-30, -40));
    EXPECT_EQ(b->Vect(2), P(10, -20));
    CMat2d shift;
    shift.m6 = 5;
    b->DoTransform(shift);
    EXPECT_EQ(b->Vect(0), B(-25, -40));
    CSb block[2] = {P(1, 1), H(2, 2)};
    EXPECT_EQ(b->InsertElement(1, block, 2), 1);
    EXPECT_EQ(b->InsertElement(-1, block, 1), 1);
    EXPECT_EQ(b->VectCount(), 6);
    EXPECT_EQ(b->Vect(2), H(2, 2));
    EXPECT_EQ(b->Vect(5), P(1, 1));
    unsigned char* data = nullptr;
    int size = 0;
    EXPECT_EQ(b->ElementData(2, &data, size), 1);
    EXPECT_EQ(size, 12);
    EXPECT_EQ(b->DeleteElement(0, 2), 1);
    EXPECT_EQ(b->VectCount(), 4);
    EXPECT_THROW(b->Vect(4), CInvalidArgException);
}

TEST(BezierItemEditing, CopiesKeepPointsWindowAndDrawLine) {
    Item b = TwoCurves();
    b->DrawLine(7);
    (void)b->Extents();
    for (int perPoint : {0, 1}) {
        std::unique_ptr<CBezierItem> c(b->Copy(perPoint));
        EXPECT_EQ(Positions(*c), Positions(*b));
        EXPECT_EQ(c->DrawLine(), 7);
    }
    std::unique_ptr<CBezierItem> c(static_cast<CBezierItem*>(b->CopyObject(nullptr)));
    EXPECT_EQ(Positions(*c), Positions(*b));
    EXPECT_EQ(c->FullExtents(), b->FullExtents());
    EXPECT_EQ(IsCBezierItem(c.get()), 1);
    EXPECT_EQ(IsCBezierItem(nullptr), 0);
}

// Conversion -------------------------------------------------------------------------------------

TEST(BezierItemConversion, SplineThroughAnchorsAndSamples) {
    Item b = MakeItem({P(0, 0), H(0, 100), H(100, 100), P(100, 0)});
    std::unique_ptr<CSplineItem> s(CreateSplineItem(b.get()));
    ASSERT_TRUE(s);
    ASSERT_EQ(s->VectCount(), 8);
    EXPECT_EQ(s->Vect(0), P(0, 0));
    EXPECT_EQ(s->Vect(7), P(100, 0));
    POINT samples[8];
    CBezier c;
    c.start = CLpoint(0, 0), c.control1 = CLpoint(0, 100), c.control2 = CLpoint(100, 100);
    c.end = CLpoint(100, 0);
    c.GetPoints(samples, 8);
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(s->Vect(k), P(samples[k].x, samples[k].y));
    EXPECT_EQ(s->Bezier()->GetSize(), 7);

    Item mixed = MakeItem({B(0, 0), B(50, 0), H(50, 50), H(100, 50), P(100, 0)});
    std::unique_ptr<CSplineItem> m(CreateSplineItem(mixed.get()));
    EXPECT_EQ(m->VectCount(), 9);
    EXPECT_EQ(m->Vect(1), B(50, 0));

    // Nothing to build from gives no item (it once appended point -1).
    CBezierItem empty;
    EXPECT_EQ(CreateSplineItem(&empty), nullptr);
    EXPECT_EQ(CreateSplineItem(nullptr), nullptr);
    Item one = MakeItem({P(3, 4)});
    std::unique_ptr<CSplineItem> single(CreateSplineItem(one.get()));
    EXPECT_EQ(single->VectCount(), 1);
}

// Storage ----------------------------------------------------------------------------------------

TEST(BezierItemStorage, PointsAreStoredAsCountAndTwelveBytePoints) {
    const std::vector<CSb> points = {P(0, 0), H(0, -100), H(100000, 100), B(2000000, 0),
                                     CSb(0x700, CLpoint(1, 1))};
    Item b = MakeItem({points[0], points[1], points[2], points[3], points[4]});
    const std::vector<BYTE> bytes = StoreObject(b.get());
    const std::vector<BYTE> group = PointGroupBytes(points);
    ASSERT_GE(bytes.size(), group.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - group.size(), bytes.end()), group);
    auto loaded = LoadObject<CBezierItem>(bytes);
    ASSERT_TRUE(loaded);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(loaded->Vect(i), points[i]);
    EXPECT_EQ(loaded->Pkt()->GetSize(), 0); // flattened when asked for
    EXPECT_EQ(loaded->Extents(), b->Extents());
    EXPECT_EQ(StoreObject(loaded.get()), bytes);
}

TEST(BezierItemStorage, DamagedInputRaisesOrLoadsSound) {
    Item b = TwoCurves();
    const std::vector<BYTE> bytes = StoreObject(b.get());
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_THROW(LoadObject<CBezierItem>(std::vector<BYTE>(bytes.begin(), bytes.begin() + n)),
                     CArchiveException)
            << "length " << n;
    // Handles without anchors and coordinates at the limits measure and draw without raising.
    for (auto points :
         {std::vector<CSb>{H(1, 1), H(2, 2)}, std::vector<CSb>{H(0, 0), P(10, 10), H(20, 0)},
          std::vector<CSb>{P(INT32_MIN, INT32_MIN), H(INT32_MAX, INT32_MIN),
                           H(INT32_MIN, INT32_MAX), P(INT32_MAX, INT32_MAX)}}) {
        auto item = std::make_unique<CBezierItem>();
        for (CSb p : points)
            item->Vect(p);
        auto back = LoadObject<CBezierItem>(StoreObject(item.get()));
        (void)back->Extents();
        CurveDC dc(false);
        back->OnDraw(nullptr, &dc);
        back->SelectAll();
        back->DrawSelectedPoints(&dc);
        if (back->Vect(0).pt.x > -1000) { // the recording of lines across the range is slow
            back->DrawSelectedControls(&dc, 0, back->VectCount());
            back->DrawControls(&dc, 0, back->VectCount());
        }
        CItemHitTest ht(&dc, CPoint(0, 0), CItemHitTest::kModeNodes | CItemHitTest::kModePath, 3);
        (void)back->HitTestPoint(&ht);
        std::unique_ptr<CSplineItem> s(CreateSplineItem(back.get()));
        ASSERT_TRUE(s);
    }
}

// Drawing ----------------------------------------------------------------------------------------

class BezierItemDrawing : public AppSettingsTest {
protected:
    void SetUp() override {
        AppSettingsTest::SetUp();
        FnGetScreenVectorThickness(reinterpret_cast<void*>(-1));
    }
};

TEST_F(BezierItemDrawing, PathOfCurvesAndLinesWithTheScreenDashStyle) {
    CVectorArticle article;
    article.Item(TwoCurves().release());
    auto* b = static_cast<CBezierItem*>(article.GetItem());
    b->Vect(P(300, 0));
    article.fnSetValue(CSplineItem::kDashStyle, 1, 0);
    CurveDC dc(false);
    dc.SetDrawMode(CJoxDC::DRAW_PATHS);
    b->OnDraw(nullptr, &dc);
    EXPECT_EQ(dc.GetLevelCount(), 0);
    auto strokes = dc.surface.Calls(GdiOp::StrokeAndFillPath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].penStyle & 0xF, PS_DASH);
    // Printing ignores the screen style.
    dc.m_bPrinting = TRUE;
    dc.surface.Clear();
    b->OnDraw(nullptr, &dc);
    EXPECT_EQ(dc.surface.Calls(GdiOp::StrokeAndFillPath)[0].penStyle & 0xF, PS_SOLID);
}

TEST_F(BezierItemDrawing, BeziersHandleLinesAndMarks) {
    Item b = MakeItem(
        {P(10, 50), H(10, 90), H(50, 90), B(50, 50), H(60, 30), H(90, 30), P(90, 50), P(10, 50)});
    CurveDC rec(false);
    b->DrawBeziers(&rec, 1, b->VectCount());
    EXPECT_EQ(rec.surface.Count(GdiOp::PolyBezierTo), 2);
    EXPECT_EQ(rec.surface.Count(GdiOp::LineTo), 1);
    rec.surface.Clear();
    b->DrawControls(&rec, 0, b->VectCount());
    auto lines = rec.surface.Calls(GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].pts.back().x, 10); // first handle to the anchor before it
    EXPECT_EQ(lines[1].pts.back().x, 50); // second handle to the anchor after it
    EXPECT_EQ(lines[0].rop, R2_XORPEN);
    // Every point of a closed path selected: the shared start is marked once.
    rec.surface.Clear();
    b->SelectAll();
    b->DrawSelectedPoints(&rec);
    int rows = 0; // five for a diamond, three for a break's block
    for (int i = 0; i < 7; ++i)
        rows += b->Vect(i).flags == CBezierItem::kBreak ? 3 : 5;
    EXPECT_EQ(rec.surface.Count(GdiOp::LineTo), rows);

    platform::RasterSurface raster(100, 100, 0xFFFFFF);
    struct RasterDC : CJoxDC {
        explicit RasterDC(platform::RasterSurface& s) {
            Attach(platform::CreateSurfaceDC(&s));
            SetMapMode(1);
            SetWindowExt(1, 1);
            SetViewportExt(1, -1);
            SetViewportOrg(0, 100);
        }
    } dc(raster);
    CPen pen(PS_SOLID, 0, COLORREF(0));
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(10, 50);
    b->DrawBeziers(&dc, 1, b->VectCount());
    CPen grey(PS_SOLID, 0, CJoxDC::XorPenColour());
    dc.SelectObject(&grey);
    b->DrawControls(&dc, 0, b->VectCount());
    b->DrawPoint(&dc, 6, 3, 0);
    b->DrawPoint(&dc, 3, 3, CBezierItem::kBreak);
    dc.SelectObject(old);
    b->DrawSelectedPoints(&dc);
    raster.Flush();
    ASSERT_TRUE(raster.SavePng(std::string(TEST_BINARY_DIR) + "/bezier_item.png"));
    EXPECT_EQ(dc.GetMapMode(), 1);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    // The break anchor at (50, 50) is a filled block of three rows.
    EXPECT_NE(raster.Pixel(49, 49), COLORREF(0xFFFFFF));
    EXPECT_NE(raster.Pixel(51, 51), COLORREF(0xFFFFFF));
}

// A whole design
// -----------------------------------------------------------------------------------

class CurvedDesign : public AppSettingsTest {};

TEST_F(CurvedDesign, SavedOpenedAndSavedAgainIsByteIdentical) {
    auto page = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    auto* spline = new CVectorArticle;
    auto* s = new CSplineItem;
    for (CSb p : {P(0, 0), P(10000, 5000), B(20000, 0), P(30000, 5000), P(0, 0)})
        s->Vect(p);
    s->MakeCurves();
    spline->Item(s);
    page->RootArticle()->AddChild(spline);
    auto* bezier = new CVectorArticle;
    auto* b = TwoCurves().release();
    b->DrawLine(3);
    bezier->Item(b);
    page->RootArticle()->AddChild(bezier);
    spline->InvExtents(1);
    bezier->InvExtents(1);
    page->RecalcExtents(0);

    const std::string first = m_box.Path("Curves.KDX"), second = m_box.Path("Again.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString::FromUtf8(first)));
    auto opened = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    ASSERT_TRUE(opened->OnOpenDocument(CString::FromUtf8(first)));
    auto* a = static_cast<CVectorArticle*>(opened->RootArticle()->GetFirstChild());
    ASSERT_TRUE(a);
    auto* back = DynamicDowncast<CSplineItem>(a->GetItem());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Bezier()->GetSize(), 4); // rebuilt while loading
    EXPECT_EQ(back->Extents(), s->Extents());
    ASSERT_TRUE(opened->OnSaveDocument(CString::FromUtf8(second)));
    std::ifstream f1(first, std::ios::binary), f2(second, std::ios::binary);
    std::vector<char> b1((std::istreambuf_iterator<char>(f1)), {});
    std::vector<char> b2((std::istreambuf_iterator<char>(f2)), {});
    EXPECT_FALSE(b1.empty());
    EXPECT_EQ(b1, b2);
}

// Repainting --------------------------------------------------------------------------------------

namespace {

// Keeps what the document tells it.
class CHintView : public CJoxView {
public:
    void OnUpdate(CView*, LPARAM hint, CObject* hintObject) override {
        hints.push_back(hint);
        const auto* area = DynamicDowncast<CAreaHint>(hintObject);
        areas.push_back(area ? area->Area() : CWindow(-1, -1, -1, -1));
    }
    void OnDraw(CJoxDC*) override {}
    std::vector<LPARAM> hints;
    std::vector<CWindow> areas;
};

} // namespace

TEST_F(CurvedDesign, RepaintRequestsNameTheOldAndNewAreas) {
    auto page = std::unique_ptr<CJoxPage>(static_cast<CJoxPage*>(CJoxPage::CreateObject()));
    page->m_bAutoDelete = FALSE;
    CHintView view;
    page->AddView(&view);
    Item b = MakeItem({P(0, 0), H(0, 100), H(100, 100), P(100, 0)});
    EXPECT_EQ(b->FullExtents(), CWindow(0, 0, 100, 100));
    b->Vect(H(0, 500), 1);
    b->UpdateViews(&view, 7);
    ASSERT_EQ(view.areas.size(), 2u);
    EXPECT_EQ(view.hints, (std::vector<LPARAM>{7, 7}));
    EXPECT_EQ(view.areas[0], CWindow(0, 0, 100, 100));
    EXPECT_EQ(view.areas[1], CWindow(0, 0, 100, 500));
    // Without points nothing is asked; without a document only the extents refresh.
    CBezierItem empty;
    empty.UpdateViews(&view, 1);
    EXPECT_EQ(view.areas.size(), 2u);
    b->UpdateViews(nullptr, 1);
    EXPECT_EQ(view.areas.size(), 2u);
    page->RemoveView(&view);
}

#include "pivora/grid.h"

#include "design_fixture.h"
#include "pivora/framework/jox_client_dc.h"
#include "view_fixture.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

#include "archive_round_trip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::vector<int> Guides(const CGrid& g, int kind) {
    std::vector<int> out;
    int pos;
    for (int i = 0; g.GetGridLinePos(pos, kind, i); ++i)
        out.push_back(pos);
    return out;
}

// A new grid: only guides shown, 1 cm spacing, 30-degree polar step.
const std::vector<BYTE> kDefaultGrid = {
    0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,             //
    0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,                         //
    0x10, 0x27, 0,    0,    0x10, 0x27, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                   //
    0x02, 0x00, 0x18, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,                         //
    0x00, 0x00, 0xF0, 0x41, 0x10, 0x27, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                   //
    0x03, 0x00, 0x14, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, //
    0,    0,    0,    0,                                                                //
    0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};

TEST(Grid, NewGridDefaultsAndBytes) {
    CGrid g;
    EXPECT_EQ(g.showRect, 0);
    EXPECT_EQ(g.showPolar, 0);
    EXPECT_EQ(g.showGuides, 1);
    EXPECT_EQ(g.rectSnap, 0);
    EXPECT_EQ(g.polarSnap, 0);
    EXPECT_EQ(g.guideSnap, 0);
    EXPECT_EQ(StoreBody(g), kDefaultGrid);
}

TEST(Grid, StoredFormWithGuides) {
    CGrid g;
    g.showRect = 1;
    g.rectSpacingX = 5000;
    g.polarAngleStep = 15.0f;
    g.showOriginLines = 1;
    g.AddGridLinePos(100, CGrid::kVertical);
    g.AddGridLinePos(-2, CGrid::kVertical);
    g.AddGridLinePos(7, CGrid::kHorizontal);
    auto bytes = StoreBody(g);
    // Field 3: four flags, then two lists: count 2 {100, -2}, count 1 {7}.
    const std::vector<BYTE> guides = {0x03, 0x00, 0x20, 0x00, 0x00, 0x00, 0,    0,    0, 0, 0, 0,
                                      0,    0,    1,    0,    0,    0,    0,    0,    0, 0, 2, 0,
                                      100,  0,    0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 7, 0,
                                      0,    0,    0xFE, 0xFE, 0,    0,    0,    0};
    ASSERT_GT(bytes.size(), guides.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - guides.size(), bytes.end()), guides);

    CGrid back;
    LoadBody(back, bytes);
    EXPECT_EQ(back.showRect, 1);
    EXPECT_EQ(back.rectSpacingX, 5000);
    EXPECT_EQ(back.polarAngleStep, 15.0f);
    EXPECT_EQ(back.showOriginLines, 1);
    EXPECT_EQ(Guides(back, CGrid::kVertical), (std::vector<int>{100, -2}));
    EXPECT_EQ(Guides(back, CGrid::kHorizontal), (std::vector<int>{7}));
    EXPECT_EQ(StoreBody(back), bytes);
}

TEST(Grid, GuideListOperations) {
    CGrid g;
    int pos = 42;
    EXPECT_EQ(g.GetGridLinePos(pos, CGrid::kVertical, -1), 0); // empty list
    EXPECT_EQ(pos, 42);
    for (int x : {10, 20, 30})
        g.AddGridLinePos(x, CGrid::kVertical);
    g.AddGridLinePos(5, 7); // unknown kind: ignored
    EXPECT_EQ(g.GetGridLinePos(pos, CGrid::kVertical, -1), 1);
    EXPECT_EQ(pos, 30);
    EXPECT_EQ(g.GetGridLinePos(pos, CGrid::kVertical, 3), 0);
    EXPECT_EQ(g.GetGridLinePos(pos, 2, 0), 0);
    EXPECT_EQ(g.SetGridLinePos(25, CGrid::kVertical, 1), 1);
    EXPECT_EQ(g.SetGridLinePos(25, CGrid::kVertical, -1), 0);
    EXPECT_EQ(g.SetGridLinePos(25, CGrid::kHorizontal, 0), 0);
    EXPECT_EQ(Guides(g, CGrid::kVertical), (std::vector<int>{10, 25, 30}));
    g.DeleteGridLine(CGrid::kVertical, -1);
    g.DeleteGridLine(CGrid::kVertical, 5);
    g.DeleteGridLine(CGrid::kHorizontal, 0);
    EXPECT_EQ(Guides(g, CGrid::kVertical), (std::vector<int>{10, 25}));
    g.AddGridLinePos(-4, CGrid::kHorizontal);
    g.SetOrigin(CLpoint(10, -6));
    EXPECT_EQ(Guides(g, CGrid::kVertical), (std::vector<int>{0, 15}));
    EXPECT_EQ(Guides(g, CGrid::kHorizontal), (std::vector<int>{2}));
    EXPECT_EQ(g.rectOriginX, 0);
    g.RemoveGridLines();
    EXPECT_EQ(g.GridLineCount(CGrid::kVertical) + g.GridLineCount(CGrid::kHorizontal), 0);

    CWindow w(1, 2, 3, 4);
    EXPECT_EQ(g.SnapGrid(w), 0);
    EXPECT_EQ(w, CWindow(1, 2, 3, 4));
}

TEST(Grid, UnsoundValuesFromAFileLoadAsDefaults) {
    CGrid g;
    g.rectSpacingX = 0;
    g.rectSpacingY = -5;
    g.polarRadiusStep = -1;
    g.polarAngleStep = std::nanf("");
    auto nan = StoreBody(g);
    CGrid back;
    LoadBody(back, nan);
    EXPECT_EQ(back.rectSpacingX, 10000);
    EXPECT_EQ(back.rectSpacingY, 10000);
    EXPECT_EQ(back.polarRadiusStep, 10000);
    EXPECT_EQ(back.polarAngleStep, 30.0f);
    for (float step : {0.0f, -30.0f, INFINITY}) {
        CGrid s;
        s.polarAngleStep = step;
        CGrid b;
        LoadBody(b, StoreBody(s));
        EXPECT_EQ(b.polarAngleStep, 30.0f) << step;
    }
}

TEST(Grid, MissizedAndUnknownFieldsKeepDefaults) {
    const std::vector<BYTE> bytes = {
        0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0,    0, 0, // rectangle group of one value
        0x09, 0x00, 0x02, 0x00, 0x00, 0x00, 0xAA, 0xBB,       // unknown id
        0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, 1,    0,    0, 0, 1, 0, 0, 0, 0, 0, 0, 0, //
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};
    CGrid g;
    LoadBody(g, bytes);
    EXPECT_EQ(g.rectStyle, 0);
    EXPECT_EQ(g.rectSpacingX, 10000);
    EXPECT_EQ(g.showRect, 1);
    EXPECT_EQ(g.showPolar, 1);
    EXPECT_EQ(g.showGuides, 0);
}

TEST(Grid, DamagedGuideListsAreRefused) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"count beyond the stream",
         {0x03, 0x00, 0x14, 0x00, 0x00, 0x00, 0,    0, 0, 0,    0,    0, 0, 0, 0,
          0,    0,    0,    0,    0,    0xFF, 0x7F, 0, 0, 0xFE, 0xFE, 0, 0, 0, 0}},
        {"lists running past the field",
         {0x03, 0x00, 0x12, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0,    0,    0, 0, 0, 0,
          0,    0,    0,    1,    0,    5,    0, 0, 0, 0, 0, 0xFE, 0xFE, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        CGrid g;
        EXPECT_THROW(LoadBody(g, c.bytes), CArchiveException) << c.name;
    }
}

using GridSettingsTest = DesignTest;

TEST_F(GridSettingsTest, SnapTolerancesComeFromTheParameters) {
    CGrid::m_iSnapTolPixel = CGrid::m_iSnapTolData = -1;
    EXPECT_EQ(CGrid::GetSnapTolPix(), 30);
    EXPECT_EQ(CGrid::GetSnapTolData(), 500);
    EXPECT_EQ(CGrid::SetSnapTolData(250), 500);
    EXPECT_EQ(CGrid::GetSnapTolData(), 250);
    CGrid::m_iSnapTolData = -1;
    EXPECT_EQ(CGrid::GetSnapTolData(), 250); // read back from the parameters
    EXPECT_EQ(CGrid::SetSnapTolPix(12), 30);
    EXPECT_EQ(CGrid::GetSnapTolPix(), 12);
}

} // namespace

// Drawing, hit tests and snapping through a view ------------------------------------------------

namespace {

class GridViewTest : public ViewTest {
protected:
    CGrid& Grid() { return *page->Grid(); }
    // A context of the view's document area, prepared by the view.
    std::unique_ptr<CJoxClientDC> Context() {
        auto dc = std::make_unique<CJoxClientDC>(view, eClientDocument);
        view->OnPrepareDC(dc.get(), nullptr);
        return dc;
    }
};

TEST_F(GridViewTest, DisplayedSpacingStepsByOneTwoAndFiveTimesAPowerOfTen) {
    struct Case {
        int unitsPerTenPixels, expected;
    } cases[] = {{60000, 100000}, {15000, 20000}, {8000, 10000}};
    for (const Case& c : cases) {
        Place(CSize(c.unitsPerTenPixels, c.unitsPerTenPixels), CSize(10, -10), 0, 300);
        int spacing = 10000;
        Grid().AdjustInterval(spacing, Context().get());
        EXPECT_EQ(spacing, c.expected) << c.unitsPerTenPixels;
    }
}

TEST_F(GridViewTest, RectangularSnapByDataToleranceBothAxesOrEach) {
    Place(CSize(1, 1), CSize(1, -1), 0, 150); // one unit a pixel: the pixel test fails
    CGrid::SetSnapTolData(500);
    CGrid::SetSnapTolPix(30);
    Grid().showRect = 1;
    struct Case {
        LONG snap;
        CLpoint in, out;
    } cases[] = {
        {1, CLpoint(10499, -9600), CLpoint(10000, -10000)},
        {1, CLpoint(10501, -9600), CLpoint(10501, -9600)},
        {2, CLpoint(10501, -9600), CLpoint(10501, -10000)},
    };
    for (const Case& c : cases) {
        Grid().rectSnap = c.snap;
        CLpoint p = c.in;
        EXPECT_EQ(Grid().SnapRectGrid(view, p), c.out == c.in ? 0 : 1) << c.snap;
        EXPECT_EQ(p, c.out) << c.snap;
    }
}

TEST_F(GridViewTest, AltInvertsEverySnap) {
    Place(CSize(1, 1), CSize(1, -1), 0, 150);
    CGrid::SetSnapTolData(500);
    Grid().showRect = 1;
    Grid().rectSnap = 0;
    CLpoint p(10100, 9900);
    EXPECT_EQ(Grid().Snap(view, p), 0);
    platform::SetKeyDown(VK_MENU, true);
    EXPECT_EQ(Grid().Snap(view, p), 1);
    EXPECT_EQ(p, CLpoint(10000, 10000));
    Grid().rectSnap = 1;
    p = CLpoint(10100, 9900);
    EXPECT_EQ(Grid().Snap(view, p), 0);
    platform::SetKeyDown(VK_MENU, false);
    EXPECT_EQ(Grid().Snap(view, p), 1);
}

TEST_F(GridViewTest, TheNearerOfTwoGuidesIsHit) {
    Place(CSize(1, 1), CSize(1, -1), 0, 150);
    Grid().AddGridLinePos(100, CGrid::kVertical);
    Grid().AddGridLinePos(120, CGrid::kVertical);
    int kind = 0, index = -1;
    EXPECT_EQ(Grid().HitTest(Context().get(), CPoint(118, 5000), kind, index), 1);
    EXPECT_EQ(kind, CGrid::kVertical);
    EXPECT_EQ(index, 1);
    // In the rulers: only the top band grabs vertical guides.
    view->SetRuler(1, 0);
    Place(CSize(1, 1), CSize(1, -1), 0, 150);
    CPoint device(118, 0);
    view->DocToClient(device);
    kind = 0;
    EXPECT_EQ(Grid().HitTest(view, CPoint(device.x, 10), kind, index), 1);
    kind = 0;
    EXPECT_EQ(Grid().HitTest(view, CPoint(device.x, 100), kind, index), 0);
}

TEST_F(GridViewTest, PolarSnapsToTheSpokesItDraws) {
    Place(CSize(10, 10), CSize(1, -1), 200, 150);
    CGrid::SetSnapTolData(500);
    Grid().showPolar = 1;
    Grid().polarSnap = 1;
    Grid().polarAngleStep = 50.0f; // does not divide 90 degrees
    // Near the spoke drawn 50 degrees clockwise from +y, on the second circle.
    const double a = 50 * 0.017453292;
    CLpoint drawn(LONG(std::trunc(20000 * std::sin(a))), LONG(std::trunc(20000 * std::cos(a))));
    CLpoint p(drawn.x + 120, drawn.y - 150);
    EXPECT_EQ(Grid().SnapPolarGrid(view, p), 1);
    EXPECT_EQ(p, drawn);
}

TEST_F(GridViewTest, LinesReachTheRightEdgeWhateverTheOrigin) {
    Place(CSize(100, 100), CSize(1, -1), 0, 300); // 100 units a pixel
    Grid().showRect = 1;
    Grid().rectOriginX = -95000;
    Grid().rectOriginY = -95000;
    platform::RecordingSurface rec(400, 300);
    platform::SetWindowSurface(view->m_hWnd, &rec);
    {
        auto dc = Context();
        Grid().OnDraw(view, dc.get());
    }
    platform::SetWindowSurface(view->m_hWnd, nullptr);
    CRect client;
    view->GetClientRect(&client);
    LONG rightmost = INT32_MIN;
    for (const auto& call : rec.Calls(platform::GdiOp::LineTo))
        if (call.pts.back().y == client.bottom) // the vertical lines
            rightmost = std::max(rightmost, call.pts.back().x);
    EXPECT_GE(rightmost, client.right - 100); // one spacing is 100 pixels
}

TEST_F(GridViewTest, UnsoundValuesSetAtRunTimeDrawBoundedAndSnapNothing) {
    Place(CSize(1000, 1000), CSize(1, -1), 200, 150);
    Grid().showRect = 1;
    Grid().showPolar = 1;
    Grid().rectSpacingX = 0;
    Grid().polarAngleStep = 1e-6f;
    Grid().polarStyle = 1;
    Grid().polarSnap = 1;
    Grid().rectSnap = 1;
    platform::RecordingSurface rec(400, 300);
    platform::SetWindowSurface(view->m_hWnd, &rec);
    {
        auto dc = Context();
        Grid().OnDraw(view, dc.get());
    }
    platform::SetWindowSurface(view->m_hWnd, nullptr);
    EXPECT_LT(rec.Count(platform::GdiOp::LineTo), 200000);
    Grid().polarRadiusStep = -5;
    CLpoint p(123, 456);
    EXPECT_EQ(Grid().Snap(view, p), 0);
    EXPECT_EQ(p, CLpoint(123, 456));
    CRect r(1, 2, 3, 4);
    EXPECT_EQ(Grid().Snap(view, r), 0);
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
}

} // namespace

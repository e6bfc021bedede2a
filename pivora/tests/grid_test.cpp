#include "pivora/grid.h"

#include "design_fixture.h"

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

#include "maltrec/import/import_hpgl.h"

#include "maltrec/import/import_failure.h"
#include "maltrec/tests/import_fixture.h"

#include <cmath>

namespace {

class HpglImport : public ImportTest {
protected:
    int Import(const std::string& text, UINT kind = 0, CArticleList* list = nullptr) {
        std::string copy = text;
        return CImportHPGL::ImportHPGLText(nullptr, m_page.get(), copy, L"plot.plt", kind, list);
    }
};

TEST_F(HpglImport, GoldenCommandTexts) {
    struct Case {
        const char* text;
        std::vector<Path> paths;
        int errors;
    };
    const Case cases[] = {
        {"IN;SP1;PU0,0;PD400,0,400,400;", {{1, {{0, 0}, {10000, 0}, {10000, 10000}}}}, 0},
        // One coordinate: y taken as 0, counted.
        {"IN;PU0,0;PD100;", {{0, {{0, 0}, {2500, 0}}}}, 2},
        {"PU0,0;PD40,0;PU;PD0,40;", {{0, {{0, 0}, {1000, 0}}}, {0, {{1000, 0}, {0, 1000}}}}, 0},
        // Numbers running on after PD on the next line.
        {"PU0,0;PD40,0,\n40,40;", {{0, {{0, 0}, {1000, 0}, {1000, 1000}}}}, 0},
        // Lower-case mnemonics match nothing.
        {"pd100,100;", {}, 0},
        // Negative values round away from zero.
        {"PU-1,-1;PD1,1;", {{0, {{-25, -25}, {25, 25}}}}, 0},
        // Relative: from the pen, PU moves and PD draws.
        {"PU40,40;PR;PD40,0,0,40;PU-40,0;PD0,-40;",
         {{0, {{1000, 1000}, {2000, 1000}, {2000, 2000}}}, {0, {{1000, 2000}, {1000, 1000}}}},
         0},
        // Coordinates on PR itself act as on PA, relatively.
        {"PU40,40;PD;PR40,0;", {{0, {{1000, 1000}, {2000, 1000}}}}, 0},
        // SC doubles the user range of the default P1-P2: half the size.
        {"IP0,0,1000,1000;SC0,2000,0,2000;PU0,0;PD400,0;", {{0, {{0, 0}, {5000, 0}}}}, 0},
        // A scale over an empty P1-P2 range keeps the resolution.
        {"IP5,5,5,5;SC0,100,0,100;PU0,0;PD40,0;", {{0, {{0, 0}, {1000, 0}}}}, 1},
        // Huge numbers are clamped and counted.
        {"PU0,0;PD99999999999999999999999,0;",
         {{0, {{0, 0}, {int(CImportHPGL::kMaxCoordinate), 0}}}},
         1},
        // A command after PD is no coordinates: polygon mode as conversion tools write it,
        // and a file that ends with IN, draw no stroke to the origin and count no error.
        {"IN;SP1;PA0,0;PM0;PD;PA400,0,400,400;PM2;PU;EP;",
         {{1, {{0, 0}, {10000, 0}, {10000, 10000}}}},
         0},
        {"PU0,0;PD400,0;IN;", {{0, {{0, 0}, {10000, 0}}}}, 0},
        // Terms are decimals, rounded once after scaling (user units of a tenth of a unit).
        {"IP0,0,4000,4000;SC0,10,0,10;PU0,0;PD1.5,0,1.5,0.25;",
         {{0, {{0, 0}, {15000, 0}, {15000, 2500}}}},
         0},
        // Relative steps run on from the unrounded pen: 7.5 data units each.
        {"PU0,0;PR;PD0.3,0,0.3,0,0.3,0,0.3,0;",
         {{0, {{0, 0}, {7, 0}, {15, 0}, {22, 0}, {30, 0}}}},
         0},
        // Commands without separators.
        {"PUPA400,400;PDPA800,400;PUSP2;", {{0, {{10000, 10000}, {20000, 10000}}}}, 0},
        {"PU400,400 PD800,400;", {{0, {{10000, 10000}, {20000, 10000}}}}, 0},
        // A label's letters are no commands ("PR" would turn later moves relative).
        {"PU0,0;LBPRICE\x03;PD40,0;", {{0, {{0, 0}, {1000, 0}}}}, 0},
        // SC without IP scales against the plotter's default P1-P2: here one to one.
        {"SC0,10000,0,7500;PU0,0;PD10000,0;", {{0, {{0, 0}, {250000, 0}}}}, 0},
        {"IN;SC0,5000,0,3600;PU0,0;PD5000,0;", {{0, {{0, 0}, {250000, 0}}}}, 0},
        // Pens past the palette are clamped; LT and the like are ignored.
        {"SP5000;LT1;PU0,0;PD40,0;", {{CImportGroup::kMaxPen, {{0, 0}, {1000, 0}}}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetPage();
        platform::MessageBoxResponder boxes;
        const int result = Import(c.text);
        EXPECT_EQ(result, c.paths.empty() ? 0 : 1);
        EXPECT_EQ(Paths(), c.paths);
        EXPECT_EQ(CImportHPGL::ErrorCount(), c.errors);
        ASSERT_EQ(boxes.Shown().size(), c.errors ? 1u : 0u);
        if (c.errors) {
            EXPECT_EQ(boxes.Shown()[0].stringId, CImportHPGL::IDS_HPGL_ERROR);
        }
        EXPECT_TRUE(EveryPenInStyles());
    }
}

TEST_F(HpglImport, ArcOfNinetyDegreesGivesEighteenPoints) {
    ASSERT_EQ(Import("PU40,0;PD;AA0,0,90;"), 1);
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const auto& pts = paths[0].points;
    ASSERT_EQ(pts.size(), 19u); // the pen, then one point every 5 degrees
    for (size_t i = 1; i < pts.size(); ++i) {
        const double a = double(i) * 5 * M_PI / 180;
        EXPECT_NEAR(pts[i].x, 1000 * std::cos(a), 1.5);
        EXPECT_NEAR(pts[i].y, 1000 * std::sin(a), 1.5);
    }
    EXPECT_EQ(pts.back().x, 0);
    EXPECT_NEAR(pts.back().y, 1000, 1); // within truncation
}

TEST_F(HpglImport, ArcsAreBounded) {
    struct Case {
        const char* text;
        size_t points;
    };
    const Case cases[] = {
        {"PU40,0;PD;AA0,0,90,0;", 19},        // chord 0 taken as 5
        {"PU40,0;PD;AA0,0,90,-10;", 10},      // negative chord by its size
        {"PU40,0;PD;AA0,0,99999999,1;", 361}, // one turn at most
        {"PU40,0;PD;AA0,0,-90;", 19},         // clockwise
        {"PU40,0;PD;AR-40,0,90;", 19},        // relative centre
        {"PU40,0;PD;AA0,0,7;", 2},            // the remainder is not drawn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetPage();
        platform::MessageBoxResponder boxes;
        Import(c.text);
        const auto paths = Paths();
        ASSERT_EQ(paths.size(), 1u);
        EXPECT_EQ(paths[0].points.size(), c.points);
    }
}

TEST_F(HpglImport, RemoveCrlfJoinsCommandsBrokenByLines) {
    // Without the rule the second line is read as PD numbers; with it, it is one command.
    for (int remove : {0, 1}) {
        ResetPage();
        QvSetAppParam(L"Remove HPGL CRLF", remove);
        std::string text = "PU0,0;PD40,0,\r\n40,40;";
        std::vector<std::string_view> commands;
        CImportHPGL::BuildHpglArray(text, commands);
        EXPECT_EQ(commands.size(), remove ? 2u : 3u);
        Import("PU0,0;PD40,0,\r\n40,40;");
        EXPECT_EQ(Paths(), (std::vector<Path>{{0, {{0, 0}, {1000, 0}, {1000, 1000}}}}));
    }
}

TEST_F(HpglImport, CommandTable) {
    EXPECT_EQ(CImportHPGL::SearchHpglCmdDict("XX!PG"), 81);
    EXPECT_EQ(CImportHPGL::SearchHpglCmdDict("ZZ"), CImportHPGL::kNoCommand);
    EXPECT_EQ(CImportHPGL::CommandCode("IR"), 84);
    EXPECT_EQ(CImportHPGL::CommandCode("pd"), CImportHPGL::kNoCommand);
    EXPECT_EQ(CImportHPGL::CommandCode("P"), CImportHPGL::kNoCommand);
    EXPECT_EQ(CImportHPGL::ConvertPoint(1, 40), 25);
    EXPECT_EQ(CImportHPGL::ConvertPoint(-3, 40), -75);
    EXPECT_EQ(CImportHPGL::FindTerm("1 2,3", 0), 3u); // a comma first, a blank only without
    EXPECT_EQ(CImportHPGL::FindTerm("1 2", 0), 1u);
}

TEST_F(HpglImport, NothingDrawnIsAFailure) {
    for (const char* text : {"", "IN;SP1;PU0,0;PU40,40;", "\x01\x02\xff\xfe garbage", ";;;\r\n"}) {
        ResetPage();
        platform::MessageBoxResponder boxes;
        FnTakeImportFailure();
        EXPECT_EQ(Import(text), 0);
        EXPECT_TRUE(Paths().empty());
        // The road shows why.
        EXPECT_EQ(FnTakeImportFailure(),
                  CString(L"The file holds no HP-GL strokes that can be imported."));
    }
}

TEST_F(HpglImport, GroupKinds) {
    {
        CArticleList list;
        ASSERT_EQ(Import("PU0,0;PD40,0;PU;PD0,40;", CImportGroup::kOneGroup, &list), 1);
        ASSERT_EQ(list.GetCount(), 1);
        CArticle* group = list.GetHead();
        EXPECT_TRUE(group->GetProperty(CArticle::kGroupBit));
        EXPECT_EQ(group->GetParent(), m_page->RootArticle());
        EXPECT_EQ(Paths().size(), 2u);
    }
    {
        // One article is not wrapped.
        ResetPage();
        CArticleList list;
        ASSERT_EQ(Import("PU0,0;PD40,0;", CImportGroup::kOneGroup, &list), 1);
        ASSERT_EQ(list.GetCount(), 1);
        EXPECT_FALSE(list.GetHead()->GetProperty(CArticle::kGroupBit));
        EXPECT_EQ(list.GetHead()->GetParent(), m_page->RootArticle());
    }
    {
        ResetPage();
        m_page->SetLastAutoGroup(6);
        ASSERT_EQ(Import("PU0,0;PD40,0;PU;PD0,40;", CImportGroup::kAutoGroup), 1);
        for (auto* a = m_page->RootArticle()->GetFirstChild(); a; a = a->GetRsibling()) {
            CString name;
            EXPECT_TRUE(static_cast<CArticle*>(a)->fnGetString(L"Group", name));
            EXPECT_EQ(name, CString(L"G7"));
        }
        EXPECT_EQ(m_page->GetLastAutoGroup(), 8);
    }
}

TEST_F(HpglImport, ThroughAFileAndSavedTwiceIsByteIdentical) {
    const std::string text = "IN;SP2;PU0,0;PD400,0,400,400,0,400;SP3;PU0,0;PD;AA0,0,180;";
    CMemFile file(reinterpret_cast<const BYTE*>(text.data()), UINT(text.size()));
    ASSERT_EQ(CImportHPGL::ImportHPGLDesign(nullptr, m_page.get(), &file, 0, nullptr), 1);
    EXPECT_EQ(Paths().size(), 2u);
    EXPECT_TRUE(EveryPenInStyles());
    ExpectSavedTwiceIdentical();
}

} // namespace

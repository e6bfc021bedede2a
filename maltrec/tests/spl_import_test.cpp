#include "maltrec/import/spl_import.h"

#include "maltrec/import/cutter_job_reader.h"
#include "maltrec/tests/import_fixture.h"

#include "felgrin/dmpl_cutter.h"

#include <fstream>
#include <sstream>

namespace {

class CutterFileImport : public ImportTest {
protected:
    int Import(const std::string& bytes, UINT kind = 0, CArticleList* list = nullptr) {
        CMemFile file(reinterpret_cast<const BYTE*>(bytes.data()), UINT(bytes.size()));
        return FnImportSPLFile(nullptr, m_page.get(), &file, kind, list);
    }
    platform::MessageBoxResponder m_boxes;
};

TEST_F(CutterFileImport, AnImportIsOneUndoStepThatRestoresThePageExactly) {
    struct Case {
        const char* name;
        std::string bytes;
        UINT kind;
    };
    const Case cases[] = {
        {"spool", ";:HOA,ECN,U,0,0,D,400,0,D,400,400", 0},
        {"GnM", "M33\r\nM65\r\nG01X10Y20\r\nG01X30Y20\r\n", 0},
        {"maker's", "FileStart\nU,0,0\nD,400,0,400,400\n", 0},
        {"HP-GL", "IN;SP1;PU0,0;PD400,0,400,400;SP40;PU0,0;PD0,400;", 0},
        {"HP-GL in one group", "IN;SP1;PU0,0;PD400,0;PU;PD0,400;", CImportGroup::kOneGroup},
        {"HP-GL in an auto group", "IN;SP1;PU0,0;PD400,0;PU;PD0,400;", CImportGroup::kAutoGroup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetPage();
        // The page already holds a design of its own.
        ASSERT_EQ(Import("IN;SP2;PU40,40;PD80,80;"), 1);
        m_page->ClearUndoTransactions();
        m_page->SetLastAutoGroup(3);
        const std::vector<BYTE> before = Stored();

        ASSERT_EQ(Import(c.bytes, c.kind), 1);
        EXPECT_TRUE(EveryPenInStyles());
        const std::vector<BYTE> imported = Stored();

        ASSERT_TRUE(m_page->PerformUndoTransaction());
        EXPECT_EQ(m_page->GetUndoCount(), 0);
        // The auto-group number stays taken, so a name is never given twice.
        if (c.kind == CImportGroup::kAutoGroup)
            m_page->SetLastAutoGroup(3);
        EXPECT_EQ(Stored(), before);
        if (c.kind == CImportGroup::kAutoGroup)
            m_page->SetLastAutoGroup(4);
        ASSERT_TRUE(m_page->PerformRedoTransaction());
        EXPECT_EQ(Stored(), imported);
    }
}

TEST_F(CutterFileImport, SniffInOrder) {
    struct Case {
        std::string head;
        ECutterFileKind kind;
    };
    const Case cases[] = {
        {";:HOA,ECN,U,", ECutterFileKind::eSpool},
        {"@PJL ENTER LANGUAGE", ECutterFileKind::eSpool},
        {"IN;ER;", ECutterFileKind::eSpool}, // HP-GL with "ER" goes to the spool reader
        {"M33\r\nM65", ECutterFileKind::eGnM},
        {"!Ss", ECutterFileKind::eGnM},
        {"xx FileStart", ECutterFileKind::eOquen},
        {"IN;SP1;PU0,0;", ECutterFileKind::eHpgl},
        {"IN;S", ECutterFileKind::eHpgl},                             // a 4-byte file
        {std::string(20, 'x') + "FileStart", ECutterFileKind::eHpgl}, // past the 20 bytes
        {std::string("M3\0\0\0", 5), ECutterFileKind::eHpgl},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        EXPECT_EQ(FnSniffCutterFile(reinterpret_cast<const uint8_t*>(c.head.data()), c.head.size()),
                  c.kind);
    }
}

TEST_F(CutterFileImport, SpoolGoldenTexts) {
    struct Case {
        const char* text;
        std::vector<Path> paths;
    };
    const Case cases[] = {
        {";:HOA,ECN,U,U0,0 D400,0 D400,400 U", {{1, {{0, 0}, {10000, 0}, {10000, 10000}}}}},
        // As the cutter driver writes it.
        {";:HOA,ECN,U,U,40,80,D,120,80,120,160", {{1, {{1000, 2000}, {3000, 2000}, {3000, 4000}}}}},
        // Relative moves add to the current point.
        {";:HOA,ECN,U,U,40,40,R,D,40,0,0,40", {{1, {{1000, 1000}, {2000, 1000}, {2000, 2000}}}}},
        // Two strokes; a lone pen-up point is dropped.
        {";:HOA,ECN,U,U,0,0,D,40,0,U,80,80,U,0,40,D,40,40",
         {{1, {{0, 0}, {1000, 0}}}, {1, {{0, 1000}, {1000, 1000}}}}},
        // A knife pen (64 - 248 / 4 = 2) splits the stroke where it changes.
        {";:HOA,ECN,U,U,0,0,D,40,0,PW248,40,40",
         {{1, {{0, 0}, {1000, 0}}}, {2, {{1000, 0}, {1000, 1000}}}}},
        // A quarter arc clockwise about (0, 0) from (1000, 0).
        {";:HOA,ECN,U,U,40,0,D,CA0,0,90", {{1, {{1000, 0}, {707, -707}, {0, -1000}}}}},
        // Nothing drawn.
        {";:HOA,ECN,U,", {}},
        {";:HOA,ECN,U,U,40,40,U", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetPage();
        EXPECT_EQ(Import(c.text), c.paths.empty() ? 0 : 1);
        EXPECT_EQ(Paths(), c.paths);
        EXPECT_TRUE(EveryPenInStyles());
    }
}

TEST_F(CutterFileImport, ConveyorFeedMovesLaterPointsDown) {
    // A feed of 1000 after EP is 200 units of 1/40 mm with the conveyor on.
    ASSERT_EQ(Import(";:HOA,ECN,EP1,F1000,U,0,400,D,40,400"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{0, 5000}, {1000, 5000}}}}));
}

TEST_F(CutterFileImport, SetCommandResetsThePointUnlessCutOff) {
    ASSERT_EQ(Import(";:HOA,ECN,U,U,40,40,R,SET CUT OFF.,D,40,0"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{1000, 1000}, {2000, 1000}}}}));
    ResetPage();
    ASSERT_EQ(Import(";:HOA,ECN,U,U,40,40,R,SET CUT ON,D,40,0"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{1000, 1000}, {1000, 0}}}}));
}

TEST_F(CutterFileImport, LinesAlwaysMoveOn) {
    std::string_view line;
    const std::string text = "\r\nDDD\nUx";
    size_t pos = 0;
    std::vector<std::string> lines;
    while (CCutterJobReader::NextLine(text, pos, line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"D", "D", "D", "Ux"}));
}

TEST_F(CutterFileImport, MakersFileEntries) {
    struct Case {
        const char* text;
        std::vector<Path> paths;
    };
    const Case cases[] = {
        {"FileStart\r\nU,1.0,2.0\r\nD,3.0,2.0,3.0,4.5\r\n",
         {{1, {{1000, 2000}, {3000, 2000}, {3000, 4500}}}}},
        // Each "P" entry ends its line; a new line takes pen + 1 (the first one continues the
        // stroke the move started).
        {"FileStart\r\nU,0,0\r\nD,P1,10,0P2,10,10\r\n",
         {{1, {{0, 0}, {10000, 0}}}, {3, {{10000, 0}, {10000, 10000}}}}},
        // "LE," and "FR(" lines hold no points.
        {"FileStart\r\nU,0,0\r\nLE,5,5\r\nFR(1,1)\r\nD,1,0\r\n", {{1, {{0, 0}, {1000, 0}}}}},
        {"FileStart\r\nnothing here\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetPage();
        EXPECT_EQ(Import(c.text), c.paths.empty() ? 0 : 1);
        EXPECT_EQ(Paths(), c.paths);
    }
}

TEST_F(CutterFileImport, HpglThroughTheSniffAndPanelHeader) {
    ASSERT_EQ(Import("IN;SP1;PU0,0;PD400,0,400,400;"), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{1, {{0, 0}, {10000, 0}, {10000, 10000}}}}));

    ResetPage();
    const std::string panel = std::string(kPanelHeaderBytes, 'H') + "IN;SP2;PU0,0;PD40,0;";
    CMemFile file(reinterpret_cast<const BYTE*>(panel.data()), UINT(panel.size()));
    ASSERT_EQ(FnImportPNLFile(nullptr, m_page.get(), &file), 1);
    EXPECT_EQ(Paths(), (std::vector<Path>{{2, {{0, 0}, {1000, 0}}}}));

    ResetPage();
    CMemFile shortFile(reinterpret_cast<const BYTE*>(panel.data()), 100);
    EXPECT_EQ(FnImportPNLFile(nullptr, m_page.get(), &shortFile), 0);
}

TEST_F(CutterFileImport, BadInputEndsWithSoundArticles) {
    const std::string inputs[] = {
        "",
        "\x01",
        std::string("\0\0\0\0\0\0", 6),
        "IN;PU0,0;PD", // truncated
        std::string(5000, '\xff'),
        ";:HOA,ECN,U,D,99999999999999999999999,99999999999999999999,U",
        ";:HOA,ECN,U,U,0,0,D,CA0,0,1e308",
        // Pens set on the current article (shifted, knife) stay inside the style table.
        ";:HOA,ECN,U,I1,U,0,0,D,40,0,U",
        ";:HOA,ECN,U,U,0,0,D,40,0,BX u,40,40",
        ";:HOA,ECN,EP1,R,F99999999999999999999,U,0,0,D,40,0",
    };
    for (const std::string& in : inputs) {
        SCOPED_TRACE(in.substr(0, 40));
        ResetPage();
        Import(in);
        EXPECT_TRUE(EveryPenInStyles());
    }
}

TEST_F(CutterFileImport, RoundTripThroughTheCutterDriver) {
    CDMPLCutter c;
    c.SetPortName(L"file");
    c.fnSetOrigin(1);
    ASSERT_EQ(c.StartDocW(), 0);
    c.StartPage();
    ASSERT_EQ(c.StartOutput(0, 1), 0);
    const std::vector<std::vector<POINT>> paths = {
        {{1000, 2000}, {3000, 2000}, {3000, 4000}},
        {{5000, 5000}, {7500, 5025}, {10000, 10000}, {5000, 5000}},
    };
    for (const auto& p : paths) {
        POINT start = p[0];
        ASSERT_EQ(c.PolyMoveTo(&start, 1), 0);
        std::vector<POINT> rest(p.begin() + 1, p.end());
        ASSERT_EQ(c.PolyLineTo(rest.data(), int(rest.size())), 0);
    }
    c.ReturnToZero();
    c.EndOutput();
    c.EndPage();
    c.EndDoc();
    std::ifstream in(m_box.Path("home") + "/output.spl", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    ASSERT_FALSE(bytes.str().empty());
    ASSERT_EQ(Import(bytes.str()), 1);
    const auto back = Paths();
    ASSERT_EQ(back.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(back[i].points.size(), paths[i].size());
        for (size_t k = 0; k < paths[i].size(); ++k) {
            EXPECT_NEAR(back[i].points[k].x, paths[i][k].x, 25);
            EXPECT_NEAR(back[i].points[k].y, paths[i][k].y, 25);
        }
    }
    ExpectSavedTwiceIdentical();
}

} // namespace

#include "maltrec/import/gnm_reader.h"

#include "maltrec/import/spl_import.h"
#include "maltrec/tests/import_fixture.h"

#include <cmath>

namespace {

class GnMImport : public ImportTest {
protected:
    int Import(const std::string& bytes) {
        CMemFile file(reinterpret_cast<const BYTE*>(bytes.data()), UINT(bytes.size()));
        return FnImportGnMFile(nullptr, m_page.get(), &file, 0);
    }
    platform::MessageBoxResponder m_boxes;
};

TEST_F(GnMImport, GoldenRecords) {
    struct Case {
        std::string text;
        std::vector<Path> paths;
    };
    const Case cases[] = {
        {"M33\r\nM65\r\nG01X10Y20\r\nG01X30Y20\r\n", {{1, {{10000, 20000}, {30000, 20000}}}}},
        // A Z after F moves the point, adds none and lowers every later point.
        {"M65\r\nG01X0Y0\r\nG01X5Y0F100Z2\r\nG01X10Y0\r\n", {{1, {{0, 0}, {10000, -2000}}}}},
        // Everything after the abort line is left unread.
        {"M65\nG01X0Y0\nG01X1Y0\nAbort -\nG01X2Y2\n", {{1, {{0, 0}, {1000, 0}}}}},
        // A line of blanks is skipped, not the end of the file.
        {"M65\nG01X0Y0\n   \nG01X1Y0\n", {{1, {{0, 0}, {1000, 0}}}}},
        // Motion before the tool goes down, other G records, F lines: nothing.
        {"G01X1Y1\nM65\nG01F200\nG04X1\nG01X0Y0\nG01X2Y0\n", {{1, {{0, 0}, {2000, 0}}}}},
        // Two tool-downs, two paths.
        {"M65\nG01X0Y0\nG01X1Y0\nM64\nM65\nG01X0Y1\nG01X1Y1\n",
         {{1, {{0, 0}, {1000, 0}}}, {1, {{0, 1000}, {1000, 1000}}}}},
        // A field far longer than 256 characters.
        {"M65\nG01X0Y0\nG01X" + std::string(400, '0') + "1Y0\n", {{1, {{0, 0}, {1000, 0}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetPage();
        EXPECT_EQ(Import(c.text), 1);
        EXPECT_EQ(Paths(), c.paths);
    }
}

TEST_F(GnMImport, ArcThroughItsMiddle) {
    ASSERT_EQ(Import("M65\nG01X10Y0\nG03A90CX0CY0\n"), 1);
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    ASSERT_EQ(paths[0].points.size(), 3u);
    EXPECT_NEAR(paths[0].points[1].x, 7071, 1);
    EXPECT_NEAR(paths[0].points[1].y, 7071, 1);
    EXPECT_NEAR(paths[0].points[2].x, 0, 1);
    EXPECT_NEAR(paths[0].points[2].y, 10000, 1);
}

TEST_F(GnMImport, NothingToCutIsAFailure) {
    for (const std::string& text :
         {std::string(), std::string("M33\r\n"), std::string("M65\r\n"),
          std::string("\x01\x02\x03", 3), std::string("Abort -\nM65\nG01X1Y1\nG01X2Y2\n")}) {
        ResetPage();
        EXPECT_EQ(Import(text), 0);
        EXPECT_TRUE(Paths().empty());
    }
}

TEST_F(GnMImport, ThroughTheCutterJobEntry) {
    const std::string text = "M33\r\nM65\r\nG01X10Y20\r\nG01X30Y20\r\n";
    CMemFile file(reinterpret_cast<const BYTE*>(text.data()), UINT(text.size()));
    ASSERT_EQ(FnImportSPLFile(nullptr, m_page.get(), &file, 0, nullptr), 1);
    EXPECT_EQ(Paths().size(), 1u);
}

} // namespace

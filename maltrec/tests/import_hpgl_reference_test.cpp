// The HP-GL reader against an independent plot renderer: fixtures in the reader's vocabulary
// drawn by the renderer at true size, and the imported paths at the same scale.
#include "maltrec/import/import_hpgl.h"
#include "reference_raster.h"

#include "maltrec/tests/import_fixture.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <unistd.h>

namespace {

constexpr double kDpi = 150.0;
constexpr double kTolerancePixels = 2.0;

// A wave sampled once per plotter step along x, as a contour plotter writes it.
std::string Wave() {
    std::string s = "IN;SP1;PU0,2000;";
    for (int x = 0; x <= 4000; x += 40)
        s += "PD" + std::to_string(x) + "," +
             std::to_string(int(2000 + 1200 * std::sin(x / 600.0))) + ";";
    return s;
}

struct Fixture {
    const char* name;
    std::string text;
};

class HpglReference : public ImportTest {
protected:
    void SetUp() override {
        ImportTest::SetUp();
        if (!ToolInstalled("hp2xx"))
            GTEST_SKIP() << "hp2xx is not installed";
        char dir[] = "/tmp/hpgl_reference_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override {
        if (!m_dir.empty())
            RunQuietly("rm -rf '" + m_dir + "'");
        ImportTest::TearDown();
    }
    std::string m_dir;
};

TEST_F(HpglReference, ImportedOutlinesMatchTheRenderersWithinTwoPixels) {
    const Fixture fixtures[] = {
        {"absolute lines", "IN;SP1;PU0,0;PD4000,0,4000,3000,0,3000,0,0;PU1000,1000;PD2500,1800;"},
        {"arcs", "IN;SP1;PU0,0;PD;PA400,0;PU2000,1000;PD;AA2000,2000,270;PU3000,3000;PD;"
                 "AA3500,3000,-120;PU;"},
        {"relative moves and arcs", "IN;SP2;PU0,0;PR;PD400,0,0,400,-400,0,0,-400;PU800,0;PD;"
                                    "AR400,0,180;PU;PA;PU3000,0;PD3000,2000;"},
        {"a sampled wave", Wave()},
    };
    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(f.name);
        const std::string plot = m_dir + "/fixture.plt", picture = m_dir + "/fixture.pbm";
        std::ofstream(plot, std::ios::binary) << f.text;
        ASSERT_TRUE(RunQuietly("hp2xx -q -t -m pbm -d 150 -f '" + picture + "' '" + plot + "'"));
        InkImage image;
        ASSERT_TRUE(ReadNetpbm(picture, image));

        ResetPage();
        std::string copy = f.text;
        ASSERT_EQ(1, CImportHPGL::ImportHPGLText(nullptr, m_page.get(), copy, L"fixture.plt", 0,
                                                 nullptr));
        const auto paths = ToPixels(ArticlePaths(m_page->RootArticle()), kDpi);
        ASSERT_FALSE(paths.empty());

        const OutlineFit fit = CompareOutlines(image, paths);
        EXPECT_GT(fit.inkPixels, 100);
        EXPECT_LE(fit.inkToPaths, kTolerancePixels);
        EXPECT_LE(fit.pathsToInk, kTolerancePixels);
    }
}

// Plots written by plotting programs: a function plot in user units set by SC alone, its
// commands run together at the end ("PUSP0"); a graph whose labels are polygons
// ("PM0;PD;...;PM2;PU;EP"), with IP and SC and pen widths.
TEST_F(HpglReference, PlotsOfPlottingProgramsMatchTheRenderersWithinTwoPixels) {
    struct Written {
        const char* file;
        // The renderer takes P1-P2 of a large sheet when no IP came: it is told the
        // plotter's default that the reader assumes.
        bool tellDefaultP1P2;
    };
    const Written files[] = {{"gnuplot.plt", true}, {"graph.plt", false}};
    for (const Written& w : files) {
        SCOPED_TRACE(w.file);
        std::ifstream in(std::string(TEST_DATA_DIR) + "/" + w.file, std::ios::binary);
        ASSERT_TRUE(in);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        // Drawn in hairlines, so the renderer's ink is the paths themselves.
        std::string rendered = std::regex_replace(text, std::regex("PW[0-9.]*;"), "");
        if (w.tellDefaultP1P2) {
            const size_t at = rendered.find("IN;");
            ASSERT_NE(at, std::string::npos);
            rendered.insert(at + 3, "IP0,0,10000,7500;");
        }
        const std::string plot = m_dir + "/written.plt", picture = m_dir + "/written.pbm";
        std::ofstream(plot, std::ios::binary) << rendered;
        ASSERT_TRUE(RunQuietly("hp2xx -q -t -m pbm -d 150 -f '" + picture + "' '" + plot + "'"));
        InkImage image;
        ASSERT_TRUE(ReadNetpbm(picture, image));

        ResetPage();
        platform::MessageBoxResponder boxes;
        std::string copy = text;
        ASSERT_EQ(1, CImportHPGL::ImportHPGLText(nullptr, m_page.get(), copy, L"written.plt", 0,
                                                 nullptr));
        // Read exactly: no error to report.
        EXPECT_EQ(CImportHPGL::ErrorCount(), 0);
        EXPECT_TRUE(boxes.Shown().empty());
        const auto paths = ToPixels(ArticlePaths(m_page->RootArticle()), kDpi);
        const OutlineFit fit = CompareOutlines(image, paths);
        EXPECT_GT(fit.inkPixels, 100);
        EXPECT_LE(fit.inkToPaths, kTolerancePixels);
        EXPECT_LE(fit.pathsToInk, kTolerancePixels);
    }
}

} // namespace

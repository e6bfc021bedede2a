// The EPS import against an independent PostScript interpreter: each fixture carries, in the
// setup section the importer skips, a prolog of its own that defines its operators (painting as
// stroking, hairlines), so the renderer draws the outlines the importer should make.
#include "maltrec/import/eps_interpreter.h"
#include "reference_raster.h"

#include "design/design_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr double kDpi = 150.0;
constexpr double kTolerancePixels = 2.0;

const char* kProlog =
    "%%BeginSetup\n"
    "/m {moveto} bind def /l {lineto} bind def /c {curveto} bind def\n"
    "/v {currentpoint 6 2 roll curveto} bind def /y {2 copy curveto} bind def\n"
    "/S {stroke} bind def /s {closepath stroke} bind def\n"
    "/f {closepath stroke} bind def /F {closepath stroke} bind def\n"
    "/B {closepath stroke} bind def /b {closepath stroke} bind def\n"
    "/re {4 2 roll moveto 1 index 0 rlineto 0 exch rlineto neg 0 rlineto closepath} bind def\n"
    "/u {} def /U {} def /q {gsave} bind def /Q {grestore} bind def /cm {6 array astore concat} "
    "bind def\n"
    "/XA {setrgbcolor} bind def /Xa {setrgbcolor} bind def /g {setgray} bind def\n"
    "/G {setgray} bind def /k {setcmykcolor} bind def /K {setcmykcolor} bind def\n"
    "0 setlinewidth\n"
    "%%EndSetup\n";

struct Fixture {
    const char* name;
    const char* creator;
    const char* body;
};

const Fixture kFixtures[] = {
    {"lines, curves and rectangles", "Hand",
     "10 10 m 190 10 l 190 140 l S\n"
     "20 20 m 20 120 120 120 120 20 c s\n"
     "130 30 40 60 re f\n"},
    {"the drawing program's vocabulary", "Adobe Illustrator(R) 8.0",
     "u 0 0 1 XA 30 30 m 45 90 90 30 v 120 5 150 60 y S\n"
     "0.5 g 140 20 m 180 20 l 180 60 l F U\n"
     "u 0.2 0.4 0.1 0 k 40 100 m 70 140 100 140 130 100 c 160 60 170 90 185 120 c S U\n"},
    {"matrices and graphics states", "Hand",
     "q 2 0 0 2 20 20 cm 0 0 m 30 0 l 30 20 l S Q\n"
     "gsave 100 40 translate 0.5 0.5 scale 0 0 100 100 re S grestore\n"
     "q [0.7071 0.7071 -0.7071 0.7071 150 80] concat -20 -20 40 40 re S Q\n"
     "q 1 0 0.5 1 30 100 cm 0 0 m 40 0 l 40 30 l S Q\n"},
};

std::string Eps(const Fixture& f) {
    return std::string("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200 150\n%%Creator: ") +
           f.creator + "\n%%EndComments\n" + kProlog + f.body + "%%EOF\n";
}

class EpsReference : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ToolInstalled("gs"))
            GTEST_SKIP() << "Ghostscript is not installed";
        char dir[] = "/tmp/eps_reference_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override {
        if (!m_dir.empty())
            RunQuietly("rm -rf '" + m_dir + "'");
    }
    std::string m_dir;
};

TEST_F(EpsReference, ImportedOutlinesMatchTheRenderersWithinTwoPixels) {
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        const std::string text = Eps(f);
        const std::string eps = m_dir + "/fixture.eps", picture = m_dir + "/fixture.pgm";
        std::ofstream(eps, std::ios::binary) << text;
        ASSERT_TRUE(RunQuietly("gs -q -dNOPAUSE -dBATCH -dSAFER -dEPSCrop -sDEVICE=pgmraw -r150 "
                               "-sOutputFile='" +
                               picture + "' '" + eps + "'"));
        InkImage image;
        ASSERT_TRUE(ReadNetpbm(picture, image));

        std::unique_ptr<CDesignPage> page(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
        page->fnInitParamBlocks();
        CEPSInterpreter interpreter(nullptr, page.get(), L"fixture.eps");
        ASSERT_EQ(1, interpreter.ReadBytes(std::vector<BYTE>(text.begin(), text.end())));
        ASSERT_EQ(CEPSInterpreter::kRunOk, interpreter.Run());
        const auto paths = ToPixels(ArticlePaths(page->RootArticle()), kDpi);
        ASSERT_FALSE(paths.empty());

        const OutlineFit fit = CompareOutlines(image, paths);
        EXPECT_GT(fit.inkPixels, 100);
        EXPECT_LE(fit.inkToPaths, kTolerancePixels);
        EXPECT_LE(fit.pathsToInk, kTolerancePixels);
    }
}

// EPS files of programs that draw with PostScript's own operators and no setup section: a
// function plot (its prolog names the operators it uses) and a traced bitmap (relative curves,
// filled). Fills are drawn as hairline strokes, so the renderer shows the outlines.
TEST_F(EpsReference, FilesOfPlottingAndTracingProgramsMatchTheRenderersWithinTwoPixels) {
    for (const char* name : {"gnuplot.eps", "potrace.eps"}) {
        SCOPED_TRACE(name);
        const std::string eps = std::string(TEST_DATA_DIR) + "/" + name;
        const std::string picture = m_dir + "/written.pgm";
        ASSERT_TRUE(RunQuietly("gs -q -dNOPAUSE -dBATCH -dSAFER -dEPSCrop -sDEVICE=pgmraw -r150 "
                               "-sOutputFile='" +
                               picture + "' -c '/fill {0 setlinewidth stroke} bind def' -f '" +
                               eps + "'"));
        InkImage image;
        ASSERT_TRUE(ReadNetpbm(picture, image));

        std::ifstream in(eps, std::ios::binary);
        const std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        std::unique_ptr<CDesignPage> page(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
        page->fnInitParamBlocks();
        CEPSInterpreter interpreter(nullptr, page.get(), CString(name));
        ASSERT_EQ(1, interpreter.ReadBytes(bytes));
        ASSERT_EQ(CEPSInterpreter::kRunOk, interpreter.Run());
        const auto paths = ToPixels(ArticlePaths(page->RootArticle()), kDpi);
        ASSERT_FALSE(paths.empty());

        const OutlineFit fit = CompareOutlines(image, paths);
        EXPECT_GT(fit.inkPixels, 100);
        EXPECT_LE(fit.inkToPaths, kTolerancePixels);
        EXPECT_LE(fit.pathsToInk, kTolerancePixels);
    }
}

} // namespace

// The PDF import against an independent PDF renderer: hand-written pages of hairline strokes
// rendered by Ghostscript agree with the imported outlines within 2 pixels at 150 dpi, and so
// does a design written by the design writer with the design's own paths. Fills, clips and text
// are checked by their expected paths elsewhere (the import outlines fills, ignores clips and
// leaves text out, where a renderer paints them).
#include "maltrec/import/pdf_doc.h"
#include "maltrec/import/pdf_manager.h"
#include "maltrec/tests/pdf_fixture.h"
#include "reference_raster.h"

#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr double kDpi = 150.0;
constexpr double kTolerancePixels = 2.0;
// Fine enough that the chords of a curve stay well inside the tolerance.
constexpr int kFlattenLevel = 4;

struct Fixture {
    const char* name;
    std::vector<PdfPage> pages;
};

const Fixture kFixtures[] = {
    {"lines and curves",
     {{"0 w 10 10 m 190 10 l 190 140 l S 20 20 m 20 120 120 120 120 20 c h S "
       "130 30 m 170 30 l 170 90 l S"}}},
    {"colours and a transformed stroke",
     {{"0 w 1 0 0 RG 10 10 m 100 10 l 100 60 l S 0 0 1 0 K 20 80 m 60 140 100 140 140 80 c S "
       "0.5 G q 0.7071 0.7071 -0.7071 0.7071 150 60 cm -20 -20 m 20 -20 l 20 20 l -20 20 l h S "
       "Q"}}},
    {"a turned page", {{"0 w 10 10 m 290 90 l 150 90 l S", "/MediaBox [0 0 300 100] /Rotate 90"}}},
    {"the first of two pages", {{"0 w 10 10 m 190 140 l S"}, {"0 w 0 0 m 150 150 l 150 0 l h S"}}},
};

class PdfReference : public PdfImportTest {
protected:
    void SetUp() override {
        PdfImportTest::SetUp();
        if (!ToolInstalled("gs"))
            GTEST_SKIP() << "Ghostscript is not installed";
    }
    // Ghostscript's picture of page 1 as ink.
    InkImage Render(const std::string& pdf) {
        const std::string picture = m_box.Path("picture.pgm");
        EXPECT_TRUE(RunQuietly("gs -q -dNOPAUSE -dBATCH -dSAFER -dFirstPage=1 -dLastPage=1 "
                               "-sDEVICE=pgmraw -r150 -sOutputFile='" +
                               picture + "' '" + pdf + "'"));
        InkImage image;
        EXPECT_TRUE(ReadNetpbm(picture, image));
        return image;
    }
    static void ExpectFit(const InkImage& image, CArticle* root) {
        const auto paths = ToPixels(ArticlePaths(root), kDpi);
        ASSERT_FALSE(paths.empty());
        const OutlineFit fit = CompareOutlines(image, paths);
        EXPECT_GT(fit.inkPixels, 100);
        EXPECT_LE(fit.inkToPaths, kTolerancePixels);
        EXPECT_LE(fit.pathsToInk, kTolerancePixels);
    }
};

TEST_F(PdfReference, ImportedOutlinesMatchTheRenderersWithinTwoPixels) {
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        const std::string pdf = WriteText("fixture.pdf", PdfOf(f.pages));
        const InkImage image = Render(pdf);
        m_page = std::make_unique<CDesignPage>();
        ASSERT_TRUE(CPDFManager::ReadPDFDocument(CString::FromUtf8(pdf), m_page.get(), 0, nullptr));
        ExpectFit(image, m_page->RootArticle());
    }
}

TEST_F(PdfReference, AWrittenDesignIsDrawnWhereItsPathsAre) {
    ASSERT_TRUE(CPDFManager::StartPDFManager());
    // No straight edge lies along the design's extents: the page is cut there, and half of such
    // a stroke's ink would fall off it.
    const std::vector<std::vector<CLpoint>> paths = {
        {{0, 20000}, {30000, 0}, {60000, 20000}, {30000, 40000}, {0, 20000}},
        {{10000, 15000}, {20000, 30000}, {30000, 10000}, {40000, 30000}, {50000, 15000}},
    };
    for (const auto& pts : paths) {
        auto* item = new CSplineItem;
        std::vector<CSb> sb;
        for (const CLpoint& p : pts)
            sb.emplace_back(CSplineItem::kBreak, p);
        item->InsertElement(-1, sb.data(), int(sb.size()));
        auto* a = new CVectorArticle;
        a->Item(item);
        m_page->RootArticle()->AddChild(a);
        a->InvExtents(1);
    }
    // A smooth curve through three points, its top below the diamond's (a curve flat along the
    // page's edge would lose half its ink there too).
    auto* curve = new CSplineItem;
    std::vector<CSb> sb = {{CSplineItem::kSmooth, CLpoint(5000, 30000)},
                           {CSplineItem::kSmooth, CLpoint(25000, 34000)},
                           {CSplineItem::kSmooth, CLpoint(55000, 30000)}};
    curve->InsertElement(-1, sb.data(), int(sb.size()));
    auto* a = new CVectorArticle;
    a->Item(curve);
    m_page->RootArticle()->AddChild(a);
    a->InvExtents(1);
    m_page->RecalcExtents(0);

    const std::string pdf = m_box.Path("design.pdf");
    ASSERT_TRUE(CDebenuPDF().WriteDesign(CString::FromUtf8(pdf), m_page.get(), 0));
    // The outlines to compare with: each item flattened, as a view draws it.
    for (CTree* t = m_page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        static_cast<CSplineItem*>(static_cast<CVectorArticle*>(t)->GetItem())
            ->MakePktArray(kFlattenLevel);
    ExpectFit(Render(pdf), m_page->RootArticle());
}

} // namespace

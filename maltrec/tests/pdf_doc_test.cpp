#include "maltrec/import/import_draw.h"
#include "maltrec/import/pdf_doc.h"
#include "maltrec/import/pdf_library_binding.h"
#include "maltrec/import/pdf_manager.h"

#include "design/design_page.h"
#include "maltrec/tests/pdf_fixture.h"
#include "pivora/tests/app_settings_fixture.h"
#include "platform/core/file.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class PdfDocTest : public AppSettingsTest {
protected:
    void TearDown() override {
        FnReleasePDFLibrary();
        AppSettingsTest::TearDown();
    }
    std::string Home(const std::string& rel) const { return m_box.Path("home/" + rel); }

    // A one-page PDF with a square, written through the library's own document calls.
    static void WriteSquare(const std::string& path, double side) {
        CPDFLibraryBinding* lib = FnGetPDFLibrary();
        ASSERT_NE(lib, nullptr);
        int id = lib->Instance();
        ASSERT_EQ(lib->DPLNewDocument(id), 1);
        lib->DPLSetPageDimensions(id, 200, 200);
        lib->DPLStartPath(id, 10, 10);
        lib->DPLAddLineToPath(id, 10 + side, 10);
        lib->DPLAddLineToPath(id, 10 + side, 10 + side);
        lib->DPLClosePath(id);
        lib->DPLDrawPath(id, kDplPathOutline);
        ASSERT_EQ(lib->DPLSaveToFile(id, CString(path.c_str())), 1);
    }
};

} // namespace

TEST(RgbToCmyk, TheRuleOfTheDesignWriter) {
    struct Case {
        COLORREF rgb;
        double c, m, y, k;
    };
    const Case cases[] = {
        {RGB(0, 0, 0), 0, 0, 0, 1},        {RGB(255, 255, 255), 0, 0, 0, 0},
        {RGB(255, 0, 0), 0, 1, 1, 0},      {RGB(0, 0, 255), 1, 1, 0, 0},
        {RGB(102, 51, 0), 0, 0.5, 1, 0.6},
    };
    for (const Case& c : cases) {
        StCMYK v = FnRGBToCMYK(c.rgb);
        EXPECT_NEAR(v.c, c.c, 1e-9);
        EXPECT_NEAR(v.m, c.m, 1e-9);
        EXPECT_NEAR(v.y, c.y, 1e-9);
        EXPECT_NEAR(v.k, c.k, 1e-9);
    }
}

TEST_F(PdfDocTest, TheLibraryLoadsOnceFromTheProgramFolder) {
    ASSERT_TRUE(FnLoadPDFLibrary());
    CPDFLibraryBinding* first = FnGetPDFLibrary();
    ASSERT_NE(first, nullptr);
    EXPECT_GT(first->Instance(), 0);
    EXPECT_TRUE(FnLoadPDFLibrary());
    EXPECT_EQ(FnGetPDFLibrary(), first);
    EXPECT_TRUE(platform::EndsWithSeparator(FnGetPDFProgramFolder()));
    FnReleasePDFLibrary();
    EXPECT_EQ(FnGetPDFLibrary(), nullptr);
}

TEST_F(PdfDocTest, ALibraryWithoutTheEntryPointsIsRefused) {
    CPDFLibraryBinding binding;
    binding.Bind(CString(m_box.Path("program/absent.dll").c_str()));
    EXPECT_TRUE(binding.IsMissingEntry());
    EXPECT_EQ(binding.m_hModule, nullptr);
    // The program's own libraries load but lack every entry point.
    CPDFLibraryBinding wrong;
    wrong.Bind(platform::ModuleFilePathOf(reinterpret_cast<const void*>(&FnRGBToCMYK)));
    EXPECT_TRUE(wrong.IsMissingEntry());
}

TEST_F(PdfDocTest, ConversionWritesIntoTheTemporaryFolderAndReplacesOlderOutput) {
    ASSERT_TRUE(FnLoadPDFLibrary());
    ASSERT_FALSE(std::filesystem::exists(Home("Temp"))); // a fresh installation
    std::string source = m_box.Path("drawing.pdf");
    WriteSquare(source, 50);
    CDebenuPDF doc;
    CString out;
    ASSERT_TRUE(doc.ConvertToFile(CString(source.c_str()), &out, L".EPS"));
    EXPECT_EQ(std::filesystem::path(platform::MapPath(out)),
              std::filesystem::path(Home("Temp/drawing.EPS")));
    std::string eps = Read(Home("Temp/drawing.EPS"));
    EXPECT_EQ(eps.rfind("%!PS-Adobe", 0), 0u);
    EXPECT_NE(eps.find("60 10 l"), std::string::npos);

    WriteSquare(source, 70);
    ASSERT_TRUE(CDebenuPDF().ConvertToFile(CString(source.c_str()), nullptr, L".EPS"));
    eps = Read(Home("Temp/drawing.EPS"));
    EXPECT_NE(eps.find("80 10 l"), std::string::npos);
    EXPECT_EQ(eps.find("60 10 l"), std::string::npos);

    // Another extension renders nothing and still succeeds.
    ASSERT_TRUE(CDebenuPDF().ConvertToFile(CString(source.c_str()), &out, L".png"));
    EXPECT_FALSE(std::filesystem::exists(Home("Temp/drawing.png")));
}

TEST_F(PdfDocTest, CheckAndConvertFailWithoutTheLibraryOrALoadableFile) {
    std::string text = m_box.Path("text.pdf");
    std::ofstream(text) << "not a PDF at all";
    CDebenuPDF doc;
    EXPECT_FALSE(doc.CheckDocument(CString(text.c_str()), nullptr, CDebenuPDF::kCheckImport));
    EXPECT_FALSE(doc.ConvertToFile(CString(text.c_str()), nullptr, L".EPS")); // not loaded

    ASSERT_TRUE(FnLoadPDFLibrary());
    EXPECT_FALSE(doc.CheckDocument(CString(text.c_str()), nullptr, CDebenuPDF::kCheckImport));
    EXPECT_FALSE(doc.ConvertToFile(CString(text.c_str()), nullptr, L".EPS"));
    std::string good = m_box.Path("good.pdf");
    WriteSquare(good, 20);
    EXPECT_TRUE(doc.CheckDocument(CString(good.c_str()), nullptr, CDebenuPDF::kCheckImport));
    EXPECT_TRUE(doc.CheckDocument(CString(good.c_str()), nullptr, CDebenuPDF::kCheckContents));
}

namespace {

// Designs written into PDF files through the library and read back through the import road.
class WriteDesignTest : public PdfImportTest {
protected:
    CVectorArticle* AddPath(CJoxPage& page, const std::vector<CLpoint>& pts, bool closed,
                            DWORD mode = CSplineItem::kBreak) {
        auto* item = new CSplineItem;
        std::vector<CSb> sb;
        for (const CLpoint& p : pts)
            sb.emplace_back(mode, p);
        if (closed)
            sb.emplace_back(mode, pts.front());
        item->InsertElement(-1, sb.data(), int(sb.size()));
        auto* a = new CVectorArticle;
        a->Item(item);
        page.RootArticle()->AddChild(a);
        a->InvExtents(1);
        return a;
    }
    // Every path's points, each path's own list, the design moved so that its lowest corner
    // is the origin.
    static std::vector<std::vector<CLpoint>> Paths(CJoxPage& page) {
        std::vector<std::vector<CLpoint>> out;
        LONG minX = INT32_MAX, minY = INT32_MAX;
        for (CTree* t = page.RootArticle()->GetFirstChild(); t; t = t->GetRsibling()) {
            auto* a = DynamicDowncast<CVectorArticle>(t);
            auto* s = a ? DynamicDowncast<CSplineItem>(a->GetItem()) : nullptr;
            if (!s)
                continue;
            out.emplace_back();
            for (int i = 0; i < s->VectCount(); ++i) {
                out.back().push_back(s->Vect(i).pt);
                minX = std::min(minX, s->Vect(i).pt.x);
                minY = std::min(minY, s->Vect(i).pt.y);
            }
        }
        for (auto& path : out)
            for (CLpoint& p : path)
                p = CLpoint(p.x - minX, p.y - minY);
        return out;
    }
    std::string Write(CJoxPage& page, UINT flags = 0) {
        const std::string path = m_box.Path("design.pdf");
        EXPECT_TRUE(CDebenuPDF().WriteDesign(CString::FromUtf8(path), &page, flags));
        return path;
    }
};

TEST_F(WriteDesignTest, PolylinesComeBackWithinTenUnitsOnAMetre) {
    ASSERT_TRUE(CPDFManager::StartPDFManager());
    AddPath(*m_page, {{0, 0}, {1000000, 0}, {1000000, 1000000}, {0, 1000000}}, true);
    AddPath(*m_page, {{123457, 234567}, {876543, 765433}, {500001, 100003}}, false);
    AddPath(*m_page, {{250000, 250000}, {750000, 250000}, {500000, 750000}}, true);
    m_page->RecalcExtents(0);
    const auto written = Paths(*m_page);
    const std::string pdf = Write(*m_page);
    // The design is where it was, with no mark left behind.
    EXPECT_EQ(Paths(*m_page), written);
    for (CTree* t = m_page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        EXPECT_FALSE(static_cast<CArticle*>(t)->GetProperty(CPDFDoc::kWrittenBit));

    CDesignPage back;
    ASSERT_TRUE(CPDFManager::ReadPDFDocument(CString::FromUtf8(pdf), &back, 0, nullptr));
    const auto read = Paths(back);
    ASSERT_EQ(read.size(), written.size());
    for (size_t i = 0; i < read.size(); ++i) {
        ASSERT_EQ(read[i].size(), written[i].size()) << "path " << i;
        for (size_t j = 0; j < read[i].size(); ++j) {
            EXPECT_NEAR(read[i][j].x, written[i][j].x, 10) << "path " << i << " point " << j;
            EXPECT_NEAR(read[i][j].y, written[i][j].y, 10) << "path " << i << " point " << j;
        }
    }
}

TEST_F(WriteDesignTest, AClosedCurveKeepsItsClosingCurve) {
    ASSERT_TRUE(CPDFManager::StartPDFManager());
    AddPath(*m_page, {{0, 500000}, {500000, 0}, {1000000, 500000}, {500000, 1000000}}, true,
            CSplineItem::kSmooth);
    m_page->RecalcExtents(0);
    const std::string text = Read(Write(*m_page));
    // Four curves, the closing one among them: the close draws no straight edge instead.
    size_t curves = 0;
    for (size_t at = text.find(" c\n"); at != std::string::npos; at = text.find(" c\n", at + 1))
        ++curves;
    EXPECT_EQ(curves, 4u) << text;
    EXPECT_NE(text.find("h\n"), std::string::npos) << text;
}

TEST_F(WriteDesignTest, ColoursFillAndTheEpsBeside) {
    ASSERT_TRUE(CPDFManager::StartPDFManager());
    CVectorArticle* red = AddPath(*m_page, {{0, 0}, {100000, 0}, {100000, 100000}}, true);
    int style = 0;
    red->SetLineColour(RGB(255, 0, 0), style);
    red->fnSetValue(CVectorArticle::kFillOn, 1, 0);
    CVectorArticle* cmyk = AddPath(*m_page, {{0, 0}, {50000, 70000}}, false);
    cmyk->SetLineColour(RGB(255, 0, 0), style);
    cmyk->fnSetValue(L".CMYK Colour ON", 1, 0);
    m_page->RecalcExtents(0);
    const std::string pdf = Write(*m_page, CDebenuPDF::kWriteAlsoEps);
    const std::string text = Read(pdf);
    EXPECT_NE(text.find("1 0 0 RG"), std::string::npos) << text;
    EXPECT_NE(text.find("f*"), std::string::npos) << text; // a filled closed path
    EXPECT_NE(text.find("0 1 1 0 K"), std::string::npos) << text;
    EXPECT_NE(text.find("S\n"), std::string::npos) << text; // the open path outlined
    EXPECT_GT(std::filesystem::file_size(m_box.Path("design.EPS")), 0u);
}

TEST_F(WriteDesignTest, FailuresAreReportedAndLeaveTheDesignAlone) {
    AddPath(*m_page, {{0, 0}, {1000, 0}}, false);
    const auto design = Paths(*m_page);
    const CString path = CString::FromUtf8(m_box.Path("design.pdf"));
    EXPECT_FALSE(CDebenuPDF().WriteDesign(path, m_page.get(), 0)); // library not loaded
    ASSERT_TRUE(CPDFManager::StartPDFManager());
    EXPECT_FALSE(CDebenuPDF().WriteDesign(path, nullptr, 0));
    EXPECT_FALSE(CDebenuPDF().WriteDesign(CString::FromUtf8(m_box.Path("no/such/folder/d.pdf")),
                                          m_page.get(), 0));
    EXPECT_EQ(Paths(*m_page), design);
    // An empty page still makes a file.
    CDesignPage empty;
    EXPECT_TRUE(CDebenuPDF().WriteDesign(path, &empty, 0));
}

// A design file written into a PDF and imported through the dispatcher comes back as its paths
// (corners within 10 units on a metre; curves, which the import fits again, by their extents
// within a tenth of a millimetre); the import saved as a design
// file, opened and saved again, gives the same bytes.
TEST_F(WriteDesignTest, ADesignFileComesBackThroughPdfAndSavesTheSameTwice) {
    ASSERT_TRUE(CPDFManager::StartPDFManager());
    auto fresh = [] {
        std::unique_ptr<CDesignPage> page(static_cast<CDesignPage*>(CDesignPage::CreateObject()));
        page->fnInitParamBlocks();
        return page;
    };
    auto design = fresh();
    AddPath(*design, {{0, 0}, {1000000, 0}, {1000000, 1000000}, {0, 1000000}}, true);
    AddPath(*design, {{100003, 200001}, {300007, 800009}, {500011, 200013}, {700017, 800019}},
            false);
    CVectorArticle* curve = AddPath(*design, {{400000, 400000}, {600000, 400000}, {500000, 600000}},
                                    true, CSplineItem::kSmooth);
    design->RecalcExtents(0);
    const std::string file = m_box.Path("Design.KDX");
    ASSERT_TRUE(design->OnSaveDocument(CString::FromUtf8(file)));
    auto opened = fresh();
    ASSERT_TRUE(opened->CJoxPage::OnOpenDocument(CString::FromUtf8(file)));
    const CWindow curveBox = curve->Extents(0), designBox = design->RootArticle()->Extents(0);

    const std::string pdf = Write(*opened);
    auto back = fresh();
    CFile source;
    ASSERT_TRUE(source.Open(CString::FromUtf8(pdf), CFile::modeRead));
    ASSERT_EQ(CImportDraw::ImportVectorDesign(back.get(), &source, 0, nullptr), 1);

    const auto written = Paths(*opened), read = Paths(*back);
    ASSERT_EQ(read.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(read[i].size(), written[i].size()) << "path " << i;
        for (size_t j = 0; j < read[i].size(); ++j) {
            EXPECT_NEAR(read[i][j].x, written[i][j].x, 10) << "path " << i << " point " << j;
            EXPECT_NEAR(read[i][j].y, written[i][j].y, 10) << "path " << i << " point " << j;
        }
    }
    // The curve, by its extents from the design's corner.
    constexpr double kCurveUnits = 100;
    CTree* third = back->RootArticle()->GetFirstChild()->GetRsibling()->GetRsibling();
    const CWindow got = static_cast<CArticle*>(third)->Extents(0);
    const CWindow all = back->RootArticle()->Extents(0);
    EXPECT_NEAR(double(got.x1) - all.x1, double(curveBox.x1) - designBox.x1, kCurveUnits);
    EXPECT_NEAR(double(got.y1) - all.y1, double(curveBox.y1) - designBox.y1, kCurveUnits);
    EXPECT_NEAR(double(got.x2) - all.x1, double(curveBox.x2) - designBox.x1, kCurveUnits);
    EXPECT_NEAR(double(got.y2) - all.y1, double(curveBox.y2) - designBox.y1, kCurveUnits);

    const std::string first = m_box.Path("Import.KDX"), second = m_box.Path("Again.KDX");
    ASSERT_TRUE(back->OnSaveDocument(CString::FromUtf8(first)));
    auto reopened = fresh();
    ASSERT_TRUE(reopened->CJoxPage::OnOpenDocument(CString::FromUtf8(first)));
    ASSERT_TRUE(reopened->OnSaveDocument(CString::FromUtf8(second)));
    const std::string bytes = Read(first);
    EXPECT_FALSE(bytes.empty());
    EXPECT_TRUE(bytes == Read(second));
}

} // namespace

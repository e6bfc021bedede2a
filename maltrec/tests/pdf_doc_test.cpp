#include "maltrec/import/pdf_doc.h"
#include "maltrec/import/pdf_library_binding.h"

#include "pivora/tests/app_settings_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

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
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
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

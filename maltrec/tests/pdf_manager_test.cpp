#include "maltrec/import/pdf_manager.h"

#include "maltrec/import/pdf_doc.h"
#include "maltrec/tests/pdf_fixture.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

using ManagerTest = PdfImportTest;

TEST_F(ManagerTest, ABrokenInstallationFailsOnceAndIsNeverRetried) {
    struct Case {
        const char* what;
        CString library;
    };
    const Case cases[] = {
        {"absent file", CString::FromUtf8(m_box.Path("program/absent.dll"))},
        // The program's own libraries load but lack the entry points.
        {"entry points missing",
         platform::ModuleFilePathOf(reinterpret_cast<const void*>(&FnRGBToCMYK))},
    };
    const std::string eps = WriteText("line.eps", kLineEps);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPDFManager::m_eManagerStatus = CPDFManager::eNotStarted;
        FnSetPDFLibraryFile(c.library);
        EXPECT_FALSE(CPDFManager::StartPDFManager());
        EXPECT_EQ(CPDFManager::m_eManagerStatus, CPDFManager::eFailedToStart);
        // The library is back, but a failed start stays failed; EPS files fail too.
        FnSetPDFLibraryFile(CString());
        EXPECT_FALSE(CPDFManager::StartPDFManager());
        EXPECT_EQ(FnGetPDFLibrary(), nullptr);
        EXPECT_FALSE(
            CPDFManager::ReadPDFDocument(CString::FromUtf8(eps), m_page.get(), 0, nullptr));
        EXPECT_EQ(TopLevelArticles(), 0);
    }
}

TEST_F(ManagerTest, AReadStartsTheManagerAndConvertsThroughTheTemporaryFolder) {
    const std::string pdf = WritePdf("drawing.pdf", {50, 80});
    ASSERT_FALSE(fs::exists(Home("Temp"))); // a fresh installation
    EXPECT_TRUE(CPDFManager::ReadPDFDocument(CString::FromUtf8(pdf), m_page.get(), 0, nullptr));
    EXPECT_EQ(CPDFManager::m_eManagerStatus, CPDFManager::eRunning);
    EXPECT_GT(TopLevelArticles(), 0);
    EXPECT_FALSE(fs::exists(Home("Temp/drawing.EPS")));

    CPDFManager::m_bDeleteNewEPS = false;
    EXPECT_TRUE(CPDFManager::ReadPDFDocument(CString::FromUtf8(pdf), m_page.get(), 0, nullptr));
    EXPECT_TRUE(fs::exists(Home("Temp/drawing.EPS")));
}

TEST_F(ManagerTest, SuccessMeansAnArticleWasAddedAndTheConvertedFileNeverStays) {
    const std::string eps = WriteText("line.eps", kLineEps);
    ASSERT_TRUE(CPDFManager::ReadPDFDocument(CString::FromUtf8(eps), m_page.get(), 0, nullptr));
    const int before = TopLevelArticles();
    // A page that already holds articles: an import that adds nothing fails.
    const std::string blankEps = WriteText("blank.EPS", "%!PS-Adobe-3.0 EPSF-3.0\n%%EndComments\n");
    EXPECT_FALSE(
        CPDFManager::ReadPDFDocument(CString::FromUtf8(blankEps), m_page.get(), 0, nullptr));
    const std::string blankPdf = WritePdf("blank.pdf", {});
    EXPECT_FALSE(
        CPDFManager::ReadPDFDocument(CString::FromUtf8(blankPdf), m_page.get(), 0, nullptr));
    EXPECT_FALSE(fs::exists(Home("Temp/blank.EPS")));
    EXPECT_EQ(TopLevelArticles(), before);
}

TEST_F(ManagerTest, FilesThatCannotBeReadFailWithoutAddingAnything) {
    const std::string cases[] = {
        WriteText("damaged.pdf", "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >>\nendobj\n"),
        WriteText("text.ai", "neither PDF nor PostScript"),
        WriteText("empty.pdf", ""),
        m_box.Path("missing.pdf"),
        m_box.Path("missing.eps"),
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(
            CPDFManager::ReadPDFDocument(CString::FromUtf8(path), m_page.get(), 0, nullptr));
    }
    EXPECT_EQ(TopLevelArticles(), 0);
    EXPECT_FALSE(CPDFManager::ReadPDFDocument(CString::FromUtf8(cases[0]), nullptr, 0, nullptr));
}

TEST_F(ManagerTest, AfterTheStopImportsReturnFalse) {
    ASSERT_TRUE(CPDFManager::StartPDFManager());
    const std::string eps = WriteText("line.eps", kLineEps);
    const std::string pdf = WritePdf("drawing.pdf", {50});
    CPDFManager::StopPDFManager();
    EXPECT_EQ(FnGetPDFLibrary(), nullptr);
    EXPECT_FALSE(CPDFManager::ReadPDFDocument(CString::FromUtf8(eps), m_page.get(), 0, nullptr));
    EXPECT_FALSE(CPDFManager::ReadPDFDocument(CString::FromUtf8(pdf), m_page.get(), 0, nullptr));
    EXPECT_EQ(TopLevelArticles(), 0);
}

TEST_F(ManagerTest, ConversionToEachKindOfFile) {
    const std::string pdf = WritePdf("drawing.pdf", {50});
    struct Case {
        const wchar_t* extension;
        const char* written;
    };
    const Case cases[] = {
        {L".EPS", "Temp/drawing.EPS"},
        {L".bmp", "Temp/drawing.bmp"},
        {L".jpg", "Temp/drawing.jpg"},
        {L".tiff", "Temp/drawing.tiff"},
        {L".gif", nullptr},
    };
    for (const Case& c : cases) {
        CString out;
        ASSERT_TRUE(CPDFManager::StartPDFManager());
        EXPECT_TRUE(CPDFManager::PdfToFormat(CString::FromUtf8(pdf), &out, c.extension));
        if (c.written) {
            EXPECT_GT(fs::file_size(Home(c.written)), 0u) << c.written;
        }
    }
    EXPECT_FALSE(fs::exists(Home("Temp/drawing.gif")));
}

} // namespace

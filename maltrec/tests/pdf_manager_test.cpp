#include "maltrec/import/pdf_manager.h"

#include "maltrec/import/pdf_doc.h"
#include "maltrec/tests/pdf_fixture.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/file_dialog.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/message_box.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

using ManagerTest = PdfImportTest;

// A page behind a password that nobody knows.
std::string EncryptedPdf() {
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] /Contents 4 0 R >>",
        "<< /Length 12 >>\nstream\n0 0 m 9 9 l S\nendstream",
        "<< /Filter /Standard /V 1 /R 2 /P -4 /O <" + std::string(64, 'a') + "> /U <" +
            std::string(64, 'b') + "> >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < std::size(objects); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 6\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size 6 /Root 1 0 R /Encrypt 5 0 R /ID [<0123> <0123>] >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

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
        WriteText("locked.pdf", EncryptedPdf()),
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

// The Save As dialog of each kind, answered as a person would: the kind's filter first, its
// extension added to a bare name, the replace question for an existing file.
TEST_F(ManagerTest, TheSaveAsDialogOffersTheKindAndAddsItsExtension) {
    struct Dialog : CPDFManager {
        using CPDFManager::GetFileName;
    };
    std::fstream(Home("kept.pdf"), std::ios::out) << "x";
    const struct {
        UINT kind;
        std::string typed;
        int button;
        int replace; // the answer to the replace question; 0 when none is asked
        std::string chosen;
        const wchar_t* firstFilter;
    } cases[] = {
        {1, "logo", IDOK, 0, "logo.ai", L"Adobe Illustrator (*.ai)"},
        {0, "logo", IDOK, 0, "logo.pdf", L"PDF (*.pdf)"},
        {0, "logo.PDF", IDOK, 0, "logo.PDF", L"PDF (*.pdf)"},
        {0, "logo", IDCANCEL, 0, "", L"PDF (*.pdf)"},
        {0, "kept", IDOK, IDYES, "kept.pdf", L"PDF (*.pdf)"},
        {0, "kept", IDOK, IDNO, "", L"PDF (*.pdf)"},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> filters;
        platform::ScopedDialogResponder responder([&](HWND dialog, UINT id) {
            ASSERT_EQ(id, platform::kFileDialogId);
            const LRESULT n =
                SendDlgItemMessageW(dialog, platform::kFileTypeCombo, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < n; ++i) {
                wchar_t text[128] = {};
                SendDlgItemMessageW(dialog, platform::kFileTypeCombo, CB_GETLBTEXT, WPARAM(i),
                                    LPARAM(text));
                filters.push_back(text);
            }
            SetDlgItemTextW(dialog, platform::kFileNameEdit,
                            CString::FromUtf8(Home(c.typed)).GetString());
            EndDialog(dialog, c.button);
        });
        platform::MessageBoxResponder boxes;
        boxes.SetDefault(c.replace);
        CString path = L"left over";
        EXPECT_EQ(Dialog::GetFileName(path, c.kind), !c.chosen.empty()) << c.typed;
        EXPECT_EQ(path, c.chosen.empty() ? CString() : CString::FromUtf8(Home(c.chosen)));
        EXPECT_EQ(boxes.Shown().size(), c.replace ? 1u : 0u) << c.typed;
        ASSERT_EQ(filters.size(), 2u);
        EXPECT_EQ(filters[0], c.firstFilter);
        EXPECT_EQ(filters[1], L"All Files (*.*)");
    }
}

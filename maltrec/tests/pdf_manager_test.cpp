#include "maltrec/import/pdf_manager.h"

#include "maltrec/import/pdf_doc.h"
#include "maltrec/tests/pdf_fixture.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/file_dialog.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/message_box.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include <algorithm>
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

namespace {

constexpr double kUnitsPerPoint = 25400.0 / 72.0;

struct ImportedPath {
    CDpoint first, last; // points from the design's lowest corner
    bool closed = false;
    COLORREF colour = 0;
};

struct Imported {
    std::vector<ImportedPath> paths;
    CDpoint size; // points
};

void Collect(CTree* first, std::vector<std::pair<CVectorArticle*, CSplineItem*>>& out) {
    for (CTree* t = first; t; t = t->GetRsibling()) {
        auto* a = DynamicDowncast<CVectorArticle>(t);
        auto* s = a ? DynamicDowncast<CSplineItem>(a->GetItem()) : nullptr;
        if (s && s->VectCount() > 0)
            out.emplace_back(a, s);
        Collect(t->GetFirstChild(), out);
    }
}

// Every path of the page, in points from the lowest corner of the design's extents.
Imported Read(CDesignPage& page) {
    std::vector<std::pair<CVectorArticle*, CSplineItem*>> found;
    Collect(page.RootArticle()->GetFirstChild(), found);
    // The extents follow the curves themselves, not only their points.
    const CWindow e = page.RootArticle()->Extents(0);
    const double minX = e.x1, minY = e.y1;
    Imported out;
    auto pt = [&](const CLpoint& p) {
        return CDpoint((p.x - minX) / kUnitsPerPoint, (p.y - minY) / kUnitsPerPoint);
    };
    for (auto& [a, s] : found) {
        ImportedPath p;
        p.first = pt(s->Vect(0).pt);
        p.last = pt(s->Vect(s->VectCount() - 1).pt);
        p.closed = s->Vect(0).pt == s->Vect(s->VectCount() - 1).pt;
        a->GetLineColour(p.colour);
        out.paths.push_back(p);
    }
    if (!found.empty())
        out.size =
            CDpoint((double(e.x2) - e.x1) / kUnitsPerPoint, (double(e.y2) - e.y1) / kUnitsPerPoint);
    return out;
}

struct ExpectedPath {
    double x1, y1, x2, y2; // first and last point, points from the lowest corner
    bool closed;
    COLORREF colour;
};

struct PdfFixture {
    const char* name;
    std::vector<PdfPage> pages;
    std::vector<ExpectedPath> paths;
    double width, height; // of everything imported, in points
};

const COLORREF kBlack = RGB(0, 0, 0);

// Hand-written pages of what sign shops receive, with what the import must make of them: page 1
// only, clips ignored (imports are unclipped), text drawn with fonts left out.
const PdfFixture kPdfFixtures[] = {
    {"an open polyline",
     {{"10 10 m 110 10 l 110 60 l S"}},
     {{0, 0, 100, 50, false, kBlack}},
     100,
     50},
    {"open and closed paths",
     {{"10 10 m 60 10 l S 100 10 m 150 10 l 150 60 l h S"}},
     {{0, 0, 50, 0, false, kBlack}, {90, 0, 90, 0, true, kBlack}},
     140,
     50},
    {"a curve", {{"10 10 m 10 60 60 60 60 10 c S"}}, {{0, 0, 50, 0, false, kBlack}}, 50, 37.5},
    {"an even-odd fill with a hole",
     {{"10 10 m 110 10 l 110 110 l 10 110 l h 30 30 m 90 30 l 90 90 l 30 90 l h f*"}},
     {{0, 0, 0, 0, true, kBlack}, {20, 20, 20, 20, true, kBlack}},
     100,
     100},
    {"an RGB stroke",
     {{"1 0 0 RG 10 10 m 60 10 l S"}},
     {{0, 0, 50, 0, false, RGB(255, 0, 0)}},
     50,
     0},
    {"a CMYK stroke",
     {{"0 0 1 0 K 10 10 m 60 10 l S"}},
     {{0, 0, 50, 0, false, RGB(255, 255, 0)}},
     50,
     0},
    {"a clipped line",
     {{"q 20 20 30 30 re W n 0 0 m 100 100 l S Q"}},
     {{0, 0, 100, 100, false, kBlack}},
     100,
     100},
    {"text beside a line",
     {{"BT /F1 24 Tf 10 100 Td (Sign) Tj ET 10 10 m 60 10 l S"}},
     {{0, 0, 50, 0, false, kBlack}},
     50,
     0},
    {"a page turned by 90 degrees",
     {{"0 0 m 300 100 l S", "/MediaBox [0 0 300 100] /Rotate 90"}},
     {},
     100,
     300},
    {"two pages",
     {{"10 10 m 60 10 l S"}, {"0 0 m 150 150 l 150 0 l S"}},
     {{0, 0, 50, 0, false, kBlack}},
     50,
     0},
};

TEST_F(ManagerTest, HandWrittenPagesComeInAsTheirPaths) {
    constexpr double kTolerance = 0.5; // points
    for (const PdfFixture& f : kPdfFixtures) {
        SCOPED_TRACE(f.name);
        m_page = std::make_unique<CDesignPage>();
        const std::string pdf = WriteText("fixture.pdf", PdfOf(f.pages));
        ASSERT_TRUE(CPDFManager::ReadPDFDocument(CString::FromUtf8(pdf), m_page.get(), 0, nullptr));
        const Imported got = Read(*m_page);
        EXPECT_NEAR(got.size.x, f.width, kTolerance);
        EXPECT_NEAR(got.size.y, f.height, kTolerance);
        if (f.paths.empty()) {
            EXPECT_EQ(got.paths.size(), 1u);
            continue;
        }
        ASSERT_EQ(got.paths.size(), f.paths.size());
        for (size_t i = 0; i < f.paths.size(); ++i) {
            const ExpectedPath& e = f.paths[i];
            const ImportedPath& p = got.paths[i];
            EXPECT_NEAR(p.first.x, e.x1, kTolerance) << "path " << i;
            EXPECT_NEAR(p.first.y, e.y1, kTolerance) << "path " << i;
            EXPECT_NEAR(p.last.x, e.x2, kTolerance) << "path " << i;
            EXPECT_NEAR(p.last.y, e.y2, kTolerance) << "path " << i;
            EXPECT_EQ(p.closed, e.closed) << "path " << i;
            EXPECT_EQ(p.colour, e.colour) << "path " << i;
        }
    }
}

// A hundred imports in one process: each one's document is closed and its EPS removed (the
// sanitizer's leak check at exit covers the rest).
TEST_F(ManagerTest, AHundredImportsLeaveNothingBehind) {
    const std::string pdf =
        WriteText("many.pdf", PdfOf({{"10 10 m 60 10 l S 10 20 m 60 20 l 60 40 l h S"}}));
    for (int i = 0; i < 100; ++i) {
        CDesignPage page;
        ASSERT_TRUE(CPDFManager::ReadPDFDocument(CString::FromUtf8(pdf), &page, 0, nullptr))
            << "import " << i;
        ASSERT_EQ(Read(page).paths.size(), 2u) << "import " << i;
    }
    ASSERT_TRUE(fs::exists(Home("Temp")));
    EXPECT_TRUE(fs::is_empty(Home("Temp")));
}

} // namespace

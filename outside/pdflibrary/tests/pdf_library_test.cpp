// The PDF library stand-in through its entry points, loaded by name as the program loads it.
#include "../dpl_entry_points.h"

#include "platform/system/module.h"
#include "platform/system/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct Library {
    HMODULE module = nullptr;
    int id = 0;
    Library() {
        module = LoadLibraryW(platform::FolderOf(platform::ProgramFilePath()) +
                              L"DebenuPDFLibraryDLL.dll");
        if (module)
            id = Fn<DPLCreateLibraryFn>("DPLCreateLibrary")();
    }
    ~Library() {
        if (module) {
            Fn<DPLReleaseLibraryFn>("DPLReleaseLibrary")(id);
            FreeLibrary(module);
        }
    }
    template <class F> F Fn(const char* name) const {
        auto f = reinterpret_cast<F>(GetProcAddress(module, name));
        if (!f)
            ADD_FAILURE() << "missing entry point " << name;
        return f;
    }
};

struct Folder {
    std::string path;
    Folder() {
        char pattern[] = "/tmp/kelvane-pdflib-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    CString File(const char* name) const { return CString((path + "/" + name).c_str()); }
};

std::string Read(const CString& path) {
    std::ifstream in(path.ToUtf8(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A page of 200 x 100 points: a CMYK outline, an RGB filled and outlined square with a hole, a
// curve and a half circle.
void WriteSample(const Library& lib, const CString& path) {
    ASSERT_EQ(lib.Fn<DPLNewDocumentFn>("DPLNewDocument")(lib.id), 1);
    lib.Fn<DPLSetMeasurementUnitsFn>("DPLSetMeasurementUnits")(lib.id, 0);
    lib.Fn<DPLSetPageDimensionsFn>("DPLSetPageDimensions")(lib.id, 200, 100);
    lib.Fn<DPLSetOriginFn>("DPLSetOrigin")(lib.id, 0);
    auto start = lib.Fn<DPLPointFn>("DPLStartPath");
    auto move = lib.Fn<DPLPointFn>("DPLMovePath");
    auto line = lib.Fn<DPLPointFn>("DPLAddLineToPath");
    auto close = lib.Fn<DPLClosePathFn>("DPLClosePath");
    auto draw = lib.Fn<DPLDrawPathFn>("DPLDrawPath");

    lib.Fn<DPLSetColorCMYKFn>("DPLSetLineColorCMYK")(lib.id, 0, 1, 0, 0);
    start(lib.id, 10, 10);
    line(lib.id, 50, 10);
    draw(lib.id, kDplPathOutline);

    lib.Fn<DPLSetColorFn>("DPLSetFillColor")(lib.id, 1, 0, 0);
    lib.Fn<DPLSetColorFn>("DPLSetLineColor")(lib.id, 0, 0, 1);
    start(lib.id, 100, 10);
    line(lib.id, 180, 10);
    line(lib.id, 180, 90);
    line(lib.id, 100, 90);
    close(lib.id);
    move(lib.id, 120, 30);
    line(lib.id, 160, 30);
    line(lib.id, 160, 70);
    line(lib.id, 120, 70);
    close(lib.id);
    lib.Fn<DPLDrawPathFn>("DPLDrawPathEvenOdd")(lib.id, kDplPathFillAndOutline);

    start(lib.id, 10, 50);
    lib.Fn<DPLAddCurveToPathFn>("DPLAddCurveToPath")(lib.id, 20, 90, 40, 90, 50, 50);
    lib.Fn<DPLAddArcToPathFn>("DPLAddArcToPath")(lib.id, 60, 50, 180);
    draw(lib.id, kDplPathOutline);
    ASSERT_EQ(lib.Fn<DPLSaveToFileFn>("DPLSaveToFile")(lib.id, path), 1);
}

} // namespace

TEST(PdfLibrary, WrittenPageComesBackAsEpsInTheImportsWords) {
    Library lib;
    ASSERT_NE(lib.module, nullptr) << platform::GetModuleLoadError().ToUtf8();
    Folder dir;
    WriteSample(lib, dir.File("sample.pdf"));
    EXPECT_EQ(Read(dir.File("sample.pdf")).rfind("%PDF-1.4", 0), 0u);

    int doc = lib.Fn<DPLLoadFromFileFn>("DPLLoadFromFile")(lib.id, dir.File("sample.pdf"), L"");
    ASSERT_NE(doc, 0);
    EXPECT_EQ(lib.Fn<DPLPageCountFn>("DPLPageCount")(lib.id), 1);
    EXPECT_EQ(lib.Fn<DPLSelectPageFn>("DPLSelectPage")(lib.id, 1), 1);
    EXPECT_EQ(lib.Fn<DPLSelectPageFn>("DPLSelectPage")(lib.id, 2), 0);
    EXPECT_EQ(lib.Fn<DPLGetOriginFn>("DPLGetOrigin")(lib.id), 0);
    ASSERT_EQ(lib.Fn<DPLRenderPageToFileFn>("DPLRenderPageToFile")(lib.id, 300, 1, kDplFormatEps,
                                                                   dir.File("sample.EPS")),
              1);
    std::string eps = Read(dir.File("sample.EPS"));
    for (const char* expected :
         {"%%BoundingBox: 0 0 200 100\n", "%%EndComments\n", "%%EndSetup\n",
          "0 1 0 0 K\n10 10 m\n50 10 l\nS\n", // CMYK outline
          "1 0 0 Xa\n0 0 1 XA\n100 10 m\n180 10 l\n180 90 l\n100 90 l\n100 10 l\nclosepath\n120 30 "
          "m\n",
          "closepath\nB\n",                                 // fill and stroke as one
          "10 50 m\n20 90 40 90 50 50 c\n", "70 50 c\nS\n", // curve, then the arc's end
          "%%EOF\n"})
        EXPECT_NE(eps.find(expected), std::string::npos) << expected << " not in\n" << eps;
    std::istringstream lines(eps);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LT(line.size(), 255u);

    EXPECT_EQ(lib.Fn<DPLDACloseFileFn>("DPLDACloseFile")(lib.id, doc), 1);
    EXPECT_EQ(lib.Fn<DPLPageCountFn>("DPLPageCount")(lib.id), 0);
    EXPECT_EQ(lib.Fn<DPLDACloseFileFn>("DPLDACloseFile")(lib.id, doc), 0);
}

TEST(PdfLibrary, RotatedPagesAndRasterFormats) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    Folder dir;
    // A hand-written page turned by 90 degrees (no cross-reference table: the reader rebuilds it).
    std::ofstream(dir.path + "/turned.pdf")
        << "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
           "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
           "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 300 100] /Rotate 90 "
           "/Contents 4 0 R >> endobj\n"
           "4 0 obj << /Length 20 >> stream\n0 0 m 300 100 l S\nendstream endobj\n"
           "trailer << /Root 1 0 R >>\n%%EOF\n";
    ASSERT_NE(lib.Fn<DPLLoadFromFileFn>("DPLLoadFromFile")(lib.id, dir.File("turned.pdf"), L""), 0);
    auto render = lib.Fn<DPLRenderPageToFileFn>("DPLRenderPageToFile");
    ASSERT_EQ(render(lib.id, 300, 1, kDplFormatEps, dir.File("turned.eps")), 1);
    EXPECT_NE(Read(dir.File("turned.eps")).find("%%BoundingBox: 0 0 100 300\n"), std::string::npos);

    ASSERT_EQ(render(lib.id, 30, 1, kDplFormatBmp, dir.File("turned.bmp")), 1);
    EXPECT_EQ(Read(dir.File("turned.bmp")).substr(0, 2), "BM");
    ASSERT_EQ(render(lib.id, 30, 1, kDplFormatJpeg, dir.File("turned.jpg")), 1);
    EXPECT_EQ(Read(dir.File("turned.jpg")).substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(render(lib.id, 300, 1, 5, dir.File("turned.x")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path + "/turned.x"));
}

TEST(PdfLibrary, DamagedAndMissingFilesDoNotLoad) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    Folder dir;
    auto load = lib.Fn<DPLLoadFromFileFn>("DPLLoadFromFile");
    std::ofstream(dir.path + "/text.pdf") << "this is not a PDF";
    std::ofstream(dir.path + "/cut.pdf") << "%PDF-1.4\n1 0 obj << /Type /Catalog /Pag";
    for (const char* name : {"text.pdf", "cut.pdf", "absent.pdf"})
        EXPECT_EQ(load(lib.id, dir.File(name), L""), 0) << name;
    EXPECT_EQ(lib.Fn<DPLPageCountFn>("DPLPageCount")(lib.id), 0);
    EXPECT_EQ(lib.Fn<DPLRenderPageToFileFn>("DPLRenderPageToFile")(lib.id, 300, 1, kDplFormatEps,
                                                                   dir.File("none.eps")),
              0);
    EXPECT_EQ(load(lib.id + 1000, dir.File("text.pdf"), L""), 0); // no such instance
}

// An import loads a file to check it, loads it again and converts it: one helper run answers
// all three while the file is unchanged. With the helper kept from running (no address space),
// only what the first run learnt can answer.
TEST(PdfLibrary, ACheckedFileIsConvertedWithoutRunningTheHelperAgain) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    Folder dir;
    WriteSample(lib, dir.File("a.pdf"));
    WriteSample(lib, dir.File("b.pdf"));
    auto load = lib.Fn<DPLLoadFromFileFn>("DPLLoadFromFile");
    auto close = lib.Fn<DPLDACloseFileFn>("DPLDACloseFile");
    auto render = lib.Fn<DPLRenderPageToFileFn>("DPLRenderPageToFile");
    struct NoHelper {
        NoHelper() { ::setenv("PDFLIBRARY_MEMORY_MB", "1", 1); }
        ~NoHelper() { ::unsetenv("PDFLIBRARY_MEMORY_MB"); }
    };

    int doc = load(lib.id, dir.File("a.pdf"), L"");
    ASSERT_NE(doc, 0);
    close(lib.id, doc);
    {
        NoHelper noHelper;
        doc = load(lib.id, dir.File("a.pdf"), L"");
        ASSERT_NE(doc, 0);
        EXPECT_EQ(lib.Fn<DPLPageCountFn>("DPLPageCount")(lib.id), 1);
        ASSERT_EQ(render(lib.id, 300, 1, kDplFormatEps, dir.File("a.EPS")), 1);
        const std::string eps = Read(dir.File("a.EPS"));
        EXPECT_NE(eps.find("%%EndSetup\n"), std::string::npos);
        EXPECT_NE(eps.find("%%EOF\n"), std::string::npos);
        // The kept page is handed over once; a second conversion, or the next load of the
        // same file, needs the helper, as does another file.
        EXPECT_EQ(render(lib.id, 300, 1, kDplFormatEps, dir.File("again.EPS")), 0);
        EXPECT_FALSE(std::filesystem::exists(dir.path + "/again.EPS"));
        close(lib.id, doc);
        EXPECT_EQ(load(lib.id, dir.File("a.pdf"), L""), 0);
        EXPECT_EQ(load(lib.id, dir.File("b.pdf"), L""), 0);
    }
    // A file changed on disk since its check is read again.
    doc = load(lib.id, dir.File("b.pdf"), L"");
    ASSERT_NE(doc, 0);
    close(lib.id, doc);
    std::ofstream(dir.path + "/b.pdf", std::ios::app) << "\n";
    NoHelper noHelper;
    EXPECT_EQ(load(lib.id, dir.File("b.pdf"), L""), 0);
}

TEST(PdfLibrary, FoldersLeftByAKilledImportGoWhenTheLibraryStartsAgain) {
    Folder tmp;
    const char* was = std::getenv("TMPDIR");
    const std::string saved = was ? was : "";
    ::setenv("TMPDIR", tmp.path.c_str(), 1);
    const std::string left = tmp.path + "/kelvane-pdf-a1B2c3";
    const std::string held = tmp.path + "/kelvane-pdf-x9Y8z7"; // a running program's
    const std::string other = tmp.path + "/kelvane-pdfx-q1w2e3";
    for (const std::string& d : {left, held, other})
        std::filesystem::create_directories(d);
    std::ofstream(left + "/page1.eps") << "%!PS";
    const int lock = ::open(held.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    {
        Library lib;
        ASSERT_NE(lib.module, nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(left));
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(other));
    ::close(lock);
    if (was)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

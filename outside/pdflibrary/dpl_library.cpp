// The PDF library's entry points. Documents are read by the helper programs beside this library
// (pdflibrary-helper, and pdflibrary-raster for pictures), one process per call, under a time limit
// and an address-space limit; its crash, hang or refusal is a failed call here. A load also has the
// helper write the first page as EPS, kept while the file is unchanged, so that a load check
// followed by a conversion runs the helper once. New documents are written in-process.
#include "dpl_entry_points.h"
#include "helper_runner.h"
#include "pdf_writer.h"
#include "prepared_file.h"

#include "platform/core/cstring.h"
#include "platform/system/module.h"
#include "platform/system/paths.h"
#include "platform/system/process.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#define DPL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const wchar_t* kHelperName = L"pdflibrary-helper";
constexpr const wchar_t* kRasterHelperName = L"pdflibrary-raster";
constexpr DWORD kDefaultTimeoutSeconds = 60;
constexpr uint64_t kDefaultMemoryMegabytes = 2048;

struct Document {
    CString path;
    int pages = 0;
};

struct Instance {
    std::map<int, Document> documents;
    int selectedDocument = 0;
    int selectedPage = 1;
    std::unique_ptr<PdfWriter> writer;
    PreparedFile prepared;
};

std::map<int, Instance> g_instances;
int g_nextInstance = 1;
int g_nextDocument = 1;

Instance* Find(int instance) {
    auto it = g_instances.find(instance);
    return it == g_instances.end() ? nullptr : &it->second;
}

Document* Selected(Instance& in) {
    auto it = in.documents.find(in.selectedDocument);
    return it == in.documents.end() ? nullptr : &it->second;
}

// Limits of the helper, from the environment: PDFLIBRARY_TIMEOUT (seconds) and
// PDFLIBRARY_MEMORY_MB (address space; 0 for none).
uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v)
        return fallback;
    char* end = nullptr;
    unsigned long long n = std::strtoull(v, &end, 10);
    return end && *end == 0 ? n : fallback;
}

HelperRunner& Runner() {
    static HelperRunner runner;
    return runner;
}

HelperRunner::Outcome RunHelperFor(const std::vector<CString>& arguments, std::string* output,
                                   const wchar_t* name = kHelperName) {
    CString self = platform::ModuleFilePathOf(reinterpret_cast<const void*>(&RunHelperFor));
    CString helper = platform::FolderOf(self) + name;
    platform::ProcessLimits limits;
    limits.addressSpaceBytes = EnvNumber("PDFLIBRARY_MEMORY_MB", kDefaultMemoryMegabytes) << 20;
    const DWORD timeoutMs = DWORD(EnvNumber("PDFLIBRARY_TIMEOUT", kDefaultTimeoutSeconds) * 1000);
    // Imports come again and again: the EPS helper is started ahead of its next command.
    return Runner().Run(helper, arguments, limits, timeoutMs, output, name == kHelperName);
}

bool RunHelper(const std::vector<CString>& arguments, const wchar_t* name = kHelperName) {
    return RunHelperFor(arguments, nullptr, name).ok;
}

// The page count of a file, from the remembered preparation or from one helper run that also
// writes its first page as EPS for the conversion that usually follows.
int LoadPages(Instance& in, const CString& path) {
    const std::string native = path.ToUtf8();
    if (int pages = in.prepared.Pages(native))
        return pages;
    in.prepared.Forget();
    const std::string eps = in.prepared.NewEpsPath();
    std::string output;
    const HelperRunner::Outcome run =
        eps.empty() ? RunHelperFor({L"info", path}, &output)
                    : RunHelperFor({L"load", path, CString::FromUtf8(eps)}, &output);
    int pages = 0;
    // The count comes first; a page that then fails to draw leaves the file loadable.
    if (std::sscanf(output.c_str(), "pages %d", &pages) != 1 || pages < 1)
        return 0;
    const bool drawn = run.ok && !eps.empty();
    if (!drawn && !eps.empty())
        std::remove(eps.c_str());
    // A helper that was killed (time or memory) or crashed would do so again on the same page.
    in.prepared.Remember(native, pages, drawn ? eps : std::string(), !eps.empty() && !run.ran);
    return pages;
}

CString Native(const wchar_t* path) {
    return CString(platform::MapPath(path ? path : L"").c_str());
}

} // namespace

DPL_EXPORT int DPLCreateLibrary() {
    // Once per load: the program starts the library at every start.
    static const bool swept = (PreparedFile::RemoveAbandonedFolders(), true);
    (void)swept;
    int id = g_nextInstance++;
    g_instances[id];
    return id;
}

DPL_EXPORT int DPLReleaseLibrary(int instance) {
    if (!g_instances.erase(instance))
        return 0;
    // No helper process is left waiting once the last instance is gone.
    if (g_instances.empty())
        Runner().DropSpare();
    return 1;
}

DPL_EXPORT int DPLLoadFromFile(int instance, const wchar_t* fileName, const wchar_t*) {
    Instance* in = Find(instance);
    if (!in || !fileName || !*fileName)
        return 0;
    CString path = Native(fileName);
    const int pages = LoadPages(*in, path);
    if (pages < 1)
        return 0;
    int handle = g_nextDocument++;
    in->documents[handle] = Document{path, pages};
    in->selectedDocument = handle;
    in->selectedPage = 1;
    return handle;
}

DPL_EXPORT int DPLDACloseFile(int instance, int document) {
    Instance* in = Find(instance);
    if (!in || !in->documents.erase(document))
        return 0;
    if (in->selectedDocument == document)
        in->selectedDocument = 0;
    return 1;
}

DPL_EXPORT int DPLPageCount(int instance) {
    Instance* in = Find(instance);
    Document* doc = in ? Selected(*in) : nullptr;
    return doc ? doc->pages : 0;
}

DPL_EXPORT int DPLSelectPage(int instance, int page) {
    Instance* in = Find(instance);
    Document* doc = in ? Selected(*in) : nullptr;
    if (!doc || page < 1 || page > doc->pages)
        return 0;
    in->selectedPage = page;
    return 1;
}

// Pages are always given with their origin at the lower left.
DPL_EXPORT int DPLGetOrigin(int) {
    return 0;
}

// Content streams and text are not offered: their calls answer with empty results.
DPL_EXPORT int DPLCombineContentStreams(int) {
    return 0;
}
DPL_EXPORT int DPLContentStreamCount(int) {
    return 0;
}
DPL_EXPORT int DPLSelectContentStream(int, int) {
    return 0;
}
DPL_EXPORT const char* DPLGetContentStreamToString(int) {
    return "";
}
DPL_EXPORT int DPLAnsiStringResultLength(int) {
    return 0;
}
DPL_EXPORT int DPLSplitPageText(int, int) {
    return 0;
}
DPL_EXPORT const wchar_t* DPLGetPageText(int, int) {
    return L"";
}
DPL_EXPORT int DPLStringResultLength(int) {
    return 0;
}

DPL_EXPORT int DPLRenderPageToFile(int instance, int dpi, int page, int format,
                                   const wchar_t* fileName) {
    Instance* in = Find(instance);
    Document* doc = in ? Selected(*in) : nullptr;
    if (!doc || !fileName || page < 1 || page > doc->pages)
        return 0;
    CString out = Native(fileName);
    CString pageText;
    pageText.Format(L"%d", page);
    if (format == kDplFormatEps) {
        const std::string native = doc->path.ToUtf8();
        if (page == 1 && in->prepared.TakeEps(native, out.ToUtf8()))
            return 1;
        if (page == 1 && in->prepared.EpsKnownToFail(native))
            return 0;
        return RunHelper({L"eps", doc->path, pageText, out}) ? 1 : 0;
    }
    if (format != kDplFormatBmp && format != kDplFormatJpeg && format != kDplFormatTiff)
        return 0;
    CString dpiText, formatText;
    dpiText.Format(L"%d", dpi);
    formatText.Format(L"%d", format);
    return RunHelper({doc->path, pageText, dpiText, formatText, out}, kRasterHelperName) ? 1 : 0;
}

DPL_EXPORT int DPLNewDocument(int instance) {
    Instance* in = Find(instance);
    if (!in)
        return 0;
    in->writer = std::make_unique<PdfWriter>();
    return 1;
}

namespace {

// The document being built, or null.
PdfWriter* Writer(int instance) {
    Instance* in = Find(instance);
    return in ? in->writer.get() : nullptr;
}

} // namespace

#define DPL_WRITER_CALL(call)                                                                      \
    PdfWriter* w = Writer(instance);                                                               \
    if (!w)                                                                                        \
        return 0;                                                                                  \
    w->call;                                                                                       \
    return 1

// Points only, origin at the lower left: what the program asks for.
DPL_EXPORT int DPLSetMeasurementUnits(int instance, int units) {
    return Writer(instance) && units == 0 ? 1 : 0;
}
DPL_EXPORT int DPLSetOrigin(int instance, int origin) {
    return Writer(instance) && origin == 0 ? 1 : 0;
}
DPL_EXPORT int DPLSetPageDimensions(int instance, double width, double height) {
    DPL_WRITER_CALL(SetPageSize(width, height));
}
DPL_EXPORT int DPLSetLineWidth(int instance, double width) {
    DPL_WRITER_CALL(SetLineWidth(width));
}
DPL_EXPORT int DPLSetLineJoin(int instance, int join) {
    DPL_WRITER_CALL(SetLineJoin(join));
}
DPL_EXPORT int DPLSetLineColor(int instance, double r, double g, double b) {
    DPL_WRITER_CALL(SetStrokeRgb(r, g, b));
}
DPL_EXPORT int DPLSetFillColor(int instance, double r, double g, double b) {
    DPL_WRITER_CALL(SetFillRgb(r, g, b));
}
DPL_EXPORT int DPLSetLineColorCMYK(int instance, double c, double m, double y, double k) {
    DPL_WRITER_CALL(SetStrokeCmyk(c, m, y, k));
}
DPL_EXPORT int DPLSetFillColorCMYK(int instance, double c, double m, double y, double k) {
    DPL_WRITER_CALL(SetFillCmyk(c, m, y, k));
}
DPL_EXPORT int DPLStartPath(int instance, double x, double y) {
    DPL_WRITER_CALL(StartPath(x, y));
}
DPL_EXPORT int DPLMovePath(int instance, double x, double y) {
    DPL_WRITER_CALL(MoveTo(x, y));
}
DPL_EXPORT int DPLAddLineToPath(int instance, double x, double y) {
    DPL_WRITER_CALL(LineTo(x, y));
}
DPL_EXPORT int DPLAddCurveToPath(int instance, double x1, double y1, double x2, double y2,
                                 double x3, double y3) {
    DPL_WRITER_CALL(CurveTo(x1, y1, x2, y2, x3, y3));
}
DPL_EXPORT int DPLAddArcToPath(int instance, double centreX, double centreY, double sweep) {
    DPL_WRITER_CALL(ArcTo(centreX, centreY, sweep));
}
DPL_EXPORT int DPLClosePath(int instance) {
    DPL_WRITER_CALL(ClosePath());
}
DPL_EXPORT int DPLDrawPath(int instance, int option) {
    DPL_WRITER_CALL(DrawPath(option, false));
}
DPL_EXPORT int DPLDrawPathEvenOdd(int instance, int option) {
    DPL_WRITER_CALL(DrawPath(option, true));
}
DPL_EXPORT int DPLDrawLine(int instance, double x1, double y1, double x2, double y2) {
    DPL_WRITER_CALL(DrawLine(x1, y1, x2, y2));
}

// Writes the new document; it then becomes the selected document, so that it can be rendered.
DPL_EXPORT int DPLSaveToFile(int instance, const wchar_t* fileName) {
    Instance* in = Find(instance);
    if (!in || !in->writer || !fileName || !*fileName)
        return 0;
    CString path = Native(fileName);
    if (!in->writer->Save(path.ToUtf8()))
        return 0;
    int handle = g_nextDocument++;
    in->documents[handle] = Document{path, 1};
    in->selectedDocument = handle;
    in->selectedPage = 1;
    return 1;
}

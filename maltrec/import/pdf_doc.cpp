#include "pdf_doc.h"

#include "pdf_library_binding.h"

#include "pivora/framework/app_params.h"
#include "platform/system/file_names.h"
#include "platform/system/paths.h"

#include <algorithm>

namespace {

constexpr int kRenderDpi = 300;
constexpr int kFirstPage = 1;

struct OutputKind {
    const wchar_t* extension;
    int format;
};
constexpr OutputKind kOutputKinds[] = {
    {L".EPS", kDplFormatEps},
    {L".bmp", kDplFormatBmp},
    {L".jpg", kDplFormatJpeg},
    {L".tiff", kDplFormatTiff},
};

} // namespace

CPDFDoc::CPDFDoc() {
    Reset();
}

void CPDFDoc::Reset() {
    m_bDraw = m_bFillOn = m_bHasChildren = m_bCompound = false;
    m_firstPoint = CLpoint();
    m_lastPoint = CLpoint();
    m_mat = CMat2d();
    m_map.RemoveAll();
    m_list.RemoveAll();
}

StCMYK FnRGBToCMYK(COLORREF colour) {
    const double r = GetRValue(colour) / 255.0, g = GetGValue(colour) / 255.0,
                 b = GetBValue(colour) / 255.0;
    if (r == 0 && g == 0 && b == 0)
        return {0, 0, 0, 1};
    if (r == 1 && g == 1 && b == 1)
        return {0, 0, 0, 0};
    const double c = 1 - r, m = 1 - g, y = 1 - b;
    const double k = std::min({c, m, y});
    return {(c - k) / (1 - k), (m - k) / (1 - k), (y - k) / (1 - k), k};
}

bool CDebenuPDF::CheckDocument(const CString& path, CJoxPage* page, UINT flags) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib)
        return false;
    m_pPage = page;
    const int id = lib->Instance();
    const int document = lib->DPLLoadFromFile(id, path, L"");
    if (!document)
        return false;
    const int pages = lib->DPLPageCount(id);
    for (int p = 1; p <= pages; ++p) {
        lib->DPLSelectPage(id, p);
        lib->DPLGetOrigin(id);
        if (flags & kCheckContents) {
            lib->DPLCombineContentStreams(id);
            lib->DPLSplitPageText(id, 0);
            lib->DPLGetPageText(id, 0);
            lib->DPLStringResultLength(id);
            const int streams = lib->DPLContentStreamCount(id);
            for (int s = 1; s <= streams; ++s) {
                lib->DPLSelectContentStream(id, s);
                lib->DPLGetContentStreamToString(id);
                lib->DPLAnsiStringResultLength(id);
            }
        }
    }
    lib->DPLDACloseFile(id, document);
    return true;
}

bool CDebenuPDF::ConvertToFile(const CString& source, CString* output, const wchar_t* extension) {
    CPDFLibraryBinding* lib = FnGetPDFLibrary();
    if (!lib)
        return false;
    CString folder;
    QvHomePath(L"Temp", folder);
    // A fresh installation has no temporary folder yet.
    platform::CreateFolders(folder);
    const int id = lib->Instance();
    const int document = lib->DPLLoadFromFile(id, source, L"");
    if (!document)
        return false;
    const CString ext = extension ? extension : L"";
    const CString path = folder + L"\\" + platform::SplitPathParts(source).name + ext;
    if (platform::PathExists(path))
        DeleteFileW(path);
    for (const OutputKind& kind : kOutputKinds) {
        if (ext == kind.extension) {
            lib->DPLRenderPageToFile(id, kRenderDpi, kFirstPage, kind.format, path);
            break;
        }
    }
    if (output)
        *output = path;
    lib->DPLDACloseFile(id, document);
    return true;
}

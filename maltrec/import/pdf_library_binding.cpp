#include "pdf_library_binding.h"

#include "pivora/framework/app_params.h"
#include "platform/system/file_names.h"

namespace {

CPDFLibraryBinding* g_binding = nullptr;
CString g_programFolder;
CString g_libraryFileOverride;

// The module path buffer of the original: paths longer than this are cut.
constexpr DWORD kModulePathSize = 261;

} // namespace

CPDFLibraryBinding::~CPDFLibraryBinding() {
    Release();
}

void CPDFLibraryBinding::Bind(const CString& path) {
    m_hModule = LoadLibraryW(path);
    if (!m_hModule) {
        m_bMissingEntry = 1;
        return;
    }
    auto bind = [this](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(
            GetProcAddress(m_hModule, name));
        if (!slot)
            m_bMissingEntry = 1;
    };
#define DPL_BIND(name) bind(name, #name)
    DPL_BIND(DPLCreateLibrary);
    DPL_BIND(DPLReleaseLibrary);
    DPL_BIND(DPLLoadFromFile);
    DPL_BIND(DPLDACloseFile);
    DPL_BIND(DPLPageCount);
    DPL_BIND(DPLSelectPage);
    DPL_BIND(DPLGetOrigin);
    DPL_BIND(DPLCombineContentStreams);
    DPL_BIND(DPLContentStreamCount);
    DPL_BIND(DPLSelectContentStream);
    DPL_BIND(DPLGetContentStreamToString);
    DPL_BIND(DPLAnsiStringResultLength);
    DPL_BIND(DPLSplitPageText);
    DPL_BIND(DPLGetPageText);
    DPL_BIND(DPLStringResultLength);
    DPL_BIND(DPLRenderPageToFile);
    DPL_BIND(DPLNewDocument);
    DPL_BIND(DPLSetMeasurementUnits);
    DPL_BIND(DPLSetOrigin);
    DPL_BIND(DPLSetPageDimensions);
    DPL_BIND(DPLSaveToFile);
    DPL_BIND(DPLSetLineWidth);
    DPL_BIND(DPLSetLineJoin);
    DPL_BIND(DPLSetLineColor);
    DPL_BIND(DPLSetFillColor);
    DPL_BIND(DPLSetLineColorCMYK);
    DPL_BIND(DPLSetFillColorCMYK);
    DPL_BIND(DPLStartPath);
    DPL_BIND(DPLMovePath);
    DPL_BIND(DPLAddLineToPath);
    DPL_BIND(DPLAddCurveToPath);
    DPL_BIND(DPLAddArcToPath);
    DPL_BIND(DPLClosePath);
    DPL_BIND(DPLDrawPath);
    DPL_BIND(DPLDrawPathEvenOdd);
    DPL_BIND(DPLDrawLine);
#undef DPL_BIND
    if (DPLCreateLibrary)
        m_nInstance = DPLCreateLibrary();
}

void CPDFLibraryBinding::Release() {
    if (m_nInstance > 0 && DPLReleaseLibrary)
        DPLReleaseLibrary(m_nInstance);
    m_nInstance = 0;
    if (m_hModule) {
        FreeLibrary(m_hModule);
        m_hModule = nullptr;
    }
}

bool FnLoadPDFLibrary() {
    if (g_binding)
        return true;
    wchar_t modulePath[kModulePathSize] = {};
    GetModuleFileNameW(nullptr, modulePath, kModulePathSize);
    platform::PathParts parts = platform::SplitPathParts(modulePath);
    g_programFolder = parts.drive + parts.folder;
    auto* binding = new CPDFLibraryBinding;
    binding->Bind(g_libraryFileOverride.IsEmpty()
                      ? g_programFolder + CPDFLibraryBinding::kLibraryFile
                      : g_libraryFileOverride);
    if (binding->IsMissingEntry()) {
        CString reason = binding->m_hModule ? CString(L"an entry point is missing")
                                            : platform::GetModuleLoadError();
        QvLogAction(L"PDF library not loaded: " + reason);
        delete binding;
        return false;
    }
    g_binding = binding;
    return true;
}

void FnReleasePDFLibrary() {
    delete g_binding;
    g_binding = nullptr;
}

CPDFLibraryBinding* FnGetPDFLibrary() {
    return g_binding;
}

const CString& FnGetPDFProgramFolder() {
    return g_programFolder;
}

void FnSetPDFLibraryFile(const CString& path) {
    g_libraryFileOverride = path;
}

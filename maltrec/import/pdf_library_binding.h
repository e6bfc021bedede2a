// The vendor PDF library, loaded at run time from the program folder and bound by name. Only
// the entry points the import road and the design writer call are bound; one that is missing
// fails the load.
#pragma once

#include "outside/pdflibrary/dpl_entry_points.h"
#include "platform/core/cstring.h"
#include "platform/system/module.h"

class CPDFLibraryBinding {
public:
    // The library's file, looked for in the program folder.
    static constexpr const wchar_t* kLibraryFile = L"DebenuPDFLibraryDLL.dll";

    CPDFLibraryBinding() = default;
    ~CPDFLibraryBinding();
    CPDFLibraryBinding(const CPDFLibraryBinding&) = delete;
    CPDFLibraryBinding& operator=(const CPDFLibraryBinding&) = delete;

    // Loads the library at `path` and binds every entry point; on any failure the missing-entry
    // flag is set. Creates the library instance when the module loaded.
    void Bind(const CString& path);
    // Releases the instance (when above 0) and frees the module.
    void Release();
    bool IsMissingEntry() const { return m_bMissingEntry != 0; }
    int Instance() const { return m_nInstance; }

    HMODULE m_hModule = nullptr;
    int m_nInstance = 0;
    BYTE m_bMissingEntry = 0;

    DPLCreateLibraryFn DPLCreateLibrary = nullptr;
    DPLReleaseLibraryFn DPLReleaseLibrary = nullptr;
    DPLLoadFromFileFn DPLLoadFromFile = nullptr;
    DPLDACloseFileFn DPLDACloseFile = nullptr;
    DPLPageCountFn DPLPageCount = nullptr;
    DPLSelectPageFn DPLSelectPage = nullptr;
    DPLGetOriginFn DPLGetOrigin = nullptr;
    DPLCombineContentStreamsFn DPLCombineContentStreams = nullptr;
    DPLContentStreamCountFn DPLContentStreamCount = nullptr;
    DPLSelectContentStreamFn DPLSelectContentStream = nullptr;
    DPLGetContentStreamToStringFn DPLGetContentStreamToString = nullptr;
    DPLAnsiStringResultLengthFn DPLAnsiStringResultLength = nullptr;
    DPLSplitPageTextFn DPLSplitPageText = nullptr;
    DPLGetPageTextFn DPLGetPageText = nullptr;
    DPLStringResultLengthFn DPLStringResultLength = nullptr;
    DPLRenderPageToFileFn DPLRenderPageToFile = nullptr;
    DPLNewDocumentFn DPLNewDocument = nullptr;
    DPLSetMeasurementUnitsFn DPLSetMeasurementUnits = nullptr;
    DPLSetOriginFn DPLSetOrigin = nullptr;
    DPLSetPageDimensionsFn DPLSetPageDimensions = nullptr;
    DPLSaveToFileFn DPLSaveToFile = nullptr;
    DPLSetLineWidthFn DPLSetLineWidth = nullptr;
    DPLSetLineJoinFn DPLSetLineJoin = nullptr;
    DPLSetColorFn DPLSetLineColor = nullptr;
    DPLSetColorFn DPLSetFillColor = nullptr;
    DPLSetColorCMYKFn DPLSetLineColorCMYK = nullptr;
    DPLSetColorCMYKFn DPLSetFillColorCMYK = nullptr;
    DPLPointFn DPLStartPath = nullptr;
    DPLPointFn DPLMovePath = nullptr;
    DPLPointFn DPLAddLineToPath = nullptr;
    DPLAddCurveToPathFn DPLAddCurveToPath = nullptr;
    DPLAddArcToPathFn DPLAddArcToPath = nullptr;
    DPLClosePathFn DPLClosePath = nullptr;
    DPLDrawPathFn DPLDrawPath = nullptr;
    DPLDrawPathFn DPLDrawPathEvenOdd = nullptr;
    DPLDrawLineFn DPLDrawLine = nullptr;
};

// The PDF manager's library state: the binding while the library is loaded, and the program
// folder it was loaded from.
//
// Loads the library from the program folder once; true while it is loaded. A failed load leaves
// no binding (the reason is in the action log when one is kept).
bool FnLoadPDFLibrary();
// Releases and deletes the binding.
void FnReleasePDFLibrary();
// The binding, or null while the library is not loaded.
CPDFLibraryBinding* FnGetPDFLibrary();
// The drive and folder of the running program, ending in a separator ("" before the first load).
const CString& FnGetPDFProgramFolder();
// Points later loads at another library file (tests of a broken installation); an empty path
// restores the program folder's library.
void FnSetPDFLibraryFile(const CString& path);

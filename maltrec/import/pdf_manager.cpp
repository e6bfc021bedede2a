#include "maltrec/import/pdf_manager.h"

#include "maltrec/import/import_eps.h"
#include "maltrec/import/import_failure.h"
#include "maltrec/import/pdf_doc.h"
#include "maltrec/import/pdf_library_binding.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/percentage_dlg.h"
#include "platform/core/file.h"
#include "platform/framework/file_dialog.h"
#include "platform/system/file_names.h"

namespace {

constexpr const wchar_t* kEpsExtension = L".EPS";
// The interpreter's kind for a file that came through this road.
constexpr int kEpsReadKind = 2;

size_t TopLevelCount(CDesignPage* page) {
    size_t n = 0;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        ++n;
    return n;
}

} // namespace

CPDFManager::EManagerStatus CPDFManager::m_eManagerStatus = CPDFManager::eNotStarted;
CPercentageDlg* CPDFManager::m_pProgDlg = nullptr;
bool CPDFManager::m_bDeleteNewEPS = true;

CPDFManager::CPDFManager() {
    m_bDeleteNewEPS = QvGetSetAppParam(L"Delete New EPS", 1) == 1;
}

bool CPDFManager::StartPDFManager() {
    if (m_eManagerStatus != eNotStarted)
        return m_eManagerStatus == eRunning;
    const bool ok = FnLoadPDFLibrary();
    m_eManagerStatus = ok ? eRunning : eFailedToStart;
    return ok;
}

void CPDFManager::StopPDFManager() {
    StopProgress();
    FnReleasePDFLibrary();
}

bool CPDFManager::ReadPDFDocument(const CString& path, CDesignPage* page, UINT flags,
                                  CArticleList*) {
    if (!page)
        return false;
    if (m_eManagerStatus == eNotStarted)
        StartPDFManager();
    // Stopped (the library released) reads nothing either.
    if (m_eManagerStatus != eRunning || !FnGetPDFLibrary()) {
        FnSetImportFailure(L"The PDF library could not be loaded.");
        return false;
    }

    CString extension = platform::SplitPathParts(path).extension;
    extension.MakeUpper();
    CString readPath = path;
    bool converted = false;
    if (extension != kEpsExtension) {
        if (!CDebenuPDF().CheckDocument(path, page, flags | CDebenuPDF::kCheckImport) ||
            !PdfToFormat(path, &readPath, kEpsExtension)) {
            FnSetImportFailure(L"The file cannot be read as a PDF document.");
            return false;
        }
        converted = true;
    }
    // A converted file goes on every road, also when it cannot be opened or read.
    struct RemoveConverted {
        const CString& file;
        bool on;
        ~RemoveConverted() {
            if (on)
                DeleteFileW(file);
        }
    } cleanup{readPath, converted && m_bDeleteNewEPS};

    auto* view = DynamicDowncast<CDesignView>(page->FirstView(RUNTIME_CLASS(CDesignView)));
    CFile file;
    if (!file.Open(readPath, CFile::modeRead | CFile::shareDenyWrite)) {
        FnSetImportFailure(L"The file cannot be opened.");
        return false;
    }
    const size_t before = TopLevelCount(page);
    int kind = kEpsReadKind;
    CImportEPS::ImportEPS3File(view, page, &file, 1, readPath, kind);
    // Success is an article added, not merely one already there.
    return TopLevelCount(page) > before;
}

bool CPDFManager::PdfToFormat(const CString& source, CString* destination,
                              const wchar_t* extension) {
    return CDebenuPDF().ConvertToFile(source, destination, extension);
}

bool CPDFManager::GetFileName(CString& path, UINT kind) {
    path.Empty();
    CString filter = kind ? L"Adobe Illustrator (*.ai)|*.ai|" : L"PDF (*.pdf)|*.pdf|";
    filter += L"All Files (*.*)|*.*|";
    filter += L"|";
    CFileDialog dialog(FALSE, kind ? L"ai" : L"pdf", nullptr,
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER, filter);
    if (dialog.DoModal() == IDOK)
        path = dialog.GetPathName();
    return !path.IsEmpty();
}

void CPDFManager::StartProgress() {
    StopProgress();
    m_pProgDlg = new CPercentageDlg(0, CPercentageDlg::IDD_PERCENTAGE);
    m_pProgDlg->Create(nullptr);
}

void CPDFManager::StopProgress() {
    if (!m_pProgDlg)
        return;
    m_pProgDlg->DestroyWindow();
    delete m_pProgDlg;
    m_pProgDlg = nullptr;
}

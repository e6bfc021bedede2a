// CVanterFerolinApp::fnImportFile: a file read into a design page by its extension identifier,
// then the page's style table tidied and the colour list brought up to date.
#include "kelvane/app/vanter_ferolin_app.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "kelvane/app/import_readers.h"
#include "kelvane/app/open_resources.h"
#include "kelvane/app/openable_file.h"
#include "maltrec/colour_tool_bar.h"
#include "maltrec/curve_utils.h"
#include "maltrec/cutoutput/colour_box.h"
#include "maltrec/import/import_failure.h"
#include "pivora/framework/app_params.h"
#include "platform/core/exceptions.h"
#include "platform/core/file.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/message_box.h"
#include "toolbars/toolbar_registry.h"
#include "vector/vector_style_pb.h"

namespace kelvane {

namespace {

CImportFailureToCaller*& CurrentCaller() {
    static CImportFailureToCaller* current = nullptr;
    return current;
}

} // namespace

CString ImportFailureText(UINT id, const CString& path, const CString& reason) {
    CString text;
    text.Format(LoadAppString(id), path.GetString());
    if (reason.IsEmpty())
        return text;
    CString first;
    first.Format(LoadAppString(IDS_IMPORT_FAILED), path.GetString());
    // The reason goes under the first line; a question of another wording gets it at the end.
    if (id != IDS_IMPORT_FAILED && text.Left(first.GetLength()) == first)
        return first + L"\n\n" + reason + text.Mid(first.GetLength());
    return text + L"\n\n" + reason;
}

void TellImportFailure(const CString& path, const CString& reason) {
    AfxMessageBox(ImportFailureText(IDS_IMPORT_FAILED, path, reason), MB_OK | MB_ICONEXCLAMATION);
}

CImportFailureToCaller::CImportFailureToCaller() : m_previous(CurrentCaller()) {
    CurrentCaller() = this;
}

CImportFailureToCaller::~CImportFailureToCaller() {
    CurrentCaller() = m_previous;
}

CImportFailureToCaller* CImportFailureToCaller::Current() {
    return CurrentCaller();
}

CString CImportFailureToCaller::TakeReason() {
    CString r = m_reason;
    m_reason.Empty();
    return r;
}

} // namespace kelvane

namespace {

// Told at once, or kept for the caller that tells it.
void Failed(const wchar_t* path, const CString& reason) {
    if (kelvane::CImportFailureToCaller* caller = kelvane::CImportFailureToCaller::Current())
        caller->Keep(reason);
    else
        kelvane::TellImportFailure(path, reason);
}

CDesignView* FirstDesignView(CDesignPage* page) {
    return DynamicDowncast<CDesignView>(page->FirstView(RUNTIME_CLASS(CDesignView)));
}

int ReadFile(CDesignPage* page, int id, UINT flags, CFile& file) {
    const kelvane::TImportReaders& readers = kelvane::ImportReaders();
    CDesignView* view = FirstDesignView(page);
    switch (id) {
    case kelvane::kExtIllustrator:
    case kelvane::kExtEps:
    case kelvane::kExtPdf: {
        const int result = readers.vectorDesign(page, &file, 0, nullptr);
        if (result)
            FnReplaceBezierCircles(page);
        return result;
    }
    case kelvane::kExtDxf: {
        QvSetAppParam(L"DXF Load Inches", 0);
        if (!QvGetAppParam(L"DXF Always mm", 0) &&
            AfxMessageBox(kelvane::IDS_DXF_TO_INCHES, MB_YESNO | MB_ICONQUESTION) == IDYES)
            QvSetAppParam(L"DXF Load Inches", 1);
        const int result = readers.vectorDesign(page, &file, 0, nullptr);
        if (result) {
            FnReplaceBezierCircles(page);
            if (view)
                view->ZoomResize(1, 0);
        }
        return result;
    }
    case kelvane::kExtPanel:
        return readers.panelFile(view, page, &file);
    default:
        // The spool reader looks at the content and hands HP-GL and GnM files on.
        if (kelvane::IsCutterFileExt(id))
            return readers.cutterFile(view, page, &file, flags, nullptr);
        return 0;
    }
}

void TidyStyleTable(CDesignPage* page) {
    CVectorStylePB* table = page->StyleTable();
    if (!table)
        return;
    if (table->fnGetSize() == 1)
        table->fnMergeColour(0);
    if (table->fnGetSize() < table->fnGetMinimumSize())
        table->fnResize(table->fnGetMinimumSize());
}

void RefreshColourList() {
    auto* bar = dynamic_cast<CColourToolBar*>(QvGetToolBar(CColourToolBar::kSlot, 0));
    if (!bar)
        return;
    if (CColourBox* box = bar->GetColourList())
        box->ResetListFromVectorStylePB(nullptr);
    bar->OnSelectionChanged();
}

} // namespace

int CVanterFerolinApp::fnImportFile(const wchar_t* path, CDesignPage* page, int id, UINT flags) {
    if (!page || !path || !page->StyleTable())
        return 0;
    FnTakeImportFailure();
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        Failed(path, L"The file cannot be opened.");
        return 0;
    }
    int result = 0;
    CString reason;
    try {
        result = ReadFile(page, id, flags, file);
        reason = FnTakeImportFailure();
    } catch (const CException& e) {
        // A reader that gave up half-way has said nothing yet.
        FnTakeImportFailure();
        reason = e.GetMessageText();
        result = 0;
    }
    file.Abort();
    TidyStyleTable(page);
    RefreshColourList();
    if (!result)
        Failed(path, reason);
    return result;
}

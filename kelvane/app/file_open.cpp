// CVanterFerolinApp::fnFileOpenDialog: the Open command. Designs and design templates open
// through their template; artwork and cutter files are imported into a new design each.
#include "kelvane/app/vanter_ferolin_app.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "design/imp_palette_undo.h"
#include "gastelo/browser.h"
#include "gastelo/file_extensions.h"
#include "kelvane/app/design_file_dlg.h"
#include "kelvane/app/import_readers.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/open_resources.h"
#include "kelvane/app/openable_file.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_doc_template.h"
#include "platform/windowing/message_box.h"

#include <filesystem>
#include <system_error>

namespace {

int NameStart(const CString& path) {
    return std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\')) + 1;
}

bool Exists(const CString& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path.ToUtf8()), ec);
}

// A name typed without "." gets the chosen filter's extension: as the filter spells it, or as
// the table does when only that file exists (names on disk are matched exactly). "--All
// files--" has no extension to give, so the name stays as typed.
CString WithFilterExtension(const CString& path, const CFilterInfo* chosen) {
    if (!chosen || path.Mid(NameStart(path)).Find(L'.') >= 0)
        return path;
    CString table;
    BrowserGetFileExt(chosen->m_nExtID, table);
    if (table.IsEmpty())
        return path;
    CString lower = table;
    lower.MakeLower();
    const CString first = path + L"." + lower;
    const CString second = path + L"." + table;
    return !Exists(first) && Exists(second) ? second : first;
}

// The file name without its folder and extension.
CString TitleOf(const CString& path) {
    CString name = path.Mid(NameStart(path));
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

CDesignView* FirstDesignView(CDesignPage* page) {
    return DynamicDowncast<CDesignView>(page->FirstView(RUNTIME_CLASS(CDesignView)));
}

} // namespace

int CVanterFerolinApp::fnFileOpenDialog(int useLastExtension) {
    CDesignFileDlg dialog(TRUE, useLastExtension, ImportFlags(), MainFrame());
    if (dialog.DoModal() != IDOK)
        return -1;
    const CFilterInfo* chosen = dialog.ChosenFilter();
    const int chosenId = dialog.LastExtension();
    int chooseTemplate = dialog.ChooseTemplate();
    const int count = dialog.GetPathCount();
    for (int i = 0; i < count; ++i) {
        const CString path = WithFilterExtension(dialog.GetPathName(i), chosen);
        const int context = chosen ? chosen->Context() : CFilterInfo::kDesignContext;
        int id = BrowserGetFileExtID(path);
        bool done = false;
        bool told = false;
        // Why the file was not imported, when it is known.
        CString reason;
        if (id == kelvane::kExtDesign || id == kelvane::kExtCutTemplate) {
            CJoxDocTemplate* tmpl = DocTemplateForContext(context);
            done = tmpl && tmpl->OpenDocumentFile(path, TRUE);
        } else if (FnIsSupportedExtension(id, dialog, path)) {
            auto* page = dynamic_cast<CDesignPage*>(
                BrowserOnFileNew(context, TitleOf(path), chooseTemplate));
            if (page) {
                CDesignView* view = FirstDesignView(page);
                if (view)
                    view->NotifyProcessStart();
                if (!page->StyleTable()) {
                    CString name;
                    if (!QvGetAppParam(L"Preset Open Template", name) &&
                        IndustryForContext(context))
                        name = L"VudizIvovaro.cut";
                    if (!name.IsEmpty()) {
                        CString file;
                        QvHomePath(CString(L"Templates\\") + name, file);
                        page->OnOpenDocument(file);
                    }
                }
                {
                    // Told below, with the question whether to go on.
                    kelvane::CImportFailureToCaller caller;
                    done = fnImportFile(path, page, id, 0) != 0;
                    reason = caller.TakeReason();
                }
                if (view)
                    view->NotifyProcessEnd();
                if (done) {
                    page->SetModifiedFlag();
                    if (view) {
                        view->SendMessage(WM_COMMAND, CImpPaletteUndo::ID_STYLES_CHANGED, 0);
                        view->ZoomAllData(1);
                        view->ZoomResize(1, 0);
                    }
                    if (chooseTemplate > 0)
                        chooseTemplate = 2;
                } else {
                    page->OnCloseDocument();
                }
            }
        } else {
            kelvane::TellImportFailure(path, FnFormatNotSupported(path));
            told = true;
        }
        if (done)
            continue;
        if (i + 1 < count) {
            const CString text =
                kelvane::ImportFailureText(kelvane::IDS_IMPORT_FAILED_CONTINUE, path, reason);
            if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDNO)
                break;
        } else if (!told) {
            kelvane::TellImportFailure(path, reason);
        }
    }
    return chosenId;
}

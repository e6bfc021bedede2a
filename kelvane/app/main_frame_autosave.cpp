// The main frame's autosave timer, the recovery of an earlier run's copies at start, and their
// removal when the program closes.
#include "design/design_view.h"
#include "gastelo/browser.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/auto_save.h"
#include "kelvane/app/main_frame.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/jox_page.h"
#include "platform/framework/context_menu_manager.h"
#include "platform/framework/win_app.h"
#include "platform/system/paths.h"
#include "platform/windowing/message_box.h"

#include <filesystem>
#include <system_error>

namespace {

// Contexts whose documents are autosaved.
constexpr int kFirstAutoSaveContext = 1;
constexpr int kLastAutoSaveContext = 59;

std::filesystem::path AutoSaveFolder() {
    return std::filesystem::path(platform::MapPath(CJoxPage::AutosaveFolder()));
}

CString Text(const std::filesystem::path& p) {
    return CString(p.string());
}

bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

// The page's recovery copy, noted with the design it belongs to.
bool WriteRecoveryCopy(CJoxPage* page) {
    if (!page->CreateAutosaveFile())
        return false;
    kelvane::RecordRecoveryOwner(AutoSaveFolder() / page->fnGetAutosaveFile().ToUtf8(),
                                 platform::MapPath(page->GetPathName()));
    return true;
}

} // namespace

void CMainFrame::fnStartAutoSaveTimer() {
    // The folder stands from the start, so that the close finds it even before the first copy;
    // its absence at close then means something took it away.
    std::error_code ec;
    std::filesystem::create_directories(AutoSaveFolder(), ec);
    if (!QvGetAppParam(L"AutoSaveOn", 1))
        return;
    SetTimer(kelvane::kAutoSaveTimerId,
             kelvane::AutoSaveIntervalMs(
                 QvGetAppParam(L"AutoSaveInterval", kelvane::kDefaultAutoSaveMinutes)));
}

void CMainFrame::OnTimer(UINT_PTR id) {
    if (id == kelvane::kAutoSaveTimerId) {
        KillTimer(id);
        fnAutoSave();
        fnStartAutoSaveTimer();
        return;
    }
    if (id == kelvane::kSpareTimerId) {
        KillTimer(id);
        return;
    }
    CJoxToolbarFrameWnd::OnTimer(id);
}

void CMainFrame::fnAutoSave() {
    int method = QvGetAppParam(L"AutoSaveMethod", kelvane::kAutoSaveAll);
    if (method != kelvane::kAutoSaveActive && method != kelvane::kAutoSaveAll) {
        QvSetAppParam(L"AutoSaveMethod", kelvane::kAutoSaveAll);
        AfxMessageBox(kelvane::IDS_ILLEGAL_AUTOSAVE_METHOD);
        method = kelvane::kAutoSaveAll;
    }
    if (method == kelvane::kAutoSaveActive) {
        CFrameWnd* active = GetActiveFrame();
        if (auto* page = dynamic_cast<CJoxPage*>(active ? active->GetActiveDocument() : nullptr))
            WriteRecoveryCopy(page);
        return;
    }
    for (int context = kFirstAutoSaveContext; context <= kLastAutoSaveContext; ++context) {
        CJoxWinAppEx* app = JoxGetApp();
        if (!app || context >= app->ContextCount())
            break;
        CJoxDocTemplate* tmpl = GetDocTemplate(context);
        if (!tmpl || !tmpl->HasContext(context))
            continue;
        for (POSITION pos = tmpl->GetFirstDocPosition(); pos;)
            if (auto* page = dynamic_cast<CJoxPage*>(tmpl->GetNextDoc(pos)))
                WriteRecoveryCopy(page);
    }
}

void CMainFrame::fnRemoveAutoSaveFiles() {
    const std::filesystem::path folder = AutoSaveFolder();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        AfxMessageBox(L"The designated Autosave directory does not exist\nAutosave files will "
                      L"not be removed!!");
        return;
    }
    for (const auto& file : kelvane::FindRecoveryFiles(folder))
        std::filesystem::remove(file, ec); // one that will not go is left alone
}

void CMainFrame::fnLoadAutoSaveFiles() {
    const std::filesystem::path folder = AutoSaveFolder();
    // What a killed autosave left half written is no copy: it goes whether or not copies are
    // offered.
    kelvane::RemoveAbandonedRecoveryParts(folder);
    if (!QvGetSetAppParam(L"Load Autosave Files", 1))
        return;
    auto found = kelvane::FindRecoveryFiles(folder);
    if (found.empty())
        return;
    // Read before the design folder is looked up, which stores its default.
    CString designDir;
    QvGetAppParam(L"DefaultDesignDirectory", designDir);
    // A copy written before its design was last saved holds nothing the design lacks: a kill
    // between the save and the close kept it. It goes without a question.
    CString designFolder;
    BrowserGetDesignPath(designFolder);
    const std::filesystem::path designs(platform::MapPath(designFolder));
    std::erase_if(found, [&](const std::filesystem::path& file) {
        if (!kelvane::IsSupersededRecoveryCopy(file, designs))
            return false;
        std::error_code ec;
        std::filesystem::remove(file, ec);
        return true;
    });
    CJoxWinAppEx* app = JoxGetApp();
    CJoxDocTemplate* tmpl = app && app->ContextCount() > CDesignView::kContext
                                ? GetDocTemplate(CDesignView::kContext)
                                : nullptr;
    if (found.empty() || !tmpl)
        return;
    for (const auto& file : found) {
        CString question;
        AfxLoadString(kelvane::IDS_RESTORE_AUTOSAVE, question);
        question.Replace(L"%1", Text(file.filename()));
        if (AfxMessageBox(question, MB_YESNO) != IDYES)
            continue;
        // Only the extension changes, and no design of that name is replaced.
        const std::filesystem::path target = kelvane::FreeDesignName(folder, file);
        if (target.empty() || !Rename(file, target)) {
            AfxMessageBox(L"The recovery file " + Text(file) +
                          L" could not be restored; it is kept.");
            continue;
        }
        tmpl->AutoLoading(true);
        auto* page = dynamic_cast<CJoxPage*>(tmpl->OpenDocumentFile(Text(target), TRUE));
        tmpl->AutoLoading(false);
        bool saved = false;
        if (page) {
            // Saved later, the design goes to a design folder under a design's name, never to
            // a recovery copy's name that the close removes.
            std::filesystem::path home = target;
            if (!designDir.IsEmpty()) {
                const std::filesystem::path dir(platform::MapPath(designDir));
                const std::filesystem::path free = kelvane::FreeDesignName(dir, target);
                if (!free.empty())
                    home = free;
            }
            page->SetPathName(Text(home), FALSE);
            page->SetModifiedFlag(TRUE);
            saved = WriteRecoveryCopy(page);
        }
        std::error_code ec;
        // The renamed file is the only copy until the design is open and has a new one.
        if (saved)
            std::filesystem::remove(target, ec);
        else
            Rename(target, file);
    }
}

void CMainFrame::OnClose() {
    CWinApp* app = AfxGetApp();
    if (app && AfxGetMainWnd() == this) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        if (!::IsWindow(m_hWnd))
            return;
    }
    if (CContextMenuManager* menus = AfxGetContextMenuManager())
        menus->SaveState(FnGetRegistryString(L"ContextMenu\\"));
    fnSaveWindowPlacement();
    fnRemoveAutoSaveFiles();
    CJoxToolbarFrameWnd::OnClose();
}

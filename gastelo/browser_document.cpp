// The document road: new, open, save, the close prompt, close, and the blocks every design
// carries.
#include "gastelo/browser.h"

#include "gastelo/design_param_blk.h"
#include "gastelo/emb_table_param_blk.h"
#include "gastelo/gastelo_strings.h"

#include "gastelo/browser_internal.h"
#include "gastelo/file_extensions.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/jox_page.h"

#include "platform/core/exceptions.h"

#include "platform/framework/wnd.h"
#include "platform/system/paths.h"
#include "platform/windowing/message_box.h"

#include "qvutils/qv_utils.h"

#include <filesystem>
#include <system_error>

namespace {

CDesignParamBlk* DesignBlock(CJoxPage* page) {
    return DYNAMIC_DOWNCAST(CDesignParamBlk, page->FindParam(CParamBlk::kDesignParamId));
}

CEmbTableParamBlk* TableBlock(CJoxPage* page) {
    return DYNAMIC_DOWNCAST(CEmbTableParamBlk, page->FindParam(CParamBlk::kEmbTableParamId));
}

// New designs wait here until they are named.
const wchar_t kTemplatesFolder[] = L"Templates\\";

CJoxDocTemplate* DesignTemplate() {
    try {
        return GetDocTemplate(kDesignContext);
    } catch (const CInvalidArgException&) {
        return nullptr; // a context table too small to hold the design context
    }
}

// The record of a design that has not been saved yet.
void InitNewDesign(CDesignParamBlk& design, const CString& name, const CString& path) {
    design.m_strDesignName = name;
    design.m_strPathName = path;
    design.m_nState = CDesignParamBlk::kStateNew;
    design.m_nField2 = -1;
    design.m_nField5 = 1;
    design.m_nField8 = 1;
    design.m_nField9 = 1;
    design.m_dWidth = 0.0;
    design.m_dHeight = 0.0;
    design.m_nField13 = 1;
    design.m_nField15 = 1;
    design.m_strText17.Empty();
    design.m_strText19.Empty();
    design.m_nEmbTable = 1;
}

int Ask(const CString& text, UINT type, UINT stringId) {
    CWnd* main = AfxGetMainWnd();
    return platform::ShowMessageBox(main ? main->m_hWnd : nullptr, text, L"", type, stringId);
}

} // namespace

CJoxPage* BrowserOnFileNew(int, const wchar_t* name, int) {
    CJoxDocTemplate* tmpl = DesignTemplate();
    if (!tmpl)
        return nullptr;
    CString folder;
    QvHomePath(kTemplatesFolder, folder);
    // A fresh home has no templates folder: the new design's save dialog opens there.
    std::error_code ec;
    std::filesystem::create_directories(platform::MapPath(folder), ec);
    const int counter = BrowserDesignCounter();
    CString designName(name ? name : L"");
    if (designName.IsEmpty())
        designName = BrowserGetFreshDesignName(folder);
    auto* page = dynamic_cast<CJoxPage*>(tmpl->OpenDocumentFile(nullptr, TRUE));
    if (!page) {
        BrowserDesignCounter() = counter; // the name was never used
        return nullptr;
    }
    const CString path = folder + designName + kDesignFileExt;
    page->ClrFlags(kPageFlagPathChanged);
    page->SetPathName(path, FALSE);
    page->SetModifiedFlag(TRUE);
    // A page of the design context has its blocks already; any other gets them here.
    BrowserAddParamBlocks(page, kAddAllParamBlocks);
    if (CDesignParamBlk* design = DesignBlock(page))
        InitNewDesign(*design, designName, path);
    return page;
}

int BrowserOnNewDocument(CJoxPage* page) {
    BrowserAddParamBlocks(page, kAddAllParamBlocks);
    return 1;
}

int BrowserOnOpenDocument(CJoxPage* page, const wchar_t*) {
    if (!page)
        return 1;
    BrowserAddParamBlocks(page, kAddAllParamBlocks);
    CDesignParamBlk* design = DesignBlock(page);
    if (!design)
        return 1;
    design->m_nState = CDesignParamBlk::kStateOpened;
    if (design->m_nEmbTable != 1) {
        if (CEmbTableParamBlk* table = TableBlock(page))
            table->m_nFirstWord = design->m_nEmbTable;
    }
    return 1;
}

int BrowserDoSave(CJoxPage* page, const wchar_t* path, int replace) {
    if (!page)
        return 0;
    // The class library's save: without a path it asks for a name in the save dialog.
    return page->CDocument::DoSave(path, replace) ? 1 : 0;
}

namespace {

// Saves the page to its path. A design never saved carries a name made up for it (an import's,
// a new design's); a file of that name is another design and is replaced only when the
// operator says so. Once saved, the file is the design's own.
int SaveToItsPath(CJoxPage* page) {
    CDesignParamBlk* design = DesignBlock(page);
    const bool fresh = !design || design->m_nState != CDesignParamBlk::kStateOpened;
    const CString path = page->GetPathName();
    if (fresh && !path.IsEmpty() && platform::PathExists(path)) {
        CString text;
        text.Format(GasteloLoadString(IDS_REPLACE_EXISTING_DESIGN), path.GetString());
        if (Ask(text, MB_YESNO | MB_ICONEXCLAMATION, IDS_REPLACE_EXISTING_DESIGN) != IDYES)
            return 0;
    }
    if (!page->DoFileSave())
        return 0;
    if (design)
        design->m_nState = CDesignParamBlk::kStateOpened;
    return 1;
}

} // namespace

int BrowserSaveModified(CJoxPage* page) {
    if (!page)
        return 1;
    if (page->IsLocked()) {
        Ask(GasteloLoadString(IDS_DOCUMENT_LOCKED_BROWSER), MB_OK | MB_ICONEXCLAMATION,
            IDS_DOCUMENT_LOCKED_BROWSER);
        return 0;
    }
    const CloseModAction action = CJoxPage::CloseModifiedAction();
    if (!page->IsModified() || action == eCloseModNoSave)
        return 1;
    if (action == eCloseModSaveAll)
        return SaveToItsPath(page);

    CString text;
    UINT id;
    CDesignParamBlk* design = DesignBlock(page);
    if (design && design->m_nState != CDesignParamBlk::kStateOpened) {
        id = IDS_DESIGN_NOT_SAVED;
        text.Format(GasteloLoadString(id), page->GetTitle().GetString());
    } else {
        id = IDS_DESIGN_MODIFIED;
        const CString& path = page->GetPathName();
        text.Format(GasteloLoadString(id), (path.IsEmpty() ? page->GetTitle() : path).GetString());
    }
    if (text.GetLength() < kOneLinePromptLength)
        text.Replace(L"\n\n", L" ");
    const UINT buttons = action == eCloseModPrompt ? MB_YESNO : MB_YESNOCANCEL;
    switch (Ask(text, buttons | MB_ICONQUESTION, id)) {
    case IDYES:
        return SaveToItsPath(page);
    case IDNO:
        return 1;
    default:
        return 0;
    }
}

void BrowserOnCloseDocument(CJoxPage* page) {
    if (!page || page->FlagsOn(kPageFlagReadOnly))
        return;
    FNUnLockFile(page->GetPathName());
}

void BrowserAddParamBlocks(CJoxPage* page, int mode) {
    if (!page)
        return;
    if (!page->FindParam(CParamBlk::kDesignParamId)) {
        auto* design = new CDesignParamBlk;
        CString path = page->GetPathName();
        design->fnSetPathName(path);
        page->AddParam(design);
    }
    if (mode == kAddAllParamBlocks && !page->FindParam(CParamBlk::kEmbTableParamId))
        page->AddParam(new CEmbTableParamBlk);
}

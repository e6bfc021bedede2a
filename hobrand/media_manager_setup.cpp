#include "hobrand/media_manager_setup.h"

#include "hobrand/hobrand_strings.h"
#include "hobrand/media_manager_blk.h"
#include "hobrand/vanter_media_manager.h"

#include "felgrin/felgrin_utils.h"
#include "gastelo/browser.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "pivora/jox_page.h"

#include "platform/windowing/message_box.h"

#include <vector>

namespace {

CJoxDocTemplate* SheetTemplate() {
    CJoxWinAppEx* app = JoxGetApp();
    if (!app || app->ContextCount() <= kSheetContext)
        return nullptr;
    return app->DocTemplateForContext(kSheetContext);
}

// A copy of the template's list: closing a document changes the list being walked.
std::vector<CJoxPage*> SheetPages(const CDocTemplate* t) {
    std::vector<CJoxPage*> pages;
    for (POSITION pos = t->GetFirstDocPosition(); pos;)
        if (auto* page = dynamic_cast<CJoxPage*>(t->GetNextDoc(pos)))
            pages.push_back(page);
    return pages;
}

bool StillOpen(const CDocTemplate* t, const CJoxPage* page) {
    for (POSITION pos = t->GetFirstDocPosition(); pos;)
        if (t->GetNextDoc(pos) == page)
            return true;
    return false;
}

CMediaManagerBlk* BlockOf(CJoxPage* page) {
    return page ? dynamic_cast<CMediaManagerBlk*>(page->FindParam(CParamBlk::kMediaManagerId))
                : nullptr;
}

CString DeviceOf(const CMediaManagerBlk* b) {
    CString name;
    b->fnDeviceName(name);
    return name;
}

void Close(CJoxPage* page) {
    if (CDocTemplate* t = page->GetDocTemplate())
        t->RemoveDocument(page);
    page->OnCloseDocument();
}

// Closes the sheet documents whose block the filter accepts; 0 at the first busy one.
template <class Filter> int DeleteAll(Filter accept) {
    CJoxDocTemplate* t = SheetTemplate();
    if (!t)
        return 0;
    for (CJoxPage* page : SheetPages(t)) {
        if (!StillOpen(t, page))
            continue;
        CMediaManagerBlk* b = BlockOf(page);
        // A document without a block is no media manager's: it is left alone.
        if (!b || !accept(b))
            continue;
        if (!g_fnDeleteMedMan(page))
            return 0;
    }
    return 1;
}

} // namespace

CMediaManagerBlk* GetMediaManager(CJoxPage* page, int mode) {
    if (!page)
        return nullptr;
    if (CMediaManagerBlk* b = BlockOf(page))
        return b;
    auto* b = new CMediaManagerBlk(CString(L"ManagerName"));
    b->fnSetMode(mode);
    page->AddParam(b);
    return b;
}

int g_fnDeleteMedMan(CJoxPage* page) {
    CMediaManagerBlk* b = BlockOf(page);
    if (!SheetTemplate() || !b)
        return 0;
    if (b->fnIsBusy()) {
        HobrandMessageBox(IDS_CANT_DELETE_BUSY, HobrandLoadString(IDS_CANT_DELETE_BUSY),
                          MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    b->SetFeedOnDelete(-1);
    Close(page);
    return 1;
}

int g_fnDeleteAllMedMan() {
    return DeleteAll([](const CMediaManagerBlk*) { return true; });
}

int g_fnDeleteAllMedManWithCutterName(const CString& name) {
    return DeleteAll([&](const CMediaManagerBlk* b) { return DeviceOf(b) == name; });
}

CMediaManagerBlk* g_fnFindMedManWithCutterName(const CString& name) {
    CJoxDocTemplate* t = SheetTemplate();
    if (!t)
        return nullptr;
    for (CJoxPage* page : SheetPages(t))
        if (CMediaManagerBlk* b = BlockOf(page); b && DeviceOf(b) == name)
            return b;
    return nullptr;
}

int g_fnDeleteInstalledCutter(const CString& name) {
    if (g_fnFindMedManWithCutterName(name) && !g_fnDeleteAllMedManWithCutterName(name))
        return 0;
    FelgrinUtils::DeleteFelgrinCutter(name);
    return 1;
}

CMediaManagerBlk* g_fnMedManSetup(int marksFound, int anyMode, int autoSend) {
    CJoxDocTemplate* t = SheetTemplate();
    if (!t)
        return nullptr;
    CStringArray names;
    FelgrinUtils::InquireCutterNames(names);
    if (names.IsEmpty()) {
        HobrandMessageBox(IDS_NO_CUTTER_INSTALLED, HobrandLoadString(IDS_NO_CUTTER_INSTALLED),
                          MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    for (CJoxPage* page : SheetPages(t)) {
        if (!StillOpen(t, page))
            continue;
        CMediaManagerBlk* b = GetMediaManager(page, marksFound);
        if (anyMode || b->fnGetMode() == marksFound)
            return b;
        g_fnDeleteMedMan(page);
    }
    CVanterMediaManager dlg(nullptr, autoSend, marksFound);
    if (dlg.DoModal() != IDOK || !dlg.m_bCutterChosen || dlg.m_strCutterName.IsEmpty())
        return nullptr;
    auto* page = dynamic_cast<CJoxPage*>(t->OpenDocumentFile(nullptr));
    if (!page)
        return nullptr;
    BrowserAddParamBlocks(page, kSheetContext);
    page->SetTitle(dlg.m_strTitle);
    // Made here with mode 0: a later send with marks found never reuses it.
    CMediaManagerBlk* b = GetMediaManager(page, 0);
    if (b->fnInitToPP(&dlg))
        return b;
    Close(page);
    return nullptr;
}

// The page as a document: its parameter blocks, its size, and the road of new, open, save and
// close through the browsing functions.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/imp_palette_undo.h"
#include "gastelo/browser.h"
#include "pivora/colour_palette.h"
#include "pivora/framework/area_hint.h"
#include "pivora/rec_archive.h"
#include "platform/framework/doc_template.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/message_box.h"
#include "vector/vector_style_pb.h"

void DesignRegisterStrings();

// Parameter blocks ----------------------------------------------------------------------------

CVectorStylePB* CDesignPage::StyleTable() {
    return DynamicDowncast<CVectorStylePB>(FindParam(CParamBlk::kVectorStyleId));
}

void CDesignPage::fnInitParamBlocks() {
    CColourPalette* palette = GetColourPalette(true, eColourPaletteDefault);
    CVectorStylePB* table = StyleTable();
    if (!table) {
        table = new CVectorStylePB(this, 1);
        AddParam(table);
    }
    table->SetColourPalette(palette);
    table->SyncWithColPal();
}

void CDesignPage::InitStandardPalette() {
    CVectorStylePB* table = StyleTable();
    if (!table) {
        fnInitParamBlocks();
        table = StyleTable();
    }
    if (table) {
        if (table->fnGetSize() < 1)
            table->fnResize(1);
        table->fnSetMinimumSize(1);
    }
    if (CColourPalette* palette = GetColourPalette(true, eColourPaletteDefault);
        palette && palette->ColourCount() > 0) {
        palette->SetShade(0);
        palette->SetPastel(0);
    }
}

void CDesignPage::AddImportPaletteUndo(CVectorStylePB* saved, int nameId) {
    auto* u = new CImpPaletteUndo;
    u->SetVectorStylePB(saved);
    AddUndo(u, nameId);
}

void CDesignPage::ResizeAllViews(int withUndo) {
    const CWindow before = Extents();
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (auto* v = DynamicDowncast<CJoxView>(GetNextView(pos)); v && ::IsWindow(v->m_hWnd))
            v->SendMessage(WM_COMMAND, CJoxView::ID_VIEW_SIZE_TO_FIT, 0);
    const CWindow after = Extents();
    if (after == before)
        return;
    CAreaHint old(before);
    CAreaHint now(after);
    UpdateAllViews(nullptr, kHintPageFrame, &old);
    UpdateAllViews(nullptr, kHintPageFrame, &now);
    if (withUndo)
        AddDesignSizeUndo(before, 0);
}

// Document road -------------------------------------------------------------------------------

void CDesignPage::Serialize(CArchive& ar) {
    CJoxPage::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        rec.StoreEndRec();
        return;
    }
    // A page stored without the design's own group ends here.
    if (ar.BytesRemaining() > 0) {
        WORD id = 0;
        DWORD len = 0;
        while (rec.LoadFieldID(id, len))
            rec.SkipField(len);
    }
    if (CArticle* root = RootArticle())
        root->InvExtents(1);
}

BOOL CDesignPage::OnNewDocument() {
    if (!CJoxPage::OnNewDocument())
        return FALSE;
    fnInitParamBlocks();
    return BrowserOnNewDocument(this);
}

BOOL CDesignPage::OnOpenDocument(const wchar_t* path) {
    if (!CJoxPage::OnOpenDocument(path))
        return FALSE;
    fnInitParamBlocks();
    ClrFlags(kPageFlagReadOnly);
    if (!BrowserOnOpenDocument(this, path)) {
        DeleteContents();
        return FALSE;
    }
    return TRUE;
}

BOOL CDesignPage::OnSaveDocument(const wchar_t* path) {
    if (FlagsOn(kPageFlagReadOnly) && path && GetPathName().CompareNoCase(path) == 0) {
        DesignRegisterStrings();
        AfxMessageBox(IDS_SAVE_READ_ONLY, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // The design is stored with the context of the window that shows it.
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (auto* view = DynamicDowncast<CDesignView>(GetNextView(pos))) {
            const int context = view->Context();
            if (context == -1)
                AfxMessageBox(L"Document Will be saved with no context", MB_OK);
            Context(context);
            break;
        }
    return CJoxPage::OnSaveDocument(path);
}

BOOL CDesignPage::SaveModified() {
    if (IsLocked())
        return CJoxPage::SaveModified(); // says "Document Locked" and keeps the page open
    return BrowserSaveModified(this);
}

BOOL CDesignPage::DoSave(const wchar_t* path, BOOL replace) {
    return BrowserDoSave(this, path, replace);
}

namespace {

int OpenDocumentCount(CWinApp* app) {
    int n = 0;
    for (POSITION t = app->GetFirstDocTemplatePosition(); t;) {
        CDocTemplate* tmpl = app->GetNextDocTemplate(t);
        for (POSITION d = tmpl->GetFirstDocPosition(); d; tmpl->GetNextDoc(d))
            ++n;
    }
    return n;
}

} // namespace

void CDesignPage::OnCloseDocument() {
    BrowserOnCloseDocument(this);
    // The base close may free this page: nothing of it is used afterwards.
    CJoxPage::OnCloseDocument();
    CWinApp* app = AfxGetApp();
    if (!app || OpenDocumentCount(app) > 0)
        return;
    // The last design went: the frame's title no longer names one.
    if (auto* frame = dynamic_cast<CFrameWnd*>(app->GetMainWnd()))
        frame->OnUpdateFrameTitle(FALSE);
}

#include "kelvane/app/qv_multi_doc_template.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "gastelo/browser.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/openable_file.h"
#include "kelvane/app/vanter_ferolin_app.h"
#include "pivora/article.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/wait_cursor.h"
#include "platform/windowing/message_box.h"

IMPLEMENT_DYNAMIC(CQvMultiDocTemplate, CJoxDocTemplate)

namespace {

// A new design without a template's size gets the size an empty design recalculates to,
// so its first paint fits a page rather than a point.
void GiveDefaultSize(CDesignPage& page) {
    const CWindow& e = page.Extents();
    if (e.x1 > e.x2 || e.y1 > e.y2 || e.fnIsEmptyExtent())
        page.RecalcExtents(0);
}

} // namespace

CQvMultiDocTemplate::CQvMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass,
                                         CRuntimeClass* frameClass, CRuntimeClass* viewClass,
                                         int context)
    : CJoxDocTemplate(resourceId, docClass, frameClass, viewClass, context) {}

bool CQvMultiDocTemplate::ReadPath(CDocument* doc, LPCWSTR path, int id) {
    CWaitCursor wait;
    auto* page = dynamic_cast<CDesignPage*>(doc);
    if (id == kelvane::kExtDesign || id == kelvane::kExtCutTemplate) {
        if (!doc->OnOpenDocument(path))
            return false;
    } else {
        auto* app = dynamic_cast<CVanterFerolinApp*>(AfxGetApp());
        if (!page || !app)
            return false;
        page->fnInitParamBlocks();
        if (!app->fnImportFile(path, page, id, 0))
            return false;
    }
    doc->SetPathName(path);
    if (page) {
        // An import or a template is a new, untitled design.
        if (id != kelvane::kExtDesign) {
            CString none;
            BrowserSetPathName(page, none);
        }
        BrowserAddParamBlocks(page, Context());
    }
    return true;
}

CDocument* CQvMultiDocTemplate::OpenDocumentFile(LPCWSTR path, BOOL makeVisible) {
    CDocument* doc = CreateNewDocument();
    if (!doc) {
        AfxMessageBox(kelvane::IDS_TEMPLATE_FAILED);
        return nullptr;
    }
    const int id = path ? kelvane::FileExtIdOf(path) : kelvane::kExtUnknown;
    if (path) {
        if (!ReadPath(doc, path, id)) {
            delete doc;
            return nullptr;
        }
    } else {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            delete doc;
            return nullptr;
        }
    }

    // A design file is framed by the design template whichever template was asked.
    CJoxDocTemplate* framer = this;
    if (path && id == kelvane::kExtDesign)
        if (CJoxDocTemplate* design = GetDocTemplate(CDesignPage::kContext))
            framer = design;
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = framer->CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        AfxMessageBox(kelvane::IDS_TEMPLATE_FAILED);
        delete doc;
        return nullptr;
    }
    if (framer != this) {
        RemoveDocument(doc);
        framer->AddDocument(doc);
    }
    framer->InitialUpdateFrame(frame, doc, makeVisible);

    auto* page = dynamic_cast<CDesignPage*>(doc);
    if (page && !path)
        GiveDefaultSize(*page);
    CArticle* root = page ? page->RootArticle() : nullptr;
    if (IsAutoLoading() && root && !root->IsEmpty()) {
        POSITION pos = page->GetFirstViewPosition();
        while (pos) {
            if (auto* view = dynamic_cast<CDesignView*>(page->GetNextView(pos))) {
                view->PostMessage(WM_COMMAND, CDesignView::ID_ZOOM_RESIZE, 0);
                break;
            }
        }
    }
    return doc;
}

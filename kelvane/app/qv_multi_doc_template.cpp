#include "kelvane/app/qv_multi_doc_template.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "kelvane/app/app_resources.h"
#include "pivora/article.h"
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

CDocument* CQvMultiDocTemplate::OpenDocumentFile(LPCWSTR path, BOOL makeVisible) {
    CDocument* doc = CJoxDocTemplate::OpenDocumentFile(path, makeVisible);
    if (!doc) {
        // A file that did not open has told why; a new design that could not be made has not.
        if (!path)
            AfxMessageBox(kelvane::IDS_TEMPLATE_FAILED);
        return nullptr;
    }
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

#include "pivora/framework/jox_doc_template.h"

#include "pivora/framework/jox_child_wnd.h"
#include "pivora/jox_page.h"

IMPLEMENT_DYNAMIC(CJoxDocTemplate, CMultiDocTemplate)

CJoxDocTemplate::CJoxDocTemplate(UINT resourceId, CRuntimeClass* docClass,
                                 CRuntimeClass* frameClass, CRuntimeClass* viewClass, int context)
    : CMultiDocTemplate(resourceId, docClass, frameClass, viewClass), m_nContext(context) {}

CDocument* CJoxDocTemplate::CreateNewDocument() {
    return CMultiDocTemplate::CreateNewDocument();
}

CFrameWnd* CJoxDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
    auto* page = dynamic_cast<CJoxPage*>(doc);
    if (page)
        page->LockUpdates();
    CFrameWnd* frame = CMultiDocTemplate::CreateNewFrame(doc, other);
    if (page)
        page->UnlockUpdates();
    return frame;
}

#include "platform/framework/multi_doc_template.h"

#include "platform/framework/document.h"
#include "platform/framework/frame_wnd.h"

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass,
                                     CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents outlive no template: whatever is still open is let go of here.
    while (!m_docList.IsEmpty()) {
        auto* doc = static_cast<CDocument*>(m_docList.RemoveHead());
        CDocTemplate::RemoveDocument(doc);
    }
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& pos) const {
    return static_cast<CDocument*>(const_cast<CPtrList&>(m_docList).GetNext(pos));
}

void CMultiDocTemplate::AddDocument(CDocument* doc) {
    if (!doc || m_docList.Find(doc))
        return;
    CDocTemplate::AddDocument(doc);
    m_docList.AddTail(doc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc) {
    if (POSITION pos = m_docList.Find(doc))
        m_docList.RemoveAt(pos);
    CDocTemplate::RemoveDocument(doc);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc) {
    CString name;
    if (!GetDocString(name, docName))
        name = L"Untitled";
    CString title;
    title.Format(L"%s%u", name.GetString(), ++m_nUntitledCount);
    doc->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCWSTR path, BOOL makeVisible) {
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    // Until the frame holds a view, losing it must not close the document.
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    BOOL ok;
    if (!path) {
        SetDefaultTitle(doc);
        ok = doc->OnNewDocument();
    } else {
        ok = doc->OnOpenDocument(path);
        if (ok)
            doc->SetPathName(path);
    }
    if (!ok) {
        // Closing the frame closes the document with its last view.
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        if (m_docList.Find(doc))
            delete doc;
        return nullptr;
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}

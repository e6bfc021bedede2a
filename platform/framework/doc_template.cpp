#include "platform/framework/doc_template.h"

#include "platform/framework/create_context.h"
#include "platform/framework/document.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/view.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass),
      m_pViewClass(viewClass) {
    LoadTemplate();
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty())
        AfxLoadString(m_nIDResource, m_strDocStrings);
}

BOOL CDocTemplate::GetDocString(CString& out, DocStringIndex index) const {
    out.Empty();
    int start = 0;
    for (int i = 0; i < int(index); ++i) {
        int nl = m_strDocStrings.Find(L'\n', start);
        if (nl < 0)
            return FALSE;
        start = nl + 1;
    }
    int end = m_strDocStrings.Find(L'\n', start);
    out = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !out.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass)
        return nullptr;
    CObject* made = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(made);
    if (!doc) {
        delete made;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
    if (!m_pFrameClass)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* made = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(made);
    if (!frame) {
        delete made;
        return nullptr;
    }
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        // A frame whose window was never made is still ours to free.
        if (!frame->m_hWnd)
            delete frame;
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
    if (frame)
        frame->InitialUpdateFrame(doc, makeVisible);
}

void CDocTemplate::AddDocument(CDocument* doc) {
    if (doc)
        doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
    if (doc && doc->m_pDocTemplate == this)
        doc->m_pDocTemplate = nullptr;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    std::vector<CDocument*> docs;
    for (POSITION pos = GetFirstDocPosition(); pos;)
        docs.push_back(GetNextDoc(pos));
    auto listed = [this](CDocument* doc) {
        for (POSITION pos = GetFirstDocPosition(); pos;)
            if (GetNextDoc(pos) == doc)
                return true;
        return false;
    };
    for (CDocument* doc : docs) {
        // A document may close others with it; only the ones still listed are alive.
        if (!listed(doc))
            continue;
        doc->OnCloseDocument();
        if (listed(doc))
            RemoveDocument(doc);
    }
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION pos = GetFirstDocPosition(); pos;)
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    return TRUE;
}

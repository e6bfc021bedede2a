// CMultiDocTemplate: a template whose documents each open in their own MDI child frame.
#pragma once

#include "platform/core/ptr_list.h"
#include "platform/framework/doc_template.h"

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)

public:
    CMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                      CRuntimeClass* viewClass);
    ~CMultiDocTemplate() override;

    CDocument* OpenDocumentFile(LPCWSTR path, BOOL makeVisible = TRUE) override;
    // The document name (or "Untitled") followed by a running number.
    void SetDefaultTitle(CDocument* doc) override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& pos) const override;
    INT_PTR GetDocumentCount() const { return m_docList.GetCount(); }

    UINT m_nUntitledCount = 0;

protected:
    CPtrList m_docList;
};

// CJoxDocTemplate: the template of one kind of design, bound to a numbered context.
#pragma once

#include "platform/framework/multi_doc_template.h"

class CJoxChildWnd;
class CJoxPage;

class CJoxDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CJoxDocTemplate)

public:
    CJoxDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                    CRuntimeClass* viewClass, int context);
    ~CJoxDocTemplate() override = default;

    int Context() const { return m_nContext; }
    bool HasContext(int context) const { return context == m_nContext; }
    // On while the program opens documents itself.
    void AutoLoading(bool on) { m_bAutoLoading = on; }
    bool IsAutoLoading() const { return m_bAutoLoading; }

    CDocument* CreateNewDocument() override;
    // The page's updates stay locked while its frame is made.
    CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other) override;

protected:
    int m_nContext;
    bool m_bAutoLoading = false;
};

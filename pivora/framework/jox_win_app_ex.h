// CJoxWinAppEx: the application object: the application font, and the context table that
// binds each numbered context to its document template and industry.
#pragma once

#include "platform/core/array.h"
#include "platform/framework/win_app_ex.h"

class CApplicationFont;
class CFont;
class CJoxDocTemplate;
class CJoxFrameWnd;

class CJoxWinAppEx : public CWinAppEx {
    DECLARE_DYNAMIC(CJoxWinAppEx)

public:
    struct TDocTemplateInfo {
        CJoxDocTemplate* pTemplate = nullptr;
        int nIndustry = 0;
    };

    CJoxWinAppEx();
    ~CJoxWinAppEx() override;

    CFont* AppFont();
    int ImportFlags() const { return m_nImportFlags; }
    void SetImportFlags(int flags) { m_nImportFlags = flags; }
    // The program's folder, with or without the closing separator.
    virtual CString AppPath(bool withSlash);
    static CString AppPathOf(const CString& programFile, bool withSlash);

    // The derived application sizes the table (100 contexts in the program).
    void SetContextCount(int count) { m_ContextTable.SetSize(count); }
    int ContextCount() const { return int(m_ContextTable.GetSize()); }
    // Registers the template with the application and stores it for the context; a context
    // outside the table raises the invalid-argument exception before anything is registered.
    void AddDocTemplate(int context, CJoxDocTemplate* tmpl, int industry);
    using CWinAppEx::AddDocTemplate;
    // 0 for a negative context; beyond the table the invalid-argument exception.
    int IndustryForContext(int context) const;
    CJoxDocTemplate* DocTemplateForContext(int context) const;
    // Contexts with a template, an industry and a name for new documents.
    int NumChangeContexts();

    CWnd* GetMainWnd() override;

protected:
    int m_nImportFlags = 0;
    CApplicationFont* m_pAppFont;
    CArray<TDocTemplateInfo, TDocTemplateInfo&> m_ContextTable;
    int m_nNumChangeContexts = -1;
};

// The application object, or null.
CJoxWinAppEx* JoxGetApp();
// Null for a negative context; the template stored for it (null for an empty entry); beyond
// the table the invalid-argument exception.
CJoxDocTemplate* GetDocTemplate(int context);

#include "pivora/framework/jox_win_app_ex.h"

#include "outside/joxthemes/application_font.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_frame_wnd.h"
#include "platform/core/exceptions.h"
#include "platform/system/module.h"

IMPLEMENT_DYNAMIC(CJoxWinAppEx, CWinAppEx)

namespace {
constexpr DWORD kMaxPath = 260;
} // namespace

CJoxWinAppEx* JoxGetApp() {
    return dynamic_cast<CJoxWinAppEx*>(AfxGetApp());
}

CJoxDocTemplate* GetDocTemplate(int context) {
    CJoxWinAppEx* app = JoxGetApp();
    return app ? app->DocTemplateForContext(context) : nullptr;
}

CJoxWinAppEx::CJoxWinAppEx() : CWinAppEx(TRUE), m_pAppFont(new CApplicationFont()) {}

CJoxWinAppEx::~CJoxWinAppEx() {
    m_ContextTable.RemoveAll();
    delete m_pAppFont;
}

CFont* CJoxWinAppEx::AppFont() {
    return m_pAppFont->GetFont();
}

CString CJoxWinAppEx::AppPathOf(const CString& programFile, bool withSlash) {
    // Paths of this system use "\", the file system "/": either ends the folder.
    const int cut = std::max(programFile.ReverseFind(L'\\'), programFile.ReverseFind(L'/'));
    if (cut < 0)
        return programFile;
    return programFile.Left(withSlash ? cut + 1 : cut);
}

CString CJoxWinAppEx::AppPath(bool withSlash) {
    wchar_t buffer[kMaxPath + 1] = {};
    DWORD n = GetModuleFileNameW(nullptr, buffer, kMaxPath);
    return AppPathOf(CString(std::wstring(buffer, std::min(n, kMaxPath)).c_str()), withSlash);
}

void CJoxWinAppEx::AddDocTemplate(int context, CJoxDocTemplate* tmpl, int industry) {
    if (context < 0 || context >= ContextCount())
        AfxThrowInvalidArgException();
    CWinAppEx::AddDocTemplate(tmpl);
    TDocTemplateInfo info{tmpl, industry};
    m_ContextTable.SetAt(context, info);
    m_nNumChangeContexts = -1;
}

int CJoxWinAppEx::IndustryForContext(int context) const {
    if (context < 0)
        return 0;
    return m_ContextTable.GetAt(context).nIndustry;
}

CJoxDocTemplate* CJoxWinAppEx::DocTemplateForContext(int context) const {
    if (context < 0)
        return nullptr;
    return m_ContextTable.GetAt(context).pTemplate;
}

int CJoxWinAppEx::NumChangeContexts() {
    if (m_nNumChangeContexts >= 0)
        return m_nNumChangeContexts;
    int count = 0;
    if (GetDocTemplateCount() > 0) {
        for (int i = 0; i < ContextCount(); ++i) {
            const TDocTemplateInfo& info = m_ContextTable.GetAt(i);
            CString name;
            if (info.pTemplate && info.nIndustry != 0 && info.pTemplate->HasContext(i) &&
                info.pTemplate->GetDocString(name, CDocTemplate::fileNewName) && !name.IsEmpty())
                ++count;
        }
    }
    m_nNumChangeContexts = count;
    return count;
}

CWnd* CJoxWinAppEx::GetMainWnd() {
    return CWinAppEx::GetMainWnd();
}

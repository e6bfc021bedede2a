#include "platform/framework/property_page.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

BOOL CPropertyPage::CreatePage(CWnd* parent) {
    if (m_hWnd)
        return TRUE;
    if (!Create(m_nIDHelp, parent))
        return FALSE;
    // Dialogs are made top-level; a page lives inside its parent.
    ModifyStyle(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_CHILD);
    ::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr);
    return TRUE;
}

CString CPropertyPage::GetPageTitle() const {
    const DialogTemplate* t = platform::FindDialogTemplate(m_nIDHelp);
    return t && t->caption ? CString(t->caption) : CString();
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive) {
        m_bFirstSetActive = false;
        return TRUE;
    }
    return UpdateData(FALSE);
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

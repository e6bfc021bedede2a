// CVanterFerolinApp::SaveAllModified and Close All: one question for all designs when the
// operator closes them all.
#include "kelvane/app/vanter_ferolin_app.h"

#include "design/design_iterator.h"
#include "gastelo/close_all_dlg.h"
#include "kelvane/app/main_frame.h"
#include "kelvane/app/open_resources.h"
#include "pivora/jox_page.h"
#include "platform/windowing/message_box.h"

BOOL CVanterFerolinApp::SaveAllModified() {
    // Outside Close All the collective question is skipped; each modified design is still asked
    // about by its own prompt, so closing the program never drops unsaved work unasked.
    if (m_bSkipSaveAll)
        return CJoxWinAppEx::SaveAllModified();
    int count = 0, modified = 0;
    CDesignIterator::CountDesigns(count, modified);
    if (count > 1 && modified == 0) {
        CString text;
        text.Format(kelvane::LoadAppString(kelvane::IDS_CLOSE_ALL_DESIGNS), count);
        return AfxMessageBox(text, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    }
    if (count > 1) {
        CCloseAllDlg dialog(MainFrame());
        dialog.SetDesignCount(count, modified);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        CJoxPage::CloseModifiedAction(dialog.CloseModifiedAction());
        const BOOL saved = CJoxWinAppEx::SaveAllModified();
        CJoxPage::CloseModifiedAction(eCloseModNone);
        return saved;
    }
    return modified == 0 ? TRUE : CJoxWinAppEx::SaveAllModified();
}

void CVanterFerolinApp::OnCloseAll() {
    m_bSkipSaveAll = false;
    if (SaveAllModified())
        CloseAllDocuments(FALSE);
    m_bSkipSaveAll = true;
}

// The commands the application object answers itself: New, Open, Close All, Select Language,
// About.
#include "kelvane/app/vanter_ferolin_app.h"

#include "kelvane/app/about_dlg.h"
#include "kelvane/app/app_resources.h"
#include "kelvane/app/language.h"
#include "kelvane/app/main_frame.h"
#include "platform/framework/cmd_target.h"
#include "platform/framework/property_sheet.h"

BOOL CVanterFerolinApp::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (code == CN_COMMAND && id == kelvane::ID_NEW_DESIGN) {
        if (!IsQuery(handlerInfo))
            OnFileNew();
        return TRUE;
    }
    if (code == CN_COMMAND && id == kelvane::ID_OPEN_DESIGN) {
        if (!IsQuery(handlerInfo))
            fnFileOpenDialog(0);
        return TRUE;
    }
    if (code == CN_COMMAND && id == CLanguage::ID_SELECT_LANGUAGE) {
        if (!IsQuery(handlerInfo)) {
            CLanguage page;
            CPropertySheet sheet(L"Language", MainFrame());
            sheet.AddPage(&page);
            sheet.DoModal();
        }
        return TRUE;
    }
    if (code == CN_COMMAND && id == kelvane::ID_CLOSE_ALL) {
        if (!IsQuery(handlerInfo))
            OnCloseAll();
        return TRUE;
    }
    if (code == CN_COMMAND && id == kelvane::ID_ABOUT) {
        if (!IsQuery(handlerInfo)) {
            CAboutDlg about(MainFrame());
            about.DoModal();
        }
        return TRUE;
    }
    return CJoxWinAppEx::OnCmdMsg(id, code, extra, handlerInfo);
}

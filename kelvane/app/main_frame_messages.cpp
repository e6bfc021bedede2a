// Window messages of the main frame beyond its commands: popups trimmed after their items
// were brought up to date.
#include "kelvane/app/main_frame.h"
#include "kelvane/app/popup_menu_hook.h"
#include "platform/windowing/menu.h"

void CMainFrame::fnInitPopupMenu(HMENU popup) {
    OnInitMenuPopup(popup, 0, FALSE);
    kelvane::TrimPopupMenu(popup, [this](HMENU sub) { OnInitMenuPopup(sub, 0, FALSE); });
}

BOOL CMainFrame::OnFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    LRESULT r = 0;
    switch (msg) {
    case WM_INITMENUPOPUP:
        if (HIWORD(DWORD_PTR(lp)))
            return FALSE; // the system menu is not trimmed
        fnInitPopupMenu(reinterpret_cast<HMENU>(wp));
        break;
    default:
        return FALSE;
    }
    if (result)
        *result = r;
    return TRUE;
}

// The tooltip of a design window's tab.
#include "kelvane/app/main_frame.h"
#include "pivora/jox_page.h"
#include "platform/framework/mfc_tab_ctrl.h"

void CMainFrame::OnGetTabToolTip(TabToolTipRequest& request) {
    auto* tabs = dynamic_cast<CMFCTabCtrl*>(CWnd::FromHandlePermanent(request.tabs));
    CWnd* tab = tabs ? tabs->GetTabWnd(request.index) : nullptr;
    if (!tab)
        return;
    auto* frame = dynamic_cast<CFrameWnd*>(tab);
    CDocument* doc = frame && frame->GetActiveView() ? frame->GetActiveDocument() : nullptr;
    if (!doc) {
        tab->GetWindowText(request.text);
        return;
    }
    request.text = doc->GetTitle();
    if (auto* page = dynamic_cast<CJoxPage*>(doc); page && page->IsModified())
        request.text += L"*";
}

#include "maltrec/colour_tool_bar.h"

#include "maltrec/cutoutput/colour_box.h"
#include "maltrec/cutoutput/mfc_tool_bar_colour_box.h"

#include "design/design_view.h"
#include "platform/windowing/list_controls.h"

IMPLEMENT_SERIAL(CColourToolBar, CCustomToolBar, 1)

BOOL CColourToolBar::Create(CWnd* parent, DWORD style, UINT id, UINT resourceId) {
    if (!CCustomToolBar::Create(parent, style, id, resourceId))
        return FALSE;
    EnableWindow(TRUE);
    return TRUE;
}

DWORD CColourToolBar::EnableDocking(DWORD) {
    m_dwDockAlignment = kDockAlignment;
    return m_dwDockAlignment;
}

void CColourToolBar::OnReset() {
    const int at = CommandToIndex(ID_COLOUR_LIST);
    const int image = at >= 0 ? GetButton(at)->GetImage() : -1;
    CMFCToolBarColourBox button(ID_COLOUR_LIST, image, CBS_DROPDOWNLIST, kListWidth);
    button.SetDropDownHeight(kDropDownHeight);
    ReplaceButton(ID_COLOUR_LIST, button);
    AdjustLocations();
}

CMFCToolBarColourBox* CColourToolBar::GetMFCColourList() const {
    const int at = CommandToIndex(ID_COLOUR_LIST);
    return at >= 0 ? dynamic_cast<CMFCToolBarColourBox*>(GetButton(at)) : nullptr;
}

CColourBox* CColourToolBar::GetColourList() const {
    CMFCToolBarColourBox* button = GetMFCColourList();
    return button ? button->GetColourBox() : nullptr;
}

void CColourToolBar::SetView(CJoxView* view) {
    if (CColourBox* box = GetColourList()) {
        auto* designView = DynamicDowncast<CDesignView>(view);
        if (designView && designView != box->GetView())
            box->SetView(designView, 1);
    }
    CCustomToolBar::SetView(view);
}

void CColourToolBar::OnSelectionChanged() {
    CMFCToolBarColourBox* button = GetMFCColourList();
    CColourBox* box = GetColourList();
    if (!button || !box)
        return;
    const int style = box->SetSelectedStatus();
    if (style >= 0)
        for (int i = 0; i < button->GetCount(); ++i)
            if (int(button->GetItemData(i)) == style) {
                button->SelectItem(i);
                break;
            }
    box->EnableWindow(TRUE);
    button->m_nStyle &= ~TBBS_DISABLED;
}

int CColourToolBar::fnCurrentColourIdx() const {
    CMFCToolBarColourBox* button = GetMFCColourList();
    const int at = button ? button->GetCurSel() : -1;
    return at >= 0 ? int(button->GetItemData(at)) : 1;
}

void CColourToolBar::LoadState() {
    if (CMFCToolBarColourBox* button = GetMFCColourList())
        button->SelectItem(0);
}

BOOL CColourToolBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    // The list's own notices come back to it, as the class library reflects them.
    CColourBox* box = GetColourList();
    if (box && msg == WM_DRAWITEM && lp &&
        reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlID == ID_COLOUR_LIST) {
        box->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        if (result)
            *result = TRUE;
        return TRUE;
    }
    if (box && msg == WM_MEASUREITEM && lp &&
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID == ID_COLOUR_LIST) {
        box->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
        if (result)
            *result = TRUE;
        return TRUE;
    }
    if (box && msg == WM_COMMAND && LOWORD(wp) == ID_COLOUR_LIST && HIWORD(wp) == CBN_SELCHANGE) {
        box->OnSelchange();
        return TRUE;
    }
    return CCustomToolBar::OnWndMsg(msg, wp, lp, result);
}

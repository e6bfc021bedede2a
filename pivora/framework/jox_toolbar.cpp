#include "pivora/framework/jox_toolbar.h"

#include "pivora/framework/app_params.h"

#include <vector>

IMPLEMENT_SERIAL(CJoxToolbar, CMFCToolBar, 1)

namespace {
bool FlatButtons() {
    return QvGetAppParam(L"Flat Toolbar Buttons", 1) != 0;
}
} // namespace

BOOL CJoxToolbar::Create(CWnd* parent, DWORD style, UINT id) {
    if (FlatButtons())
        return CMFCToolBar::CreateEx(parent, TBSTYLE_FLAT, style | CBRS_HIDE_INPLACE,
                                     CRect(1, 1, 1, 1), id);
    return CMFCToolBar::Create(parent, style, id);
}

BOOL CJoxToolbar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id) {
    if (!FlatButtons())
        ctrlStyle &= ~TBSTYLE_FLAT;
    return CMFCToolBar::CreateEx(parent, ctrlStyle, style | CBRS_HIDE_INPLACE, borders, id);
}

void CJoxToolbar::Relayout() {
    if (IsAttached() && m_hWnd && IsWindowVisible())
        AdjustSizeImmediate(TRUE);
    else
        m_bLayoutPending = 1;
}

void CJoxToolbar::SetRedraw(int redraw) {
    if (m_hWnd)
        SendMessage(WM_SETREDRAW, WPARAM(redraw));
    if (redraw && IsAttached() && m_bLayoutPending)
        AdjustSizeImmediate(TRUE);
    m_bLayoutPending = 0;
}

int CJoxToolbar::HideButton(UINT commandId, int hide) {
    CMFCToolBarButton* b = GetButton(CommandToIndex(commandId, 0));
    if (!b || (b->IsVisible() != 0) != (hide != 0))
        return 0;
    b->SetVisible(hide == 0);
    Relayout();
    return 1;
}

int CJoxToolbar::HideDuplicateSeparators() {
    std::vector<std::pair<CMFCToolBarButton*, BOOL>> separators;
    bool afterSeparator = true; // at the start, or since the last separator
    CMFCToolBarButton* lastShown = nullptr;
    for (int i = 0; i < GetCount(); ++i) {
        CMFCToolBarButton* b = GetButton(i);
        if (b->m_nStyle == TBBS_SEPARATOR) {
            separators.emplace_back(b, b->IsVisible());
            b->SetVisible(!afterSeparator);
            if (b->IsVisible())
                lastShown = b;
            afterSeparator = true;
        } else if (afterSeparator && b->IsVisible() && !b->IsHidden()) {
            afterSeparator = false;
        }
    }
    if (lastShown && afterSeparator)
        lastShown->SetVisible(FALSE);
    for (auto& [sep, was] : separators)
        if (sep->IsVisible() != was) {
            Relayout();
            return 1;
        }
    return 0;
}

// CUndoMenu: the popup the undo (redo) button opens: one CUndoBar filling it. Keys pressed on
// the popup reach the bar's list; picking actions closes the popup, which deletes itself.
#pragma once

#include "platform/framework/mfc_popup_menu.h"
#include "toolbars/undo_bar.h"

class CUndoMenu : public CMFCPopupMenu {
    DECLARE_DYNAMIC(CUndoMenu)

public:
    explicit CUndoMenu(BOOL redo) : m_wndUndoBar(redo) {}

    CWnd* GetMenuBar() override { return &m_wndUndoBar; }
    CUndoBar& GetUndoBar() { return m_wndUndoBar; }

protected:
    BOOL OnCreateBar() override;

    CUndoBar m_wndUndoBar;
};

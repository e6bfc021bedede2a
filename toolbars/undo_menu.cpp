#include "toolbars/undo_menu.h"

IMPLEMENT_DYNAMIC(CUndoMenu, CMFCPopupMenu)

BOOL CUndoMenu::OnCreateBar() {
    return m_wndUndoBar.Create(this, CPoint(0, 0));
}

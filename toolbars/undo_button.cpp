#include "toolbars/undo_button.h"

#include "platform/framework/command_manager.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/reserved_commands.h"
#include "toolbars/undo_menu.h"

IMPLEMENT_DYNCREATE(CUndoButton, CMFCToolBarMenuButton)

CUndoButton::CUndoButton(UINT id, BOOL redo)
    : CMFCToolBarMenuButton(id, nullptr, GetCmdMgr()->GetCmdImage(id)),
      m_bRedo(redo ? TRUE : FALSE) {}

void CUndoButton::CopyFrom(const CMFCToolBarButton& src) {
    CMFCToolBarMenuButton::CopyFrom(src);
    if (const auto* undo = dynamic_cast<const CUndoButton*>(&src))
        m_bRedo = undo->m_bRedo;
}

CMFCPopupMenu* CUndoButton::CreatePopupMenu() {
    if (CMFCToolBar::IsCustomizeMode() || (m_nStyle & TBBS_DISABLED))
        return nullptr;
    return new CUndoMenu(m_bRedo);
}

BOOL CUndoButton::CanBeStored() const {
    return !platform::IsReservedCommand(m_nID) && CMFCToolBar::IsCommandPermitted(m_nID);
}

void CUndoButton::OnChangeParentWnd(CWnd* parent) {
    CMFCToolBarMenuButton::OnChangeParentWnd(parent);
    m_bDrawDownArrow = TRUE;
}

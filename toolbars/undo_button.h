// CUndoButton: the Undo (or Redo) toolbar button with its drop-down arrow. The arrow opens a
// CUndoMenu listing the recent actions; the button itself sends its command as any other.
#pragma once

#include "platform/framework/mfc_tool_bar_menu_button.h"

class CUndoButton : public CMFCToolBarMenuButton {
    DECLARE_DYNCREATE(CUndoButton)

public:
    CUndoButton() = default;
    // Shows the image the command manager has for id.
    CUndoButton(UINT id, BOOL redo);

    void CopyFrom(const CMFCToolBarButton& src) override;
    // None while toolbars are being customised or while the button is disabled.
    CMFCPopupMenu* CreatePopupMenu() override;
    BOOL IsEmptyMenuAllowed() const override { return TRUE; }
    BOOL IsExclusive() const override { return TRUE; }
    // Not for the framework's reserved commands nor for non-permitted ones.
    BOOL CanBeStored() const override;
    // The arrow stays wherever the button goes.
    void OnChangeParentWnd(CWnd* parent) override;

    BOOL IsRedo() const { return m_bRedo; }

protected:
    BOOL m_bRedo = FALSE;
};

// CMFCToolBar: a row of command buttons and separators, loaded from a toolbar resource table
// the deliverable registers. Buttons can be hidden; the command updates enable and check them
// at idle. The display draws the buttons from this model and sends WM_COMMAND when one is
// pressed.
#pragma once

#include "platform/framework/control_bar.h"
#include "platform/framework/frame_messages.h"

#include "platform/framework/mfc_tool_bar_button.h"
#include "platform/windowing/tool_bar_control.h"

#include <vector>

struct ToolBarTemplate {
    UINT id;
    int buttonWidth;
    int buttonHeight;
    std::vector<UINT> items; // command ids; 0 for a separator
};

namespace platform {

// Later registrations of an id replace earlier ones.
void RegisterToolBarTemplate(const ToolBarTemplate& tmpl);
const ToolBarTemplate* FindToolBarTemplate(UINT id);

} // namespace platform

class CMFCToolBar : public CControlBar {
    DECLARE_DYNAMIC(CMFCToolBar)

public:
    CMFCToolBar();
    ~CMFCToolBar() override;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT id = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                          DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                          CRect borders = CRect(1, 1, 1, 1), UINT id = AFX_IDW_TOOLBAR);
    // The buttons of the toolbar resource; the image resources are the display's business.
    virtual BOOL LoadToolBar(UINT resourceId, UINT coldId = 0, UINT menuId = 0, BOOL locked = FALSE,
                             UINT disabledId = 0, UINT menuDisabledId = 0, UINT hotId = 0);

    DWORD GetToolBarStyle() const { return m_dwCtrlStyle; }
    const CRect& GetBorders() const { return m_rectBorders; }
    BOOL IsLocked() const { return m_bLocked; }

    int GetCount() const { return int(m_buttons.size()); }
    CMFCToolBarButton* GetButton(int index) const;
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id, int start = 0) const;
    int InsertButton(const CMFCToolBarButton& button, int at = -1);
    int InsertSeparator(int at = -1);
    // Puts a copy of button (of its own class) in place of the first button with command id,
    // or of every one with all; the number replaced.
    int ReplaceButton(UINT id, const CMFCToolBarButton& button, BOOL all = FALSE);
    // Opens the drop-down of the menu button at index (its arrow was clicked); FALSE when it
    // is no menu button or nothing opened.
    BOOL DropDown(int index);
    BOOL RemoveButton(int index);
    void RemoveAllButtons();
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);

    // Places the visible buttons one after another and tells the display.
    virtual void AdjustLayout();
    // The button placement of one layout pass (AdjustLayout runs it, then tells the display).
    virtual void AdjustLocations();
    // Height of one row of buttons.
    // As high as the buttons, or as a control a button hosts.
    virtual int GetRowHeight() const;
    CSize GetButtonSize() const { return m_sizeButton; }
    // Back to the buttons of the resource after a customisation; 1 when done.
    virtual BOOL RestoreOriginalstate() { return FALSE; }
    // The buttons were just made from the resource (created or reset to their defaults): a
    // derived toolbar puts its special buttons in.
    virtual void OnReset() {}
    // Whether the toolbar list menus may offer this toolbar.
    virtual BOOL AllowShowOnList() const { return TRUE; }
    // While the user customises toolbars (no customisation dialog exists yet: the flag is
    // set by whoever starts one).
    static BOOL IsCustomizeMode();
    static void SetCustomizeMode(BOOL on);
    // Commands the user may not put on toolbars or keep in saved customisations.
    static void SetNonPermittedCommands(const std::vector<UINT>& ids);
    static BOOL IsCommandPermitted(UINT id);
    void AdjustSizeImmediate(BOOL recalcLayout = TRUE);
    // The bar sits in its frame and can re-lay itself out at once.
    bool IsAttached() const { return m_pDockSite != nullptr; }

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    // One row of the visible buttons.
    CSize CalcFloatingSize() override;

protected:
    // Updates every button's command with target as the first command target.
    void UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler);

    std::vector<CMFCToolBarButton*> m_buttons;
    DWORD m_dwCtrlStyle = 0;
    CRect m_rectBorders{0, 0, 0, 0};
    CSize m_sizeButton{23, 22};
    BOOL m_bLocked = FALSE;
};

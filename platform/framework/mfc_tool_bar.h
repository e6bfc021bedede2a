// CMFCToolBar: a row of command buttons and separators, loaded from a toolbar resource table
// the deliverable registers. Buttons can be hidden; the command updates enable and check them
// at idle. The display draws the buttons from this model and sends WM_COMMAND when one is
// pressed.
#pragma once

#include "platform/framework/control_bar.h"
#include "platform/framework/frame_messages.h"

#include <vector>

// Toolbar control styles.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_FLAT = 0x0800;

// Button styles and states.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x0100;
constexpr UINT TBBS_PRESSED = 0x0200;
constexpr UINT TBBS_DISABLED = 0x0400;
constexpr UINT TBBS_INDETERMINATE = 0x1000;

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

class CMFCToolBarButton {
public:
    CMFCToolBarButton() = default;
    CMFCToolBarButton(UINT id, UINT style = TBBS_BUTTON) : m_nID(id), m_nStyle(style) {}

    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL visible) { m_bVisible = visible; }
    // Left out by the layout (no room on the bar).
    BOOL IsHidden() const { return m_bHiddenByLayout; }
    bool IsSeparator() const { return m_nStyle == TBBS_SEPARATOR; }

    UINT m_nID = 0;
    UINT m_nStyle = TBBS_BUTTON;
    CString m_strText;
    BOOL m_bVisible = TRUE;
    BOOL m_bHiddenByLayout = FALSE;
    CRect m_rect; // place on the bar, set by the layout
};

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
    BOOL RemoveButton(int index);
    void RemoveAllButtons();
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);

    // Places the visible buttons one after another and tells the display.
    virtual void AdjustLayout();
    // The button placement of one layout pass (AdjustLayout runs it, then tells the display).
    virtual void AdjustLocations();
    // Height of one row of buttons.
    virtual int GetRowHeight() const { return m_sizeButton.cy; }
    CSize GetButtonSize() const { return m_sizeButton; }
    // Back to the buttons of the resource after a customisation; 1 when done.
    virtual BOOL RestoreOriginalstate() { return FALSE; }
    // Whether the toolbar list menus may offer this toolbar.
    virtual BOOL AllowShowOnList() const { return TRUE; }
    // While the user customises toolbars (no customisation dialog exists yet: the flag is
    // set by whoever starts one).
    static BOOL IsCustomizeMode();
    static void SetCustomizeMode(BOOL on);
    void AdjustSizeImmediate(BOOL recalcLayout = TRUE);
    // The bar sits in its frame and can re-lay itself out at once.
    bool IsAttached() const { return m_pDockSite != nullptr; }

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;

protected:
    // Updates every button's command with target as the first command target.
    void UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler);

    std::vector<CMFCToolBarButton*> m_buttons;
    DWORD m_dwCtrlStyle = 0;
    CRect m_rectBorders{0, 0, 0, 0};
    CSize m_sizeButton{23, 22};
    BOOL m_bLocked = FALSE;
};

// CMDIFrameWndEx: the main frame of tabbed design windows. Its client area holds the MDI child
// frames, grouped in tab controls (CMFCTabCtrl) laid side by side; in each group the active
// tab's child is shown. Commands go to the active child first.
#pragma once

#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tab_ctrl.h"

#include <vector>

class CMDIChildWndEx;

class CMDIFrameWndEx : public CFrameWnd {
    DECLARE_DYNAMIC(CMDIFrameWndEx)

public:
    // Height of a group's tab strip, in pixels.
    static constexpr int kTabStripHeight = 24;

    CMDIFrameWndEx() = default;
    ~CMDIFrameWndEx() override;

    // The window that holds the child frames and tab groups.
    CWnd* GetClientArea() { return &m_wndClientArea; }

    CMDIChildWndEx* MDIGetActive(BOOL* maximized = nullptr) const;
    // Makes the child active: its tab becomes its group's active tab, its view is activated.
    void MDIActivate(CWnd* child);
    void MDINext();
    void MDIPrev();
    // Every child frame in order of creation.
    const std::vector<CMDIChildWndEx*>& GetMDIChildren() const { return m_children; }

    // Tab groups, left to right.
    int GetTabGroupCount() const { return int(m_groups.size()); }
    CMFCTabCtrl* GetTabGroup(int index) const;
    CMFCTabCtrl* FindTabGroup(HWND child) const;
    CMFCTabCtrl* GetActiveTabGroup() const { return FindTabGroup(m_hActiveChild); }
    // Moves the active child into a new group right of its own; FALSE with a single tab.
    BOOL MDITabNewGroup();
    // Moves the child's tab into another group (the next one for null); an emptied group goes.
    BOOL MoveToTabGroup(CWnd* child, CMFCTabCtrl* to);

    // The tabs' keys: Ctrl+Tab and Ctrl+F6 step to the next design window (with Shift, back),
    // Ctrl+F4 closes the active one, as in every tabbed frame.
    BOOL PreTranslateMessage(MSG* msg) override;
    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    BOOL OnCreateClient(CREATESTRUCTW* cs, CCreateContext* context) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    // The layout of the client area alone; a derived frame may hold it back.
    virtual void AdjustClientArea();

    // A right click on a tab: its child becomes active, then the frame may show its own menu at
    // the screen point. FALSE when it shows none (the display offers the tab group menu).
    BOOL ShowTabContextMenu(CMFCTabCtrl* tabs, int index, POINT screen);
    virtual BOOL OnShowMDITabContextMenu(POINT /*screen*/) { return FALSE; }

    // Child frames register and unregister themselves here.
    void AddMDIChild(CMDIChildWndEx* child);
    void RemoveMDIChild(CMDIChildWndEx* child);

protected:
    CMFCTabCtrl* NewTabGroup(int at);
    // The frame's menu bar shows the active child's own menu, or the frame's when none is
    // active or the child has none.
    void ShowMenuOf(CMDIChildWndEx* child);
    void RemoveEmptyGroups();

    // The class of the tab controls this frame makes (derived frames substitute their own).
    CRuntimeClass* m_pTabCtrlClass = RUNTIME_CLASS(CMFCTabCtrl);
    CWnd m_wndClientArea;
    std::vector<CMFCTabCtrl*> m_groups;
    std::vector<CMDIChildWndEx*> m_children;
    HWND m_hActiveChild = nullptr;
    bool m_bActivating = false;
    // The active child being destroyed while the next one is activated.
    HWND m_hDeparting = nullptr;
};

// CMFCTabCtrl: one group of MDI tabs as a model: the ordered tabs (each an MDI child frame
// with its label), the active tab and the state of a splitter or resize drag. Changes reach
// the top-level frame as the registered messages below and the display through
// platform::NotifyUi (TabsChanged, ActiveTab).
#pragma once

#include "platform/framework/wnd.h"

#include <vector>

// Sent to the top-level frame. wp: the new active tab's index, lp: the CMFCTabCtrl*.
constexpr UINT AFX_WM_CHANGE_ACTIVE_TAB = 0xC101;
// wp: the index the tab was at, lp: the index it is at now.
constexpr UINT AFX_WM_ON_MOVE_TAB = 0xC102;
// wp: the HWND of the tab control the tab left, lp: the HWND of the one it joined.
constexpr UINT AFX_WM_ON_MOVETOTABGROUP = 0xC103;

class CMFCTabCtrl : public CWnd {
    DECLARE_DYNCREATE(CMFCTabCtrl)

public:
    CMFCTabCtrl() = default;
    ~CMFCTabCtrl() override = default;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    int GetTabsNum() const { return int(m_tabs.size()); }
    CWnd* GetTabWnd(int index) const;
    HWND GetTabHwnd(int index) const;
    // -1 when the window has no tab here.
    int GetTabFromHwnd(HWND wnd) const;
    BOOL GetTabLabel(int index, CString& label) const;
    BOOL SetTabLabel(int index, LPCWSTR label);

    // Adds a tab at index (at the end for -1); the first tab becomes active.
    int AddTab(CWnd* wnd, LPCWSTR label, int index = -1);
    // Removes the tab (PreDeleteTab first); the next tab becomes active when it was.
    virtual BOOL RemoveTab(int index);
    virtual void PreDeleteTab(int) {}

    int GetActiveTab() const { return m_iActiveTab; }
    CWnd* GetActiveWnd() const { return GetTabWnd(m_iActiveTab); }
    // Makes the tab active and tells the frame; FALSE for an index outside the tabs.
    virtual BOOL SetActiveTab(int index);

    // Moves the tab at from so that it ends at index to; the others keep their order. The
    // active tab stays the same window. Tells the frame.
    virtual void MoveTab(int from, int to);

    // A splitter or resize drag of the control, as the display reports it.
    void BeginTracking(bool splitter);
    bool IsTrackingSplitter() const { return m_bTrackSplitter; }
    bool IsTrackingResize() const { return m_bTrackResize; }

protected:
    struct Tab {
        HWND wnd;
        CString label;
    };
    void Tell(UINT msg, WPARAM wp, LPARAM lp);

    std::vector<Tab> m_tabs;
    int m_iActiveTab = -1;
    bool m_bTrackSplitter = false;
    bool m_bTrackResize = false;
};

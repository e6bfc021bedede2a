// CJoxFrameWnd: the main frame of tabbed design windows. While WM_SETREDRAW(FALSE) is in
// force it holds back its paint and reports paint-type, input and show messages as ignorable
// (IgnoreMessage); windows whose content changed through the tabs are queued and repainted
// together at the next idle.
#pragma once

#include "platform/core/list.h"
#include "platform/framework/docking_manager.h"
#include "platform/framework/mdi_frame_wnd_ex.h"

#include <vector>

class CJoxFrameWnd : public CMDIFrameWndEx {
    DECLARE_DYNAMIC(CJoxFrameWnd)

public:
    CJoxFrameWnd();
    ~CJoxFrameWnd() override;

    // Where the frame's panes are docked or float.
    CDockingManager* GetDockingManager() { return &m_docking; }
    bool IsResizing() const { return m_bResizing; }
    // Windows waiting for their repaint at the next idle, oldest first.
    const CList<HWND, HWND>& PendingRedraws() const { return m_WindowList; }

    // A paint held back while redraw is off: the window's update region is validated (or its
    // paint would come back at once, and a message loop would spin) and the window is
    // repainted whole when redraw comes back on.
    void HoldPaint(HWND wnd);

    BOOL PreTranslateMessage(MSG* msg) override;
    void AdjustClientArea() override;
    virtual bool IgnoreMessage(UINT msg) const;

    LRESULT OnSetRedraw(WPARAM redraw, LPARAM);
    LRESULT OnEnterSizeMove(WPARAM, LPARAM);
    LRESULT OnExitSizeMove(WPARAM, LPARAM);
    LRESULT OnActivateTopLevel(WPARAM, LPARAM);
    LRESULT OnChangedActiveTab(WPARAM tabIndex, LPARAM tabControl);
    LRESULT OnMoveTab(WPARAM, LPARAM tabIndex);
    LRESULT OnMoveToTabGroup(WPARAM fromTabControl, LPARAM toTabControl);
    void OnIdleUpdateCmdUI() override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    bool m_bRedrawSuppressed = false;
    bool m_bResizing = false;
    CList<HWND, HWND> m_WindowList{10};
    std::vector<HWND> m_HeldPaints;
    CDockingManager m_docking{this};

private:
    void Queue(HWND wnd, bool evenWhenPresent);
};

// The application's main window.
CJoxFrameWnd* JoxGetMainWnd();

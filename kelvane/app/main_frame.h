// CMainFrame: the program's main window: tabbed design windows, the toolbar slot table, the
// status bar with the message pane and the key indicators, and the autosave timer.
#pragma once

#include "platform/framework/status_bar.h"
#include "toolbars/jox_toolbar_frame_wnd.h"

class CMainFrame : public CJoxToolbarFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)

public:
    // The number of status bar panes: the message pane, three design panes, CAP, NUM, INS.
    static constexpr int kPaneCount = 7;

    CMainFrame();
    ~CMainFrame() override;

    bool IsBusy() const { return m_bBusy; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }

    int OnCreate(CREATESTRUCTW* cs) override;
    CCustomToolBar* NewToolbar(int slot) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

protected:
    // The slot table: names and toolbar resources of the frame's own slots.
    void LoadSlotTable();

    CStatusBar m_wndStatusBar;
    bool m_bBusy = false;
};

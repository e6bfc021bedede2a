// The program's main frame: tabbed design windows.
#pragma once

#include "platform/framework/mdi_frame_wnd_ex.h"
#include "platform/framework/mfc_tool_bar.h"
#include "platform/framework/status_bar.h"

class CMainFrame : public CMDIFrameWndEx {
    DECLARE_DYNAMIC(CMainFrame)

public:
    // The toolbar and the status bar come with the frame.
    int OnCreate(CREATESTRUCTW* cs) override;
    // The menu bar goes with the frame.
    void OnDestroy() override;

    CMFCToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
};

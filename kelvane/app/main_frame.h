// The program's main frame: tabbed design windows.
#pragma once

#include "platform/framework/mdi_frame_wnd_ex.h"

class CMainFrame : public CMDIFrameWndEx {
    DECLARE_DYNAMIC(CMainFrame)

public:
    // The menu bar goes with the frame.
    void OnDestroy() override;
};

// CChildFrame: the frame of each design window inside the main frame's tabs.
#pragma once

#include "pivora/framework/jox_child_wnd.h"

class CChildFrame : public CJoxChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
};

// The design window's frame inside the main frame's tabs.
#pragma once

#include "platform/framework/mdi_child_wnd_ex.h"

class CSampleChild : public CMDIChildWndEx {
    DECLARE_DYNCREATE(CSampleChild)
};

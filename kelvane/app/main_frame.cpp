#include "kelvane/app/main_frame.h"

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWndEx)

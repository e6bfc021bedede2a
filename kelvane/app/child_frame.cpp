#include "kelvane/app/child_frame.h"

IMPLEMENT_DYNCREATE(CChildFrame, CJoxChildWnd)

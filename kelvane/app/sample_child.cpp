#include "kelvane/app/sample_child.h"

IMPLEMENT_DYNCREATE(CSampleChild, CMDIChildWndEx)

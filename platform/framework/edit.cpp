#include "platform/framework/edit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

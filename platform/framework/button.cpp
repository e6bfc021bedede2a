#include "platform/framework/button.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

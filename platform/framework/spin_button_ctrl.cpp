#include "platform/framework/spin_button_ctrl.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

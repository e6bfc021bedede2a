#include "platform/framework/slider_ctrl.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

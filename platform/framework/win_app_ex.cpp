#include "platform/framework/win_app_ex.h"

IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

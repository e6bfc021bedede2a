#include "platform/framework/dialog_ex.h"

IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

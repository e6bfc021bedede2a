#include "platform/framework/cmd_target.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

BOOL CCmdTarget::OnCmdMsg(UINT, int, void*, void*) {
    return FALSE;
}

#include "design/base_undo.h"

IMPLEMENT_DYNAMIC(CBaseUndo, CObject)

void CBaseUndo::DoUndo(CDesignPage*) {}

CBaseUndo* CBaseUndo::CreateRedo(CDesignPage*) {
    return new CBaseUndo(m_nOperation);
}

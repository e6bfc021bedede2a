// The software cursor a tool may draw over its view; a tool without one ignores all of it.
#include "design/design_tool.h"
#include "design/document/custom_cursor.h"

void CDesignTool::vfnSetCursor(CCustomCursor* cursor) {
    if (cursor == m_pCustomCursor)
        return;
    delete m_pCustomCursor;
    m_pCustomCursor = cursor;
}

void CDesignTool::vfnEnableCursor(CDesignView* view, BOOL enable) {
    if (m_pCustomCursor && view)
        m_pCustomCursor->fnEnableCursor(view, enable ? 1 : 0);
}

void CDesignTool::DrawCustomCursor(CDesignView* view, const CPoint& client) {
    if (m_pCustomCursor && view)
        m_pCustomCursor->vfnOnDrawCursor(view, client);
}

void CDesignTool::RedrawCustomCursor(CDesignView* view, CJoxDC* dc) {
    if (m_pCustomCursor && view)
        m_pCustomCursor->fnRedrawCursor(view, dc);
}

void CDesignTool::ToggleCustomCursor(CDesignView* view) {
    if (m_pCustomCursor && view)
        m_pCustomCursor->fnToggleAppParam(view);
}

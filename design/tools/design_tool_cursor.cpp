// The software cursor a tool may draw over its view.
#include "design/design_tool.h"

// Software cursors come with the view's cursor classes; until a tool installs one, every
// cursor operation has nothing to act on.
void CDesignTool::vfnSetCursor(CCustomCursor* cursor) {
    if (cursor == m_pCustomCursor)
        return;
    m_pCustomCursor = nullptr;
    (void)cursor;
}

void CDesignTool::vfnEnableCursor(CDesignView*, BOOL) {}
void CDesignTool::DrawCustomCursor(CDesignView*, const CPoint&) {}
void CDesignTool::RedrawCustomCursor(CDesignView*) {}
void CDesignTool::ToggleCustomCursor(CDesignView*) {}

#include "design/sub_tool.h"

#include "design/design_page.h"
#include "design/design_view.h"

IMPLEMENT_DYNAMIC(CSubTool, CDesignTool)

CSubTool::CSubTool(int toolId, int autoPanEnabled)
    : CDesignTool(autoPanEnabled), m_nToolID(toolId) {}

void CSubTool::Exit(CDesignView* view) {
    if (!view)
        return;
    CDesignPage* page = view->GetDocument();
    if (!page)
        return;
    if (page->GetSubTool() == this) {
        view->PostMessage(WM_COMMAND, ID_SUB_TOOL_EXIT, 0);
    } else if (page->GetDesignTool() == this) {
        view->SelectDefaultTool(0);
    } else if (!page->IsPendingTool(this)) {
        // Still inside one of this tool's own handlers: the page frees it once the view has
        // finished the message.
        OnExit(view, 1);
        page->RetireTool(this);
    }
}

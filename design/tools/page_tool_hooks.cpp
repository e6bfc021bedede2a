// The page's side of the tools: tools that end themselves, and the current tool's keys.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/sub_tool.h"

#include <algorithm>

bool CDesignPage::IsPendingTool(const CDesignTool* tool) const {
    return tool && (tool == m_pPendingDesignTool || tool == m_pPendingSubTool);
}

void CDesignPage::RetireTool(CDesignTool* tool) {
    // The page may already have retired it when it was replaced: it is freed once.
    if (tool &&
        std::find(m_RetiredTools.begin(), m_RetiredTools.end(), tool) == m_RetiredTools.end())
        m_RetiredTools.push_back(tool);
}

HACCEL CDesignPage::GetDefaultAccelerator() {
    if (CSubTool* sub = GetSubTool())
        if (HACCEL table = sub->GetDefaultAccelerator())
            return table;
    if (CDesignTool* tool = GetDesignTool())
        if (HACCEL table = tool->GetDefaultAccelerator())
            return table;
    return CJoxPage::GetDefaultAccelerator();
}

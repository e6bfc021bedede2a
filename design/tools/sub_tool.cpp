#include "design/sub_tool.h"

IMPLEMENT_DYNAMIC(CSubTool, CDesignTool)

CSubTool::CSubTool(int toolId, int autoPanEnabled)
    : CDesignTool(autoPanEnabled), m_nToolID(toolId) {}

void CSubTool::Exit(CDesignView*) {}

#include "design/tools/show_length_tool.h"

#include "design/document/large_cross_hair.h"
#include "design/tools/tool_text.h"
#include "qvutils/qv_utils.h"

IMPLEMENT_DYNCREATE(CShowLengthTool, CLineSubTool)

CShowLengthTool::CShowLengthTool(int toolId) : CLineSubTool(toolId) {
    PointsRequired(2, true, false);
    vfnSetCursor(new CLargeCrossHair);
}

void CShowLengthTool::DisplayPrompt(CDesignView*) {
    CString text = ToolText(m_nCount % 2 == 1 ? IDS_MOVE_TO_SHOW : IDS_FIRST_POINT);
    text += ToolText(IDS_MARK_HINT);
    QvSetStatusText(0, text);
    DisplayLengthAngle();
}

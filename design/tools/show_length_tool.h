// CShowLengthTool: the line sub tool measuring one line at a time under a large cross-hair; the
// third click starts a new measurement and a right click ends it.
#pragma once

#include "design/tools/line_sub_tool.h"

class CShowLengthTool : public CLineSubTool {
    DECLARE_DYNCREATE(CShowLengthTool)

public:
    static constexpr UINT ID_SHOW_LENGTH = 43186;
    static constexpr UINT IDS_MOVE_TO_SHOW = 43253; // "Move to show length"
    static constexpr UINT IDS_MARK_HINT = 43309;    // ", or press 'X' to mark position"

    CShowLengthTool() : CShowLengthTool(int(ID_SHOW_LENGTH)) {}
    explicit CShowLengthTool(int toolId);

    void DisplayPrompt(CDesignView* view) override;
};

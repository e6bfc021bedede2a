// CPanSubTool: the design follows the pointer while the left button is down; a right click ends
// the tool.
#pragma once

#include "design/sub_tool.h"

class CPanSubTool : public CSubTool {
    DECLARE_DYNCREATE(CPanSubTool)

public:
    // "Drag to pan the view".
    static constexpr UINT IDS_PAN_PROMPT = 43249;
    static constexpr UINT IDC_PAN = 28038;

    CPanSubTool() : CSubTool(0, 0) {}

    void OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) override;
    BOOL OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message) override;
    void DisplayPrompt(CDesignView* view) override;
};

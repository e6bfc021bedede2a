// CSubTool: a temporary tool that stacks over the page's design tool (zoom, pan, measure) until
// it ends itself with Exit.
#pragma once

#include "design/design_tool.h"

class CSubTool : public CDesignTool {
    DECLARE_DYNAMIC(CSubTool)

public:
    CSubTool(int toolId, int autoPanEnabled);

    int GetToolID() const { return m_nToolID; }

    // Ends the tool: as the current sub tool through command 43080 to the view, as the current
    // design tool by the view's default tool; a tool that is neither is ended once the view
    // has finished the message that asked (never inside its own handler).
    virtual void Exit(CDesignView* view);

private:
    int m_nToolID;
};

// CZoomSubTool: zooms in on a click or a framed area, out with Ctrl, and on the plus and minus
// keys; it stays until a right click.
#pragma once

#include "design/frame_tool.h"

class CZoomSubTool : public CFrameTool {
    DECLARE_DYNCREATE(CZoomSubTool)

public:
    // "Click to zoom in, drag for an area, or Ctrl+click to zoom out".
    static constexpr UINT IDS_ZOOM_PROMPT = 43254;
    static constexpr UINT IDC_ZOOM_IN = 28102;
    static constexpr UINT IDC_ZOOM_OUT = 28036;
    // A frame smaller than this in either direction counts as a click.
    static constexpr int kMinFrame = 5;

    CZoomSubTool();

    void OnInit(CDesignView* view, int reason) override;
    void OnExit(CDesignView* view, int reason) override;
    void OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    BOOL OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message) override;
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void DisplayPrompt(CDesignView* view) override;
    void OnZoom(CDesignView* view, bool zoomIn) override;
};

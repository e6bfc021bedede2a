// CFrameTool: a sub tool that drags a dotted rectangle over the view; the frame keeps its place on
// the design while the view scrolls, and its size is read out in status pane 1.
#pragma once

#include "design/sub_tool.h"
#include "platform/core/cstring.h"

class CFrameTool : public CSubTool {
    DECLARE_DYNCREATE(CFrameTool)

public:
    // "%.2fmm x %.2fmm".
    static constexpr UINT IDS_FRAME_SIZE = 43267;

    CFrameTool() : CFrameTool(0, 0) {}
    CFrameTool(int toolId, int autoPanEnabled);

    // The frame in client pixels, normalised, with the proportions of the framed object size.
    CRect Extents() const;
    static bool TooSmall(const CRect& r, int n) { return r.Width() < n || r.Height() < n; }

    int HaveFrame() const { return m_bHaveFrame; }
    int Framing() const { return m_bFraming; }
    void FramedObjSize(const CSize& size) { m_FramedObjSize = size; }
    void Prompt(const CString& text) { m_strPrompt = text; }

    void OnInit(CDesignView* view, int reason) override;
    void OnExit(CDesignView* view, int reason) override;
    void OnDraw(CDesignView* view, CJoxDC* dc) override;
    using CDesignTool::OnDraw;
    void OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) override;
    BOOL OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message) override;
    void DisplayPrompt(CDesignView* view) override;
    void OnScroll(CDesignView* view, bool vertical, UINT code, UINT pos, CScrollBar* bar) override;

protected:
    // One XOR drawing of the frame on the view (again to remove it), or on a paint context.
    void DrawFrame(CDesignView* view, CJoxDC* dc = nullptr);

    CSize m_FramedObjSize{0, 0};
    BYTE m_bFraming = 0;
    BYTE m_bHaveFrame = 0;
    BYTE m_bExitOnRelease = 1;
    CString m_strPrompt;
};

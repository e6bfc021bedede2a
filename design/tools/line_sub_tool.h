// CLineSubTool: the operator enters points in pairs; each pair is echoed as a dotted XOR line and
// the line in progress has its length and angle read out in status pane 1.
#pragma once

#include "design/sub_tool.h"

#include <vector>

class CLineSubTool : public CSubTool {
    DECLARE_DYNCREATE(CLineSubTool)

public:
    static constexpr UINT IDS_FIRST_POINT = 43245; // "Enter first point"
    static constexpr UINT IDS_NEXT_POINT = 43246;  // "Enter next point"
    static constexpr UINT IDS_LAST_POINT = 43247;  // "Enter last point"
    static constexpr UINT IDS_LENGTH = 43227;      // "Length: %.2fmm "
    static constexpr UINT IDS_ANGLE = 43252;       // "Angle: %.2f°"
    // The array grows by this many points when full.
    static constexpr int kGrowBy = 12;
    // A start point with this value in both axes draws no line.
    static constexpr LONG kNoPoint = -1000000;
    // Shift in the mouse flags.
    static constexpr UINT kShiftFlag = 4;
    // wParam of the pair message.
    static constexpr WPARAM kPairComplete = 1;

    CLineSubTool() : CLineSubTool(0) {}
    explicit CLineSubTool(int toolId);

    // n < 0: no limit. Otherwise n is rounded up to even and the entered points cut to it.
    void PointsRequired(int n, bool restart, bool exit);
    bool HaveRequiredPoints() const { return m_nCount == m_nRequired; }
    void Cursor(int id) { m_nCursor = id; }
    void PointPairMsg(UINT msg) { m_nPairMsg = msg; }
    const std::vector<CLpoint>& GetPointArray() const { return m_Points; }
    int Count() const { return m_nCount; }
    double Length() const { return m_dLength; }
    double Angle() const { return m_dAngle; }

    // Brings a point outside the client area into view, then moves the pointer there.
    void PanToPoint(CDesignView* view, const CLpoint& point);
    void EchoLines(CDesignView* view);
    void EchoLines(CJoxDC* dc, int from, int to);
    void EchoCurrentLine(CDesignView* view);
    void DisplayLengthAngle();

    void OnActivate(CDesignView* view, BOOL active, CView* activated, CView* deactivated) override;
    void OnInit(CDesignView* view, int reason) override;
    void OnExit(CDesignView* view, int reason) override;
    void OnDraw(CDesignView* view, CJoxDC* dc) override;
    using CDesignTool::OnDraw;
    void OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) override;
    BOOL OnSetCursor(CDesignView* view, CWnd* wnd, UINT hitTest, UINT message) override;
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void DisplayPrompt(CDesignView* view) override;

    // Snaps the second point of a pair (Shift: orthogonal to the first).
    virtual void AdjustSecondPointInPair(CDesignView* view, UINT& flags, CPoint& point);

protected:
    // Draws on a prepared context of the view's document area.
    template <typename Fn> void WithViewDC(CDesignView* view, Fn fn);
    void StoreProvisionalEnd();

    int m_nCount = 0;
    std::vector<CLpoint> m_Points;
    int m_nRequired = -1;
    BYTE m_bRestartWhenComplete = 0;
    BYTE m_bExitWhenComplete = 0;
    int m_nPenStyle = 2;
    int m_nCursor = -1;
    UINT m_nPairMsg = 0;
    double m_dAngle = 0;
    double m_dLength = 0;
};

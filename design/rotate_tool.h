// CRotateTool: the select tool with handles that turn and shear. Corners rotate the selection
// about a rotation centre the operator may drag (handle 1), edge middles shear it, Shift
// pivots on the opposite side, Ctrl snaps rotations to 5 degrees; a typed number rotates by
// that many degrees.
#pragma once

#include "design/select_tool.h"

class CRotateTool : public CSelectTool {
    DECLARE_DYNCREATE(CRotateTool)

public:
    // The undo transaction of typed rotations ("Rotate/Shear").
    static constexpr UINT IDS_ROTATE_SHEAR = 43052;
    static constexpr UINT IDS_SHEAR_PROMPT = 43269;    // "Shear: %.2f°"
    static constexpr UINT IDS_ROTATION_PROMPT = 43251; // "Rotation: %.2f°"
    static constexpr UINT IDS_SELECT_FIRST = 43271;
    // Cursors by handle.
    static constexpr UINT IDC_ROTATE_BOTTOM_LEFT = 28020;
    static constexpr UINT IDC_ROTATE_BOTTOM_RIGHT = 28021;
    static constexpr UINT IDC_ROTATE_TOP_LEFT = 28022;
    static constexpr UINT IDC_SHEAR_VERTICAL = 28023;
    static constexpr UINT IDC_ROTATE_TOP_RIGHT = 28024;
    static constexpr UINT IDC_ROTATE_CENTRE = 28025;
    static constexpr UINT IDC_SHEAR_HORIZONTAL = 28026;
    static constexpr double kSnapDegrees = 5.0;

    CRotateTool();

    // Rotates the selection about its extents' centre by degrees (to a tenth), as one
    // transaction named by undoNameId when that is above 0.
    void SetTransformPrecise(CDesignView* view, double degrees, int undoNameId);
    void DisplayShear();
    void DisplayRotation();

    void OnLButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonUp(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnLButtonDblClk(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnRButtonDown(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnMouseMove(CDesignView* view, UINT flags, const CPoint& point) override;
    void OnTimer(CDesignView* view, UINT id) override;
    void OnKeyDown(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(CDesignView* view, UINT key, UINT repeat, UINT flags) override;
    void OnTypedNumber(CDesignView* view, int number) override;
    void DisplayPrompt(CDesignView* view) override;
    void StopEcho(CDesignView* view) override;
    void SetTransform(CDesignView* view, CPoint client, UINT flags) override;
    void RecalcExtents(CDesignView* view) override;
    CPoint GetHandleCentre(CDesignView* view, HandleType handle) override;
    void SetHandleCursor(HandleType handle, int flag) override;
    void OnDrawHandlesRect(CJoxDC* dc, CRect& rect) override;

    const CLpoint& RotationCentre() const { return m_ptCentre; }
    bool MovingCentre() const { return m_bMovingCentre != 0; }
    double Angle() const { return m_dAngle; }

private:
    BYTE m_bMovingCentre = 0;
    CLpoint m_ptCentre{0, 0};
    CLpoint m_ptSavedCentre{0, 0};
    double m_dAngle = 0.0;
    double m_dShearX = 1.0;
    double m_dShearY = 1.0;
};

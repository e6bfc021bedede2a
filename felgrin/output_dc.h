// A drawing context whose lines and curves become cutter moves: the same drawing code that
// paints a design on screen cuts it. Making one starts the cutter's output; deleting it ends it.
#pragma once

#include "felgrin/cutter_instance.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/mat2d.h"

#include <vector>

// The output context has no mapping of its own (every conversion is the identity), and draws
// in the framework's draw mode for cutter output.
constexpr int OUTPUT_DC_MAP_MODE = 0;
constexpr int OUTPUT_DC_DRAW_MODE = 64;

class COutputDC : public CJoxDC {
    DECLARE_DYNAMIC(COutputDC)

public:
    COutputDC(CCutterInstance* instance, int showCancel, int init);
    ~COutputDC() override;

    void XForm(CMat2d& matrix) { m_xform = matrix; }

    CPoint MoveTo(int x, int y) override;
    CPoint MoveTo(POINT p) override { return MoveTo(p.x, p.y); }
    int LineTo(int x, int y) override;
    int LineTo(POINT p) override { return LineTo(p.x, p.y); }
    int _MoveTo(CPoint& point);
    int _LineTo(CPoint& point);
    // A polyline starts at its first point and cuts through the rest; the caller's points are
    // left as they are.
    BOOL Polyline(POINT* pts, int count) override;
    // Cubic segments: a start point, then three points (two controls and an end) per segment.
    BOOL PolyBezier(const POINT* pts, int count) override;
    // Segments of three points each from the current position.
    BOOL PolyBezierTo(const POINT* pts, int count) override;
    // One cubic segment from the current position, flattened into lines within the arc error.
    void OutputBezier(const POINT* pts);
    int GetArcError();

    int GetDrawCount() override { return 1; }
    BOOL AbortPath() override { return 1; }
    BOOL BeginPath() override { return 1; }
    BOOL EndPath() override { return 1; }
    BOOL FillPath() override { return 1; }
    BOOL StrokeAndFillPath() override { return 1; }
    BOOL StrokePath() override { return 1; }
    CPen* SelectObject(CPen*) override { return nullptr; }
    using CJoxDC::SelectObject;

    void SetOrientation(CLpoint& from, CLpoint& to) override;
    int fnStartDesign();
    int fnEndDesign();
    void fnSetClipArea(CWindow& window);
    void fnSetClipTransfrom(CMat2d& matrix);
    CWindow fnGetClipArea() const { return m_wClip; }
    int fnGetLineStyle() const { return m_nLineStyle; }
    void fnSetLineStyle(int style) { m_nLineStyle = style; }
    // Takes a new line style and tells the cutter when it differs from the last one (unless an
    // operation has failed), so the two never disagree on the tool.
    void fnChangeLineStyle(int style);
    CBaseCutter* fnGetCurrentCutter() const;
    CCutterInstance* fnGetCutterInstance() const { return m_pInstance; }
    CPoint fnGetCurrentPosition() const { return m_ptCurrent; }

private:
    void CheckLineStyle();
    CPoint Transform(int x, int y) const;

    CCutterInstance* m_pInstance;
    CMat2d m_xform;
    CPoint m_ptCurrent{0, 0};
    CWindow m_wClip{-99999999, -99999999, 99999999, 99999999};
    int m_nLineStyle = 0;
};

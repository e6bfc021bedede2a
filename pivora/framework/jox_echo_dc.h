// Rubber-band feedback: drawing in XOR through an affine transform, with long outlines thinned
// to a share of their segments so that dragging stays quick.
#pragma once

#include "pivora/framework/jox_client_dc.h"
#include "pivora/geometry/mat2d.h"

class CJoxEchoDC : public CJoxClientDC {
    DECLARE_DYNAMIC(CJoxEchoDC)

public:
    explicit CJoxEchoDC(const CWnd* wnd);
    ~CJoxEchoDC() override;

    void XForm(CMat2d& xform) { m_xform = xform; }
    // The share of segments drawn, in percent; resets the counts.
    void SetEchoPercent(int percent);

    // The XOR pen stays selected whatever the drawing code selects.
    CGdiObject* SelectStockObject(int index) override;
    CGdiObject* SelectObject(CGdiObject* obj) override;
    CPen* SelectObject(CPen* pen) override;
    using CJoxDC::SelectObject;

    BOOL AbortPath() override { return 1; }
    BOOL BeginPath() override { return 1; }
    BOOL EndPath() override { return 1; }
    BOOL FillPath() override { return 1; }
    BOOL StrokeAndFillPath() override { return 1; }
    BOOL StrokePath() override { return 1; }
    using CJoxDC::LineTo;
    using CJoxDC::MoveTo;
    CPoint MoveTo(int x, int y) override;
    int LineTo(int x, int y) override;
    int ArcTo(CArc&) override { return 1; }
    BOOL Polyline(POINT* pts, int count) override;
    BOOL PolyBezier(const POINT* pts, int count) override;
    BOOL PolyBezierTo(const POINT* pts, int count) override;

private:
    void MoveToSaved();
    bool TakeSegment();

    CMat2d m_xform;
    bool m_pendingMove = true;
    CPoint m_saved{0, 0};
    int m_percent = 100;
    int m_offered = 0;
    int m_drawn = 0;
    CPen m_xorPen;
    CPen* m_oldPen = nullptr;
};

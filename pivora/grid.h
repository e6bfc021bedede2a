// CGrid: the drawing grid of a page: a rectangular grid, a polar grid, user guide lines and
// the origin and page-middle lines. This is its data and stored form; coordinates are data
// units (micrometres).
#pragma once

#include "pivora/geometry/geometry_types.h"

#include "platform/core/crect.h"
#include "platform/core/list.h"
#include "platform/core/object.h"

class CJoxDC;
class CJoxView;

class CGrid : public CObject {
    DECLARE_SERIAL(CGrid)
public:
    // Record ids of the stored form.
    enum { kRecShow = 0, kRecRect = 1, kRecPolar = 2, kRecGuides = 3 };
    // Guide kinds.
    enum { kVertical = 0, kHorizontal = 1 };
    static constexpr LONG kDefaultSpacing = 10000;
    static constexpr float kDefaultAngleStep = 30.0f;

    CGrid();
    ~CGrid() override;
    CGrid(const CGrid&) = delete;
    CGrid& operator=(const CGrid&) = delete;

    // Snap tolerances, loaded from the application parameters on first use.
    static int GetSnapTolPix();
    static int GetSnapTolData();
    // Both return the previous value.
    static int SetSnapTolPix(int pixels);
    static int SetSnapTolData(int dataUnits);

    // Guides: kind 0 the vertical guides (x positions), kind 1 the horizontal ones (y);
    // index counts in list order, -1 meaning the last where allowed.
    int GetGridLinePos(int& pos, int kind, int index) const;
    int SetGridLinePos(int pos, int kind, int index);
    void AddGridLinePos(int pos, int kind);
    void DeleteGridLine(int kind, int index);
    void RemoveGridLines();
    int GridLineCount(int kind) const;
    // Moves every guide by -o; the grid origins stay.
    void SetOrigin(const CLpoint& o);

    // Drawing, behind the design: the rectangular and polar grids, then (separately) the
    // origin, middle and guide lines; inRuler draws the guides' marks in the ruler bands.
    void OnDraw(CJoxView* view, CJoxDC* dc);
    void DrawRectangular(CPoint lo, CPoint hi, CRect client, CJoxDC* dc);
    void DrawPolar(CPoint lo, CPoint hi, CRect client, CJoxDC* dc);
    // The spacing shown: never closer than 10 pixels, 1, 2 or 5 times a power of ten of it.
    void AdjustInterval(int& spacing, CJoxDC* dc);
    void OnDrawGuides(CJoxView* view, CJoxDC* dc, int inRuler);
    // The XOR rubber band of a guide being dragged; drawing it twice erases it.
    void EchoGridLine(CJoxView* view, int kind, CLpoint pos);
    void InvalidateGridLine(CJoxView* view, int kind, int index);

    // Hit tests: the guide under a data point, or under a device point in the view's rulers.
    // kind -1 on entry skips the vertical guides.
    int HitTest(CJoxDC* dc, CPoint p, int& kind, int& index);
    int HitTest(CJoxView* view, CPoint p, int& kind, int& index);
    int HitTestOrigin(CJoxDC* dc, CLpoint& p);
    int HitTestMiddle(CJoxDC* dc, CJoxView* view, CLpoint& p);

    // Snapping in place; 1 when the point moved. Holding Alt inverts every snap.
    int SnapGuides(CJoxView* view, CLpoint& p);
    int SnapRectGrid(CJoxView* view, CLpoint& p);
    int SnapPolarGrid(CJoxView* view, CLpoint& p);
    int Snap(CJoxView* view, CLpoint& p);
    int Snap(CJoxView* view, CPoint& p);

    // The window forms of snapping change nothing.
    int Snap(CJoxView*, CWindow&) { return 0; }
    int Snap(CJoxView*, CRect&) { return 0; }
    int SnapGuides(CJoxView*, CWindow&) { return 0; }
    int SnapRectGrid(CJoxView*, CWindow&) { return 0; }
    int SnapPolarGrid(CJoxView*, CWindow&) { return 0; }
    int SnapGrid(CLpoint&) { return 0; }
    int SnapGrid(CWindow&) { return 0; }

    void Serialize(CArchive& ar) override;

    LONG showRect = 0;
    LONG showPolar = 0;
    LONG showGuides = 1;
    LONG rectStyle = 0;
    LONG rectSnap = 0;
    LONG rectSpacingX = kDefaultSpacing;
    LONG rectSpacingY = kDefaultSpacing;
    LONG rectOriginX = 0;
    LONG rectOriginY = 0;
    LONG polarStyle = 0;
    LONG polarSnap = 0;
    float polarAngleStep = kDefaultAngleStep;
    LONG polarRadiusStep = kDefaultSpacing;
    LONG polarCentreX = 0;
    LONG polarCentreY = 0;
    LONG guideSnap = 0;
    CList<int, int> verticalGuides{10};
    CList<int, int> horizontalGuides{10};
    LONG guideDisplayFlag = 0;
    LONG showOriginLines = 0;
    LONG showMiddleLines = 0;

    static int m_iSnapTolPixel;
    static int m_iSnapTolData;

private:
    // Whether a snap with this display flag and snap field acts, Alt inverting it.
    static bool Active(LONG shown, LONG snap);
    int HitGuides(CJoxDC* dc, CPoint p, int kind, int& index);
    CList<int, int>* Guides(int kind);
    const CList<int, int>* Guides(int kind) const;
    // Spacings and steps come from files too; values the grid cannot draw or snap with
    // become the defaults.
    void MakeSound();
};

// One segment of a curve path: a cubic Bezier curve, a straight line or a circular arc between
// two consecutive control points. Segments draw, measure and hit-test themselves and flatten
// into path elements (at most four arcs per cubic), the form every later consumer reads.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "pivora/geometry/pkt.h"

class CItemHitTest;
class CJoxDC;

class CBezier {
public:
    // Segment types; any other value makes every operation a no-op or an empty result.
    static constexpr int kCubic = 0;
    static constexpr int kLine = 1;
    static constexpr int kArc = 2;
    // Curve levels: the number of elements a cubic becomes.
    static constexpr int kMinLevel = 1;
    static constexpr int kMaxLevel = 4;
    // Control points closer to the chord than this fraction of its length draw straight.
    static constexpr double kFlatness = 0.001;

    CBezier() = default;
    CBezier(const CBezier&) = default;
    CBezier& operator=(const CBezier&) = default;
    // Held by the thousand in arrays (a path's segments) and never derived from: no virtual table.
    ~CBezier() = default;

    // Draws from the current position, which the caller has placed at start (at end when
    // reversed); the points are left as they were.
    void Draw(CJoxDC* dc, bool reverse);
    CWindow Extents();
    // The box of the four points.
    CWindow PointExtents();
    int NumPkts(int level);
    int MakePkts(CPkt* out, int level);
    int MakeCurvePkts(CPkt* out, int level);
    int MakeArcPkts(CPkt* out);
    int HitTest(CItemHitTest* ht);
    void TestCurvature();
    // n >= 2 points along the cubic, start and end exact.
    void GetPoints(POINT* pts, int n);
    // Moves the segment sideways by distance (to the right of its direction for side 1, y up),
    // keeping the line and arc layouts. An arc always grows outward, whatever the side.
    void Displace(long distance, int side);
    // Crossings of the two segments' chords (cubics as eight chords): their number, the first
    // into p1 and a later one into p2. Pairs with an arc report none.
    int Intersect(CBezier other, CPoint& p1, CPoint& p2);

    int type = kCubic;
    int curved = 1;
    CLpoint start;
    CLpoint control1;
    CLpoint control2;
    CLpoint end;

private:
    void DrawCurve(CJoxDC* dc);
    void DrawLine(CJoxDC* dc);
    void DrawArc(CJoxDC* dc);
    void ReversePoints();
    CWindow CurveExtents();
    CWindow LineExtents();
    CWindow ArcExtents();
    int HitTestCurve(CItemHitTest* ht);
    int HitTestLine(CItemHitTest* ht);
    int HitTestArc(CItemHitTest* ht);
    void DisplaceCurve(long distance, int side);
    void DisplaceLine(long distance, int side);
    void DisplaceArc(long distance, int side);
    int IntersectCurve(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectLine(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectArc(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectCurveCurve(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectCurveLine(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectCurveArc(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectLineCurve(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectLineLine(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectLineArc(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectArcCurve(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectArcLine(CBezier& other, CPoint& p1, CPoint& p2);
    int IntersectArcArc(CBezier& other, CPoint& p1, CPoint& p2);
};

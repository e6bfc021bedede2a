// Path elements: a flattened path is a row of straight segments and circular arcs given by
// three points. CPkt is one element; CDpkt carries a pair when an item hands its path out
// element by element. Also the point-on-segment tests that the element hit test uses.
#pragma once

#include "pivora/geometry/arc.h"
#include "pivora/geometry/geometry_types.h"
#include "platform/core/crect.h"

// Drawing and hit testing need the drawing contexts and the item hit test: those members are
// defined in the document model (pivora/document/pkt_draw.cpp), the geometry includes neither.
class CItemHitTest;
class CJoxDC;

class CPkt {
public:
    // Mode of an arc through start, mid and end; anything else is a straight segment.
    static constexpr int kArc = 2;
    // Device length below which an arc is drawn or tested as two lines through its mid point.
    static constexpr double kShortArc = 10.0;
    // Device units per piece when an arc is drawn and when it is hit-tested.
    static constexpr int kDrawStep = 5;
    static constexpr int kHitStep = 10;
    static constexpr int kMaxPieces = 120;
    // Look-ahead along an arc for the direction at a point (data units).
    static constexpr double kDirectionLookAhead = 30.0;

    CPkt() = default;
    CPkt(const CPkt&) = default;
    CPkt& operator=(const CPkt&) = default;
    // Held by the thousand in arrays (a path's elements) and never derived from: no virtual table.
    ~CPkt() = default;

    int Mode() const { return mode; }
    void Mode(int m) { mode = m; }
    CLpoint Start() const { return start; }
    void Start(CLpoint p) { start = p; }
    CLpoint Mid() const { return mid; }
    void Mid(CLpoint p) { mid = p; }
    CLpoint End() const { return end; }
    void End(CLpoint p) { end = p; }
    CArc& Arc() { return arc; }
    void Arc(CArc& a) { arc = a; }

    // The arc through start, mid and end into the element's arc; the mode is left alone.
    int MakeArc();
    // Demotes an arc whose chord is shorter than either half chord to a straight element.
    int TestArc();
    void SplitMid(CPkt& first, CPkt& second);
    // Draws from the current position, which the caller has placed at start.
    void Draw(CJoxDC* dc);
    // The points Draw draws lines to, in turn: at most kMaxPieces; returns how many.
    int DrawPoints(CJoxDC* dc, CLpoint* out);
    CWindow Extents();
    int HitTest(CItemHitTest* test);
    // The point at dist along the element and the direction there; 1 while dist is short of
    // the element's length.
    static int PointAlongPkt(CPkt& element, double dist, CLpoint& point, double& direction,
                             double* elementLength);

    int mode = 0;
    CArc arc;
    CLpoint start;
    CLpoint mid;
    CLpoint end;
};

// A pair of elements. Bit 1 of flags: the second is present; bit 2: the first is an arc;
// bit 4: the second is an arc.
class CDpkt {
public:
    static constexpr int kSecondPresent = 1;
    static constexpr int kFirstArc = 2;
    static constexpr int kSecondArc = 4;

    int flags = 0;
    int reserved = 0;
    BYTE reservedByte = 0;
    WORD reservedWord = 0;
    CArc arcs[2];
    CLpoint start1;
    CLpoint start2;
    CLpoint mid1;
    CLpoint mid2;
    CLpoint end1;
    CLpoint end2;
};

// Whether p lies within the band of half width tol round the infinite line a-b (a.x <= b.x).
int on_line(CLpoint p, CLpoint& a, CLpoint& b, int tol);
// The same on device points; a point segment accepts every p.
int on_line(CPoint p, CPoint& a, CPoint& b, int tol);
// Whether p lies on the segment a-b within 10 data units and inside the box of its ends.
int on_segment(CLpoint a, CLpoint b, CLpoint p);
// Whether the test's hit point lies on the device segment a-b within the test's accuracy.
int HitTestLineSeg(CItemHitTest* test, CPoint& a, CPoint& b);

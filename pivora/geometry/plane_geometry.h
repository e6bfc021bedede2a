// Plane geometry on the kernel's value types: directions, distances, intersections,
// perpendiculars, points along segments, offsets, clipping and aspect fitting.
// Tolerances are absolute data units (micrometres). Functions that find a point write it through
// a pointer and return 1 when the point satisfies their conditions.
#pragma once

#include "pivora/geometry/arc.h"
#include "pivora/geometry/geometry_types.h"
#include "platform/core/crect.h"

// A point this close to a segment or arc counts as lying on it.
constexpr double GEO_ON_ELEMENT = 1.7;
// Starting value of the running minimum of point_length.
constexpr double GEO_FAR_AWAY = 1000000.0;

// Directions (radians, in (-pi, pi]; the zero vector has direction 0).
double angle(CDpoint v);
double angle(CDpoint a, CDpoint b);
double angle(CDline l);
// Unsigned angle between the directions a->b and c->d, in [0, pi].
double angle(CDpoint a, CDpoint b, CDpoint c, CDpoint d);
// Angle at b between b->a and b->c.
double angle(CDpoint a, CDpoint b, CDpoint c);
// Direction of b - a in whole degrees.
int DegAngle(CDpoint a, CDpoint b);

// Lengths and distances.
double length(CDpoint v);
double length(CSize v);
double length(CDpoint a, CDpoint b);
double length(CLpoint a, CLpoint b);
double length(CPoint a, CPoint b);
double length(CDline l);
double length(CDpoint p, CDline l);
// Smallest end-point-to-segment distance (crossing segments are not recognised as 0).
double length(CDline l1, CDline l2);
double length(CLpoint p, CWindow w);
double length(CDpoint p, CArc a);
double length(CDline l, CArc a);
double length(CArc a1, CArc a2);
// -1 when the rectangles overlap, the gap when they lie apart along one axis only, else -2.
double length(CWindow w1, CWindow w2);
// Nearest approach of two elements, with the point where it is reached in out.
double point_length(CLine l1, CLine l2, CLpoint* out);
double point_length(CLine l, CArc a, CLpoint* out);
double point_length(CArc a1, CArc a2, CLpoint* out);
// Distance from p to the infinite line ab; foot truncated to whole units.
double perp_dist(CDpoint* a, CDpoint* b, CDpoint* p, CDpoint* foot);
double perp_dist(CLpoint* a, CLpoint* b, CLpoint* p, CLpoint* foot);

// Intersections.
int intersect(CDline l1, CDline l2, CDpoint* out);
int intersect(CDline l1, CDline l2, CLpoint* out);
int intersect(CDline l1, CDline l2, CDpoint* out, int onFirst, int onSecond);
int intersect(CLine l1, CLine l2, CLpoint* out, int onFirst, int onSecond);
int CheckIntersect(CLpoint& a1, CLpoint& a2, CLpoint& b1, CLpoint& b2);
// The infinite line through l against the full circle of a.
int intersect(CDline l, CArc a, CDpoint* pFar, CDpoint* pNear);
int intersect(CDline l, CArc a, CLpoint* pFar, CLpoint* pNear);
int intersect(CDline l, CArc a, CDpoint* out, int onLine, int onArc);
int intersect(CDline l, CArc a, CLpoint* out, int onLine, int onArc);
// The two full circles; left and right of the line from the first centre to the second.
int intersect(CArc a1, CArc a2, CDpoint* left, CDpoint* right);
int intersect(CArc a1, CArc a2, CLpoint* left, CLpoint* right);
int intersect(CArc a1, CArc a2, CDpoint* out, int onFirst, int onSecond);

// Perpendiculars, sides and parallelism.
int perp(CDpoint a, CDpoint b, CDpoint p, CDpoint* foot);
int perp(CDpoint a, CDpoint b, CDpoint p, CLpoint* foot);
int perp(CLpoint* a, CLpoint* b, CLpoint* p, CLpoint* foot);
// 1 right of start->end (y up), -1 left, 0 on the line.
int half_plane(CDpoint p, CDline l);
int half_plane(CLpoint* p, CLpoint* start, CLpoint* end);
int point_before_line(CLpoint* p, CLpoint* a, CLpoint* b);
// distTol -1 compares the directions only.
bool parallel(const CDpoint& a1, const CDpoint& a2, const CDpoint& b1, const CDpoint& b2,
              double angTol, double distTol);

// Points along segments, offsets, clipping and fitting.
void mid_point(CDpoint a, CDpoint b, double t, CDpoint* out);
void mid_point(CLpoint a, CLpoint b, double t, CLpoint* out);
CLpoint* mid_point(CLpoint* a, CLpoint* b, CLpoint* out);
void split_line(CLpoint* a, CLpoint* b, int n, CLpoint* out, int index, int step);
// Offsets the segment sideways by dist * side (positive to the right of a->b).
void displace(CLpoint a, CLpoint b, CLpoint* outA, CLpoint* outB, LONG dist, int side);
CLpoint* xchg_point(CLpoint* a, CLpoint* b);
// Remainder with the sign of a; 0 when b is 0.
LONG lmod(LONG a, LONG b);
// Outcode: 1 above y2, 2 below y1, 4 right of x2, 8 left of x1.
int FnCheckClip(CLpoint* p, CWindow* w);
// Clips the segment to the rectangle in place: 0 when nothing is left.
int FnClipLine(CLpoint& a, CLpoint& b, CWindow* w);
// Gives size the aspect ratio of ref, growing or shrinking one side.
void fnMakeSizeSimilar(CSize& size, const CSize& ref, bool grow);

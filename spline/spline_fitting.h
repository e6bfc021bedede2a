// The cubic spline through one run of control points: a C2 interpolating B-spline with
// centripetal parameters and Bessel end conditions, handed out as cubic Bezier segments.
#pragma once

#include "pivora/geometry/sb.h"
#include "spline/bezier.h"

// Fits n >= 2 points and writes n - 1 cubic segments to segments[0 .. n-2]. Every segment
// starts and ends exactly on its input points; control points are truncated toward zero.
// Raises the memory exception when the work arrays cannot be had (nothing is written then).
void CalculateBeziers(CSb* points, CBezier* segments, int n);

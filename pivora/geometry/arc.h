// Circular arc: centre, radius and the start and end angles. The sign of a1 - a0 gives the
// direction (positive counter-clockwise, y up); a full circle has a1 = a0 + 2pi.
#pragma once

#include "pivora/geometry/geometry_types.h"

#include <cmath>

class CArc {
public:
    double cx = 0.0;
    double cy = 0.0;
    double r = 0.0;
    double a0 = 0.0;
    double a1 = 0.0;

    CArc() = default;
    CArc(const CDpoint& centre, double radius, double start, double end)
        : cx(centre.x), cy(centre.y), r(radius), a0(start), a1(end) {}
    // The arc through three points; on failure the value make leaves behind.
    CArc(const CDpoint& start, const CDpoint& mid, const CDpoint& end) { make(start, mid, end); }

    // Arc through three points: 1 on success; 0 when none is defined (the points coincide or are
    // collinear), leaving centre = start, r = 0, a0 = 0, a1 = 2pi.
    int make(const CDpoint& start, const CDpoint& mid, const CDpoint& end);
    int make(const CLpoint& start, const CLpoint& mid, const CLpoint& end);

    double angDiff() const { return a1 - a0; }
    CDpoint locus(double angle) const {
        return CDpoint(cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    CDpoint start() const { return locus(a0); }
    CDpoint mid() const { return locus((a0 + a1) / 2); }
    CDpoint end() const { return locus(a1); }

    void operator++() { cx += 1, cy += 1; }
    void operator--() { cx -= 1, cy -= 1; }

    CArc operator+(const CDpoint& p) const { return CArc(*this).move(p.x, p.y); }
    CArc operator+(const CLpoint& p) const { return CArc(*this).move(p.x, p.y); }
    CArc operator+(const CSpoint& p) const { return CArc(*this).move(p.x, p.y); }
    CArc operator+(double d) const { return CArc(*this).move(d, d); }
    CArc operator-(const CDpoint& p) const { return CArc(*this).move(-p.x, -p.y); }
    CArc operator-(const CLpoint& p) const { return CArc(*this).move(-double(p.x), -double(p.y)); }
    CArc operator-(const CSpoint& p) const { return CArc(*this).move(-double(p.x), -double(p.y)); }
    CArc operator-(double d) const { return CArc(*this).move(-d, -d); }
    CArc& operator+=(const CDpoint& p) { return move(p.x, p.y); }
    CArc& operator+=(const CLpoint& p) { return move(p.x, p.y); }
    CArc& operator+=(const CSpoint& p) { return move(p.x, p.y); }
    CArc& operator+=(double d) { return move(d, d); }
    CArc& operator-=(const CDpoint& p) { return move(-p.x, -p.y); }
    CArc& operator-=(const CLpoint& p) { return move(-double(p.x), -double(p.y)); }
    CArc& operator-=(const CSpoint& p) { return move(-double(p.x), -double(p.y)); }
    CArc& operator-=(double d) { return move(-d, -d); }

    CArc operator*(double k) const { return CArc(*this) *= k; }
    CArc operator/(double k) const { return CArc(*this) /= k; }
    CArc& operator*=(double k) {
        cx *= k, cy *= k, r *= k;
        return *this;
    }
    CArc& operator/=(double k) {
        cx /= k, cy /= k, r /= k;
        return *this;
    }

    CArc& move(double dx, double dy) {
        cx += dx, cy += dy;
        return *this;
    }

    bool operator==(const CArc&) const = default;
};

// Moves a0 or a1 by 2pi so that the sweep from a0 to a1 passes the middle angle.
void sort_angles(double* a0, double* amid, double* a1);
// 1 when angle (or angle -/+ 2pi) lies within [min(a0, a1), max(a0, a1)].
int ang_is_inside(double a0, double a1, double angle);
double length(CArc a);
// Bounding rectangle: lo the low corner, hi the high one.
void arc_extents(CArc a, CLpoint* lo, CLpoint* hi);
// n + 1 points at equal angle steps from a0 to a1 into out[index], out[index + step], ...
void split_arc(CArc* a, int n, CLpoint* out, int index, int step);
// The point at the fraction t of the sweep.
void mid_point(CArc a, double t, CLpoint* out);
void mid_point(CArc a, double t, CDpoint* out);
// centre + r (cos angle, sin angle); the integer forms truncate toward zero.
void locus(CLpoint* out, CLpoint* centre, double r, double angle);
void locus(CLpoint* out, CDpoint* centre, double r, double angle);
void locus(CDpoint* out, CDpoint centre, double r, double angle);
// Start, middle and end points of the concentric arc dist further out (side 0) or in (side != 0).
void displace(CArc a, CLpoint* out, int index, int step, LONG dist, int side);

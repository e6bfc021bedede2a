// Affine transform: a 3 x 3 matrix stored row by row (m0 m1 m2 / m3 m4 m5 / m6 m7 m8) applied to
// row vectors (x, y, 1):  x' = m0 x + m3 y + m6,  y' = m1 x + m4 y + m7.
// A product A * B applies A first, then B.
#pragma once

#include "pivora/geometry/arc.h"
#include "pivora/geometry/geometry_types.h"
#include "pivora/geometry/sb.h"
#include "platform/core/crect.h"

class CMat2d {
public:
    double m0 = 1.0, m1 = 0.0, m2 = 0.0;
    double m3 = 0.0, m4 = 1.0, m5 = 0.0;
    double m6 = 0.0, m7 = 0.0, m8 = 1.0;

    // A diagonal pivot below this magnitude makes the matrix singular.
    static constexpr double SINGULAR_PIVOT = 1e-10;

    CMat2d() = default;
    explicit CMat2d(const CScale& s);
    explicit CMat2d(const CShear& s);
    explicit CMat2d(const CAngle& a);
    explicit CMat2d(const CDpoint& d);
    explicit CMat2d(const CSize& d);
    // Maps one rectangle onto the other; a side of zero width or height keeps scale 1 there.
    CMat2d(const CWindow& from, const CWindow& to);
    // Translation by -origin, scale, rotation, then translation by to.
    CMat2d(const CDpoint& origin, double sx, double sy, double angle, const CDpoint& to);

    CMat2d operator*(const CMat2d& b) const { return multiply(b); }
    CMat2d& operator*=(const CMat2d& b) { return *this = multiply(b); }
    CMat2d operator/(const CMat2d& b) const { return multiply(b.inverse()); }
    CMat2d& operator/=(const CMat2d& b) { return *this = multiply(b.inverse()); }
    CMat2d operator*(double k) const;
    CMat2d operator/(double k) const;
    CMat2d& operator*=(double k) { return *this = *this * k; }
    CMat2d& operator/=(double k) { return *this = *this / k; }

    // The inverse; a singular matrix yields a copy of itself (see fnInverse to detect that).
    CMat2d operator~() const { return inverse(); }
    // 1 and the inverse in out; 0 when the matrix is singular, with a copy of itself in out.
    int fnInverse(CMat2d* out) const;

    CDpoint operator*(const CDpoint& p) const { return xform(p); }
    CLpoint operator*(const CLpoint& p) const { return xform(CDpoint(p)).round(); }
    // Device sizes: translated like points, truncated toward zero.
    CPoint operator*(const CSize& s) const;
    CSpoint operator*(const CSpoint& p) const { return CSpoint(*this * CLpoint(p)); }
    CSb operator*(const CSb& p) const { return CSb(p.flags, *this * p.pt); }
    CLine operator*(const CLine& l) const { return CLine(*this * l.start, *this * l.end); }
    // The arc through the transformed start, middle and end points.
    CArc operator*(const CArc& a) const;

    int NoScale() const { return m0 == 1.0 && m4 == 1.0; }
    // Whether an item with these transform permissions may take this matrix:
    // 1 move, 2 scale x, 4 scale y, 0x10 rotate, 0x20 shear x, 0x40 shear y.
    int XformAllowed(DWORD permissions) const;

    bool operator==(const CMat2d&) const = default;

private:
    CMat2d(double a0, double a1, double a2, double a3, double a4, double a5, double a6, double a7,
           double a8)
        : m0(a0), m1(a1), m2(a2), m3(a3), m4(a4), m5(a5), m6(a6), m7(a7), m8(a8) {}

    CMat2d multiply(const CMat2d& b) const;
    CMat2d inverse() const;
    CDpoint xform(const CDpoint& p) const {
        return CDpoint(m0 * p.x + m3 * p.y + m6, m1 * p.x + m4 * p.y + m7);
    }
    void toArray(double a[9]) const;
    static CMat2d fromArray(const double a[9]);
};

#include "pivora/geometry/mat2d.h"

#include <cmath>
#include <utility>

CMat2d::CMat2d(const CScale& s) : CMat2d(s.sx, 0, 0, 0, s.sy, 0, 0, 0, 1) {}

CMat2d::CMat2d(const CShear& s) : CMat2d(1, s.shy, 0, s.shx, 1, 0, 0, 0, 1) {}

CMat2d::CMat2d(const CAngle& a) {
    double c = std::cos(a.a), s = std::sin(a.a);
    m0 = m4 = c;
    m1 = s;
    m3 = -s;
}

CMat2d::CMat2d(const CDpoint& d) : CMat2d(1, 0, 0, 0, 1, 0, d.x, d.y, 1) {}

CMat2d::CMat2d(const CSize& d) : CMat2d(1, 0, 0, 0, 1, 0, d.cx, d.cy, 1) {}

CMat2d::CMat2d(const CWindow& from, const CWindow& to) {
    // 64-bit differences: extreme rectangles must not overflow.
    int64_t fw = int64_t(from.x2) - from.x1, fh = int64_t(from.y2) - from.y1;
    double sx = fw == 0 ? 1.0 : double(int64_t(to.x2) - to.x1) / double(fw);
    double sy = fh == 0 ? 1.0 : double(int64_t(to.y2) - to.y1) / double(fh);
    *this = CMat2d(CDpoint(-double(from.x1), -double(from.y1))) * CMat2d(CScale(sx, sy)) *
            CMat2d(CDpoint(to.x1, to.y1));
}

CMat2d::CMat2d(const CDpoint& origin, double sx, double sy, double angle, const CDpoint& to) {
    *this = CMat2d(-origin) * CMat2d(CScale(sx, sy)) * CMat2d(CAngle(angle)) * CMat2d(to);
}

void CMat2d::toArray(double a[9]) const {
    a[0] = m0, a[1] = m1, a[2] = m2, a[3] = m3, a[4] = m4, a[5] = m5, a[6] = m6, a[7] = m7,
    a[8] = m8;
}

CMat2d CMat2d::fromArray(const double a[9]) {
    return CMat2d(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
}

CMat2d CMat2d::multiply(const CMat2d& b) const {
    double x[9], y[9], out[9];
    toArray(x);
    b.toArray(y);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[3 * i + j] = x[3 * i] * y[j] + x[3 * i + 1] * y[3 + j] + x[3 * i + 2] * y[6 + j];
    return fromArray(out);
}

CMat2d CMat2d::operator*(double k) const {
    double a[9];
    toArray(a);
    for (double& v : a)
        v *= k;
    return fromArray(a);
}

CMat2d CMat2d::operator/(double k) const {
    double a[9];
    toArray(a);
    for (double& v : a)
        v /= k;
    return fromArray(a);
}

// Gauss-Jordan elimination with partial pivoting: a rotation by a quarter turn has a zero in the
// first diagonal place and still inverts properly.
int CMat2d::fnInverse(CMat2d* out) const {
    double w[9], acc[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    toArray(w);
    for (int i = 0; i < 3; ++i) {
        int p = i;
        for (int k = i + 1; k < 3; ++k)
            if (std::fabs(w[3 * k + i]) > std::fabs(w[3 * p + i]))
                p = k;
        if (!(std::fabs(w[3 * p + i]) >= SINGULAR_PIVOT)) {
            *out = *this;
            return 0;
        }
        if (p != i)
            for (int j = 0; j < 3; ++j) {
                std::swap(w[3 * i + j], w[3 * p + j]);
                std::swap(acc[3 * i + j], acc[3 * p + j]);
            }
        double pivot = w[3 * i + i];
        for (int j = 0; j < 3; ++j) {
            w[3 * i + j] /= pivot;
            acc[3 * i + j] /= pivot;
        }
        for (int k = 0; k < 3; ++k) {
            if (k == i)
                continue;
            double f = w[3 * k + i];
            for (int j = 0; j < 3; ++j) {
                w[3 * k + j] -= f * w[3 * i + j];
                acc[3 * k + j] -= f * acc[3 * i + j];
            }
        }
    }
    *out = fromArray(acc);
    return 1;
}

CMat2d CMat2d::inverse() const {
    CMat2d out;
    fnInverse(&out);
    return out;
}

CPoint CMat2d::operator*(const CSize& s) const {
    CDpoint p = xform(CDpoint(s.cx, s.cy));
    return CPoint(fnTruncLong(p.x), fnTruncLong(p.y));
}

CArc CMat2d::operator*(const CArc& a) const {
    CArc out;
    double sweep = a.angDiff();
    if (std::fabs(sweep) >= GEO_2PI) {
        // A full circle's end point misses its start by the rounding of the stored 2pi, which
        // would make the three-point construction ill-conditioned: build it from the start and
        // the opposite point instead, and keep the direction rule of reflections.
        CDpoint s = xform(a.start());
        out.make(s, xform(a.locus(a.a0 + GEO_PI)), s);
        double det = m0 * m4 - m1 * m3;
        if (out.r > 0 && (sweep < 0) != (det < 0))
            out.a1 = out.a0 - GEO_2PI;
        return out;
    }
    out.make(xform(a.start()), xform(a.mid()), xform(a.end()));
    return out;
}

int CMat2d::XformAllowed(DWORD permissions) const {
    if (m0 != 1.0 && !(permissions & 0x02))
        return 0;
    if (m4 != 1.0 && !(permissions & 0x04))
        return 0;
    if (m3 != 0.0 && !(permissions & 0x20))
        return 0;
    if (m1 != 0.0 && !(permissions & 0x40))
        return 0;
    if ((m6 != 0.0 || m7 != 0.0) && !(permissions & 0x01))
        return 0;
    if (!(permissions & 0x10) && !(m0 == 1.0 && m4 == 1.0 && m1 == 0.0 && m3 == 0.0))
        return 0;
    return 1;
}

// Value types of the geometry kernel: points, segments, extents and transform parameters.
// Data space: 32-bit signed integers, one unit is one micrometre, y pointing up.
// Angles: radians, counter-clockwise from the positive x axis.
#pragma once

#include "platform/core/types.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

// Stored constants: every result of the kernel is computed with these, not full-precision ones.
constexpr double GEO_PI = 3.141592654;
constexpr double GEO_2PI = 6.283185307;
constexpr double GEO_PI_2 = 1.570796327;
constexpr double GEO_DEG_PER_RAD = 57.29577951;
constexpr double GEO_RAD_PER_DEG = 0.017453292;
constexpr double GEO_TEN_DEGREES = 0.17453292;
// The polar grid snap alone uses this value for a full turn.
constexpr double GEO_POLAR_2PI = 6.283185308;

// Sentinels of the empty extents rectangle, from which extents are grown.
constexpr LONG WINDOW_EMPTY_LOW = 99999999;
constexpr LONG WINDOW_EMPTY_HIGH = -99999999;

// Truncation toward zero into a signed 32-bit value. Out-of-range values saturate and NaN gives 0,
// so bad input never reaches an undefined conversion.
inline LONG fnTruncLong(double v) {
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<LONG>(v);
}

// Half away from zero: 2.5 gives 3, -2.5 gives -3.
inline LONG fnRoundLong(double v) {
    return fnTruncLong(v < 0 ? v - 0.5 : v + 0.5);
}

// Cuts a value to a number of decimal places for display (a negative count rounds to tens, ...).
inline double fnDoublePrecision(double value, int decimals, bool round) {
    double p = std::pow(10.0, decimals);
    double offset = round ? 0.5 : 0.0;
    if (value < 0)
        offset = -offset;
    return fnTruncLong(value * p + offset) / p;
}

class CLpoint {
public:
    LONG x = 0;
    LONG y = 0;

    CLpoint() = default;
    CLpoint(LONG ax, LONG ay) : x(ax), y(ay) {}

    // Raises x and y to those of another point (the high corner of growing extents).
    void fnTakeMax(const CLpoint& p) {
        if (p.x > x)
            x = p.x;
        if (p.y > y)
            y = p.y;
    }

    bool operator==(const CLpoint&) const = default;
    CLpoint operator+(const CLpoint& p) const { return CLpoint(x + p.x, y + p.y); }
    CLpoint operator-(const CLpoint& p) const { return CLpoint(x - p.x, y - p.y); }
    CLpoint& operator+=(const CLpoint& p) {
        x += p.x, y += p.y;
        return *this;
    }
    CLpoint& operator-=(const CLpoint& p) {
        x -= p.x, y -= p.y;
        return *this;
    }
};

class CDpoint {
public:
    double x = 0.0;
    double y = 0.0;

    CDpoint() = default;
    CDpoint(double ax, double ay) : x(ax), y(ay) {}
    CDpoint(const CLpoint& p) : x(p.x), y(p.y) {}

    // The rounding of every double-to-integer conversion of the kernel.
    CLpoint round() const { return CLpoint(fnRoundLong(x), fnRoundLong(y)); }

    bool operator==(const CDpoint&) const = default;
    CDpoint operator+(const CDpoint& p) const { return CDpoint(x + p.x, y + p.y); }
    CDpoint operator-(const CDpoint& p) const { return CDpoint(x - p.x, y - p.y); }
    CDpoint operator-() const { return CDpoint(-x, -y); }
    CDpoint operator*(double k) const { return CDpoint(x * k, y * k); }
    CDpoint operator/(double k) const { return CDpoint(x / k, y / k); }
    CDpoint& operator+=(const CDpoint& p) {
        x += p.x, y += p.y;
        return *this;
    }
    CDpoint& operator-=(const CDpoint& p) {
        x -= p.x, y -= p.y;
        return *this;
    }
};

// Compact point; converts to and from CLpoint by widening and by cutting to 16 bits.
class CSpoint {
public:
    int16_t x = 0;
    int16_t y = 0;

    CSpoint() = default;
    CSpoint(int16_t ax, int16_t ay) : x(ax), y(ay) {}
    explicit CSpoint(const CLpoint& p)
        : x(static_cast<int16_t>(p.x)), y(static_cast<int16_t>(p.y)) {}
    operator CLpoint() const { return CLpoint(x, y); }
    bool operator==(const CSpoint&) const = default;
};

class CLine {
public:
    CLpoint start;
    CLpoint end;

    CLine() = default;
    CLine(const CLpoint& s, const CLpoint& e) : start(s), end(e) {}
    bool operator==(const CLine&) const = default;
};

class CDline {
public:
    CDpoint start;
    CDpoint end;

    CDline() = default;
    CDline(const CDpoint& s, const CDpoint& e) : start(s), end(e) {}
    CDline(const CLpoint& s, const CLpoint& e) : start(s), end(e) {}
    CDline(const CLine& l) : start(l.start), end(l.end) {}
    bool operator==(const CDline&) const = default;
};

// Extents rectangle in data units: (x1, y1) the low corner, (x2, y2) the high one.
class CWindow {
public:
    LONG x1 = 0;
    LONG y1 = 0;
    LONG x2 = 0;
    LONG y2 = 0;

    CWindow() = default;
    CWindow(LONG ax1, LONG ay1, LONG ax2, LONG ay2) : x1(ax1), y1(ay1), x2(ax2), y2(ay2) {}
    // A device rectangle whose corners were already mapped into data space (y flips).
    explicit CWindow(const RECT& r) : x1(r.left), y1(r.bottom), x2(r.right), y2(r.top) {}

    static CWindow EmptyExtent() {
        return CWindow(WINDOW_EMPTY_LOW, WINDOW_EMPTY_LOW, WINDOW_EMPTY_HIGH, WINDOW_EMPTY_HIGH);
    }

    // An inverted axis (the empty sentinels) becomes the point itself, even for coordinates
    // beyond the sentinels.
    void fnIncludePoint(const CLpoint& p) {
        if (x1 > x2) {
            x1 = x2 = p.x;
        } else {
            if (p.x < x1)
                x1 = p.x;
            if (p.x > x2)
                x2 = p.x;
        }
        if (y1 > y2) {
            y1 = y2 = p.y;
        } else {
            if (p.y < y1)
                y1 = p.y;
            if (p.y > y2)
                y2 = p.y;
        }
    }

    CLpoint fnCentre() const {
        return CLpoint(static_cast<LONG>((int64_t(x1) + x2) / 2),
                       static_cast<LONG>((int64_t(y1) + y2) / 2));
    }

    // A single point, or a rectangle that still holds the empty sentinels.
    bool fnIsEmptyExtent() const {
        if (x1 == x2 && y1 == y2)
            return true;
        return std::llabs(int64_t(x2) - x1) > 99999998 || std::llabs(int64_t(y2) - y1) > 99999998;
    }

    bool operator==(const CWindow&) const = default;
};

class CAngle {
public:
    double a = 0.0;

    CAngle() = default;
    explicit CAngle(double radians) : a(radians) {}
    operator double() const { return a; }
};

class CScale {
public:
    double sx = 1.0;
    double sy = 1.0;

    CScale() = default;
    CScale(double x, double y) : sx(x), sy(y) {}
};

// shx: x' = x + shx * y; shy: y' = shy * x + y.
class CShear {
public:
    double shx = 0.0;
    double shy = 0.0;

    CShear() = default;
    CShear(double x, double y) : shx(x), shy(y) {}
};

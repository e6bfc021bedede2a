// Offsets and crossings of single segments: the pieces the spline item's offset and its
// intersection search are built from.
#include "spline/bezier.h"

#include "pivora/geometry/arc.h"
#include "pivora/geometry/plane_geometry.h"

#include <array>

namespace {

// Samples along a cubic for the crossing tests: eight chords.
constexpr int kSamples = 9;

using Samples = std::array<POINT, kSamples>;

CDline Chord(const POINT& a, const POINT& b) {
    return CDline(CDpoint(double(a.x), double(a.y)), CDpoint(double(b.x), double(b.y)));
}

CDline Chord(const CLpoint& a, const CLpoint& b) {
    return CDline(a, b);
}

bool Cross(const CDline& a, const CDline& b, CPoint& out) {
    CDpoint p;
    if (!intersect(a, b, &p))
        return false;
    out = CPoint(int(fnTruncLong(p.x)), int(fnTruncLong(p.y)));
    return true;
}

// A line against the chords of a cubic: every crossing counts; p2 ends with the last.
int LineAgainstCubic(const CBezier& line, CBezier cubic, CPoint& p1, CPoint& p2) {
    Samples s;
    cubic.GetPoints(s.data(), kSamples);
    const CDline l = Chord(line.start, line.end);
    int found = 0;
    for (int i = 0; i + 1 < kSamples; ++i) {
        CPoint at;
        if (!Cross(l, Chord(s[size_t(i)], s[size_t(i + 1)]), at))
            continue;
        (found == 0 ? p1 : p2) = at;
        ++found;
    }
    return found;
}

} // namespace

void CBezier::Displace(long distance, int side) {
    switch (type) {
    case kCubic:
        DisplaceCurve(distance, side);
        break;
    case kLine:
        DisplaceLine(distance, side);
        break;
    case kArc:
        DisplaceArc(distance, side);
        break;
    default:
        break;
    }
}

void CBezier::DisplaceCurve(long distance, int side) {
    const LONG d = LONG(distance);
    CLpoint s, c1, c2, e;
    displace(start, control1, &s, &c1, d, side);
    displace(control2, end, &c2, &e, d, side);
    start = s, control1 = c1, control2 = c2, end = e;
}

void CBezier::DisplaceLine(long distance, int side) {
    CLpoint s, e;
    displace(start, control1, &s, &e, LONG(distance), side);
    start = s, control1 = e, control2 = s, end = e;
}

void CBezier::DisplaceArc(long distance, int side) {
    CPkt element;
    element.Start(start);
    element.Mid(control1);
    element.End(end);
    if (!element.MakeArc()) {
        DisplaceCurve(distance, side);
        return;
    }
    CLpoint p[3];
    displace(element.Arc(), p, 0, 1, LONG(distance), 0);
    start = p[0], control1 = p[1], control2 = p[1], end = p[2];
}

int CBezier::Intersect(CBezier other, CPoint& p1, CPoint& p2) {
    switch (type) {
    case kCubic:
        return IntersectCurve(other, p1, p2);
    case kLine:
        return IntersectLine(other, p1, p2);
    case kArc:
        return IntersectArc(other, p1, p2);
    default:
        return 0;
    }
}

int CBezier::IntersectCurve(CBezier& other, CPoint& p1, CPoint& p2) {
    switch (other.type) {
    case kCubic:
        return IntersectCurveCurve(other, p1, p2);
    case kLine:
        return IntersectCurveLine(other, p1, p2);
    case kArc:
        return IntersectCurveArc(other, p1, p2);
    default:
        return 0;
    }
}

int CBezier::IntersectLine(CBezier& other, CPoint& p1, CPoint& p2) {
    switch (other.type) {
    case kCubic:
        return IntersectLineCurve(other, p1, p2);
    case kLine:
        return IntersectLineLine(other, p1, p2);
    case kArc:
        return IntersectLineArc(other, p1, p2);
    default:
        return 0;
    }
}

int CBezier::IntersectArc(CBezier& other, CPoint& p1, CPoint& p2) {
    switch (other.type) {
    case kCubic:
        return IntersectArcCurve(other, p1, p2);
    case kLine:
        return IntersectArcLine(other, p1, p2);
    case kArc:
        return IntersectArcArc(other, p1, p2);
    default:
        return 0;
    }
}

int CBezier::IntersectLineLine(CBezier& other, CPoint& p1, CPoint&) {
    return Cross(Chord(start, end), Chord(other.start, other.end), p1) ? 1 : 0;
}

int CBezier::IntersectLineCurve(CBezier& other, CPoint& p1, CPoint& p2) {
    return LineAgainstCubic(*this, other, p1, p2);
}

int CBezier::IntersectCurveLine(CBezier& other, CPoint& p1, CPoint& p2) {
    return LineAgainstCubic(other, *this, p1, p2);
}

// Each chord of this cubic stops at its first crossing; two crossings end the search.
int CBezier::IntersectCurveCurve(CBezier& other, CPoint& p1, CPoint& p2) {
    Samples a, b;
    GetPoints(a.data(), kSamples);
    other.GetPoints(b.data(), kSamples);
    int found = 0;
    for (int i = 0; i + 1 < kSamples && found < 2; ++i) {
        const CDline ca = Chord(a[size_t(i)], a[size_t(i + 1)]);
        for (int j = 0; j + 1 < kSamples; ++j) {
            CPoint at;
            if (!Cross(ca, Chord(b[size_t(j)], b[size_t(j + 1)]), at))
                continue;
            (found == 0 ? p1 : p2) = at;
            ++found;
            break;
        }
    }
    return found;
}

// Arcs take no part in the crossing search: their pairs hand over to the arc side, which finds
// none, so corners next to arcs are never rejoined.
int CBezier::IntersectCurveArc(CBezier& other, CPoint& p1, CPoint& p2) {
    return other.IntersectArcCurve(*this, p1, p2);
}

int CBezier::IntersectLineArc(CBezier& other, CPoint& p1, CPoint& p2) {
    return other.IntersectArcLine(*this, p1, p2);
}

int CBezier::IntersectArcCurve(CBezier&, CPoint&, CPoint&) {
    return 0;
}

int CBezier::IntersectArcLine(CBezier&, CPoint&, CPoint&) {
    return 0;
}

int CBezier::IntersectArcArc(CBezier&, CPoint&, CPoint&) {
    return 0;
}

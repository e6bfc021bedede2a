// CPointHull: the convex hull of a growing set of integer points, kept as its lower and upper
// chains in x-then-y order. Points strictly inside or on an edge are left out. The deviation
// filter asks it for the points that can lie farthest from a chord: any distance to a segment
// is largest at a hull corner.
#pragma once

#include "pivora/geometry/geometry_types.h"

#include <vector>

class CPointHull {
public:
    void Clear();
    void Add(const CLpoint& p);
    bool IsEmpty() const { return m_Lower.empty(); }
    // Each corner once (an end of both chains may come twice); f(const CLpoint&) returns false to
    // stop early. False when stopped.
    template <class F> bool ForEachCorner(F f) const {
        for (const CLpoint& p : m_Lower)
            if (!f(p))
                return false;
        for (const CLpoint& p : m_Upper)
            if (!f(p))
                return false;
        return true;
    }
    // The largest absolute coordinate of any corner.
    double Scale() const;

private:
    static void AddTo(std::vector<CLpoint>& chain, const CLpoint& p, int side);

    std::vector<CLpoint> m_Lower;
    std::vector<CLpoint> m_Upper;
};

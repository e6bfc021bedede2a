#include "spline/point_hull.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

bool Before(const CLpoint& a, const CLpoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

// Twice the signed area of o-a-b: positive for a left turn. 128 bits: coordinate differences
// come near 2^32 and their products near 2^64.
__int128 Cross(const CLpoint& o, const CLpoint& a, const CLpoint& b) {
    return __int128(int64_t(a.x) - o.x) * (int64_t(b.y) - o.y) -
           __int128(int64_t(a.y) - o.y) * (int64_t(b.x) - o.x);
}

int Sign(__int128 v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

} // namespace

void CPointHull::Clear() {
    m_Lower.clear();
    m_Upper.clear();
}

void CPointHull::Add(const CLpoint& p) {
    // The lower chain turns left, the upper right.
    AddTo(m_Lower, p, 1);
    AddTo(m_Upper, p, -1);
}

void CPointHull::AddTo(std::vector<CLpoint>& chain, const CLpoint& p, int side) {
    auto at = std::lower_bound(chain.begin(), chain.end(), p, Before);
    if (at != chain.end() && *at == p)
        return;
    size_t k = size_t(at - chain.begin());
    // Between two corners and not beyond their edge: inside, or on the edge.
    if (k > 0 && k < chain.size() && Sign(Cross(chain[k - 1], chain[k], p)) * side >= 0)
        return;
    chain.insert(chain.begin() + std::ptrdiff_t(k), p);
    while (k >= 2 && Sign(Cross(chain[k - 2], chain[k - 1], chain[k])) * side <= 0) {
        chain.erase(chain.begin() + std::ptrdiff_t(k - 1));
        --k;
    }
    while (k + 2 < chain.size() && Sign(Cross(chain[k], chain[k + 1], chain[k + 2])) * side <= 0)
        chain.erase(chain.begin() + std::ptrdiff_t(k + 1));
}

double CPointHull::Scale() const {
    double s = 0;
    ForEachCorner([&s](const CLpoint& p) {
        s = std::max(s, std::max(std::fabs(double(p.x)), std::fabs(double(p.y))));
        return true;
    });
    return s;
}

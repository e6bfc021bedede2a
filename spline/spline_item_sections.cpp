// Sections of a spline item: runs of control points round the selected ones, bounded by breaks,
// the pieces an edit repaints and refits.
#include "spline/spline_item.h"

#include <memory>

namespace {

// Neighbours flagged on either side of a selected point, the stopping break included.
constexpr int kSectionReach = 4;

bool IsBreak(const CSb& p) {
    return (p.flags & CSplineItem::kBreak) != 0;
}

} // namespace

int* CSplineItem::Sections() {
    return IsClosedCurve(0) ? SectionsClosed() : SectionsOpen();
}

int* CSplineItem::SectionsOpen() {
    const int n = VectCount();
    int* f = new int[size_t(n > 0 ? n : 1)]();
    for (int i = 0; i < n; ++i) {
        if (!Selected(i))
            continue;
        f[i] = 1;
        if (i > 0) {
            int j = i;
            do {
                --j;
                f[j] = 1;
            } while (!(j < 1 || i - j > kSectionReach || IsBreak(m_Points[j])));
        }
        if (i < n - 1) {
            int j = i;
            do {
                ++j;
                f[j] = 1;
            } while (!(j >= n - 1 || j - i > kSectionReach || IsBreak(m_Points[j])));
        }
    }
    return f;
}

int* CSplineItem::SectionsClosed() {
    const int n = VectCount();
    const int k = n - 1;
    int* f = new int[size_t(k > 0 ? k : 1)]();
    if (k < 1)
        return f;
    for (int i = 0; i < k; ++i) {
        if (!Selected(i))
            continue;
        f[i] = 1;
        int j = i;
        for (int steps = 1;; ++steps) {
            j = j == 0 ? k - 1 : j - 1;
            f[j] = 1;
            if (steps > kSectionReach || IsBreak(m_Points[j]))
                break;
        }
        j = i;
        for (int steps = 1;; ++steps) {
            j = j + 1 == k ? 0 : j + 1;
            f[j] = 1;
            if (steps > kSectionReach || IsBreak(m_Points[j]))
                break;
        }
    }
    return f;
}

int CSplineItem::NumSections() {
    const bool closed = IsClosedCurve(0) != 0;
    std::unique_ptr<int[]> f(Sections());
    const int k = closed ? VectCount() - 1 : VectCount();
    int runs = 0;
    for (int i = 0; i < k; ++i)
        if (f[size_t(i)] && (i == 0 || !f[size_t(i - 1)]))
            ++runs;
    if (closed && runs > 1 && f[0] && f[size_t(k - 1)])
        --runs;
    return runs;
}

void CSplineItem::Section(int k, int& first, int& count) {
    if (IsClosedCurve(0))
        SectionClosed(k, first, count);
    else
        SectionOpen(k, first, count);
}

// A k with no such section gives first -1 and count 0.
void CSplineItem::SectionOpen(int k, int& first, int& count) {
    const int n = VectCount();
    std::unique_ptr<int[]> f(Sections());
    first = -1, count = 0;
    int pos = 0;
    for (int s = 0; s <= k; ++s) {
        while (pos < n && !f[size_t(pos)])
            ++pos;
        if (pos >= n) {
            first = -1, count = 0;
            return;
        }
        first = pos;
        count = 0;
        while (pos < n && f[size_t(pos)])
            ++count, ++pos;
    }
}

// A run through the closing point starts before it and wraps on to the first points. Every
// point flagged is a single run of n - 1 distinct points: the closing point is the first point
// again, so the count is n - 1 as for every other run.
void CSplineItem::SectionClosed(int k, int& first, int& count) {
    const int n = VectCount();
    const int m = n - 1;
    std::unique_ptr<int[]> f(Sections());
    first = -1, count = 0;
    if (m < 1)
        return;
    int pos = 0;
    if (f[0]) {
        int unset = -1;
        for (int i = m - 1; i >= 1 && unset < 0; --i)
            if (!f[size_t(i)])
                unset = i;
        if (unset < 0) {
            if (k == 0)
                first = 0, count = m;
            return;
        }
        pos = unset + 1 > m - 1 ? 0 : unset + 1;
    }
    int scanned = 0;
    for (int s = 0; s <= k; ++s) {
        while (scanned < m && !f[size_t(pos)])
            pos = pos + 1 == m ? 0 : pos + 1, ++scanned;
        if (scanned >= m) {
            first = -1, count = 0;
            return;
        }
        first = pos;
        count = 0;
        while (scanned < m && f[size_t(pos)])
            ++count, pos = pos + 1 == m ? 0 : pos + 1, ++scanned;
    }
    if (count > m)
        count = m;
}

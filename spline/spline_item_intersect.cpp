// Crossings of spline items' control polygons (with themselves or with another item), and the
// rejoining of segment ends after an offset.
#include "spline/spline_item.h"

#include "pivora/geometry/plane_geometry.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

namespace {

// Directions closer than this to parallel join at the midpoint of the two ends.
constexpr double kParallelTolerance = 0.008;

struct Crossing {
    int segment = 0;
    bool between = false;
    double distance = 0;
};

Crossing RecordOf(int s, const CDpoint& a, const CDpoint& b, const CDpoint& x) {
    Crossing r;
    r.segment = s;
    if (x == a) {
        if (x == b)
            r.segment = s + 1;
    } else if (x == b) {
        r.segment = s + 1;
    } else {
        r.between = true;
        r.distance = length(a, x);
    }
    return r;
}

// Orders the records by edge, then by distance along it, carrying the points along; equal keys
// keep their order.
void SortCrossings(std::vector<Crossing>& r, std::vector<CDpoint>& x) {
    std::vector<size_t> order(r.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (r[a].segment != r[b].segment)
            return r[a].segment < r[b].segment;
        return r[a].distance < r[b].distance;
    });
    std::vector<Crossing> r2;
    std::vector<CDpoint> x2;
    for (size_t i : order)
        r2.push_back(r[i]), x2.push_back(x[i]);
    r.swap(r2);
    x.swap(x2);
}

CDpoint At(CVectorItem* item, int i) {
    return CDpoint(item->Vect(i).pt);
}

CLpoint Truncated(const CDpoint& p) {
    return CLpoint(fnTruncLong(p.x), fnTruncLong(p.y));
}

// One point to insert after the start of an edge, and where it lands among all the others.
struct Insertion {
    int edge;
    double distance;
    CLpoint at;
    size_t finalIndex = 0;
};

// Inserts the points from the highest edge down, so that every point lands on the edge it was
// found on; finalIndex tells where each one ended up.
void InsertAll(CSplineItem* item, std::vector<Insertion>& ins, DWORD mode) {
    std::vector<size_t> order(ins.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (ins[a].edge != ins[b].edge)
            return ins[a].edge < ins[b].edge;
        return ins[a].distance < ins[b].distance;
    });
    for (size_t rank = 0; rank < order.size(); ++rank)
        ins[order[rank]].finalIndex = size_t(ins[order[rank]].edge) + 1 + rank;
    CSbArray* points = item->Vect();
    for (size_t rank = order.size(); rank-- > 0;) {
        const Insertion& one = ins[order[rank]];
        CSb p(mode, one.at);
        points->InsertAt(one.edge + 1, p);
    }
    item->MakeCurves();
    item->InvExtents(1);
}

// Where original point p lies once the insertions are in.
int Shifted(const std::vector<Insertion>& ins, int p) {
    int before = 0;
    for (const Insertion& one : ins)
        before += one.edge < p ? 1 : 0;
    return p + before;
}

} // namespace

int CSplineItem::FindIntersections(CSplineItemArray* pieces) {
    return FindIntersections(nullptr, true, true, pieces);
}

int CSplineItem::FindIntersections(CSplineItem* other, bool insert, bool split,
                                   CSplineItemArray* pieces) {
    const int n = ElementCount();
    if (n < 3)
        return 0;
    std::vector<Crossing> r1, r2;
    std::vector<CDpoint> x1, x2;
    auto test = [&](int i, CVectorItem* with, int k) {
        const CDpoint a = At(this, i), b = At(this, i + 1);
        const CDpoint c = At(with, k), d = At(with, k + 1);
        CDpoint x;
        if (!intersect(CDline(a, b), CDline(c, d), &x))
            return;
        x1.push_back(x);
        if (other)
            x2.push_back(x);
        r1.push_back(RecordOf(i, a, b, x));
        r2.push_back(RecordOf(k, c, d, x));
    };
    if (!other) {
        // Adjacent edges are never paired, nor is the last edge.
        for (int i = 0; i + 1 < n; ++i)
            for (int k = i + 2; k <= n - 3; ++k)
                test(i, this, k);
    } else {
        const int m = other->ElementCount();
        for (int i = 0; i + 1 < n; ++i)
            for (int k = 0; k + 1 < m; ++k)
                test(i, other, k);
    }
    const int count = int(x1.size());
    if (count == 0)
        return 0;
    if (other) {
        SortCrossings(r1, x1);
        SortCrossings(r2, x2);
    }
    if (!insert && !split)
        return count;

    const DWORD mode = m_Points[0].flags;
    const int pointsBefore = VectCount();
    std::vector<Insertion> mine, theirs;
    // The first crossing's copies on this item, for cutting its loop off.
    int firstCopy = -1, lastCopy = -1;
    for (int c = 0; c < count; ++c) {
        if (r1[size_t(c)].between)
            mine.push_back(
                {r1[size_t(c)].segment, r1[size_t(c)].distance, Truncated(x1[size_t(c)])});
        if (!r2[size_t(c)].between)
            continue;
        if (!other)
            mine.push_back(
                {r2[size_t(c)].segment, r2[size_t(c)].distance, Truncated(x1[size_t(c)])});
        else
            theirs.push_back(
                {r2[size_t(c)].segment, r2[size_t(c)].distance, Truncated(x2[size_t(c)])});
    }
    InsertAll(this, mine, mode);
    if (other)
        InsertAll(other, theirs, mode);
    if (!other && !mine.empty()) {
        size_t next = 0;
        firstCopy = r1[0].between ? int(mine[next++].finalIndex) : Shifted(mine, r1[0].segment);
        lastCopy = r2[0].between ? int(mine[next].finalIndex) : Shifted(mine, r2[0].segment);
    } else if (!other) {
        firstCopy = r1[0].segment;
        lastCopy = r2[0].segment;
    }
    if (!split)
        return count;

    if (!other) {
        if (pieces && firstCopy >= 0 && lastCopy > firstCopy && lastCopy < VectCount())
            CutLoop(firstCopy, lastCopy, pieces, pointsBefore);
        return count;
    }
    TrimInside(other);
    return count;
}

void CSplineItem::CutLoop(int first, int last, CSplineItemArray* pieces, int pointsBefore) {
    auto piece = std::make_unique<CSplineItem>();
    const DWORD mode = m_Points[0].flags;
    for (int e = first; e <= last; ++e) {
        CSb p(mode, m_Points[e].pt);
        piece->m_Points.InsertAt(0, p);
    }
    m_Points.RemoveAt(first, last - first);
    MakeCurves();
    InvExtents(1);
    piece->MakeCurves();
    piece->InvExtents(1);
    CSplineItem* kept = piece.release();
    pieces->SetAtGrow(pieces->GetSize(), kept);
    // The piece is searched for loops of its own only when it holds fewer points than this item
    // did before its crossings went in: with crossings at every edge (degenerate or far-off
    // points) each piece would be about the whole path again, twice as long, for ever.
    if (kept->VectCount() < pointsBefore &&
        kept->FindIntersections(nullptr, false, false, nullptr) > 0)
        kept->FindIntersections(nullptr, true, true, pieces);
}

// Deletes other's points strictly inside this item. A point that moves into a freed place is
// tested in its turn; an open path's last point is tested too and never taken for a closing one.
void CSplineItem::TrimInside(CSplineItem* other) {
    const bool closed = other->IsClosed(0) != 0;
    int k = closed ? other->ElementCount() - 1 : other->ElementCount();
    int q = 0;
    while (q < k) {
        if (IsInside(other->Vect(q).pt) <= 0) {
            ++q;
            continue;
        }
        other->DelVect(q, 1);
        --k;
        if (closed && q == 0) {
            int c = other->ElementCount();
            if (c > 0)
                other->DelVect(--c, 1);
            if (c > 0) {
                CSb copy = other->Vect(0);
                other->InsertElement(c, &copy, 1);
            }
            k = other->ElementCount() - 1;
        }
    }
    other->MakeCurves();
    other->InvExtents(1);
}

// Rejoining ---------------------------------------------------------------------------------------

void CSplineItem::CalcIntersects() {
    const int n = VectCount();
    const int m = int(m_Beziers.GetSize());
    // Nothing to join without one segment per pair of points.
    if (m == 0 || m != n - 1)
        return;
    const bool closed = IsClosed(0) != 0;
    std::vector<int> lineJoins(size_t(n), 0), joined(size_t(n), 0);
    auto lines = [&](int a, int b) {
        return m_Beziers[a].type == CBezier::kLine && m_Beziers[b].type == CBezier::kLine ? 1 : 0;
    };
    for (int j = 1; j + 1 < n; ++j)
        lineJoins[size_t(j)] = lines(j - 1, j);
    lineJoins[0] = lineJoins[size_t(n - 1)] = closed ? lines(0, m - 1) : 1;
    CalcIntersectsPass1(lineJoins.data(), joined.data());
    CalcIntersectsPass2(lineJoins.data(), joined.data());
}

void CSplineItem::CalcIntersectsPass1(int* lineJoins, int* joined) {
    const int m = int(m_Beziers.GetSize());
    const bool closed = IsClosed(0) != 0;
    if (closed)
        CalcIntersect(m - 1, 0, lineJoins, joined);
    else
        m_Points[0].pt = m_Beziers[0].start;
    for (int j = 1; j < m; ++j)
        CalcIntersect(j - 1, j, lineJoins, joined);
    m_Points[m].pt = closed ? m_Points[0].pt : m_Beziers[m - 1].end;
}

void CSplineItem::CalcIntersectsPass2(int* lineJoins, int* joined) {
    const int m = int(m_Beziers.GetSize());
    const bool closed = IsClosed(0) != 0;
    if (!joined[0]) {
        if (closed)
            CalcIntersect(m - 1, 0, lineJoins, nullptr);
        else
            m_Points[0].pt = m_Beziers[0].start;
    }
    for (int j = 1; j < m; ++j)
        if (!joined[j])
            CalcIntersect(j - 1, j, lineJoins, nullptr);
    if (!joined[m])
        m_Points[m].pt = closed ? m_Points[0].pt : m_Beziers[m - 1].end;
}

void CSplineItem::CalcIntersect(int i, int j, int* lineJoins, int* joined) {
    const CBezier a = m_Beziers[i], b = m_Beziers[j];
    auto join = [&](const CLpoint& q) {
        m_Beziers[j].start = q;
        m_Beziers[i].end = q;
        m_Points[j].pt = q;
    };
    auto midpoint = [&]() {
        return CLpoint(LONG((int64_t(a.end.x) + b.start.x) / 2),
                       LONG((int64_t(a.end.y) + b.start.y) / 2));
    };
    CDpoint x(0, 0);
    if (Intersect(i, j, x, joined ? 1 : 0)) {
        join(x.round());
        if (joined)
            joined[j] = 1;
        return;
    }
    if (!joined)
        return;
    auto within = [](double lo, double mid, double hi) {
        return (lo <= mid && mid <= hi) || (hi <= mid && mid <= lo);
    };
    const bool isParallel = parallel(CDpoint(a.control2), CDpoint(a.end), CDpoint(b.start),
                                     CDpoint(b.control1), kParallelTolerance, -1.0);
    if (within(a.control2.x, a.end.x, x.x) && within(a.control2.y, a.end.y, x.y) &&
        within(x.x, b.start.x, b.control1.x) && within(x.y, b.start.y, b.control1.y)) {
        join(isParallel ? midpoint() : x.round());
        joined[j] = 1;
        return;
    }
    if (lineJoins[i] && lineJoins[j] && lineJoins[j + 1]) {
        if (isParallel)
            join(midpoint());
        else
            m_Points[j].pt = x.round();
        joined[j] = 1;
        return;
    }
    m_Points[j].pt = length(a.start, a.end) <= length(b.start, b.end) ? b.start : a.end;
}

int CSplineItem::Intersect(int i, int j, CDpoint& at, int tangents) {
    const CBezier a = m_Beziers[i], b = m_Beziers[j];
    if (a.type == CBezier::kCubic && b.type == CBezier::kCubic && m_Points[j].flags == 0) {
        at = CDpoint(double((int64_t(a.end.x) + b.start.x) / 2),
                     double((int64_t(a.end.y) + b.start.y) / 2));
        return 1;
    }
    if (a.type == CBezier::kLine && b.type == CBezier::kLine)
        return intersect(CDline(a.start, a.end), CDline(b.start, b.end), &at);
    if (!tangents) {
        CBezier first = a;
        CPoint p1, p2;
        const int found = first.Intersect(b, p1, p2);
        at = CDpoint(double(p1.x), double(p1.y));
        return found;
    }
    const CDline la = a.type == CBezier::kLine ? CDline(a.start, a.end) : CDline(a.control2, a.end);
    const CDline lb =
        b.type == CBezier::kLine ? CDline(b.start, b.end) : CDline(b.start, b.control1);
    return intersect(la, lb, &at);
}

#include "vector/scan_lines.h"

#include "pivora/geometry/arc.h"
#include "pivora/geometry/mat2d.h"

#include "platform/framework/wait_cursor.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kRadPerDeg = 0.017453292;
// Mode word of every stroke with SCAN_BREAK_MODE: the break mark of control points.
constexpr WORD kBreakMode = 0x200;
// Room the result keeps beyond its strokes.
constexpr int kSpareStrokes = 10;
// Levels of the flattened paths the hatching works on.
constexpr int kRotatedLevel = 4;
constexpr int kEdgeLevel = 2;
// Lines rounded to whole units: 0.49, not 0.5, keeps a line at .5 on the lower unit.
constexpr double kLineRounding = 0.49;
// Bounds that keep absurd arguments from allocating or looping without end.
constexpr double kMaxLines = 4.0e6;
constexpr double kMaxArcPoints = 1 << 20;

// An edge with its lower end first.
struct Edge {
    CLpoint lo, hi;
};

// Owns the temporary copies of the articles.
struct Copies {
    std::vector<CArticle*> list;
    ~Copies() {
        for (CArticle* a : list)
            delete a;
    }
};

void AddPolylineEdges(CVectorItem* item, double step, std::vector<Edge>& edges) {
    CPktArray* pkts = item->Pkt();
    if (!pkts || pkts->IsEmpty())
        return;
    CLpoint prev = pkts->GetAt(0).start;
    auto add = [&](const CLpoint& p) {
        Edge e{prev, p};
        if (e.hi.y < e.lo.y)
            std::swap(e.lo, e.hi);
        edges.push_back(e);
        prev = p;
    };
    for (INT_PTR i = 0; i < pkts->GetSize(); ++i) {
        CPkt& p = pkts->ElementAt(i);
        const double len = (p.mode & CPkt::kArc) ? length(p.arc) : 0.0;
        if (!(p.mode & CPkt::kArc) || len <= 2 * step) {
            add(p.end);
            continue;
        }
        const double k = std::min(std::trunc(len / step + 1.0), kMaxArcPoints);
        const int n = int(k);
        for (int j = 1; j <= n; ++j) {
            CLpoint q;
            mid_point(p.arc, double(j) / n, &q);
            add(q);
        }
    }
}

// The x where line Y crosses the edge; the edge must hold lo.y <= Y < hi.y.
LONG CrossingX(const Edge& e, LONG Y) {
    if (Y == e.lo.y)
        return e.lo.x;
    const __int128 dx = __int128(e.hi.x) - e.lo.x;
    const __int128 num = dx * (__int128(Y) - e.lo.y);
    return LONG(e.lo.x + num / (__int128(e.hi.y) - e.lo.y));
}

} // namespace

CDb* FnGenerateScanLines(CTypedPtrArray<CObArray, CArticle*>& articles, int step, double spacing,
                         double angle, int& count, int flags) {
    count = 0;
    // A step or spacing of zero or below would divide by zero or never end.
    if (step <= 0 || !std::isfinite(spacing) || !std::isfinite(angle))
        return nullptr;
    if (spacing <= 0 && !((flags & SCAN_FIT_HEIGHT) && spacing == 0))
        return nullptr;

    Copies copies;
    for (INT_PTR i = 0; i < articles.GetSize(); ++i)
        if (CArticle* a = articles.GetAt(i))
            if (auto* copy = DynamicDowncast<CArticle>(a->CopyTreeObject()))
                copies.list.push_back(copy);
    CMat2d turn, back;
    if (angle != 0) {
        turn = CMat2d(CAngle(angle * kRadPerDeg));
        back = CMat2d(CAngle(-angle * kRadPerDeg));
        for (CArticle* c : copies.list) {
            c->DoTransform(turn, 0);
            if (auto* item = DynamicDowncast<CVectorItem>(c->GetItem()))
                item->MakePktArray(kRotatedLevel);
        }
    }

    std::vector<Edge> edges;
    for (CArticle* c : copies.list)
        if (auto* item = DynamicDowncast<CVectorItem>(c->GetItem())) {
            item->MakeCurves();
            item->MakePktArray(kEdgeLevel);
            AddPolylineEdges(item, step, edges);
        }
    if (edges.empty())
        return nullptr;

    LONG minY = WINDOW_EMPTY_LOW, maxY = WINDOW_EMPTY_HIGH;
    for (const Edge& e : edges) {
        minY = std::min(minY, e.lo.y);
        maxY = std::max(maxY, e.hi.y);
    }
    const double h = double(maxY) - minY;
    double y = minY;
    if (flags & SCAN_FIT_HEIGHT) {
        if (spacing == 0)
            spacing = 1.0;
        const double n = std::trunc(h / spacing);
        // Under one line's height, or under two units, nothing fits.
        if (n < 1 || h <= 2.0)
            return nullptr;
        spacing = (h - 2.0) / n;
        y += 1.0;
    }
    if (spacing > h || h / spacing > kMaxLines)
        return nullptr;

    // Edges in order of their lower end; a line takes those it has reached and drops those
    // whose upper end it has reached, so each edge is tested only where it can cross.
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.lo.y < b.lo.y; });
    std::vector<const Edge*> active;
    size_t next = 0;
    std::vector<CDb> strokes;
    std::vector<LONG> xs;
    int line = 0;
    for (; y < maxY; y += spacing, ++line) {
        const LONG Y = fnTruncLong(y + kLineRounding);
        while (next < edges.size() && edges[next].lo.y <= Y)
            active.push_back(&edges[next++]);
        xs.clear();
        size_t keep = 0;
        for (const Edge* e : active) {
            if (e->hi.y <= Y)
                continue;
            active[keep++] = e;
            // A horizontal edge has hi.y == lo.y <= Y and is gone already.
            xs.push_back(CrossingX(*e, Y));
        }
        active.resize(keep);
        std::sort(xs.begin(), xs.end());
        if (xs.size() % 2)
            xs.pop_back();
        const WORD mode = (flags & SCAN_BREAK_MODE) ? kBreakMode : WORD(line);
        const size_t pairs = xs.size() / 2;
        if ((flags & SCAN_ZIG_ZAG) && (line % 2))
            for (size_t i = pairs; i-- > 0;)
                strokes.emplace_back(mode, CLpoint(xs[2 * i + 1], Y), CLpoint(xs[2 * i], Y));
        else
            for (size_t i = 0; i < pairs; ++i)
                strokes.emplace_back(mode, CLpoint(xs[2 * i], Y), CLpoint(xs[2 * i + 1], Y));
    }
    if (strokes.empty())
        return nullptr;
    if (angle != 0)
        for (CDb& s : strokes) {
            s.start = back * s.start;
            s.end = back * s.end;
        }
    auto* out = new CDb[strokes.size() + kSpareStrokes];
    std::copy(strokes.begin(), strokes.end(), out);
    count = int(strokes.size());
    return out;
}

CDb* FnGenerateScanLines(CArticleList& articles, int step, double spacing, double angle, int& count,
                         int flags) {
    // Long lists take a while: the operator sees the wait cursor until the strokes are there.
    CWaitCursor wait;
    CTypedPtrArray<CObArray, CArticle*> array;
    for (POSITION pos = articles.GetHeadPosition(); pos;)
        array.Add(articles.GetNext(pos));
    return FnGenerateScanLines(array, step, spacing, angle, count, flags);
}

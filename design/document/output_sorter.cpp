#include "design/document/output_sorter.h"

#include "design/document/kd_index.h"
#include "vector/vector_item.h"

#include <cmath>
#include <limits>
#include <queue>
#include <set>
#include <tuple>

namespace {

using u128 = unsigned __int128;
constexpr u128 kFar = ~u128(0);

u128 Squared(int64_t dx, int64_t dy) {
    const uint64_t ax = uint64_t(dx < 0 ? -dx : dx), ay = uint64_t(dy < 0 ? -dy : dy);
    return u128(ax) * ax + u128(ay) * ay;
}

u128 SquaredTo(const CLpoint& p, int64_t x, int64_t y) {
    return Squared(int64_t(p.x) - x, int64_t(p.y) - y);
}

// Rounded to the nearest integer, halves up: the largest r with r(r - 1) < s.
int64_t RoundedRoot(u128 s) {
    if (s == 0)
        return 0;
    int64_t r = int64_t(std::llround(std::sqrt(double(s))));
    while (r > 0 && u128(r) * u128(r - 1) >= s)
        --r;
    while (u128(r + 1) * u128(r) < s)
        ++r;
    return r;
}

// Squared distance from (x, y) to the nearest point of the box x1..x2, y1..y2.
u128 SquaredToBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x, int64_t y) {
    const int64_t dx = x < x1 ? x1 - x : x > x2 ? x - x2 : 0;
    const int64_t dy = y < y1 ? y1 - y : y > y2 ? y - y2 : 0;
    return Squared(dx, dy);
}

using Key = std::tuple<int64_t, int64_t, int>;

} // namespace

struct COutputSorter::Entry {
    CArticle* article = nullptr;
    CVectorItem* item = nullptr;
    bool canMove = false;
    int vectCount = 0;
    int start = -1;
    int64_t sx = -1, sy = -1;
    // The vertices a nearest start is chosen from, in State::verts.
    int vertFirst = 0, vertLast = 0;
};

struct COutputSorter::State {
    std::vector<Entry> entries;
    std::vector<CLpoint> verts;
    // Freed (no remaining path inside them) but not yet placed in the pick structures.
    std::vector<int> pending;
    // Containment: the extents of the remaining paths, and who waits on which witness.
    std::unique_ptr<CKdIndex<4>> boxes;
    std::vector<std::vector<int>> waiting;
    // Design order: the free entries, first first.
    std::priority_queue<int, std::vector<int>, std::greater<int>> firstFree;
    // Nearest: per path the box of its start, or with starts closest to the pen of every
    // vertex it may start at.
    std::unique_ptr<CKdIndex<4>> points;
    // Bands: free entries by (start y, -start x), and the current band in its order.
    std::set<Key> pool, band;
    int64_t bandLimit = 0;
    int kind = kKindDesign;
    bool toggle = false;
};

COutputSorter::COutputSorter(EOrderMode orderMode, EStartPointMode startMode, int flags,
                             int maxDeviation)
    : m_orderMode(orderMode), m_startMode(startMode), m_flags(flags), m_maxDeviation(maxDeviation) {
}

COutputSorter::~COutputSorter() = default;

int64_t COutputSorter::RoundedDistance(int64_t dx, int64_t dy) {
    return RoundedRoot(Squared(dx, dy));
}

void COutputSorter::Prepare(const CArticleList& input) {
    State& s = *m_state;
    for (POSITION pos = input.GetHeadPosition(); pos;) {
        CArticle* a = input.GetNext(pos);
        auto* item = a ? DynamicDowncast<CVectorItem>(a->GetItem()) : nullptr;
        // Anything but a path, or a path without elements, cuts nothing.
        if (!item || item->ElementCount() <= 0)
            continue;
        Entry e;
        e.article = a;
        e.item = item;
        e.canMove = item->fnCanMoveItemStart() != 0;
        e.vectCount = item->VectCount();
        e.vertFirst = int(s.verts.size());
        if (m_startMode == eStartClosestToPrevious) {
            if (e.canMove && e.vectCount > 0)
                for (int i = 0; i < e.vectCount; ++i)
                    s.verts.push_back(item->GetElementPos(i));
            else
                s.verts.push_back(item->GetElementPos(0));
        }
        e.vertLast = int(s.verts.size());
        if (m_startMode != eStartClosestToPrevious)
            ChooseFixedStart(e);
        s.entries.push_back(e);
    }
}

void COutputSorter::ChooseFixedStart(Entry& e) const {
    int best = 0;
    if (e.canMove && e.vectCount > 0 &&
        (m_startMode == eStartAlwaysRight || m_startMode == eStartAlwaysBottom)) {
        CLpoint b = e.item->GetElementPos(0);
        for (int i = 1; i < e.vectCount; ++i) {
            const CLpoint p = e.item->GetElementPos(i);
            const bool better = m_startMode == eStartAlwaysRight
                                    ? p.x > b.x || (p.x == b.x && p.y < b.y)
                                    : p.y < b.y || (p.y == b.y && p.x > b.x);
            if (better) {
                b = p;
                best = i;
            }
        }
    }
    const CLpoint p = e.item->GetElementPos(best);
    e.start = best;
    e.sx = p.x;
    e.sy = p.y;
}

void COutputSorter::ChooseNearestStart(Entry& e) const {
    const State& s = *m_state;
    u128 best = kFar;
    int at = 0;
    for (int k = e.vertFirst; k < e.vertLast; ++k) {
        const u128 d = SquaredTo(s.verts[size_t(k)], m_pen.x, m_pen.y);
        if (d < best) {
            best = d;
            at = k - e.vertFirst;
        }
    }
    const CLpoint& p = s.verts[size_t(e.vertFirst + at)];
    e.start = at;
    e.sx = p.x;
    e.sy = p.y;
}

void COutputSorter::MakeFree(int i) {
    m_state->pending.push_back(i);
}

namespace {

// A remaining path whose extents lie strictly inside box, preferring the largest (the one
// that leaves last), or -1.
int InnerWitness(const CKdIndex<4>& boxes, const CWindow& box) {
    int64_t bestSize = -1;
    int witness = -1;
    boxes.Search(
        [&](const CKdIndex<4>::Node& n) {
            if (n.hi[0] <= box.x1 || n.hi[1] <= box.y1 || n.lo[2] >= box.x2 || n.lo[3] >= box.y2)
                return std::pair<bool, int64_t>(false, 0);
            const int64_t bound = (int64_t(n.hi[2]) - n.lo[0]) + (int64_t(n.hi[3]) - n.lo[1]);
            return std::pair<bool, int64_t>(bound > bestSize, -bound);
        },
        [&](const CKdIndex<4>::Point& p) {
            if (p.c[0] > box.x1 && p.c[1] > box.y1 && p.c[2] < box.x2 && p.c[3] < box.y2) {
                const int64_t size = (int64_t(p.c[2]) - p.c[0]) + (int64_t(p.c[3]) - p.c[1]);
                if (size > bestSize) {
                    bestSize = size;
                    witness = p.owner;
                }
            }
        });
    return witness;
}

} // namespace

void COutputSorter::Remove(int i) {
    State& s = *m_state;
    if (s.points)
        s.points->SetOn(i, false);
    if (!s.boxes)
        return;
    s.boxes->SetOn(i, false);
    std::vector<int> waiters;
    waiters.swap(s.waiting[size_t(i)]);
    for (int j : waiters) {
        const int w = InnerWitness(*s.boxes, s.entries[size_t(j)].item->Extents());
        if (w < 0)
            MakeFree(j);
        else
            s.waiting[size_t(w)].push_back(j);
    }
}

int COutputSorter::PickDesign() {
    State& s = *m_state;
    for (int i : s.pending)
        s.firstFree.push(i);
    s.pending.clear();
    if (s.firstFree.empty())
        return -1;
    const int i = s.firstFree.top();
    s.firstFree.pop();
    if (m_startMode == eStartClosestToPrevious)
        ChooseNearestStart(s.entries[size_t(i)]);
    return i;
}

int COutputSorter::PickNearest() {
    State& s = *m_state;
    for (int i : s.pending)
        s.points->SetOn(i, true);
    s.pending.clear();
    const int64_t px = m_pen.x, py = m_pen.y;
    // The best so far by rounded distance, then |dy|, then design order. A box farther than
    // r(r + 1) squared holds nothing that rounds to r or less.
    int best = -1, bestTag = 0;
    int64_t bestR = 0, bestDy = 0;
    u128 reach = kFar;
    s.points->Search(
        [&](const CKdIndex<4>::Node& n) {
            const u128 d = SquaredToBox(n.lo[0], n.lo[1], n.hi[2], n.hi[3], px, py);
            return std::pair<bool, u128>(d <= reach, d);
        },
        [&](const CKdIndex<4>::Point& p) {
            if (SquaredToBox(p.c[0], p.c[1], p.c[2], p.c[3], px, py) > reach)
                return;
            const Entry& e = s.entries[size_t(p.owner)];
            int tag = e.start;
            CLpoint at(LONG(e.sx), LONG(e.sy));
            u128 d = SquaredTo(at, px, py);
            if (m_startMode == eStartClosestToPrevious) {
                d = kFar;
                for (int k = e.vertFirst; k < e.vertLast; ++k) {
                    const u128 dk = SquaredTo(s.verts[size_t(k)], px, py);
                    if (dk < d) {
                        d = dk;
                        tag = k - e.vertFirst;
                    }
                }
                at = s.verts[size_t(e.vertFirst + tag)];
            }
            const int64_t r = RoundedRoot(d);
            const int64_t dy = at.y > py ? at.y - py : py - at.y;
            if (best < 0 || r < bestR ||
                (r == bestR && (dy < bestDy || (dy == bestDy && p.owner < best)))) {
                best = p.owner;
                bestTag = tag;
                bestR = r;
                bestDy = dy;
                reach = u128(r) * u128(r + 1);
            }
        });
    if (best < 0)
        return -1;
    Entry& e = s.entries[size_t(best)];
    if (m_startMode == eStartClosestToPrevious) {
        e.start = bestTag;
        e.sx = s.verts[size_t(e.vertFirst + bestTag)].x;
        e.sy = s.verts[size_t(e.vertFirst + bestTag)].y;
    }
    return best;
}

int COutputSorter::PickBanded() {
    State& s = *m_state;
    for (int i : s.pending) {
        Entry& e = s.entries[size_t(i)];
        // With starts closest to the pen, a path's start is fixed when it first joins.
        if (e.start < 0)
            ChooseNearestStart(e);
        s.pool.insert({e.sy, -e.sx, i});
    }
    s.pending.clear();
    auto fill = [&] {
        while (!s.pool.empty() && std::get<0>(*s.pool.begin()) <= s.bandLimit) {
            const int i = std::get<2>(*s.pool.begin());
            s.pool.erase(s.pool.begin());
            const Entry& e = s.entries[size_t(i)];
            s.band.insert({s.kind == kKindLeftward ? -e.sx : e.sx, e.sy, i});
        }
    };
    fill();
    if (s.band.empty()) {
        // A new band from the lowest remaining start; bands alternate direction.
        if (s.pool.empty())
            return -1;
        s.bandLimit = std::get<0>(*s.pool.begin()) + m_maxDeviation;
        s.kind = s.toggle ? kKindRightward : kKindLeftward;
        s.toggle = !s.toggle;
        fill();
        if (s.band.empty())
            return -1;
    }
    const int i = std::get<2>(*s.band.begin());
    s.band.erase(s.band.begin());
    return i;
}

void COutputSorter::Sort(const CArticleList& input, CArticleList& out, CList<int, int&>& starts,
                         CLpoint pen, const std::function<void(int)>& progress) {
    m_state = std::make_unique<State>();
    State& s = *m_state;
    m_pen = pen;
    Prepare(input);
    const int count = int(s.entries.size());
    const bool banded = m_orderMode == eOrderLeastMovement;
    const bool nearest = m_orderMode == eOrderClosestItem;
    if (banded) {
        s.kind = kKindRightward;
        s.bandLimit = int64_t(m_pen.y) - m_maxDeviation;
    }
    if (nearest) {
        std::vector<CKdIndex<4>::Point> pts;
        for (int i = 0; i < count; ++i) {
            const Entry& e = s.entries[size_t(i)];
            CWindow w(LONG(e.sx), LONG(e.sy), LONG(e.sx), LONG(e.sy));
            if (m_startMode == eStartClosestToPrevious) {
                w = CWindow::EmptyExtent();
                for (int k = e.vertFirst; k < e.vertLast; ++k)
                    w.fnIncludePoint(s.verts[size_t(k)]);
            }
            pts.push_back({{w.x1, w.y1, w.x2, w.y2}, i, 0});
        }
        s.points = std::make_unique<CKdIndex<4>>(std::move(pts), count);
    }
    if (m_flags & kInsideFirst) {
        std::vector<CKdIndex<4>::Point> boxes;
        for (int i = 0; i < count; ++i) {
            const CWindow w = s.entries[size_t(i)].item->Extents();
            boxes.push_back({{w.x1, w.y1, w.x2, w.y2}, i, 0});
        }
        s.boxes = std::make_unique<CKdIndex<4>>(std::move(boxes), count);
        for (int i = 0; i < count; ++i)
            s.boxes->SetOn(i, true);
        s.waiting.resize(size_t(count));
        for (int i = 0; i < count; ++i) {
            const int w = InnerWitness(*s.boxes, s.entries[size_t(i)].item->Extents());
            if (w < 0)
                MakeFree(i);
            else
                s.waiting[size_t(w)].push_back(i);
        }
    } else {
        for (int i = 0; i < count; ++i)
            MakeFree(i);
    }
    int done = 0, shown = 0;
    while (done < count) {
        const int i = banded ? PickBanded() : nearest ? PickNearest() : PickDesign();
        if (i < 0)
            break;
        Entry& e = s.entries[size_t(i)];
        out.AddTail(e.article);
        starts.AddTail(e.start);
        // A closed path ends where it starts; an open one at its last element.
        m_pen = e.canMove ? CLpoint(LONG(e.sx), LONG(e.sy))
                          : e.item->GetElementPos(e.item->ElementCount() - 1);
        Remove(i);
        ++done;
        const int percent = int(int64_t(done) * 100 / count);
        if (percent != shown && progress) {
            shown = percent;
            progress(percent);
        }
    }
    m_state.reset();
}

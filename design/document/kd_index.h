// CKdIndex: a k-d tree over fixed points of D integer coordinates, each point owned by an entry.
// Entries are switched on and off while the tree stands; a search sees only the points of
// entries that are on, and skips whole subtrees that hold none.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

template <int D> class CKdIndex {
public:
    using Coords = std::array<int32_t, D>;
    struct Point {
        Coords c{};
        int owner = 0;
        int tag = 0;
    };
    struct Node {
        Coords lo{}, hi{};
        int first = 0, last = 0;
        int child[2] = {-1, -1};
        int parent = -1;
        int on = 0;
    };

    CKdIndex(std::vector<Point> points, int owners)
        : m_points(std::move(points)), m_ownerOn(size_t(owners), 0) {
        if (!m_points.empty())
            Build(0, int(m_points.size()), -1);
        m_leafOf.assign(m_points.size(), 0);
        for (int n = 0; n < int(m_nodes.size()); ++n)
            if (m_nodes[size_t(n)].child[0] < 0)
                for (int i = m_nodes[size_t(n)].first; i < m_nodes[size_t(n)].last; ++i)
                    m_leafOf[size_t(i)] = n;
        // Positions of each owner's points, grouped by owner.
        m_ownerStart.assign(size_t(owners) + 1, 0);
        for (const Point& p : m_points)
            ++m_ownerStart[size_t(p.owner) + 1];
        for (size_t o = 0; o < size_t(owners); ++o)
            m_ownerStart[o + 1] += m_ownerStart[o];
        m_ownerPoints.resize(m_points.size());
        std::vector<int> fill(m_ownerStart.begin(), m_ownerStart.end() - 1);
        for (int i = 0; i < int(m_points.size()); ++i)
            m_ownerPoints[size_t(fill[size_t(m_points[size_t(i)].owner)]++)] = i;
    }

    bool IsOn(int owner) const { return m_ownerOn[size_t(owner)] != 0; }

    void SetOn(int owner, bool on) {
        if (IsOn(owner) == on)
            return;
        m_ownerOn[size_t(owner)] = on ? 1 : 0;
        const int delta = on ? 1 : -1;
        for (int k = m_ownerStart[size_t(owner)]; k < m_ownerStart[size_t(owner) + 1]; ++k)
            for (int n = m_leafOf[size_t(m_ownerPoints[size_t(k)])]; n >= 0;
                 n = m_nodes[size_t(n)].parent)
                m_nodes[size_t(n)].on += delta;
    }

    // Depth first through the nodes that hold points that are on. key(node) gives
    // {false, _} to skip the node, else {true, k}: the child with the smaller k goes first, and
    // key is asked again before each node is entered, so a bound that tightens meanwhile
    // still prunes. visit(point) sees every point that is on in the leaves reached.
    template <class Key, class Visit> void Search(Key key, Visit visit) const {
        if (!m_nodes.empty())
            Descend(0, key, visit);
    }

private:
    template <class Key, class Visit> void Descend(int n, Key& key, Visit& visit) const {
        const Node& node = m_nodes[size_t(n)];
        if (node.on == 0 || !key(node).first)
            return;
        if (node.child[0] < 0) {
            for (int i = node.first; i < node.last; ++i)
                if (m_ownerOn[size_t(m_points[size_t(i)].owner)])
                    visit(m_points[size_t(i)]);
            return;
        }
        int a = node.child[0], b = node.child[1];
        const auto ka = key(m_nodes[size_t(a)]);
        const auto kb = key(m_nodes[size_t(b)]);
        if (kb.first && (!ka.first || kb.second < ka.second))
            std::swap(a, b);
        Descend(a, key, visit);
        Descend(b, key, visit);
    }

    int Build(int first, int last, int parent) {
        const int n = int(m_nodes.size());
        m_nodes.emplace_back();
        Node box;
        box.first = first;
        box.last = last;
        box.parent = parent;
        box.lo = box.hi = m_points[size_t(first)].c;
        for (int i = first + 1; i < last; ++i)
            for (int d = 0; d < D; ++d) {
                box.lo[size_t(d)] = std::min(box.lo[size_t(d)], m_points[size_t(i)].c[size_t(d)]);
                box.hi[size_t(d)] = std::max(box.hi[size_t(d)], m_points[size_t(i)].c[size_t(d)]);
            }
        if (last - first > kLeafSize) {
            int split = 0;
            int64_t spread = -1;
            for (int d = 0; d < D; ++d) {
                const int64_t s = int64_t(box.hi[size_t(d)]) - box.lo[size_t(d)];
                if (s > spread) {
                    spread = s;
                    split = d;
                }
            }
            const int mid = first + (last - first) / 2;
            std::nth_element(m_points.begin() + first, m_points.begin() + mid,
                             m_points.begin() + last, [split](const Point& p, const Point& q) {
                                 return p.c[size_t(split)] < q.c[size_t(split)];
                             });
            box.child[0] = Build(first, mid, n);
            box.child[1] = Build(mid, last, n);
        }
        m_nodes[size_t(n)] = box;
        return n;
    }

    static constexpr int kLeafSize = 8;
    std::vector<Point> m_points;
    std::vector<Node> m_nodes;
    std::vector<int> m_leafOf;
    std::vector<char> m_ownerOn;
    std::vector<int> m_ownerStart;
    std::vector<int> m_ownerPoints;
};

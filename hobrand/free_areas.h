// CFreeAreas: the free rectangles of a sheet in their list order. Beside the order it keeps
// indexes by edge coordinate, the pairs that would merge and, per area, the sizes it offers
// alone or joined with a following neighbour, so that the nester finds the first area
// able to take a copy, an insertion point and the first merge without walking the whole list.
// Every answer is the one a walk from the head of the list would give.
#pragma once

#include "pivora/geometry/geometry_types.h"

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

class CFreeAreas {
public:
    struct Node;
    using Handle = Node*;
    // The sizes a copy needs, one per way it may be placed (as it is, turned): an area takes
    // the copy when it is at least as wide and as high as one of them.
    struct Need {
        int64_t w[4] = {};
        int64_t h[4] = {};
        int n = 0;
        void Add(int64_t width, int64_t height) {
            if (n < 4)
                w[n] = width, h[n] = height, ++n;
        }
    };

    // Area a joined with a neighbour n that follows it, for one combined placement: n beside
    // a (sharing a's right or left edge, overlapping its height) or above or below it. False
    // when n touches a on no such edge.
    static bool JoinUnion(const CWindow& a, const CWindow& n, CWindow& u);
    // Area a merged with b lying against it within one unit, a's span inside b's, when the
    // union is at least as stout as b. False when the two do not merge.
    static bool MergeUnion(const CWindow& a, const CWindow& b, CWindow& u);

    CFreeAreas();
    CFreeAreas(const CFreeAreas& other);
    CFreeAreas& operator=(const CFreeAreas& other);
    ~CFreeAreas();

    // The ordering bits of a tile mode decide where Insert puts an area.
    void SetOrder(int tileMode);
    // Exactly these areas, in this order.
    void Assign(const std::vector<CWindow>& areas);
    std::vector<CWindow> Values() const;

    size_t Size() const;
    bool Empty() const { return !m_root; }
    Handle First() const;
    Handle Next(Handle h) const;
    static const CWindow& Value(Handle h);

    // Before the first area the new one precedes in the order; at the end when none.
    Handle Insert(const CWindow& w);
    void Erase(Handle h);
    void Modify(Handle h, const CWindow& w);
    bool Before(Handle a, Handle b) const;

    // The first area from h on (h included) that alone or joined with a following neighbour
    // meets the need; null when none.
    Handle NextCandidate(Handle h, const Need& need) const;
    // The neighbours that follow a in the list and touch it edge to edge, in list order.
    std::vector<Handle> Following(Handle a) const;
    // The first pair in list order (by the first area, then the second) that merges.
    bool FirstMerge(Handle& a, Handle& b) const;

private:
    using Key = std::pair<int64_t, int64_t>;
    // Areas by one edge coordinate.
    using Index = std::unordered_map<LONG, std::vector<Node*>>;
    enum { kByX1, kByX2, kByY1, kByY2, kIndexes };

    Key KeyOf(const CWindow& w) const;
    void Clear();
    void Link(Node* n, Node* before);
    void Unlink(Node* n);
    void RotateUp(Node* x);
    static void Pull(Node* t);
    static void PullUp(Node* t);
    static void Refresh(Node* t);
    size_t Rank(const Node* n) const;
    Node* FirstGreater(const Key& k) const;
    Node* FirstIn(Node* t, const Need& need) const;
    // Areas whose edges lie against w's within slack units, w's own node excluded.
    std::vector<Node*> Contacts(const Node* self, const CWindow& w, LONG slack) const;
    void Attach(Node* n);
    void Detach(Node* n);
    // The sizes n offers, alone and joined with the neighbours after it (n at this rank).
    void Reach(Node* n, size_t rank);
    uint32_t NextPriority();

    Node* m_root = nullptr;
    int m_nMode = 0;
    uint32_t m_seed = 0x9E3779B9u;
    Index m_index[kIndexes];
    std::vector<std::pair<Node*, Node*>> m_merges;
};

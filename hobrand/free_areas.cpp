#include "hobrand/free_areas.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace {

// Widths fall into buckets by their highest bit.
constexpr int kBuckets = 32;
constexpr int32_t kNothing = std::numeric_limits<int32_t>::min();

int Bucket(int64_t w) {
    return w <= 1 ? 0 : std::min(kBuckets - 1, int(std::bit_width(uint64_t(w))) - 1);
}

// Heights are kept saturated to 32 bits: both sides of a comparison saturate alike, so no
// area that takes a copy is ever skipped.
int32_t Saturate(int64_t h) {
    return int32_t(std::clamp<int64_t>(h, kNothing, std::numeric_limits<int32_t>::max()));
}

} // namespace

// One area in a treap ordered by list position. Each node knows the sizes its area offers,
// alone and joined with each following neighbour, and for each width bucket the greatest
// height offered at least that wide, over its subtree too, so searches skip whole subtrees.
struct CFreeAreas::Node {
    CWindow w;
    Node* l = nullptr;
    Node* r = nullptr;
    Node* p = nullptr;
    uint32_t prio = 0;
    size_t size = 1;
    Key key, maxKey;
    std::vector<std::pair<int64_t, int64_t>> offers;
    int32_t own[kBuckets];
    int32_t sub[kBuckets];

    void Offer(int64_t ow, int64_t oh) {
        offers.emplace_back(ow, oh);
        const int32_t h = Saturate(oh);
        for (int k = Bucket(ow); k >= 0; --k)
            own[k] = std::max(own[k], h);
    }
    void ClearOffers() {
        offers.clear();
        std::fill(std::begin(own), std::end(own), kNothing);
    }
    bool Meets(const Need& need) const {
        for (const auto& [ow, oh] : offers)
            for (int i = 0; i < need.n; ++i)
                if (ow >= need.w[i] && oh >= need.h[i])
                    return true;
        return false;
    }
    bool MayMeet(const Need& need) const {
        for (int i = 0; i < need.n; ++i)
            if (sub[Bucket(need.w[i])] >= Saturate(need.h[i]))
                return true;
        return false;
    }
};

namespace {

int64_t Width(const CWindow& w) {
    return int64_t(w.x2) - w.x1;
}
int64_t Height(const CWindow& w) {
    return int64_t(w.y2) - w.y1;
}

bool Within1(int64_t a, int64_t b) {
    return a - b <= 1 && b - a <= 1;
}

LONG Clamp(int64_t v) {
    return LONG(
        std::clamp<int64_t>(v, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

} // namespace

bool CFreeAreas::JoinUnion(const CWindow& a, const CWindow& nb, CWindow& u) {
    u = a;
    const bool yWithin = nb.y1 <= a.y1 && a.y2 <= nb.y2;
    const bool yOverlap = std::max(a.y1, nb.y1) < std::min(a.y2, nb.y2);
    const bool xWithin = nb.x1 <= a.x1 && a.x2 <= nb.x2;
    const bool xOverlap = std::max(a.x1, nb.x1) < std::min(a.x2, nb.x2);
    if ((nb.x1 == a.x2 || nb.x2 == a.x1) && (yWithin || yOverlap)) {
        if (nb.x1 == a.x2)
            u.x2 = nb.x2;
        else
            u.x1 = nb.x1;
        if (!yWithin)
            u.y1 = std::max(a.y1, nb.y1), u.y2 = std::min(a.y2, nb.y2);
        return true;
    }
    if ((nb.y1 == a.y2 || nb.y2 == a.y1) && (xWithin || xOverlap)) {
        if (nb.y1 == a.y2)
            u.y2 = nb.y2;
        else
            u.y1 = nb.y1;
        if (!xWithin)
            u.x1 = std::max(a.x1, nb.x1), u.x2 = std::min(a.x2, nb.x2);
        return true;
    }
    return false;
}

bool CFreeAreas::MergeUnion(const CWindow& a, const CWindow& b, CWindow& u) {
    const bool yInside = b.y1 <= a.y1 && a.y2 <= b.y2;
    const bool xInside = b.x1 <= a.x1 && a.x2 <= b.x2;
    if (yInside && Within1(b.x1, a.x2))
        u = CWindow(a.x1, a.y1, b.x2, a.y2);
    else if (yInside && Within1(a.x1, b.x2))
        u = CWindow(b.x1, a.y1, a.x2, a.y2);
    else if (xInside && Within1(b.y1, a.y2))
        u = CWindow(a.x1, a.y1, a.x2, b.y2);
    else if (xInside && Within1(a.y1, b.y2))
        u = CWindow(a.x1, b.y1, a.x2, a.y2);
    else
        return false;
    const int64_t cw = Width(u), ch = Height(u), ow = Width(b), oh = Height(b);
    const bool alike = (cw > ch && ow > oh) || (cw < ch && ow < oh);
    const int64_t cMin = std::min(cw, ch), oMin = std::min(ow, oh);
    return alike ? cMin >= oMin : cMin > oMin;
}

CFreeAreas::CFreeAreas() = default;

CFreeAreas::CFreeAreas(const CFreeAreas& other) : m_nMode(other.m_nMode) {
    Assign(other.Values());
}

CFreeAreas& CFreeAreas::operator=(const CFreeAreas& other) {
    if (this != &other) {
        m_nMode = other.m_nMode;
        Assign(other.Values());
    }
    return *this;
}

CFreeAreas::~CFreeAreas() {
    Clear();
}

CFreeAreas::Key CFreeAreas::KeyOf(const CWindow& w) const {
    const int m = m_nMode;
    const int64_t tieY2 = (m & 0x8) ? int64_t(w.y2) : (m & 0x4) ? -int64_t(w.y2) : 0;
    const int64_t tieX2 = (m & 0x2) ? -int64_t(w.x2) : (m & 0x1) ? int64_t(w.x2) : 0;
    if (m & 0x20)
        return {w.x1, tieY2};
    if (m & 0x10)
        return {-int64_t(w.x2), tieY2};
    if (m & 0x40)
        return {w.y1, tieX2};
    if (m & 0x80)
        return {-int64_t(w.y2), tieX2};
    return {0, 0};
}

void CFreeAreas::Clear() {
    std::vector<Node*> stack;
    if (m_root)
        stack.push_back(m_root);
    while (!stack.empty()) {
        Node* t = stack.back();
        stack.pop_back();
        if (t->l)
            stack.push_back(t->l);
        if (t->r)
            stack.push_back(t->r);
        delete t;
    }
    m_root = nullptr;
    for (Index& index : m_index)
        index.clear();
    m_merges.clear();
}

void CFreeAreas::SetOrder(int tileMode) {
    m_nMode = tileMode;
    // Keys change with the mode: refresh them bottom up.
    std::vector<Node*> order, stack;
    if (m_root)
        stack.push_back(m_root);
    while (!stack.empty()) {
        Node* t = stack.back();
        stack.pop_back();
        order.push_back(t);
        if (t->l)
            stack.push_back(t->l);
        if (t->r)
            stack.push_back(t->r);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        (*it)->key = KeyOf((*it)->w);
        Pull(*it);
    }
}

void CFreeAreas::Assign(const std::vector<CWindow>& areas) {
    Clear();
    for (const CWindow& w : areas) {
        Node* n = new Node;
        n->ClearOffers();
        n->w = w;
        n->key = KeyOf(w);
        n->prio = NextPriority();
        Link(n, nullptr);
        Attach(n);
    }
}

std::vector<CWindow> CFreeAreas::Values() const {
    std::vector<CWindow> out;
    out.reserve(Size());
    for (Handle h = First(); h; h = Next(h))
        out.push_back(h->w);
    return out;
}

size_t CFreeAreas::Size() const {
    return m_root ? m_root->size : 0;
}

CFreeAreas::Handle CFreeAreas::First() const {
    Node* t = m_root;
    while (t && t->l)
        t = t->l;
    return t;
}

CFreeAreas::Handle CFreeAreas::Next(Handle h) const {
    if (!h)
        return nullptr;
    if (h->r) {
        Node* t = h->r;
        while (t->l)
            t = t->l;
        return t;
    }
    while (h->p && h->p->r == h)
        h = h->p;
    return h->p;
}

const CWindow& CFreeAreas::Value(Handle h) {
    return h->w;
}

CFreeAreas::Handle CFreeAreas::Insert(const CWindow& w) {
    Node* n = new Node;
    n->ClearOffers();
    n->w = w;
    n->key = KeyOf(w);
    n->prio = NextPriority();
    Link(n, FirstGreater(n->key));
    Attach(n);
    return n;
}

void CFreeAreas::Erase(Handle h) {
    Detach(h);
    Unlink(h);
    delete h;
}

void CFreeAreas::Modify(Handle h, const CWindow& w) {
    Detach(h);
    h->w = w;
    h->key = KeyOf(w);
    PullUp(h);
    Attach(h);
}

bool CFreeAreas::Before(Handle a, Handle b) const {
    return Rank(a) < Rank(b);
}

CFreeAreas::Handle CFreeAreas::NextCandidate(Handle h, const Need& need) const {
    if (!h)
        return nullptr;
    Node* x = h;
    if (x->Meets(need))
        return x;
    for (;;) {
        if (Node* f = FirstIn(x->r, need))
            return f;
        while (x->p && x->p->r == x)
            x = x->p;
        if (!x->p)
            return nullptr;
        x = x->p;
        if (x->Meets(need))
            return x;
    }
}

CFreeAreas::Node* CFreeAreas::FirstIn(Node* t, const Need& need) const {
    if (!t || !t->MayMeet(need))
        return nullptr;
    if (Node* f = FirstIn(t->l, need))
        return f;
    if (t->Meets(need))
        return t;
    return FirstIn(t->r, need);
}

std::vector<CFreeAreas::Handle> CFreeAreas::Following(Handle a) const {
    std::vector<std::pair<size_t, Node*>> ranked;
    const size_t mine = Rank(a);
    for (Node* n : Contacts(a, a->w, 0)) {
        const size_t r = Rank(n);
        if (r > mine)
            ranked.emplace_back(r, n);
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<Handle> out;
    out.reserve(ranked.size());
    for (const auto& [r, n] : ranked)
        out.push_back(n);
    return out;
}

bool CFreeAreas::FirstMerge(Handle& a, Handle& b) const {
    bool found = false;
    std::pair<size_t, size_t> best;
    for (const auto& [i, j] : m_merges) {
        const std::pair<size_t, size_t> at(Rank(i), Rank(j));
        if (!found || at < best) {
            best = at;
            a = i;
            b = j;
            found = true;
        }
    }
    return found;
}

std::vector<CFreeAreas::Node*> CFreeAreas::Contacts(const Node* self, const CWindow& w,
                                                    LONG slack) const {
    // An area touches w when its left edge meets w's right edge, its right edge w's left, and
    // likewise for bottom and top.
    const LONG against[kIndexes] = {w.x2, w.x1, w.y2, w.y1};
    std::vector<Node*> out;
    for (int i = 0; i < kIndexes; ++i) {
        for (int64_t c = int64_t(against[i]) - slack; c <= int64_t(against[i]) + slack; ++c) {
            if (c != Clamp(c))
                continue;
            const auto found = m_index[i].find(LONG(c));
            if (found == m_index[i].end())
                continue;
            for (Node* y : found->second)
                if (y != self)
                    out.push_back(y);
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void CFreeAreas::Attach(Node* n) {
    const LONG coords[kIndexes] = {n->w.x1, n->w.x2, n->w.y1, n->w.y2};
    for (int i = 0; i < kIndexes; ++i)
        m_index[i][coords[i]].push_back(n);
    CWindow u, v;
    const size_t rank = Rank(n);
    n->ClearOffers();
    n->Offer(Width(n->w), Height(n->w));
    for (Node* y : Contacts(n, n->w, 1)) {
        if (MergeUnion(n->w, y->w, u))
            m_merges.emplace_back(n, y);
        if (MergeUnion(y->w, n->w, u))
            m_merges.emplace_back(y, n);
        // Joins need edges that meet exactly; which way they count depends on the order.
        const bool yThenN = JoinUnion(y->w, n->w, u);
        const bool nThenY = JoinUnion(n->w, y->w, v);
        if (!yThenN && !nThenY)
            continue;
        const size_t at = Rank(y);
        if (yThenN && at < rank) {
            y->Offer(Width(u), Height(u));
            Refresh(y);
        }
        if (nThenY && at > rank)
            n->Offer(Width(v), Height(v));
    }
    Refresh(n);
}

void CFreeAreas::Detach(Node* n) {
    m_merges.erase(std::remove_if(m_merges.begin(), m_merges.end(),
                                  [n](const auto& m) { return m.first == n || m.second == n; }),
                   m_merges.end());
    const LONG coords[kIndexes] = {n->w.x1, n->w.x2, n->w.y1, n->w.y2};
    for (int i = 0; i < kIndexes; ++i) {
        const auto found = m_index[i].find(coords[i]);
        std::vector<Node*>& at = found->second;
        at.erase(std::find(at.begin(), at.end(), n));
        if (at.empty())
            m_index[i].erase(found);
    }
    CWindow u;
    const size_t rank = Rank(n);
    for (Node* y : Contacts(n, n->w, 0))
        if (JoinUnion(y->w, n->w, u)) {
            const size_t before = Rank(y);
            if (before < rank)
                Reach(y, before);
        }
}

void CFreeAreas::Reach(Node* n, size_t rank) {
    n->ClearOffers();
    n->Offer(Width(n->w), Height(n->w));
    CWindow u;
    for (Node* y : Contacts(n, n->w, 0))
        if (JoinUnion(n->w, y->w, u) && Rank(y) > rank)
            n->Offer(Width(u), Height(u));
    Refresh(n);
}

uint32_t CFreeAreas::NextPriority() {
    m_seed ^= m_seed << 13;
    m_seed ^= m_seed >> 17;
    m_seed ^= m_seed << 5;
    return m_seed;
}

void CFreeAreas::Pull(Node* t) {
    t->size = 1;
    t->maxKey = t->key;
    std::copy(std::begin(t->own), std::end(t->own), std::begin(t->sub));
    for (const Node* c : {t->l, t->r}) {
        if (!c)
            continue;
        t->size += c->size;
        t->maxKey = std::max(t->maxKey, c->maxKey);
        for (int k = 0; k < kBuckets; ++k)
            t->sub[k] = std::max(t->sub[k], c->sub[k]);
    }
}

void CFreeAreas::PullUp(Node* t) {
    for (; t; t = t->p)
        Pull(t);
}

void CFreeAreas::Refresh(Node* t) {
    // Only offers changed: once a subtree's bounds stay the same, so do its ancestors'.
    for (; t; t = t->p) {
        int32_t old[kBuckets];
        std::copy(std::begin(t->sub), std::end(t->sub), std::begin(old));
        Pull(t);
        if (std::equal(std::begin(old), std::end(old), std::begin(t->sub)))
            break;
    }
}

size_t CFreeAreas::Rank(const Node* n) const {
    size_t r = n->l ? n->l->size : 0;
    for (const Node* x = n; x->p; x = x->p)
        if (x->p->r == x)
            r += (x->p->l ? x->p->l->size : 0) + 1;
    return r;
}

CFreeAreas::Node* CFreeAreas::FirstGreater(const Key& k) const {
    Node* t = m_root;
    while (t) {
        if (t->l && t->l->maxKey > k)
            t = t->l;
        else if (t->key > k)
            return t;
        else if (t->r && t->r->maxKey > k)
            t = t->r;
        else
            return nullptr;
    }
    return nullptr;
}

void CFreeAreas::RotateUp(Node* x) {
    Node* p = x->p;
    Node* g = p->p;
    if (p->l == x) {
        p->l = x->r;
        if (x->r)
            x->r->p = p;
        x->r = p;
    } else {
        p->r = x->l;
        if (x->l)
            x->l->p = p;
        x->l = p;
    }
    p->p = x;
    x->p = g;
    if (!g)
        m_root = x;
    else if (g->l == p)
        g->l = x;
    else
        g->r = x;
    Pull(p);
    Pull(x);
}

void CFreeAreas::Link(Node* n, Node* before) {
    if (!m_root) {
        m_root = n;
        Pull(n);
        return;
    }
    Node* parent;
    if (!before) {
        parent = m_root;
        while (parent->r)
            parent = parent->r;
        parent->r = n;
    } else if (!before->l) {
        parent = before;
        parent->l = n;
    } else {
        parent = before->l;
        while (parent->r)
            parent = parent->r;
        parent->r = n;
    }
    n->p = parent;
    PullUp(n);
    while (n->p && n->p->prio < n->prio)
        RotateUp(n);
}

void CFreeAreas::Unlink(Node* n) {
    while (n->l || n->r) {
        Node* c = !n->l ? n->r : !n->r ? n->l : (n->l->prio > n->r->prio ? n->l : n->r);
        RotateUp(c);
    }
    Node* p = n->p;
    if (!p)
        m_root = nullptr;
    else if (p->l == n)
        p->l = nullptr;
    else
        p->r = nullptr;
    n->p = nullptr;
    PullUp(p);
}

// COutputSorter: puts the paths to cut into cutting order and picks the vertex each one starts
// at. Each pick takes the first, the nearest, or the next in the current band of paths that no
// other remaining path lies inside (with inside first). A spatial index over each path's start
// (or the box of the vertices it may start at), a containment index and ordered bands keep
// every pick near logarithmic.
#pragma once

#include "design/output_order.h"
#include "pivora/article.h"
#include "pivora/geometry/geometry_types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CVectorItem;

class COutputSorter {
public:
    // Flags: a path waits while another remaining path lies strictly inside it. Least media
    // movement always runs in bands.
    static constexpr int kInsideFirst = 1;

    // Search kinds: what a pick prefers.
    static constexpr int kKindDesign = 0;    // the first
    static constexpr int kKindNearest = 1;   // the nearest start, then the smaller |dy|
    static constexpr int kKindLeftward = 4;  // the larger start x, then the smaller y
    static constexpr int kKindBand = 5;      // the lowest start y, then the larger x
    static constexpr int kKindRightward = 6; // the smaller start x, then the smaller y

    COutputSorter(EOrderMode orderMode, EStartPointMode startMode, int flags, int maxDeviation);
    ~COutputSorter();

    // Appends the ordered articles of input to out and their start elements to starts, from the
    // pen at pen. Articles without a vector item, or whose path has no element, cut nothing and
    // are left out of both. progress(percent) is called whenever the whole percentage changes.
    void Sort(const CArticleList& input, CArticleList& out, CList<int, int&>& starts, CLpoint pen,
              const std::function<void(int)>& progress);

    // The distance of (dx, dy) to the nearest micrometre, halves up, exact for any coordinates.
    static int64_t RoundedDistance(int64_t dx, int64_t dy);

private:
    struct Entry;
    struct State;
    void Prepare(const CArticleList& input);
    void ChooseFixedStart(Entry& e) const;
    void ChooseNearestStart(Entry& e) const;
    int PickDesign();
    int PickNearest();
    int PickBanded();
    void MakeFree(int i);
    void Remove(int i);

    EOrderMode m_orderMode;
    EStartPointMode m_startMode;
    int m_flags;
    int64_t m_maxDeviation;
    CLpoint m_pen;
    std::unique_ptr<State> m_state;
};

// The sorted output worked out the slow, plain way: every pick rebuilds the candidates from all
// remaining paths and, with inside first, tests every remaining pair. The page's sorter must
// give exactly the same two lists.
#pragma once

#include "design/output_order.h"

#include <vector>

class CArticle;
class CDesignPage;

struct SortedOutput {
    std::vector<CArticle*> articles;
    std::vector<int> starts;
    bool operator==(const SortedOutput&) const = default;
};

SortedOutput RescanSortedOutput(CDesignPage& page, int scope, EStartPointMode startMode,
                                EOrderMode orderMode, int insideFirst, int maxDeviation,
                                int excludeMarks);

// The page's own lists after CreateSortedOutput.
SortedOutput PageSortedOutput(CDesignPage& page);

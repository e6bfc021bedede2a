#include "maltrec/cutoutput/output_paths.h"

#include "design/design_page.h"

namespace {

// The sort's band width, in data units.
constexpr int kMaxDeviation = 10000;

} // namespace

void FnOutputPaths(CDesignPage* page, const StOutputSettings& s, int excludeMarks,
                   CArticleList& list, std::vector<int>& starts) {
    page->CreateSortedOutput(s.m_nCutScope, EStartPointMode(s.m_nStartPointMode),
                             EOrderMode(s.m_nOrderMode), s.m_bInsideFirst, kMaxDeviation,
                             excludeMarks);
    // The page's lists are rebuilt for every use: the send keeps its own copies.
    if (CArticleList* sorted = page->GetSortedOutput())
        for (POSITION pos = sorted->GetHeadPosition(); pos;)
            list.AddTail(sorted->GetNext(pos));
    if (CList<int, int&>* points = page->GetSortedOutputStartPoints())
        for (POSITION pos = points->GetHeadPosition(); pos;)
            starts.push_back(points->GetNext(pos));
}

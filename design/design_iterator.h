// CDesignIterator: walks every open design of the program, through the document templates of
// the numbered contexts.
#pragma once
#include "platform/core/types.h"

class CDesignPage;
class CView;

class CDesignIterator {
public:
    enum TIteratorResult { eIteratorStop = 0, eIteratorContinue = 1 };
    using TIteratorFn = TIteratorResult (*)(CDesignPage*, void*);
    // The contexts whose templates hold designs.
    static constexpr int kFirstContext = 1;
    static constexpr int kLastContext = 59;

    // Passes every open design to fn; true when fn stopped the walk. A design may be closed
    // by fn: the walk has already stepped past it.
    static bool Iterate(TIteratorFn fn, void* data);
    // Every design updates all its views with hint 0.
    static void InvalidateViews();
    static void CountDesigns(int& count, int& modified);
    // Whether some open design shows the view.
    static bool IsValidView(const CView* view);
};

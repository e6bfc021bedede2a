// Walks of a design subtree without recursion, so deep imported groups cannot exhaust the stack.
#pragma once
#include "pivora/article.h"

// Calls fn for every article of top's subtree in pre-order, top included.
template <class Fn> void ForSubtree(CTree* top, Fn fn) {
    for (CTree* t = top; t;) {
        if (auto* a = DynamicDowncast<CArticle>(t))
            fn(a);
        if (t->GetFirstChild()) {
            t = t->GetFirstChild();
            continue;
        }
        while (t && t != top && !t->GetRsibling())
            t = t->GetParent();
        t = (t && t != top) ? t->GetRsibling() : nullptr;
    }
}

// Walks below an article without recursion: designs from files may nest deeply.
#pragma once

#include "pivora/article.h"

// Calls fn for every article below a, in tree order (depth first, pre-order).
template <class Fn> void ForEachDescendant(CArticle* a, Fn fn) {
    if (!a)
        return;
    CTree* t = a->GetFirstChild();
    while (t) {
        if (auto* d = DynamicDowncast<CArticle>(t))
            fn(d);
        if (t->GetFirstChild()) {
            t = t->GetFirstChild();
            continue;
        }
        while (t != a && !t->GetRsibling())
            t = t->GetParent();
        t = t != a ? t->GetRsibling() : nullptr;
    }
}

// Walks of an article's subtree in pre-order, shared by the article's sources.
#pragma once

#include "pivora/article.h"

namespace article_walk {

// Pre-order successor of t that does not enter t's own subtree, bounded by stop (null: none).
inline CTree* SkipSubtree(CTree* t, const CTree* stop) {
    for (; t && t != stop; t = t->GetParent())
        if (t->GetRsibling())
            return t->GetRsibling();
    return nullptr;
}

// Pre-order successor of t inside the subtree of stop (the whole forest when stop is null).
inline CTree* PreorderNext(CTree* t, const CTree* stop) {
    if (t->GetFirstChild())
        return t->GetFirstChild();
    return SkipSubtree(t, stop);
}

// Calls fn for every article strictly below root, in pre-order.
template <class Fn> void ForEachDescendant(CTree* root, Fn fn) {
    for (CTree* t = root->GetFirstChild(); t; t = PreorderNext(t, root))
        if (auto* a = DynamicDowncast<CArticle>(t))
            fn(a);
}

} // namespace article_walk

#include "maltrec/cutoutput/output_paths.h"

#include "design/design_page.h"
#include "vector/vector_article.h"

namespace {

constexpr const wchar_t* kVelmMarker = L"VELM MARKER";

} // namespace

// Until the page sorts its own output, the paths go in design order from their own starts.
void FnOutputPaths(CDesignPage* page, const StOutputSettings&, int excludeMarks, CArticleList& list,
                   std::vector<int>& starts) {
    CArticleList all;
    page->RootArticle()->GetArticleList(&all, RUNTIME_CLASS(CVectorArticle));
    for (POSITION pos = all.GetHeadPosition(); pos;) {
        CArticle* a = all.GetNext(pos);
        if (!a->HasItem() || a->IsHidden() || a->IsInActive())
            continue;
        if (excludeMarks && a->fnGetValue(kVelmMarker, 0) == 1)
            continue;
        list.AddTail(a);
        starts.push_back(0);
    }
}

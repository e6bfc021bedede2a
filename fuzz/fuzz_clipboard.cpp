// Arbitrary bytes read as a clipboard stream of articles into a small page: the read ends
// whole or in the archive exception, never a crash or a leak, and the page stays as it was.
#include "design/design_page.h"
#include "design/select_tool.h"
#include "pivora/article.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDesignPage page;
    CArticle* root = page.RootArticle();
    const int before = root ? int(root->GetFirstChild() != nullptr) : -1;
    CSelectTool::CanReadArticleStream(data, size, &page);
    if ((root ? int(root->GetFirstChild() != nullptr) : -1) != before ||
        page.GetObjectSelectionCount() != 0 || page.GetUndoCount() != 0)
        __builtin_trap();
    return 0;
}

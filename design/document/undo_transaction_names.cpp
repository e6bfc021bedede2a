#include "design/document/undo_transaction_names.h"

#include "design/design_page.h"
#include "design/design_view.h"

namespace {

const CStringArray& EmptyNames() {
    static CStringArray empty;
    return empty;
}

} // namespace

const CStringArray& UndoTransactionNames(CJoxView* view, BOOL redo) {
    if (!CDesignView::IsCDesignView(view))
        return EmptyNames();
    CDesignPage* page = static_cast<CDesignView*>(view)->GetDocument();
    if (!page)
        return EmptyNames();
    return redo ? page->RedoTransactionNames() : page->UndoTransactionNames();
}

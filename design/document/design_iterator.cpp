#include "design/design_iterator.h"

#include "design/design_page.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"

bool CDesignIterator::Iterate(TIteratorFn fn, void* data) {
    CJoxWinAppEx* app = JoxGetApp();
    if (!app || !fn)
        return false;
    // Contexts past the application's table have no template.
    const int last = std::min(kLastContext, app->ContextCount() - 1);
    for (int context = kFirstContext; context <= last; ++context) {
        CJoxDocTemplate* tmpl = GetDocTemplate(context);
        if (!tmpl || !tmpl->HasContext(context))
            continue;
        for (POSITION pos = tmpl->GetFirstDocPosition(); pos;) {
            auto* page = DynamicDowncast<CDesignPage>(tmpl->GetNextDoc(pos));
            if (page && fn(page, data) == eIteratorStop)
                return true;
        }
    }
    return false;
}

void CDesignIterator::InvalidateViews() {
    Iterate(
        [](CDesignPage* page, void*) {
            page->UpdateAllViews(nullptr, CDesignPage::kHintAll);
            return eIteratorContinue;
        },
        nullptr);
}

void CDesignIterator::CountDesigns(int& count, int& modified) {
    count = 0;
    modified = 0;
    struct Counts {
        int& count;
        int& modified;
    } counts{count, modified};
    Iterate(
        [](CDesignPage* page, void* d) {
            auto* c = static_cast<Counts*>(d);
            ++c->count;
            if (page->IsModified())
                ++c->modified;
            return eIteratorContinue;
        },
        &counts);
}

bool CDesignIterator::IsValidView(const CView* view) {
    if (!view)
        return false;
    return Iterate(
        [](CDesignPage* page, void* d) {
            for (POSITION pos = page->GetFirstViewPosition(); pos;)
                if (page->GetNextView(pos) == static_cast<const CView*>(d))
                    return eIteratorStop;
            return eIteratorContinue;
        },
        const_cast<CView*>(view));
}

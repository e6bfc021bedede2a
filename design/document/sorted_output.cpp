// The page's sorted output for cutting: which articles are cut, and the order and start points
// the sorter gives them.
#include "design/design_page.h"
#include "design/document/output_sorter.h"
#include "design/find_velm_marks.h"
#include "pivora/framework/percentage_dlg.h"
#include "pivora/select.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/resources.h"
#include "vector/vector_article.h"

#include <algorithm>
#include <unordered_set>

namespace {

const bool kRegistered = [] {
    platform::RegisterStrings({{CDesignPage::IDS_SORTING_OBJECTS, L"Sorting objects..."}});
    return true;
}();

enum : int { kScopeDesign = 0, kScopeSelection = 1 };

} // namespace

void CDesignPage::CreateSortedOutput(int scope, EStartPointMode startMode, EOrderMode orderMode,
                                     int insideFirst, int maxDeviation, int excludeMarks) {
    (void)kRegistered;
    if (!m_pSortedOutput) {
        m_pSortedOutput = std::make_unique<CArticleList>(10);
        m_pSortedOutputStartPoints = std::make_unique<CList<int, int&>>(10);
    }
    m_pSortedOutput->RemoveAll();
    m_pSortedOutputStartPoints->RemoveAll();
    m_SelectedColours.clear();

    CArticleList list;
    GetOutputArticles(scope, &list, excludeMarks);
    // The pen starts at the lower right of the whole design, not of the articles collected.
    CLpoint pen(0, 0);
    if (CArticle* root = RootArticle()) {
        const CWindow e = root->Extents(0);
        pen = CLpoint(e.x2, e.y1);
    }
    // An unknown start mode would leave closed paths without a start element: they start at
    // element 0. A negative deviation would end the sort at its first band.
    if (startMode < eStartUnchanged || startMode > eStartAlwaysBottom)
        startMode = eStartUnchanged;
    maxDeviation = std::max(0, maxDeviation);
    const int flags = insideFirst ? COutputSorter::kInsideFirst : 0;

    CPercentageDlg progress(0, CPercentageDlg::IDD_PERCENTAGE);
    progress.SetNoCancelButton(1);
    progress.Create(nullptr);
    CString text;
    AfxLoadString(IDS_SORTING_OBJECTS, text);
    progress.SetReadout(text, 0);
    progress.SetPos(0);
    COutputSorter sorter(orderMode, startMode, flags, maxDeviation);
    sorter.Sort(list, *m_pSortedOutput, *m_pSortedOutputStartPoints, pen,
                [&progress](int percent) { progress.SetPos(percent); });
    progress.SetPos(100);
    progress.DestroyWindow();
}

void CDesignPage::GetOutputArticles(int scope, CArticleList* list, int excludeMarks) {
    if (!list)
        return;
    list->RemoveAll();
    CArticle* root = RootArticle();
    if (!root)
        return;
    CArticleList all;
    if (scope == kScopeDesign) {
        root->GetArticleList(&all, static_cast<const CRuntimeClass*>(nullptr));
    } else {
        if (m_ObjectSelection.IsEmpty())
            return;
        for (CArticle* selected : SelectedArticles()) {
            if (!selected)
                continue;
            if (selected->HasItem())
                all.AddTail(selected);
            else
                selected->GetArticleList(&all, static_cast<const CRuntimeClass*>(nullptr));
        }
        if (scope != kScopeSelection) {
            for (POSITION pos = all.GetHeadPosition(); pos;) {
                CArticle* a = all.GetNext(pos);
                if (a->HasItem())
                    AddSelectedColor(a);
            }
            all.RemoveAll();
            root->GetArticleList(&all, static_cast<const CRuntimeClass*>(nullptr));
            CArticleList coloured;
            for (POSITION pos = all.GetHeadPosition(); pos;) {
                CArticle* a = all.GetNext(pos);
                if (a->HasItem() && HasSelectedColor(a))
                    coloured.AddTail(a);
            }
            all.RemoveAll();
            for (POSITION pos = coloured.GetHeadPosition(); pos;)
                all.AddTail(coloured.GetNext(pos));
        }
    }
    // An article reached twice (selected, and below a selected group) is cut once.
    std::unordered_set<CArticle*> seen;
    for (POSITION pos = all.GetHeadPosition(); pos;) {
        CArticle* a = all.GetNext(pos);
        if (!a->HasItem() || (scope == kScopeSelection && !seen.insert(a).second))
            continue;
        if (excludeMarks && a->fnGetValue(CFindVelmMarks::kMarkerValue, 0) == 1)
            continue;
        list->AddTail(a);
    }
}

void CDesignPage::AddSelectedColor(CArticle* a) {
    COLORREF colour = 0;
    if (auto* va = DynamicDowncast<CVectorArticle>(a))
        if (va->GetLineColour(colour))
            m_SelectedColours.insert(colour);
}

int CDesignPage::HasSelectedColor(CArticle* a) {
    COLORREF colour = 0;
    auto* va = DynamicDowncast<CVectorArticle>(a);
    return va && va->GetLineColour(colour) && m_SelectedColours.count(colour) ? 1 : 0;
}

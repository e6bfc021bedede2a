// Selection by a band rectangle and by a region.
#include "design/design_page.h"
#include "design/design_view.h"
#include "design/select_tool.h"
#include "design/tools/select_keys.h"
#include "pivora/select.h"
#include "platform/graphics/gdi_objects.h"
#include "vector/vector_item.h"

#include <algorithm>

using namespace select_keys;

namespace {

struct Box64 {
    int64_t x1, y1, x2, y2;
};

// Normalised and made inclusive: the high edges move out by one, so an article lying exactly
// on the band's edge is inside it.
Box64 Inclusive(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
    return Box64{std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + 1, std::max(ay, by) + 1};
}

} // namespace

void CSelectTool::SelectWithinRect(CDesignView* view, CRect band, int mode, int) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page)
        return;
    FeedbackScope scope(*this);
    const bool self = (m_nPressKeys & kSelf) && !fnGetProperty(kPropNoSelfSelect);
    int hint = 1;
    if (band.left != band.right && band.top != band.bottom) {
        const bool lowX = band.left < band.right, lowY = band.top < band.bottom;
        hint = lowX ? (lowY ? eHandleBottomLeft : eHandleTopLeft)
                    : (lowY ? eHandleBottomRight : eHandleTopRight);
    }
    m_nBand[0] = band.left;
    m_nBand[1] = band.top;
    m_nBand[2] = band.right;
    m_nBand[3] = band.bottom;

    const Box64 b = Inclusive(band.left, band.top, band.right, band.bottom);
    CArticleList candidates;
    page->GetObjectList(&candidates, mode == CSelect::kSelectItem || self);
    HideHandles(view);
    const UINT shiftFlag = (m_nPressKeys & kShift) ? MK_SHIFT : 0;
    for (POSITION pos = candidates.GetHeadPosition(); pos;) {
        CArticle* c = candidates.GetNext(pos);
        if (!CArticle::IsArticleValidForSelection(c))
            continue;
        const CWindow w = c->Extents(0);
        if (w.x2 < w.x1 || w.y2 < w.y1)
            continue;
        const Box64 e = Inclusive(w.x1, w.y1, w.x2, w.y2);
        const bool inside = e.x1 >= b.x1 && e.y1 >= b.y1 && e.x2 <= b.x2 && e.y2 <= b.y2;
        const bool touches = e.x1 < b.x2 && b.x1 < e.x2 && e.y1 < b.y2 && b.y1 < e.y2;
        if (!(inside || ((m_nPressKeys & kTouch) && touches)))
            continue;
        if (mode == CSelect::kSelectItem || self)
            _Select(view, c, mode);
        else if (m_nPressKeys & kColour)
            SelectColour(view, shiftFlag, TopLevel(view, c));
        else if (!(m_nPressKeys & kGroup))
            _Select(view, c, mode);
        else
            SelectGroup(view, shiftFlag, TopLevel(view, c));
    }
    HideHandles(view);
    ShowHandles(view);
    SelectionChanged(view, "Band");
    m_nReferenceHint = hint;
}

BOOL CSelectTool::ObjectWithinRgn(CDesignView* view, CArticle* article, CRgn* region) {
    if (!view || !article || !region)
        return FALSE;
    // The article and every article below it; articles without paths do not fail the test.
    CArticleList all;
    all.AddTail(article);
    for (POSITION pos = all.GetHeadPosition(); pos;) {
        CArticle* a = all.GetNext(pos);
        for (CTree* t = a->GetFirstChild(); t; t = t->GetRsibling())
            if (auto* child = DynamicDowncast<CArticle>(t))
                all.AddTail(child);
        auto* path = DynamicDowncast<CVectorItem>(a->GetItem());
        if (!path)
            continue;
        const int n = path->ElementCount();
        for (int i = 0; i < n; ++i) {
            const CLpoint p = path->GetElementPos(i);
            CPoint c(p.x, p.y);
            view->DocToClient(c);
            if (!region->PtInRegion(c))
                return FALSE;
        }
    }
    return TRUE;
}

void CSelectTool::SelectWithinRegion(CDesignView* view, CRgn* region, int mode, int) {
    CDesignPage* page = view ? view->GetDocument() : nullptr;
    if (!page || !region)
        return;
    FeedbackScope scope(*this);
    CArticleList candidates;
    const bool self = (m_nPressKeys & kSelf) && !fnGetProperty(kPropNoSelfSelect);
    page->GetObjectList(&candidates, mode == CSelect::kSelectItem || self);
    HideHandles(view);
    for (POSITION pos = candidates.GetHeadPosition(); pos;) {
        CArticle* c = candidates.GetNext(pos);
        if (CArticle::IsArticleValidForSelection(c) && ObjectWithinRgn(view, c, region))
            _Select(view, c, mode);
    }
    ShowHandles(view);
    SelectionChanged(view, "Region");
}

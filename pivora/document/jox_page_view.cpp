// The page's side of its views: snapping and drawing through the grid, finding views.
#include "pivora/framework/jox_view.h"
#include "pivora/grid.h"
#include "pivora/jox_page.h"

int CJoxPage::Snap(CJoxView* view, CLpoint& p) {
    if (FlagsOn(kSnapToExtentsFlag))
        fnSnapToExtents(p);
    return m_pGrid ? m_pGrid->Snap(view, p) : 0;
}

int CJoxPage::Snap(CJoxView* view, CPoint& p) {
    CLpoint l(p.x, p.y);
    int snapped = Snap(view, l);
    p = CPoint(l.x, l.y);
    return snapped;
}

int CJoxPage::Snap(CJoxView* view, CWindow& w) {
    return m_pGrid ? m_pGrid->Snap(view, w) : 0;
}

void CJoxPage::DrawGrid(CJoxView* view, CJoxDC* dc) {
    if (m_pGrid)
        m_pGrid->OnDraw(view, dc);
}

void CJoxPage::DrawGuides(CJoxView* view, CJoxDC* dc, int inRuler) {
    if (m_pGrid)
        m_pGrid->OnDrawGuides(view, dc, inRuler);
}

CJoxView* CJoxPage::FirstView(CRuntimeClass* c) {
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* v = GetNextView(pos);
        if (c && !v->IsKindOf(c))
            continue;
        if (auto* view = dynamic_cast<CJoxView*>(v))
            return view;
    }
    return nullptr;
}

void CJoxPage::OnInitialUpdateViews() {
    for (POSITION pos = GetFirstViewPosition(); pos;)
        GetNextView(pos)->OnInitialUpdate();
}

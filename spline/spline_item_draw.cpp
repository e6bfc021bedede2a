// Drawing of the spline item: its segments through one path, the point markers.
#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/area_hint.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/jox_page.h"
#include "spline/point_marker.h"
#include "spline/spline_item.h"
#include "vector/item_path.h"
#include "vector/vector_article.h"

#include <algorithm>

namespace {

// Read once per process: the extra width of lines on paper.
int g_printThickenAdj = -1;

int PrintThickenAdj() {
    if (g_printThickenAdj < 0) {
        const int v =
            QvGetAppParam(CSplineItem::kPrintThickenAdj, CSplineItem::kPrintThickenAdjDefault);
        QvSetAppParam(CSplineItem::kPrintThickenAdj, v);
        g_printThickenAdj = v;
    }
    return g_printThickenAdj;
}

} // namespace

void CSplineItem::fnResetPrintThickenAdj() {
    g_printThickenAdj = -1;
}

void CSplineItem::OnDraw(CJoxView* view, CJoxDC* dc) {
    COLORREF colour = 0;
    COLORREF fill = 0;
    int width = 0;
    int style = PS_SOLID;
    CVectorArticle* article = GetArticle();
    if (article) {
        article->GetLineColour(colour);
        article->GetFillColour(fill);
        width = article->fnGetPenWidth();
    }
    if (dc->GetDrawOption(kDrawOptionExact)) {
        width = 0;
    } else if (!dc->IsPrinting()) {
        if (m_pArticle && m_pArticle->fnGetValue(kDashStyle, 0))
            style = PS_DASH;
        if (m_pArticle && m_pArticle->fnGetValue(kDashStyleColourSet, 0))
            colour = COLORREF(m_pArticle->fnGetValue(kDashStyleColourRgb, 0));
        const int thickness = FnGetScreenVectorThickness(nullptr);
        if (thickness > 0)
            width = thickness;
    } else {
        width += PrintThickenAdj();
    }
    FnDrawItemPath(dc, style, width, colour, fill, [&] {
        if (m_Beziers.IsEmpty()) {
            OnDrawSpot(view, dc);
            return;
        }
        const CLpoint s = m_Beziers[0].start;
        dc->MoveTo(s.x, s.y);
        DrawBeziers(dc, 0, int(m_Beziers.GetSize()));
    });
}

void CSplineItem::DrawBeziers(CJoxDC* dc, int from, int to) {
    from = std::max(from, 0);
    to = std::min(to, int(m_Beziers.GetSize()));
    for (int i = from; i < to; ++i)
        m_Beziers[i].Draw(dc, false);
}

void CSplineItem::DrawPoint(CJoxDC* dc, int i, int size, int mode) {
    if (i < 0 || i >= VectCount())
        return;
    CPointMarker marker(dc, m_Points[i].pt);
    if (!marker.Visible())
        return;
    const LONG x = marker.X(), y = marker.Y();
    if (!(mode & kBreak)) {
        const int s = size + 2;
        dc->MoveTo(x, y - s);
        dc->LineTo(x - s, y + s);
        dc->LineTo(x + s, y + s);
        dc->LineTo(x, y - s);
    } else {
        dc->MoveTo(x - size, y - size);
        dc->LineTo(x + size, y - size);
        dc->LineTo(x + size, y + size);
        dc->LineTo(x - size, y + size);
        dc->LineTo(x - size, y - size);
    }
}

void CSplineItem::DrawSelectedPoint(CJoxDC* dc, int i) {
    if (i < 0 || i >= VectCount())
        return;
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, CJoxDC::XorPenColour()))
        return;
    CPen* old = dc->SelectObject(&pen);
    {
        CPointMarker marker(dc, m_Points[i].pt);
        const LONG x = marker.X(), y = marker.Y();
        if (!marker.Visible()) {
            // Far off any device: no marker.
        } else if (!(m_Points[i].flags & kBreak)) {
            // A filled triangle: row k of nine, top down, is k / 2 wide on either side.
            for (int k = 1; k <= 9; ++k)
                marker.Row(x - k / 2, x + k / 2, y - 5 + k);
        } else {
            for (int r = -2; r <= 2; ++r)
                marker.Row(x - 2, x + 3, y + r);
        }
    }
    dc->SelectObject(old);
}

void CSplineItem::UpdateViews(CJoxView* view, long hint) {
    CJoxPage* page = view ? view->GetDocument() : nullptr;
    if (!page || m_SelectedElements.IsEmpty())
        return;
    const int n = VectCount();
    const int m = int(m_Beziers.GetSize());
    int lo = int(m_SelectedElements[0]);
    int hi = int(m_SelectedElements[m_SelectedElements.GetSize() - 1]);
    for (int k = 0; k < 3 && lo > 0; ++k) {
        --lo;
        if (lo < n && (m_Points[lo].flags & kBreak))
            break;
    }
    for (int k = 0; k < 3 && hi < m; ++k) {
        ++hi;
        if (hi < n && (m_Points[hi].flags & kBreak))
            break;
    }
    if (m == 0) {
        CAreaHint area(Extents());
        page->UpdateAllViews(nullptr, LPARAM(hint), &area);
    } else {
        for (int s = std::max(lo, 0); s < hi && s < m; ++s) {
            CAreaHint area(m_Beziers[s].Extents());
            page->UpdateAllViews(nullptr, LPARAM(hint), &area);
        }
    }
    InvExtents(1);
}

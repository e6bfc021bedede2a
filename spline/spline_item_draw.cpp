// Drawing of the spline item: its segments through one path, the point markers.
#include "pivora/article.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_dc.h"
#include "spline/spline_item.h"
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

// Markers are drawn in device pixels with XOR; the own mapping is off meanwhile.
class MarkerScope {
public:
    MarkerScope(CJoxDC* dc, const CLpoint& at) : m_dc(dc) {
        CPoint p(at.x, at.y);
        dc->LPtoDP(p);
        m_centre = p;
        m_oldRop = dc->SetROP2(R2_XORPEN);
        dc->SetMapMode(0);
    }
    ~MarkerScope() {
        m_dc->MoveTo(m_centre.x, m_centre.y);
        m_dc->SetMapMode(1);
        m_dc->SetROP2(m_oldRop);
    }
    MarkerScope(const MarkerScope&) = delete;
    MarkerScope& operator=(const MarkerScope&) = delete;
    CPoint Centre() const { return m_centre; }

private:
    CJoxDC* m_dc;
    CPoint m_centre;
    int m_oldRop;
};

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
    CPen pen;
    CBrush brush;
    if (!pen.CreatePen(style, width, colour) || !brush.CreateSolidBrush(fill))
        return;
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    if (dc->IncLevelCount() < 2)
        dc->BeginPath();
    if (m_Beziers.IsEmpty()) {
        OnDrawSpot(view, dc);
    } else {
        const CLpoint s = m_Beziers[0].start;
        dc->MoveTo(s.x, s.y);
        DrawBeziers(dc, 0, int(m_Beziers.GetSize()));
    }
    if (dc->DecLevelCount() < 1) {
        dc->EndPath();
        if (QvGetSetAppParam(L"Auto Fill Mode", 1))
            dc->StrokeAndFillPath();
        else
            dc->StrokePath();
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
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
    MarkerScope scope(dc, m_Points[i].pt);
    const LONG x = scope.Centre().x, y = scope.Centre().y;
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
        MarkerScope scope(dc, m_Points[i].pt);
        const LONG x = scope.Centre().x, y = scope.Centre().y;
        if (!(m_Points[i].flags & kBreak)) {
            // A filled triangle: row k of nine, top down, is k / 2 wide on either side.
            for (int k = 1; k <= 9; ++k) {
                dc->MoveTo(x - k / 2, y - 5 + k);
                dc->LineTo(x + k / 2, y - 5 + k);
            }
        } else {
            for (int r = -2; r <= 2; ++r) {
                dc->MoveTo(x - 2, y + r);
                dc->LineTo(x + 3, y + r);
            }
        }
    }
    dc->SelectObject(old);
}

void CSplineItem::DrawSelectedPoints(CJoxDC* dc) {
    const int n = VectCount();
    const bool closed = IsClosed(0) != 0;
    for (INT_PTR k = 0; k < m_SelectedElements.GetSize(); ++k) {
        const int e = int(m_SelectedElements[k]);
        if (closed && e == n - 1)
            continue;
        DrawSelectedPoint(dc, e);
    }
}

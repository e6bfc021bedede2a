// Drawing of the Bezier item: its path, the handle lines and the point marks.
#include "bezier/bezier_item.h"
#include "pivora/article.h"
#include "pivora/framework/area_hint.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/framework/jox_view.h"
#include "pivora/jox_page.h"
#include "spline/point_marker.h"
#include "spline/spline_item.h"
#include "vector/item_path.h"
#include "vector/vector_article.h"

#include <cstdlib>

namespace {

POINT ToPOINT(const CLpoint& p) {
    return POINT{p.x, p.y};
}

// XOR for the handle lines while it lives.
class XorScope {
public:
    explicit XorScope(CJoxDC* dc) : m_dc(dc), m_old(dc->SetROP2(R2_XORPEN)) {}
    ~XorScope() { m_dc->SetROP2(m_old); }
    XorScope(const XorScope&) = delete;
    XorScope& operator=(const XorScope&) = delete;

private:
    CJoxDC* m_dc;
    int m_old;
};

} // namespace

void CBezierItem::OnDraw(CJoxView* view, CJoxDC* dc) {
    COLORREF colour = 0;
    COLORREF fill = 0;
    int width = 0;
    int style = PS_SOLID;
    if (CVectorArticle* article = GetArticle()) {
        article->GetLineColour(colour);
        article->GetFillColour(fill);
    }
    if (!dc->IsPrinting()) {
        if (m_pArticle && m_pArticle->fnGetValue(CSplineItem::kDashStyle, 0))
            style = PS_DASH;
        if (m_pArticle && m_pArticle->fnGetValue(CSplineItem::kDashStyleColourSet, 0))
            colour = COLORREF(m_pArticle->fnGetValue(CSplineItem::kDashStyleColourRgb, 0));
        const int thickness = FnGetScreenVectorThickness(nullptr);
        if (thickness > 0)
            width = thickness;
    }
    FnDrawItemPath(dc, style, width, colour, fill, [&] {
        if (m_Points.IsEmpty()) {
            OnDrawSpot(view, dc);
            return;
        }
        const CLpoint s = m_Points[0].pt;
        dc->MoveTo(s.x, s.y);
        DrawBeziers(dc, 1, VectCount());
    });
}

void CBezierItem::DrawBeziers(CJoxDC* dc, int first, int end) {
    end = std::min(end, VectCount());
    for (int i = std::max(first, 0); i < end;) {
        if (IsHandle(i)) {
            // A handle too near the end draws nothing.
            if (i < end - 2) {
                const POINT pts[3] = {ToPOINT(m_Points[i].pt), ToPOINT(m_Points[i + 1].pt),
                                      ToPOINT(m_Points[i + 2].pt)};
                dc->PolyBezierTo(pts, 3);
            }
            i += 3;
        } else {
            dc->LineTo(m_Points[i].pt.x, m_Points[i].pt.y);
            i += 1;
        }
    }
}

void CBezierItem::DrawControls(CJoxDC* dc, int first, int end) {
    end = std::min(end, VectCount());
    XorScope xor_(dc);
    for (int i = std::max(first, 0); i < end; ++i) {
        if (!IsHandle(i))
            continue;
        // The second handle of a segment belongs to the anchor after it.
        const int anchor = i > 0 && IsHandle(i - 1) && i < end - 1 ? i + 1 : i - 1;
        if (anchor < 0 || anchor >= VectCount())
            continue;
        dc->MoveTo(m_Points[i].pt.x, m_Points[i].pt.y);
        dc->LineTo(m_Points[anchor].pt.x, m_Points[anchor].pt.y);
    }
}

void CBezierItem::DrawSelectedControls(CJoxDC* dc, int first, int end) {
    const int n = VectCount();
    end = std::min(end, n);
    const bool closed = IsClosed(0) != 0;
    XorScope xor_(dc);
    auto line = [&](int handle, int anchor) {
        if (handle < 0 || handle >= n || !IsHandle(handle))
            return;
        dc->MoveTo(m_Points[handle].pt.x, m_Points[handle].pt.y);
        dc->LineTo(m_Points[anchor].pt.x, m_Points[anchor].pt.y);
    };
    for (INT_PTR k = 0; k < m_SelectedElements.GetSize(); ++k) {
        const int a = int(m_SelectedElements[k]);
        if (a < std::max(first, 0) || a >= end || IsHandle(a))
            continue;
        line(a - 1, a);
        line(a + 1, a);
        // Across the closing point: the handle after point 0 and the one before the last.
        if (closed && a == 0)
            line(n - 2, a);
        if (closed && a == n - 1)
            line(1, a);
    }
}

void CBezierItem::DrawPoint(CJoxDC* dc, int index, int size, int flags) {
    if (index < 0 || index >= VectCount())
        return;
    CPointMarker marker(dc, m_Points[index].pt);
    if (!marker.Visible())
        return;
    const LONG x = marker.X(), y = marker.Y();
    if (flags & kBreak) {
        dc->MoveTo(x - size, y - size);
        dc->LineTo(x + size, y - size);
        dc->LineTo(x + size, y + size);
        dc->LineTo(x - size, y + size);
        dc->LineTo(x - size, y - size);
    } else {
        const int s = size + 1;
        dc->MoveTo(x - s, y);
        dc->LineTo(x, y - s);
        dc->LineTo(x + s, y);
        dc->LineTo(x, y + s);
        dc->LineTo(x - s, y);
    }
}

void CBezierItem::DrawSelectedPoint(CJoxDC* dc, int index) {
    if (index < 0 || index >= VectCount())
        return;
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, CJoxDC::XorPenColour()))
        return;
    CPen* old = dc->SelectObject(&pen);
    {
        CPointMarker marker(dc, m_Points[index].pt);
        const LONG x = marker.X(), y = marker.Y();
        if (!marker.Visible()) {
            // Far off any device: no mark.
        } else if (m_Points[index].flags & kBreak) {
            for (int r = -1; r <= 1; ++r)
                marker.Row(x - 1, x + 2, y + r);
        } else {
            for (int j = -2; j <= 2; ++j)
                marker.Row(x + std::abs(j) - 2, x + 3 - std::abs(j), y + j);
        }
    }
    dc->SelectObject(old);
}

void CBezierItem::UpdateViews(CJoxView* view, long hint) {
    if (m_Points.IsEmpty())
        return;
    CJoxPage* page = view ? view->GetDocument() : nullptr;
    // The area the item covered, as cached before its points changed, then the area it covers
    // now; each as the typed area hint, which the views know from any object.
    if (page) {
        CAreaHint before(m_ControlWindow);
        page->UpdateAllViews(nullptr, LPARAM(hint), &before);
    }
    InvExtents(1);
    if (page) {
        CAreaHint after(FullExtents());
        page->UpdateAllViews(nullptr, LPARAM(hint), &after);
    }
}

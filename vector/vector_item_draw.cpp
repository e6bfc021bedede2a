// Drawing of path items: the path through the drawing context's nesting level, the spot of a
// one-point item, and panning a view to an element.
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_client_dc.h"
#include "pivora/framework/jox_dc.h"
#include "pivora/framework/jox_view.h"
#include "vector/item_path.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Spot marks are three device pixels from the point to each side.
constexpr int kSpotHalfPixels = 3;
int g_drawSpots = -1;

} // namespace

void CVectorItem::OnDraw(CJoxView*, CJoxDC* dc) {
    COLORREF line = 0;
    COLORREF fill = 0;
    if (CVectorArticle* a = GetArticle()) {
        a->GetLineColour(line);
        a->GetFillColour(fill);
    }
    FnDrawItemPath(dc, PS_SOLID, 0, line, fill, [&] {
        if (m_PktArray.IsEmpty())
            return;
        const CLpoint s = m_PktArray.GetAt(0).start;
        dc->MoveTo(s.x, s.y);
        DrawPkts(dc, 0, int(m_PktArray.GetSize()));
    });
}

void CVectorItem::OnDrawSpot(CJoxView*, CJoxDC* dc) {
    if (g_drawSpots < 0)
        g_drawSpots = QvGetAppParam(L"Vector Draw Spots", 1) ? 1 : 0;
    if (ElementCount() != 1 || !dc->GetDrawOption(CVectorArticle::kDrawOptionExact) || !g_drawSpots)
        return;
    POINT d[2] = {{0, 0}, {kSpotHalfPixels, 0}};
    dc->DPtoLP(d, 2);
    const LONG h = LONG(std::llabs(int64_t(d[1].x) - d[0].x));
    const CLpoint p = GetElementPos(0);
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, COLORREF(0)))
        return;
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(p.x - h, p.y + h);
    dc->LineTo(p.x + h, p.y - h);
    dc->LineTo(p.x + h, p.y + h);
    dc->LineTo(p.x - h, p.y - h);
    dc->LineTo(p.x - h, p.y + h);
    dc->SelectObject(old);
}

void FnVectorItemResetSpotCache() {
    g_drawSpots = -1;
}

void FnAutoPanMoves(const CRect& r, const CPoint& p, CArray<CPoint, CPoint>& moves) {
    moves.RemoveAll();
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
        return;
    const LONG m = std::min(r.Width(), r.Height()) / 10;
    LONG tx = r.left, ty = r.top;
    if (p.x < r.left + m)
        tx = p.x - m;
    else if (p.x > r.right - m)
        tx = p.x - (r.right - r.left) + m;
    if (p.y < r.top + m)
        ty = p.y - m;
    else if (p.y > r.bottom - m)
        ty = p.y - (r.bottom - r.top) + m;
    // A client area under ten pixels a side (a minimised window) has no margin to step by:
    // it goes straight to the target.
    if (m > 0) {
        const int64_t dx = int64_t(tx) - r.left, dy = int64_t(ty) - r.top;
        const int64_t steps = (std::llabs(dx) / (4 * m) + std::llabs(dy) / (4 * m)) / 2;
        for (int64_t k = 1; k < steps; ++k)
            moves.Add(CPoint(LONG(r.left + k * (dx / steps)), LONG(r.top + k * (dy / steps))));
    }
    moves.Add(CPoint(tx, ty));
}

void CVectorItem::AutoPan(CJoxView* view, int element) {
    if (!view || !::IsWindow(view->m_hWnd))
        return;
    CJoxClientDC dc(view, eClientDocument);
    view->OnPrepareDC(&dc);
    const CLpoint e = GetElementPos(element);
    CPoint p(e.x, e.y);
    dc.LPtoDP(p);
    CRect client;
    view->GetClientRect(&client);
    CArray<CPoint, CPoint> moves;
    FnAutoPanMoves(client, p, moves);
    // Every corner is taken back through the mapping the pan started from.
    for (INT_PTR i = 0; i < moves.GetSize(); ++i) {
        CPoint corner = moves[i];
        dc.DPtoLP(corner);
        view->ScrollToPosition(corner, 1);
        if (i + 1 < moves.GetSize())
            view->UpdateWindow();
    }
}

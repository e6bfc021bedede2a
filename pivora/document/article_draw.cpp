// Drawing and hit testing of the article tree.
#include "pivora/article.h"
#include "pivora/framework/jox_dc.h"

namespace {

// Keeps one axis of a device rectangle inside what 16-bit device coordinates can take.
void ClampAxis(LONG& lo, LONG& hi, LONG limit) {
    if (lo == hi) {
        ++hi;
        return;
    }
    if (int64_t(hi) - lo <= 0x7FFF)
        return;
    if (lo < -limit) {
        lo = -limit;
        if (hi <= -limit)
            hi = -limit + 1;
    }
    if (hi > limit) {
        hi = limit;
        if (lo >= limit)
            lo = limit - 1;
    }
}

} // namespace

void CArticle::OnDraw(CJoxView* view, CJoxDC* dc) {
    if (m_pItem && !m_pItem->GetProperty(CItem::kNotDrawnBit) && !m_pItem->IsHidden())
        m_pItem->OnDraw(view, dc);
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t); a && !a->IsHidden())
            a->OnDraw(view, dc);
}

CRect CArticle::CalcClientExtents(CJoxDC* dc) {
    CWindow w = FullExtents();
    CPoint lt(w.x1, w.y2), rb(w.x2, w.y1);
    dc->LPtoDP(lt);
    dc->LPtoDP(rb);
    LONG left = lt.x, top = lt.y, right = rb.x, bottom = rb.y;
    ClampAxis(left, right, 16380);
    ClampAxis(top, bottom, 16370);
    return CRect(left, top, right, bottom);
}

void CArticle::InvalidateView(CJoxView*) {}

CArticle* CArticle::HitTest(CJoxView* view, const CPoint& pt) {
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t))
            if (CArticle* hit = a->HitTest(view, pt))
                return hit;
    return nullptr;
}

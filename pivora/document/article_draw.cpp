// Drawing and hit testing of the article tree.
#include "pivora/article.h"

void CArticle::OnDraw(CJoxView* view, CJoxDC* dc) {
    if (m_pItem && !m_pItem->GetProperty(CItem::kNotDrawnBit) && !m_pItem->IsHidden())
        m_pItem->OnDraw(view, dc);
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t); a && !a->IsHidden())
            a->OnDraw(view, dc);
}

CRect CArticle::CalcClientExtents(CJoxDC*) {
    return CRect();
}

void CArticle::InvalidateView(CJoxView*) {}

CArticle* CArticle::HitTest(CJoxView* view, const CPoint& pt) {
    for (CTree* t = m_pFirstChild; t; t = t->GetRsibling())
        if (auto* a = DynamicDowncast<CArticle>(t))
            if (CArticle* hit = a->HitTest(view, pt))
                return hit;
    return nullptr;
}

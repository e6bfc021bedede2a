#include "design/document/properties_undo.h"

#include "design/design_page.h"

IMPLEMENT_DYNAMIC(CPropertiesUndo, CBaseUndo)

void CPropertiesUndo::SetArticle(CArticle* article) {
    m_pArticle = article;
    m_Effects.RemoveAll();
    if (!article)
        return;
    m_dwArticleProperties = article->GetProperties();
    if (CItem* item = article->GetItem())
        m_dwItemProperties = item->GetProperties();
    m_Effects.Append(article->Effects());
}

void CPropertiesUndo::DoUndo(CDesignPage* page) {
    if (!m_pArticle)
        return;
    page->UpdateAllViews(nullptr, CDesignPage::kHintArticle, m_pArticle);
    m_pArticle->SetProperties(m_dwArticleProperties, m_nRecurse != 0);
    if (CItem* item = m_pArticle->GetItem())
        item->SetProperties(m_dwItemProperties);
    m_pArticle->InvExtents(1);
    m_pArticle->RemoveAllEffects();
    m_pArticle->Effects().Append(m_Effects);
    page->UpdateAllViews(nullptr, CDesignPage::kHintArticle, m_pArticle);
}

CBaseUndo* CPropertiesUndo::CreateRedo(CDesignPage*) {
    auto* redo = new CPropertiesUndo;
    redo->SetOperation(GetOperation());
    redo->SetArticle(m_pArticle);
    redo->SetRecurse(m_nRecurse);
    redo->SetRedraw(m_nRedraw);
    return redo;
}

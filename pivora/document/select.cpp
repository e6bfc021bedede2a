#include "pivora/select.h"

#include "pivora/article.h"
#include "platform/core/archive.h"

IMPLEMENT_SERIAL(CSelect, CObject, 0)

CSelect::~CSelect() {
    if (m_bOwnsLoadedArticle)
        CTree::DeleteRow(m_pArticle);
}

void CSelect::GetExtents(CWindow& w) const {
    if (!m_pArticle)
        return;
    switch (m_nSelectMode) {
    case kSelectItem:
        if (CItem* item = m_pArticle->GetItem())
            w = item->Extents();
        break;
    case kSelectArticle:
    case kSelectArticleToo:
        w = m_pArticle->Extents(0);
        break;
    default:
        break;
    }
}

void CSelect::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_pArticle);
        ar << int32_t(m_nSelectMode);
        return;
    }
    if (m_bOwnsLoadedArticle)
        CTree::DeleteRow(m_pArticle);
    m_pArticle = nullptr;
    m_bOwnsLoadedArticle = false;
    // Usually a reference back to an article of the tree read before; an article stored with
    // the entry itself belongs to the entry.
    bool created = false;
    CArticle* article = ar.ReadObjectReferenceAs<CArticle>(&created);
    if (article && created) {
        article->BuildLinks();
        m_bOwnsLoadedArticle = true;
    }
    m_pArticle = article;
    int32_t mode;
    ar >> mode;
    m_nSelectMode = mode;
}

#include "pivora/document/tx_effect_param.h"

#include "pivora/article.h"
#include "pivora/document/record_fields.h"
#include "pivora/jox_page.h"
#include "pivora/rec_archive.h"
#include "pivora/tx_effect.h"

IMPLEMENT_SERIAL(CTxEffectParam, CParamBlk, 0)

CTxEffectParam::CTxEffectParam() : CParamBlk(kTxEffectParamId), m_pSavedDesign(new CArticle) {}

// A loaded held design may head a row; the block owns all of it.
CTxEffectParam::~CTxEffectParam() {
    delete m_pEffect;
    CTree::DeleteRow(m_pSavedDesign);
}

void CTxEffectParam::SetEffect(CTxEffect* effect) {
    if (m_pEffect != effect)
        delete m_pEffect;
    m_pEffect = effect;
}

CTxEffectParam* CTxEffectParam::fnAddToDoc(CTxEffectParam* block, CJoxPage* page) {
    if (!page || !block)
        return block;
    CParamBlk* current = page->FindParam(kTxEffectParamId);
    if (current == block)
        return block;
    if (current)
        page->RemoveParam(current);
    // A block that is already on the page further down is not added twice.
    if (page->FindParam(block) < 0)
        page->AddParam(block);
    return block;
}

void CTxEffectParam::fnSaveDesignData(CJoxPage* page) {
    if (!page)
        return;
    CArticle* root = page->RootArticle();
    while (CTree* child = root->GetFirstChild()) {
        child->Detach();
        m_pSavedDesign->AddChild(child);
    }
}

void CTxEffectParam::fnRestoreDesignData(CJoxPage* page) {
    if (!page)
        return;
    CArticle* root = page->RootArticle();
    while (CTree* child = m_pSavedDesign->GetFirstChild()) {
        child->Detach();
        root->AddChild(child);
        if (auto* a = DynamicDowncast<CArticle>(child))
            a->SetDocument(page);
    }
    root->BuildLinks();
    root->InvExtents(1);
}

void CTxEffectParam::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    if (ar.IsLoading()) {
        LoadGroup(ar);
        return;
    }
    CRecArchive rec(ar);
    rec.StoreField(kRecEnabled, int32_t(m_bEnabled));
    rec.StoreField(kRecEffect, static_cast<const CObject*>(m_pEffect));
    rec.StoreField(kRecSavedDesign, static_cast<const CObject*>(m_pSavedDesign));
    rec.StoreEndRec();
}

void CTxEffectParam::LoadGroup(CArchive& ar) {
    using record_fields::LoadFixed;
    using record_fields::LoadSized;
    CRecArchive rec(ar);
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        switch (id) {
        case kRecEnabled:
            LoadFixed(rec, len, m_bEnabled);
            return true;
        case kRecEffect:
            LoadSized(rec, len, [&] { SetEffect(rec.LoadObject<CTxEffect>()); });
            return true;
        case kRecSavedDesign:
            LoadSized(rec, len, [&] {
                CArticle* saved = rec.LoadObject<CArticle>();
                CTree::DeleteRow(m_pSavedDesign);
                // A block stored without its article still holds an empty one.
                m_pSavedDesign = saved ? saved : new CArticle;
                m_pSavedDesign->BuildLinks();
            });
            return true;
        default:
            return false;
        }
    });
}

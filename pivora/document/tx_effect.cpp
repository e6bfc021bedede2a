#include "pivora/tx_effect.h"

#include "pivora/document/record_fields.h"
#include "pivora/rec_archive.h"

IMPLEMENT_SERIAL(CTxEffect, CObject, 0)

void CTxEffect::Xform(int x, int y, int& outX, int& outY) {
    outX = x;
    outY = y;
}

CPoint* CTxEffect::Xform(CPoint*, int, int&) {
    return nullptr;
}

CLpoint* CTxEffect::Xform(CLpoint*, int, int&) {
    return nullptr;
}

CItem* CTxEffect::Xform(CItem* item) {
    return item;
}

CArticle* CTxEffect::Xform(CArticle* article, int) {
    return article;
}

CObject* CTxEffect::CopyObject(CObject* target) {
    CTxEffect* to = target ? DynamicDowncast<CTxEffect>(target) : new CTxEffect;
    if (!to)
        return target;
    to->m_dwProperties = m_dwProperties;
    return to;
}

void CTxEffect::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    CRecArchive rec(ar);
    if (rec.IsStoring()) {
        rec.StoreField(kRecProperties, uint32_t(m_dwProperties));
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        if (id != kRecProperties)
            return false;
        record_fields::LoadFixed(rec, len, m_dwProperties);
        return true;
    });
}

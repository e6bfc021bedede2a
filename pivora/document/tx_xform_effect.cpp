#include "pivora/document/tx_xform_effect.h"

#include "pivora/article.h"
#include "pivora/document/record_fields.h"
#include "pivora/item.h"
#include "pivora/rec_archive.h"

#include <cstring>

IMPLEMENT_SERIAL(CTxXformEffect, CTxEffect, 0)

void CTxXformEffect::Xform(int x, int y, int& outX, int& outY) {
    CLpoint p = m_Matrix * CLpoint(x, y);
    outX = p.x;
    outY = p.y;
}

CPoint* CTxXformEffect::Xform(CPoint* points, int n, int& count) {
    if (!points || n < 0)
        n = 0;
    auto* out = new CPoint[size_t(n)];
    for (int i = 0; i < n; ++i)
        out[i] = m_Matrix * CSize(points[i].x, points[i].y);
    count = n;
    return out;
}

CLpoint* CTxXformEffect::Xform(CLpoint* points, int n, int& count) {
    if (!points || n < 0)
        n = 0;
    auto* out = new CLpoint[size_t(n)];
    for (int i = 0; i < n; ++i)
        out[i] = m_Matrix * points[i];
    count = n;
    return out;
}

CItem* CTxXformEffect::Xform(CItem* item) {
    if (item)
        item->DoTransform(m_Matrix);
    return item;
}

CArticle* CTxXformEffect::Xform(CArticle* article, int flags) {
    if (article)
        article->DoTransform(m_Matrix, flags);
    return article;
}

CObject* CTxXformEffect::CopyObject(CObject* target) {
    CTxXformEffect* to = target ? DynamicDowncast<CTxXformEffect>(target) : new CTxXformEffect;
    if (!to)
        return target;
    to->m_Matrix = m_Matrix;
    return to;
}

void CTxXformEffect::Serialize(CArchive& ar) {
    CTxEffect::Serialize(ar);
    CRecArchive rec(ar);
    if (rec.IsStoring()) {
        static_assert(kMatrixBytes == 9 * sizeof(double));
        record_fields::StoreFixed(ar, kRecMatrix, m_Matrix.m0, m_Matrix.m1, m_Matrix.m2,
                                  m_Matrix.m3, m_Matrix.m4, m_Matrix.m5, m_Matrix.m6, m_Matrix.m7,
                                  m_Matrix.m8);
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        if (id != kRecMatrix)
            return false;
        double m[9];
        if (record_fields::LoadFixed(rec, len, m)) {
            m_Matrix.m0 = m[0], m_Matrix.m1 = m[1], m_Matrix.m2 = m[2];
            m_Matrix.m3 = m[3], m_Matrix.m4 = m[4], m_Matrix.m5 = m[5];
            m_Matrix.m6 = m[6], m_Matrix.m7 = m[7], m_Matrix.m8 = m[8];
        }
        return true;
    });
}

int IsCXformEffect(CObject* o) {
    return o && o->IsKindOf(RUNTIME_CLASS(CTxXformEffect)) ? 1 : 0;
}

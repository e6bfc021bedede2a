#include "vector/draw_line_palette.h"

#include "pivora/document/record_fields.h"

#include <algorithm>

IMPLEMENT_SERIAL(CDrawLinePalette, CParamBlk, 0)

CDrawLinePalette::CDrawLinePalette(int n) : CParamBlk(kDrawLinePaletteId) {
    InitDrawLinePalette(n);
}

void CDrawLinePalette::InitDrawLinePalette(int n) {
    m_Lines.RemoveAll();
    if (n < 0)
        return;
    m_Lines.SetSize(n);
    for (int i = 0; i < std::min(n, kDefaultLines); ++i)
        m_Lines.ElementAt(i) = CDrawLine(i);
}

int CDrawLinePalette::CanSerialize(CArchive& ar) {
    return ar.IsLoading() ? 1 : 0;
}

void CDrawLinePalette::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    // Never written: a page that was handed one for storing writes nothing of its own.
    if (ar.IsStoring()) {
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id != kRecLines) {
            rec.SkipField(len);
            continue;
        }
        CArray<CDrawLine, CDrawLine&> loaded;
        record_fields::LoadSized(rec, len, [&] {
            const DWORD_PTR count = ar.ReadCount(sizeof(int32_t));
            loaded.SetSize(INT_PTR(count));
            for (DWORD_PTR i = 0; i < count; ++i) {
                int32_t colour;
                ar >> colour;
                loaded.ElementAt(INT_PTR(i)) = CDrawLine(colour);
            }
        });
        m_Lines.Copy(loaded);
    }
}

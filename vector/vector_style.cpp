#include "vector/vector_style.h"

#include "pivora/document/record_fields.h"
#include "pivora/rec_archive.h"

IMPLEMENT_SERIAL(CVectorStyle, CObject, 0)

void CVectorStyle::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        rec.StoreField(kRecPaletteIndex, m_nPaletteIndex);
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        if (id == kRecPaletteIndex)
            record_fields::LoadFixed(rec, len, m_nPaletteIndex);
        else
            rec.SkipField(len);
    }
}

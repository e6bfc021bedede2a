#include "vector/cut_line.h"

#include "pivora/document/record_fields.h"
#include "pivora/rec_archive.h"

IMPLEMENT_SERIAL(CCutLine, CObject, 0)

void CCutLine::fnGetEffectAndMaterial(CString& effect, CString& material) const {
    const int tab = m_Name.Find(L'\t');
    if (tab < 0) {
        effect = m_Name;
        material.Empty();
        return;
    }
    effect = m_Name.Left(tab);
    material = m_Name.Mid(tab + 1);
}

void CCutLine::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        rec.StoreField(kRecColour, m_nColour);
        rec.StoreField(kRecName, m_Name);
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        switch (id) {
        case kRecColour:
            record_fields::LoadFixed(rec, len, m_nColour);
            break;
        case kRecName: {
            CString name;
            record_fields::LoadSized(rec, len, [&] { name = ar.ReadString(); });
            m_Name = name;
            break;
        }
        default:
            rec.SkipField(len);
            break;
        }
    }
}

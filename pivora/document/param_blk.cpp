#include "pivora/param_blk.h"

#include "pivora/document/record_fields.h"

namespace {
// Every block starts with the text of its default name.
const wchar_t kDefaultBlockName[] = L"Default";
} // namespace

IMPLEMENT_SERIAL(CParamBlk, CObject, 0)

CParamBlk::CParamBlk() : CParamBlk(-1) {}

CParamBlk::CParamBlk(int id) : m_id(id), m_name(kDefaultBlockName) {}

CParamBlk::~CParamBlk() = default;

void CParamBlk::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        rec.StoreField(WORD(kRecId), WORD(m_id));
        rec.StoreField(WORD(kRecName), m_name);
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        switch (id) {
        case kRecId: {
            // Only the low 16 bits are stored; a block class sets its whole id before
            // loading. A plain block (id -1) takes the stored id as it is, so it is found
            // by that id again.
            WORD low;
            if (record_fields::LoadFixed(rec, len, low))
                m_id = m_id == -1 ? int(low) : int((DWORD(m_id) & 0xFFFF0000u) | low);
            return true;
        }
        case kRecName: {
            CString name;
            record_fields::LoadSized(rec, len, [&] { ar >> name; });
            m_name = name;
            return true;
        }
        default:
            return false;
        }
    });
}

int CParamBlk::CanSerialize(CArchive&) {
    return 1;
}

void CParamBlk::PostSerializeLoad(CJoxPage* page) {
    SetDocument(page);
}

void CParamBlk::MergeParamBlk(CParamBlk*, UINT, void*) {}

CParamBlk* CParamBlk::CreateParamBlk() {
    return nullptr;
}

CParamBlk* FindThisParam(CTypedPtrArray<CObArray, CParamBlk*>& blocks, int id, int start) {
    INT_PTR count = blocks.GetSize();
    if (start < 0 || start >= count)
        return nullptr;
    for (INT_PTR i = start; i < count; ++i) {
        CParamBlk* b = blocks.GetAt(i);
        if (b && b->Id() == id)
            return b;
    }
    return nullptr;
}

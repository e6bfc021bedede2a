#include "gastelo/emb_table_param_blk.h"

#include "gastelo/param_blk_copy.h"

#include "platform/core/mem_file.h"

#include <algorithm>
#include <vector>

IMPLEMENT_SERIAL(CEmbTableParamBlk, CParamBlk, 0)

namespace {

void AssignStored(CEmbTableParamBlk& to, const CEmbTableParamBlk& from) {
    std::copy(std::begin(from.m_nWords), std::end(from.m_nWords), std::begin(to.m_nWords));
    to.m_nField7 = from.m_nField7;
    to.m_nField8 = from.m_nField8;
    to.m_nField9 = from.m_nField9;
    to.m_strText10 = from.m_strText10;
    to.m_strText11 = from.m_strText11;
    to.m_strText12 = from.m_strText12;
    to.m_strText13 = from.m_strText13;
}

} // namespace

CEmbTableParamBlk::CEmbTableParamBlk() : CParamBlk(kEmbTableParamId) {
    fnInitialise();
}

void CEmbTableParamBlk::fnInitialise() {
    m_nFirstWord = 1;
    std::fill(std::begin(m_nWords), std::end(m_nWords), 0);
    m_nField7 = 1;
    m_nField8 = 0;
    m_nField9 = 0;
    m_strText10.Empty();
    m_strText11.Empty();
    m_strText12.Empty();
    m_strText13.Empty();
}

int CEmbTableParamBlk::CanSerialize(CArchive&) {
    return m_bCanSerialize;
}

void CEmbTableParamBlk::LoadPayload(const BYTE* data, UINT size, WORD version) {
    CEmbTableParamBlk read;
    AssignStored(read, *this);
    try {
        CMemFile file(data, size);
        CArchive ar(&file, CArchive::load);
        if (version >= 3)
            ar >> read.m_strText13;
        if (version >= 2) {
            for (int32_t& word : read.m_nWords)
                ar >> word;
        }
        ar >> read.m_nField7 >> read.m_nField8 >> read.m_nField9;
        ar >> read.m_strText10 >> read.m_strText11 >> read.m_strText12;
    } catch (const CArchiveException&) {
        // Shorter than its version's fields: the block keeps what it had.
        return;
    }
    AssignStored(*this, read);
}

void CEmbTableParamBlk::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        DWORD pos = rec.StartStore(kVersion);
        ar << m_strText13;
        for (int32_t word : m_nWords)
            ar << word;
        ar << m_nField7 << m_nField8 << m_nField9;
        ar << m_strText10 << m_strText11 << m_strText12;
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        // Version 0 was never written.
        if (id < 1 || id > kVersion || len == 0) {
            rec.SkipField(len);
            continue;
        }
        std::vector<BYTE> payload(len);
        ar.ReadExact(payload.data(), UINT(len));
        LoadPayload(payload.data(), UINT(len), id);
    }
}

CObject* CEmbTableParamBlk::CopyObject(CObject* target) {
    return CopyParamBlkThroughArchive(*this, target);
}

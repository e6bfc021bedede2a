#include "gastelo/design_param_blk.h"

#include "gastelo/browser_internal.h"
#include "gastelo/param_blk_copy.h"

#include "pivora/framework/app_params.h"
#include "pivora/jox_page.h"

#include "platform/core/mem_file.h"

#include <algorithm>
#include <vector>

IMPLEMENT_SERIAL(CDesignParamBlk, CParamBlk, 0)

namespace {

// Copies the fields a design file holds; the others stay.
void AssignStored(CDesignParamBlk& to, const CDesignParamBlk& from) {
    to.m_strText1 = from.m_strText1;
    to.m_nField2 = from.m_nField2;
    to.m_dtField3 = from.m_dtField3;
    to.m_nField4 = from.m_nField4;
    to.m_nField5 = from.m_nField5;
    to.m_strText6 = from.m_strText6;
    to.m_strDesignName = from.m_strDesignName;
    to.m_nField8 = from.m_nField8;
    to.m_nField9 = from.m_nField9;
    to.m_strText10 = from.m_strText10;
    to.m_dWidth = from.m_dWidth;
    to.m_dHeight = from.m_dHeight;
    to.m_nField13 = from.m_nField13;
    to.m_strText14 = from.m_strText14;
    to.m_nField15 = from.m_nField15;
    to.m_strText16 = from.m_strText16;
    to.m_strText17 = from.m_strText17;
    to.m_strPathName = from.m_strPathName;
    to.m_strText19 = from.m_strText19;
    to.m_nEmbTable = from.m_nEmbTable;
    std::copy(std::begin(from.m_nOptions), std::end(from.m_nOptions), std::begin(to.m_nOptions));
    to.m_dtField36 = from.m_dtField36;
    to.m_strText38 = from.m_strText38;
}

} // namespace

CDesignParamBlk::CDesignParamBlk() : CParamBlk(kDesignParamId) {
    fnInitialise();
}

void CDesignParamBlk::fnInitialise() {
    m_strText1.Empty();
    m_nField2 = -1;
    m_dtField3 = COleDateTime();
    m_nField4 = 0;
    m_nField5 = 1;
    m_strText6.Empty();
    m_strDesignName.Empty();
    m_nField8 = 1;
    m_nField9 = 1;
    m_strText10.Empty();
    m_dWidth = 0.0;
    m_dHeight = 0.0;
    m_nField13 = 1;
    m_strText14.Empty();
    m_nField15 = 1;
    m_strText16.Empty();
    m_strText17.Empty();
    m_strPathName.Empty();
    m_strText19.Empty();
    m_nEmbTable = 1;
    std::fill(std::begin(m_nOptions), std::end(m_nOptions), 1);
    Option(25) = -1;
    m_dtInitialised = COleDateTime::GetCurrentTime();
    m_dtField36 = COleDateTime();
    m_nState = kStateInitial;
    m_strText38.Empty();
    m_nField39 = 0;
    m_strText40.Empty();
}

void CDesignParamBlk::fnSetPathName(CString& path) {
    m_strPathName = path;
    m_strDesignName = FileTitleOf(path);
}

void CDesignParamBlk::fnGetExtents(CJoxPage* page) {
    if (!page)
        return;
    CWindow w = page->Extents();
    if (QvGetAppParam(kSaveDataExtentsParam, 0) != 0)
        page->GetActiveObjectExtents(w);
    // In 64 bits: the sides of an empty extents rectangle do not fit 32.
    m_dWidth = double(int64_t(w.x2) - int64_t(w.x1));
    m_dHeight = double(int64_t(w.y2) - int64_t(w.y1));
}

void CDesignParamBlk::StorePayload(CArchive& ar) const {
    ar << m_strText38;
    ar << m_strText6 << m_strText10 << m_strText14 << m_strText16;
    ar << m_nField2;
    ar << m_dtField3;
    ar << m_nField4 << m_nField5;
    ar << m_strDesignName;
    ar << m_strText1;
    ar << m_nField8 << m_nField9;
    ar << m_dWidth << m_dHeight;
    ar << m_nField13 << m_nField15;
    ar << m_strText17 << m_strPathName << m_strText19;
    ar << m_nEmbTable;
    for (int32_t option : m_nOptions)
        ar << option;
    ar << m_dtField36;
}

void CDesignParamBlk::LoadPayload(const BYTE* data, UINT size, WORD version) {
    CDesignParamBlk read;
    AssignStored(read, *this);
    try {
        CMemFile file(data, size);
        CArchive ar(&file, CArchive::load);
        if (version >= 2)
            ar >> read.m_strText38;
        if (version >= 1)
            ar >> read.m_strText6 >> read.m_strText10 >> read.m_strText14 >> read.m_strText16;
        ar >> read.m_nField2;
        ar >> read.m_dtField3;
        ar >> read.m_nField4 >> read.m_nField5;
        ar >> read.m_strDesignName;
        ar >> read.m_strText1;
        ar >> read.m_nField8 >> read.m_nField9;
        ar >> read.m_dWidth >> read.m_dHeight;
        ar >> read.m_nField13 >> read.m_nField15;
        ar >> read.m_strText17 >> read.m_strPathName >> read.m_strText19;
        ar >> read.m_nEmbTable;
        for (int32_t& option : read.m_nOptions)
            ar >> option;
        ar >> read.m_dtField36;
        // Bytes after the last field are a later writer's additions.
    } catch (const CArchiveException&) {
        // A payload shorter than its version's fields: the block keeps what it had.
        return;
    }
    AssignStored(*this, read);
}

void CDesignParamBlk::Serialize(CArchive& ar) {
    CParamBlk::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        DWORD pos = rec.StartStore(kVersion);
        StorePayload(ar);
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    WORD id;
    DWORD len;
    while (rec.LoadFieldID(id, len)) {
        // A newer version is skipped whole; an empty payload is shorter than any version's.
        if (id > kVersion || len == 0) {
            rec.SkipField(len);
            continue;
        }
        std::vector<BYTE> payload(len);
        ar.ReadExact(payload.data(), UINT(len));
        LoadPayload(payload.data(), UINT(len), id);
    }
}

CObject* CDesignParamBlk::CopyObject(CObject* target) {
    return CopyParamBlkThroughArchive(*this, target);
}

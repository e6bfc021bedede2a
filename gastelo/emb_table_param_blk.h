// CEmbTableParamBlk: parameter block 8, a small table of settings stored in every design file.
//
// Stored form, after the base block's group: one field whose id is the record version
// (kVersion) and whose payload is the stored members one after another, then the end field.
// The members carry the field numbers of the table ("field 1" is the first word).
#pragma once

#include "pivora/param_blk.h"

class CEmbTableParamBlk : public CParamBlk {
    DECLARE_SERIAL(CEmbTableParamBlk)
public:
    // The version written; versions 2 and 1 are still read.
    static constexpr WORD kVersion = 3;
    // Fields 2 to 6.
    static constexpr int kWordCount = 5;

    CEmbTableParamBlk();

    void fnInitialise();
    // The base block's save flag.
    int CanSerialize(CArchive& ar) override;
    void Serialize(CArchive& ar) override;
    // Copies the stored fields into target (a new block when null) through a memory archive;
    // the target's first word stays as it was. Returns the target.
    virtual CObject* CopyObject(CObject* target);

    int& Word(int field) { return m_nWords[field - 2]; }

    int32_t m_nFirstWord;         // 1, not stored: the design block's table word on open
    int32_t m_nWords[kWordCount]; // 2 to 6, since version 2
    int32_t m_nField7;            // 7
    int32_t m_nField8;            // 8
    int32_t m_nField9;            // 9
    CString m_strText10;          // 10
    CString m_strText11;          // 11
    CString m_strText12;          // 12
    CString m_strText13;          // 13, since version 3

private:
    void LoadPayload(const BYTE* data, UINT size, WORD version);
};

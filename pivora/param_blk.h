// CParamBlk: a named block of page-wide settings that hangs on a page beside the article tree
// and is found by its numeric block id. Every kind of page-wide data derives from it and
// appends its own record group after the base group.
#pragma once

#include "pivora/rec_archive.h"

#include "platform/core/collections.h"
#include "platform/core/cstring.h"
#include "platform/core/object.h"

class CJoxPage;

class CParamBlk : public CObject {
    DECLARE_SERIAL(CParamBlk)
public:
    // Block ids of the page-wide blocks.
    enum {
        kColourPaletteId = 1,
        kDrawLinePaletteId = 5,
        kDesignParamId = 7,
        kEmbTableParamId = 8,
        kMediaManagerId = 12,
        kCutLinePaletteId = 13,
        kVectorStyleId = 14,
        kCommentId = 17,
        kTxEffectParamId = 19,
    };
    // Record ids of the base group.
    enum { kRecId = 0, kRecName = 1 };

    CParamBlk();
    explicit CParamBlk(int id);
    ~CParamBlk() override;
    CParamBlk(const CParamBlk&) = delete;
    CParamBlk& operator=(const CParamBlk&) = delete;

    int Id() const { return m_id; }
    void Id(int id) { m_id = id; }
    void SetName(const CString& name) { m_name = name; }
    void GetName(CString& name) const { name = m_name; }
    void SetDocument(CJoxPage* page) { m_pDocument = page; }
    CJoxPage* GetDocument() const { return m_pDocument; }
    void SetCanSerialize(int on) { m_bCanSerialize = on; }

    void Serialize(CArchive& ar) override;

    // Non-zero when the page is to write the block into a design file.
    virtual int CanSerialize(CArchive& ar);
    // Called by the page for each block once the block array has been read.
    virtual void PostSerializeLoad(CJoxPage* page);
    virtual void MergeParamBlk(CParamBlk* other, UINT flags, void* data);
    virtual CParamBlk* CreateParamBlk();

protected:
    int m_id;
    CString m_name;
    CJoxPage* m_pDocument = nullptr;
    int m_bCanSerialize = 1;
};

typedef CTypedPtrArray<CObArray, CParamBlk*> CParamBlkArray;

// The first block with that id at index start or later; null when none, or when start lies
// outside the array.
CParamBlk* FindThisParam(CTypedPtrArray<CObArray, CParamBlk*>& blocks, int id, int start);

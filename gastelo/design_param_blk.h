// CDesignParamBlk: parameter block 7, a design's record: its name and path, descriptive texts,
// dates, size in data units and a set of option words. Stored in every design file and copied
// through a memory archive.
//
// Stored form, after the base block's group: one field whose id is the record version
// (kVersion) and whose payload is the stored members one after another (int32 little-endian,
// double, strings and dates in the archive's own form), then the end field. The members carry
// the field numbers of the design record ("field 7" is the design name).
#pragma once

#include "pivora/param_blk.h"

#include "platform/core/ole_date_time.h"

class CJoxPage;

class CDesignParamBlk : public CParamBlk {
    DECLARE_SERIAL(CDesignParamBlk)
public:
    // The version written; versions 1 and 0 are still read.
    static constexpr WORD kVersion = 2;
    // Fields 21 to 34.
    static constexpr int kOptionCount = 14;
    // What the design record's state says of the design.
    enum State { kStateInitial = 0, kStateNew = 2, kStateOpened = 3 };
    static constexpr const wchar_t* kSaveDataExtentsParam = L"DB Save Data Extents";

    CDesignParamBlk();

    // Every field back to its initial value; field 35 becomes the current time.
    void fnInitialise();
    // The path name becomes path and the design name the file title of path (the extension,
    // when the file name has one, left out).
    void fnSetPathName(CString& path);
    // The design's width and height from the page's extents, or with "DB Save Data Extents"
    // from those of its active objects.
    void fnGetExtents(CJoxPage* page);

    void Serialize(CArchive& ar) override;
    // Copies the stored fields into target (a new block when null) through a memory archive;
    // the target's unstored fields (35, 37, 39, 40) stay as they were. Returns the target.
    virtual CObject* CopyObject(CObject* target);

    int& Option(int field) { return m_nOptions[field - 21]; }

    CString m_strText1;               // 1
    int32_t m_nField2;                // 2
    COleDateTime m_dtField3;          // 3
    int32_t m_nField4;                // 4
    int32_t m_nField5;                // 5
    CString m_strText6;               // 6, since version 1
    CString m_strDesignName;          // 7
    int32_t m_nField8;                // 8
    int32_t m_nField9;                // 9
    CString m_strText10;              // 10, since version 1
    double m_dWidth;                  // 11, data units
    double m_dHeight;                 // 12, data units
    int32_t m_nField13;               // 13
    CString m_strText14;              // 14, since version 1
    int32_t m_nField15;               // 15
    CString m_strText16;              // 16, since version 1
    CString m_strText17;              // 17
    CString m_strPathName;            // 18
    CString m_strText19;              // 19
    int32_t m_nEmbTable;              // 20, handed to the embedded-table block on open
    int32_t m_nOptions[kOptionCount]; // 21 to 34
    COleDateTime m_dtInitialised;     // 35, not stored
    COleDateTime m_dtField36;         // 36
    int32_t m_nState;                 // 37, not stored
    CString m_strText38;              // 38, since version 2
    int32_t m_nField39;               // 39, not stored
    CString m_strText40;              // 40, not stored

private:
    void StorePayload(CArchive& ar) const;
    // Reads a payload of the given version into this block; on a short or damaged payload
    // nothing is changed.
    void LoadPayload(const BYTE* data, UINT size, WORD version);
};

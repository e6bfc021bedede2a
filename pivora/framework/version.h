// The four-part file version of a module, as design files keep it and as the running program
// has it in its version record.
#pragma once

#include "platform/core/array.h"
#include "platform/core/cstring.h"
#include "platform/core/object.h"

// Results of comparisons (left against right) and of the setters.
enum eVersion {
    eVersionNewer = 0,
    eVersionEqual = 1,
    eVersionOlder = 2,
    eVersionNotComparable = 3,
    eVersionSet = 4,
};

class CVersion : public CObject {
    DECLARE_SERIAL(CVersion)
public:
    CVersion() { Reset(); }
    CVersion(const CVersion& other) : CObject() { *this = other; }
    CVersion& operator=(const CVersion& other);
    ~CVersion() override = default;

    void Reset();
    // u32 record version (1; 0 and 1 are read), u64 payload length, then depth, the four
    // parts and the file name. A longer payload of a later record version is skipped.
    void Serialize(CArchive& ar) override;

    // The version record of `file`, or of the running program for null; the depth is kept.
    // 0 when the file has no readable record.
    static int GetAppVersion(const wchar_t* file, CVersion& out);
    static int GetAppVersion(const wchar_t* file, WORD* major, WORD* minor, WORD* build,
                             WORD* revision);
    // "%d", "%d.%d", "%d.%d.%d" or "%d.%d.%d.%d" by depth; empty for other depths.
    static CString GetVersion(const CVersion& v);
    // Reads as many parts as v's depth asks for; a text with fewer dots puts its last number
    // into the revision (1.2 at depth 4 gives 1.0.0.2).
    static eVersion SetVersion(const CString& text, CVersion& v);
    // array[0] = depth, then revision, build, minor, major as far as the depth reaches.
    static eVersion SetVersion(const CVersion& v, int* array);
    static eVersion SetVersion(const int* array, CVersion& v);

    // Compares up to `depth` parts, or left's own depth when that is smaller.
    static eVersion CompareAppVersion(const CVersion& left, const CVersion& right, UINT depth);
    static eVersion CompareAppVersion(const CVersion& left, const CString& right, UINT depth);
    static eVersion CompareAppVersion(const CString& left, const CVersion& right, UINT depth);
    static eVersion CompareAppVersion(const CString& left, WORD major, WORD minor, WORD build,
                                      WORD revision, UINT depth);
    // The entry whose file name is right's (the running program for null) against right.
    static eVersion CompareAppVersion(const CArray<CVersion, CVersion&>& versions,
                                      const CVersion* right, UINT depth);

    WORD m_major;
    WORD m_minor;
    WORD m_build;
    WORD m_revision;
    BYTE m_depth;
    CString m_fileName;

private:
    void WritePayload(CArchive& ar) const;
};

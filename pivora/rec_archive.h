// CRecArchive: the tagged-record layer inside a design file. Each class level writes one group
// of fields {u16 id, u32 length, payload} closed by the end field FE FE 00 00 00 00; readers take
// the ids they know and skip the rest by length, so files of later versions still load.
#pragma once

#include "platform/core/archive.h"
#include "platform/core/crect.h"
#include "platform/core/cstring.h"

class CFile;
class CTime;

class CRecArchive {
public:
    static constexpr WORD kEndRecordId = 0xFEFE;

    explicit CRecArchive(CArchive& ar) : m_pArchive(&ar) {}
    operator CArchive&() const { return *m_pArchive; }
    CArchive& Archive() const { return *m_pArchive; }

    BOOL IsStoring() const { return m_pArchive->IsStoring(); }
    BOOL IsLoading() const { return m_pArchive->IsLoading(); }
    CFile* GetFile() const { return m_pArchive->GetFile(); }
    void Flush() { m_pArchive->Flush(); }
    UINT Read(void* buffer, UINT count) { return m_pArchive->Read(buffer, count); }

    // Writing. Every writer raises the read-only archive exception on a loading archive.
    void StoreRecord(WORD id, const BYTE* data, DWORD len);
    void StoreField(WORD id, WORD value);
    void StoreField(WORD id, int16_t value);
    void StoreField(WORD id, int32_t value);
    void StoreField(WORD id, uint32_t value);
    void StoreField(WORD id, float value);
    void StoreField(WORD id, double value);
    void StoreField(WORD id, const CRect& value);
    void StoreField(WORD id, const CPoint& value);
    void StoreField(WORD id, const CTime& value); // u32 seconds since 1970 (low 32 bits)
    void StoreField(WORD id, const CString& value);
    // The object's own Serialize output, in place.
    void StoreField(WORD id, CObject& value);
    // The pointer in object-reference form (null allowed).
    void StoreField(WORD id, const CObject* value);
    void StoreEndRec();
    // A field of unknown length: StartStore writes the id and a placeholder length and returns
    // the position of the length, which EndStore patches.
    DWORD StartStore(WORD id);
    void EndStore(DWORD pos);

    // Reading. LoadFieldID returns 0 at the end field. A field may not announce more bytes
    // than the stream still holds.
    int LoadFieldID(WORD& id, DWORD& len);
    void SkipField(DWORD len);
    // Non-zero when all len bytes came.
    int LoadField(BYTE* data, DWORD len);
    int LoadField(CObject& obj);
    // Reads one object in reference form and drops it.
    int LoadField(CObject* obj);
    // Reads an object in reference form that must be of class T (or derived); null allowed.
    template <class T> T* LoadObject() { return m_pArchive->ReadObjectAs<T>(); }

    CRecArchive& operator>>(BYTE& v) { return Get(v); }
    CRecArchive& operator>>(char& v) { return Get(v); }
    CRecArchive& operator>>(WORD& v) { return Get(v); }
    CRecArchive& operator>>(int16_t& v) { return Get(v); }
    CRecArchive& operator>>(uint32_t& v) { return Get(v); }
    CRecArchive& operator>>(int32_t& v) { return Get(v); }
    CRecArchive& operator>>(float& v) { return Get(v); }
    CRecArchive& operator>>(double& v) { return Get(v); }
    CRecArchive& operator>>(CString& v) { return Get(v); }
    CRecArchive& operator>>(CRect& v);
    CRecArchive& operator>>(CPoint& v);
    CRecArchive& operator>>(CTime& v);

private:
    template <class T> CRecArchive& Get(T& v) {
        *m_pArchive >> v;
        return *this;
    }
    template <class T> void StoreValue(WORD id, T value) {
        *m_pArchive << id << DWORD(sizeof value) << value;
    }

    CArchive* m_pArchive;
};

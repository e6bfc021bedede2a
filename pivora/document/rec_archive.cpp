#include "pivora/rec_archive.h"
#include "pivora/scope_guard.h"

#include "platform/core/file.h"
#include "platform/core/time.h"

void CRecArchive::StoreRecord(WORD id, const BYTE* data, DWORD len) {
    *m_pArchive << id << len;
    if (data && len)
        m_pArchive->Write(data, len);
}

void CRecArchive::StoreField(WORD id, WORD value) {
    StoreValue(id, value);
}
void CRecArchive::StoreField(WORD id, int16_t value) {
    StoreValue(id, value);
}
void CRecArchive::StoreField(WORD id, int32_t value) {
    StoreValue(id, value);
}
void CRecArchive::StoreField(WORD id, uint32_t value) {
    StoreValue(id, value);
}
void CRecArchive::StoreField(WORD id, float value) {
    StoreValue(id, value);
}
void CRecArchive::StoreField(WORD id, double value) {
    StoreValue(id, value);
}

void CRecArchive::StoreField(WORD id, const CRect& value) {
    *m_pArchive << id << DWORD(16) << int32_t(value.left) << int32_t(value.top)
                << int32_t(value.right) << int32_t(value.bottom);
}

void CRecArchive::StoreField(WORD id, const CPoint& value) {
    *m_pArchive << id << DWORD(8) << int32_t(value.x) << int32_t(value.y);
}

void CRecArchive::StoreField(WORD id, const CTime& value) {
    StoreValue(id, uint32_t(value.GetTime()));
}

void CRecArchive::StoreField(WORD id, const CString& value) {
    DWORD pos = StartStore(id);
    *m_pArchive << value;
    EndStore(pos);
}

void CRecArchive::StoreField(WORD id, CObject& value) {
    DWORD pos = StartStore(id);
    {
        m_pArchive->EnterObject();
        CScopeGuard leave([&] { m_pArchive->LeaveObject(); });
        value.Serialize(*m_pArchive);
    }
    EndStore(pos);
}

void CRecArchive::StoreField(WORD id, const CObject* value) {
    DWORD pos = StartStore(id);
    m_pArchive->WriteObject(value);
    EndStore(pos);
}

void CRecArchive::StoreEndRec() {
    *m_pArchive << kEndRecordId << DWORD(0);
}

DWORD CRecArchive::StartStore(WORD id) {
    *m_pArchive << id;
    m_pArchive->Flush();
    DWORD pos = DWORD(m_pArchive->GetFile()->GetPosition());
    *m_pArchive << DWORD(0);
    return pos;
}

void CRecArchive::EndStore(DWORD pos) {
    m_pArchive->Flush();
    CFile* file = m_pArchive->GetFile();
    ULONGLONG end = file->GetPosition();
    DWORD length = DWORD(end - pos - 4);
    const BYTE stored[4] = {BYTE(length), BYTE(length >> 8), BYTE(length >> 16),
                            BYTE(length >> 24)}; // little-endian, as every stored value
    file->Seek(pos, CFile::begin);
    file->Write(stored, sizeof stored);
    file->Seek(LONGLONG(end), CFile::begin);
}

int CRecArchive::LoadFieldID(WORD& id, DWORD& len) {
    *m_pArchive >> id >> len;
    if (id == kEndRecordId)
        return 0;
    m_pArchive->RequireRemaining(len);
    return 1;
}

// Skips by reading in small pieces after checking the stream holds the bytes, so a damaged
// length never turns into a huge allocation.
void CRecArchive::SkipField(DWORD len) {
    m_pArchive->Skip(len);
}

int CRecArchive::LoadField(BYTE* data, DWORD len) {
    return m_pArchive->Read(data, len) == len ? 1 : 0;
}

int CRecArchive::LoadField(CObject& obj) {
    m_pArchive->EnterObject();
    CScopeGuard leave([&] { m_pArchive->LeaveObject(); });
    obj.Serialize(*m_pArchive);
    return 1;
}

int CRecArchive::LoadField(CObject*) {
    CObject* obj = m_pArchive->ReadObject(nullptr);
    delete obj;
    return 1;
}

CRecArchive& CRecArchive::operator>>(CRect& v) {
    int32_t r[4];
    *m_pArchive >> r[0] >> r[1] >> r[2] >> r[3];
    v.SetRect(r[0], r[1], r[2], r[3]);
    return *this;
}

CRecArchive& CRecArchive::operator>>(CPoint& v) {
    int32_t p[2];
    *m_pArchive >> p[0] >> p[1];
    v.SetPoint(p[0], p[1]);
    return *this;
}

CRecArchive& CRecArchive::operator>>(CTime& v) {
    uint32_t seconds;
    *m_pArchive >> seconds;
    v = CTime(int64_t(seconds));
    return *this;
}

#include "platform/core/archive.h"

#include "platform/core/file.h"

#include <cstring>
#include <string>

namespace platform::detail {
extern void (*g_objectDeleted)(CObject*);
} // namespace platform::detail

namespace {

// Class names are plain identifiers; a longer or stranger name is damage.
constexpr WORD kMaxClassNameLength = 64;

CArchive* g_loadingArchives = nullptr;

} // namespace

void CArchive::ObjectDeleted(CObject* obj) {
    for (CArchive* ar = g_loadingArchives; ar; ar = ar->m_prevLoading) {
        auto it = ar->m_loadedIndex.find(obj);
        if (it != ar->m_loadedIndex.end()) {
            ar->m_loadArray[it->second].obj = nullptr;
            ar->m_loadedIndex.erase(it);
        }
    }
}

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : m_file(file), m_mode(mode), m_buffer(size_t(bufferSize > 64 ? bufferSize : 64)) {
    if (!m_file)
        AfxThrowInvalidArgException();
    if (IsLoading()) {
        m_prevLoading = g_loadingArchives;
        g_loadingArchives = this;
        platform::detail::g_objectDeleted = &CArchive::ObjectDeleted;
        try {
            ULONGLONG length = m_file->GetLength();
            ULONGLONG position = m_file->GetPosition();
            m_fileLength = length >= position ? length - position : 0;
        } catch (const CFileException&) {
            m_fileLength = 0;
        }
    }
}

CArchive::~CArchive() {
    if (IsLoading()) {
        // Archives end in the reverse order of their making.
        for (CArchive** link = &g_loadingArchives; *link; link = &(*link)->m_prevLoading) {
            if (*link == this) {
                *link = m_prevLoading;
                break;
            }
        }
        if (!g_loadingArchives)
            platform::detail::g_objectDeleted = nullptr;
    }
    if (IsStoring() && m_file && !(m_mode & bNoFlushOnDelete)) {
        try {
            Flush();
        } catch (...) {
            // A destructor must not raise; callers that care call Close() first.
        }
    }
}

void CArchive::Fail(int cause) const {
    throw CArchiveException(cause, m_file ? m_file->GetFilePath() : CString());
}

void CArchive::Flush() {
    if (IsStoring() && m_bufPos > 0) {
        m_file->Write(m_buffer.data(), UINT(m_bufPos));
        m_bufPos = 0;
    }
}

void CArchive::Close() {
    Flush();
    m_file = nullptr;
}

void CArchive::Abort() {
    m_bufPos = m_bufEnd = 0;
    m_file = nullptr;
}

void CArchive::Write(const void* buffer, UINT count) {
    if (IsLoading())
        Fail(CArchiveException::readOnly);
    if (!m_file)
        Fail(CArchiveException::genericException);
    const BYTE* p = static_cast<const BYTE*>(buffer);
    if (count >= m_buffer.size()) {
        Flush();
        m_file->Write(p, count);
        return;
    }
    if (m_bufPos + count > m_buffer.size())
        Flush();
    std::memcpy(m_buffer.data() + m_bufPos, p, count);
    m_bufPos += count;
}

void CArchive::FillBuffer() {
    // Each refill takes what the file still holds, up to the buffer's size.
    UINT want = UINT(std::min<ULONGLONG>(m_buffer.size(), m_fileLength));
    UINT got = want ? m_file->Read(m_buffer.data(), want) : 0;
    m_fileLength -= got;
    m_bufPos = 0;
    m_bufEnd = got;
}

UINT CArchive::Read(void* buffer, UINT count) {
    if (IsStoring())
        Fail(CArchiveException::writeOnly);
    if (!m_file)
        Fail(CArchiveException::genericException);
    BYTE* p = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_bufPos == m_bufEnd) {
            FillBuffer();
            if (m_bufEnd == 0)
                break;
        }
        size_t n = std::min<size_t>(count - done, m_bufEnd - m_bufPos);
        std::memcpy(p + done, m_buffer.data() + m_bufPos, n);
        m_bufPos += n;
        done += UINT(n);
    }
    return done;
}

void CArchive::ReadExact(void* buffer, UINT count) {
    if (Read(buffer, count) != count)
        Fail(CArchiveException::endOfFile);
}

ULONGLONG CArchive::BytesRemaining() const {
    if (IsStoring())
        return 0;
    return m_fileLength + (m_bufEnd - m_bufPos);
}

void CArchive::RequireRemaining(ULONGLONG count) const {
    if (count > BytesRemaining())
        Fail(CArchiveException::endOfFile);
}

void CArchive::Skip(ULONGLONG count) {
    RequireRemaining(count);
    BYTE scratch[512];
    while (count > 0) {
        UINT n = UINT(std::min<ULONGLONG>(count, sizeof scratch));
        ReadExact(scratch, n);
        count -= n;
    }
}

ULONGLONG CArchive::GetPosition() const {
    if (IsStoring())
        return m_file->GetPosition() + m_bufPos;
    return m_file->GetPosition() - (m_bufEnd - m_bufPos);
}

CArchive& CArchive::operator>>(bool& v) {
    BYTE b;
    ReadExact(&b, 1);
    v = b != 0;
    return *this;
}

CArchive& CArchive::operator<<(const CString& s) {
    WriteString(s);
    return *this;
}

CArchive& CArchive::operator>>(CString& s) {
    s = ReadString();
    return *this;
}

void CArchive::WriteCount(DWORD_PTR count) {
    if (count < 0xFFFF) {
        *this << WORD(count);
    } else {
        *this << WORD(0xFFFF) << DWORD(count);
    }
}

DWORD_PTR CArchive::ReadCount() {
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD d;
    *this >> d;
    return d;
}

DWORD_PTR CArchive::ReadCount(UINT minBytesPerElement) {
    DWORD_PTR count = ReadCount();
    RequireRemaining(ULONGLONG(count) * minBytesPerElement);
    return count;
}

void CArchive::WriteString(const CString& s) {
    std::u16string units;
    units.reserve(size_t(s.GetLength()));
    for (int i = 0; i < s.GetLength(); ++i) {
        char32_t c = char32_t(s.GetString()[i]);
        if (c > 0x10FFFF)
            c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            units += char16_t(0xD800 + (c >> 10));
            units += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            units += char16_t(c);
        }
    }
    *this << BYTE(0xFF) << WORD(0xFFFE);
    ULONGLONG n = units.size();
    if (n < 0xFF) {
        *this << BYTE(n);
    } else if (n < 0xFFFE) {
        *this << BYTE(0xFF) << WORD(n);
    } else if (n < 0xFFFFFFFF) {
        *this << BYTE(0xFF) << WORD(0xFFFF) << DWORD(n);
    } else {
        *this << BYTE(0xFF) << WORD(0xFFFF) << DWORD(0xFFFFFFFF) << uint64_t(n);
    }
    for (char16_t u : units)
        *this << WORD(u);
}

CString CArchive::ReadString() {
    bool unicode = false;
    ULONGLONG length;
    BYTE b;
    *this >> b;
    if (b < 0xFF) {
        length = b;
    } else {
        WORD w;
        *this >> w;
        if (w == 0xFFFE) {
            unicode = true;
            *this >> b;
            if (b < 0xFF) {
                length = b;
                goto haveLength;
            }
            *this >> w;
        }
        if (w < 0xFFFF) {
            length = w;
        } else {
            DWORD d;
            *this >> d;
            if (d < 0xFFFFFFFF) {
                length = d;
            } else {
                uint64_t q;
                *this >> q;
                length = q;
            }
        }
    }
haveLength:
    if (length > (ULONGLONG(1) << 40))
        Fail(CArchiveException::endOfFile);
    RequireRemaining(length * (unicode ? 2 : 1));
    std::wstring out;
    out.reserve(size_t(length));
    if (!unicode) {
        // Single-byte text: each byte is one character.
        for (ULONGLONG i = 0; i < length; ++i) {
            *this >> b;
            out += wchar_t(b);
        }
        return CString(std::move(out));
    }
    WORD pending = 0;
    for (ULONGLONG i = 0; i < length; ++i) {
        WORD u;
        *this >> u;
        if (pending) {
            if (u >= 0xDC00 && u <= 0xDFFF) {
                out += wchar_t(0x10000 + ((char32_t(pending) - 0xD800) << 10) + (u - 0xDC00));
                pending = 0;
                continue;
            }
            out += wchar_t(0xFFFD);
            pending = 0;
        }
        if (u >= 0xD800 && u <= 0xDBFF)
            pending = u;
        else if (u >= 0xDC00 && u <= 0xDFFF)
            out += wchar_t(0xFFFD);
        else
            out += wchar_t(u);
    }
    if (pending)
        out += wchar_t(0xFFFD);
    return CString(std::move(out));
}

void CArchive::EnterObject() {
    if (++m_depth > kMaxObjectDepth) {
        --m_depth;
        Fail(CArchiveException::badIndex);
    }
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
    auto it = m_storeMap.find(cls);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < wBigObjectTag) {
            *this << WORD(wClassTag | index);
        } else {
            *this << wBigObjectTag << DWORD(dwBigClassTag | index);
        }
        return;
    }
    size_t nameLength = std::strlen(cls->m_lpszClassName);
    *this << wNewClassTag << WORD(cls->m_wSchema) << WORD(nameLength);
    Write(cls->m_lpszClassName, UINT(nameLength));
    m_storeMap[cls] = m_mapCount++;
}

bool CArchive::WriteObjectHeader(const CObject* obj) {
    if (IsLoading())
        Fail(CArchiveException::readOnly);
    if (!obj) {
        *this << wNullTag;
        return false;
    }
    auto it = m_storeMap.find(obj);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < wBigObjectTag) {
            *this << WORD(index);
        } else {
            *this << wBigObjectTag << DWORD(index);
        }
        return false;
    }
    const CRuntimeClass* cls = obj->GetRuntimeClass();
    if (!cls->IsSerializable())
        Fail(CArchiveException::badClass);
    WriteClass(cls);
    m_storeMap[obj] = m_mapCount++;
    return true;
}

void CArchive::WriteObject(const CObject* obj) {
    if (!WriteObjectHeader(obj))
        return;
    EnterObject();
    try {
        const_cast<CObject*>(obj)->Serialize(*this);
    } catch (...) {
        LeaveObject();
        throw;
    }
    LeaveObject();
}

CObject* CArchive::ReadObjectHeader(const CRuntimeClass* requested, bool* backReference) {
    if (backReference)
        *backReference = false;
    if (IsStoring())
        Fail(CArchiveException::writeOnly);
    WORD tag;
    *this >> tag;
    DWORD obTag;
    if (tag == wBigObjectTag) {
        *this >> obTag;
    } else {
        obTag = (DWORD(tag & wClassTag) << 16) | (tag & ~wClassTag);
    }

    CRuntimeClass* cls = nullptr;
    if (tag == wNewClassTag) {
        WORD schema, nameLength;
        *this >> schema >> nameLength;
        if (nameLength == 0 || nameLength > kMaxClassNameLength)
            Fail(CArchiveException::badClass);
        char name[kMaxClassNameLength + 1];
        ReadExact(name, nameLength);
        name[nameLength] = 0;
        cls = CRuntimeClass::FromName(name);
        if (!cls || !cls->IsSerializable() || !cls->m_pfnCreateObject)
            Fail(CArchiveException::badClass);
        if (schema != cls->m_wSchema)
            Fail(CArchiveException::badSchema);
        m_loadArray.push_back({cls, nullptr, false});
    } else if (obTag & dwBigClassTag) {
        DWORD index = obTag & ~dwBigClassTag;
        if (index == 0 || index > m_loadArray.size() || m_loadArray[index - 1].isObject)
            Fail(CArchiveException::badIndex);
        cls = m_loadArray[index - 1].cls;
    } else if (obTag == 0) {
        return nullptr;
    } else {
        // A reference to an object read before: only where the reader does not take ownership,
        // and only to an object that is still alive.
        if (!backReference || obTag > m_loadArray.size())
            Fail(CArchiveException::badIndex);
        const LoadEntry& entry = m_loadArray[obTag - 1];
        if (!entry.isObject || !entry.obj)
            Fail(CArchiveException::badIndex);
        if (requested && !entry.cls->IsDerivedFrom(requested))
            Fail(CArchiveException::badClass);
        *backReference = true;
        return entry.obj;
    }

    if (requested && !cls->IsDerivedFrom(requested))
        Fail(CArchiveException::badClass);
    CObject* obj = cls->CreateObject();
    if (!obj)
        Fail(CArchiveException::badClass);
    m_loadedIndex[obj] = m_loadArray.size();
    m_loadArray.push_back({cls, obj, true});
    m_schema = cls->m_wSchema;
    return obj;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    return ReadObjectBody(ReadObjectHeader(requested, nullptr));
}

CObject* CArchive::ReadObjectReference(const CRuntimeClass* requested, bool* created) {
    bool backReference;
    CObject* obj = ReadObjectHeader(requested, &backReference);
    if (created)
        *created = obj && !backReference;
    return backReference ? obj : ReadObjectBody(obj);
}

CObject* CArchive::ReadObjectBody(CObject* obj) {
    if (!obj)
        return nullptr;
    try {
        EnterObject();
    } catch (...) {
        obj->DeleteAfterFailedLoad();
        throw;
    }
    try {
        obj->Serialize(*this);
    } catch (...) {
        LeaveObject();
        obj->DeleteAfterFailedLoad();
        throw;
    }
    LeaveObject();
    m_schema = 0xFFFFFFFF;
    return obj;
}

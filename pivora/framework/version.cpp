#include "pivora/framework/version.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/system/module.h"
#include "platform/system/version_info.h"

#include <vector>

IMPLEMENT_SERIAL(CVersion, CObject, 0)

namespace {

constexpr DWORD kRecordVersion = 1;

// A part of a version text: digits only (an empty part is 0) that fit 16 bits.
bool ParsePart(const CString& text, WORD& value) {
    uint32_t n = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        wchar_t c = text.GetAt(i);
        if (c < L'0' || c > L'9')
            return false;
        n = n * 10 + uint32_t(c - L'0');
        if (n > 0xFFFF)
            return false;
    }
    value = WORD(n);
    return true;
}

eVersion Order(WORD left, WORD right) {
    return left < right ? eVersionOlder : left > right ? eVersionNewer : eVersionEqual;
}

} // namespace

CVersion& CVersion::operator=(const CVersion& other) {
    m_major = other.m_major;
    m_minor = other.m_minor;
    m_build = other.m_build;
    m_revision = other.m_revision;
    m_depth = other.m_depth;
    m_fileName = other.m_fileName;
    return *this;
}

void CVersion::Reset() {
    m_major = m_minor = m_build = m_revision = 0;
    m_depth = 4;
    m_fileName.Empty();
}

void CVersion::WritePayload(CArchive& ar) const {
    ar << m_depth << m_major << m_minor << m_build << m_revision << m_fileName;
}

void CVersion::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        // The payload is written once aside to learn its length.
        CMemFile mem(1024);
        {
            CArchive sizing(&mem, CArchive::store, 4096);
            WritePayload(sizing);
            sizing.Close();
        }
        ar << kRecordVersion << ULONGLONG(mem.GetLength());
        WritePayload(ar);
        return;
    }
    DWORD recordVersion = 0;
    ULONGLONG length = 0;
    ar >> recordVersion >> length;
    ar.RequireRemaining(length);
    ULONGLONG start = ar.GetPosition();
    if (recordVersion <= 1) {
        CVersion read;
        ar >> read.m_depth >> read.m_major >> read.m_minor >> read.m_build >> read.m_revision >>
            read.m_fileName;
        // The fields must lie inside the payload the record claims.
        ULONGLONG used = ar.GetPosition() - start;
        if (used > length)
            AfxThrowArchiveException(CArchiveException::genericException);
        *this = read;
        ar.Skip(length - used);
    } else {
        ar.Skip(length);
    }
}

int CVersion::GetAppVersion(const wchar_t* file, CVersion& out) {
    WORD parts[4];
    CString path = file ? CString(file) : platform::ProgramFilePath();
    if (!GetAppVersion(path, &parts[0], &parts[1], &parts[2], &parts[3]))
        return 0;
    out.m_major = parts[0];
    out.m_minor = parts[1];
    out.m_build = parts[2];
    out.m_revision = parts[3];
    out.m_fileName = path;
    return 1;
}

int CVersion::GetAppVersion(const wchar_t* file, WORD* major, WORD* minor, WORD* build,
                            WORD* revision) {
    // The program's path is taken whole: a fixed buffer would cut long Linux paths.
    CString path = file ? CString(file) : platform::ProgramFilePath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return 0;
    std::vector<BYTE> block(size);
    void* value = nullptr;
    UINT bytes = 0;
    if (!GetFileVersionInfoW(path, handle, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", &value, &bytes) || bytes < sizeof(VS_FIXEDFILEINFO))
        return 0;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (major)
        *major = HIWORD(info->dwFileVersionMS);
    if (minor)
        *minor = LOWORD(info->dwFileVersionMS);
    if (build)
        *build = HIWORD(info->dwFileVersionLS);
    if (revision)
        *revision = LOWORD(info->dwFileVersionLS);
    return 1;
}

CString CVersion::GetVersion(const CVersion& v) {
    switch (v.m_depth) {
    case 1:
        return FormatString(L"%d", v.m_major);
    case 2:
        return FormatString(L"%d.%d", v.m_major, v.m_minor);
    case 3:
        return FormatString(L"%d.%d.%d", v.m_major, v.m_minor, v.m_build);
    case 4:
        return FormatString(L"%d.%d.%d.%d", v.m_major, v.m_minor, v.m_build, v.m_revision);
    default:
        return CString();
    }
}

eVersion CVersion::SetVersion(const CString& text, CVersion& v) {
    if (text.IsEmpty())
        return eVersionNotComparable;
    CString rest = text;
    WORD* parts[3] = {&v.m_major, &v.m_minor, &v.m_build};
    for (int i = 0; i < 3; ++i) {
        int dot = rest.Find(L'.');
        CString part = dot < 0 ? CString() : rest.Left(dot);
        if (!ParsePart(part, *parts[i]))
            return eVersionNotComparable;
        if (dot >= 0)
            rest = rest.Mid(dot + 1);
        if (v.m_depth == i + 1)
            return eVersionSet;
    }
    return ParsePart(rest, v.m_revision) ? eVersionSet : eVersionNotComparable;
}

eVersion CVersion::SetVersion(const CVersion& v, int* array) {
    array[0] = v.m_depth;
    if (v.m_depth >= 1)
        array[1] = v.m_revision;
    if (v.m_depth >= 2)
        array[2] = v.m_build;
    if (v.m_depth >= 3)
        array[3] = v.m_minor;
    if (v.m_depth >= 4)
        array[4] = v.m_major;
    return eVersionSet;
}

eVersion CVersion::SetVersion(const int* array, CVersion& v) {
    v.Reset();
    v.m_depth = BYTE(array[0] & 0xFF);
    int depth = v.m_depth == 255 ? 0 : v.m_depth;
    if (depth >= 1)
        v.m_revision = WORD(array[1]);
    if (depth >= 2)
        v.m_build = WORD(array[2]);
    if (depth >= 3)
        v.m_minor = WORD(array[3]);
    if (depth >= 4)
        v.m_major = WORD(array[4]);
    return eVersionSet;
}

eVersion CVersion::CompareAppVersion(const CVersion& left, const CVersion& right, UINT depth) {
    if (eVersion r = Order(left.m_major, right.m_major); r != eVersionEqual)
        return r;
    if (left.m_depth == 1 || depth == 1)
        return eVersionEqual;
    if (eVersion r = Order(left.m_minor, right.m_minor); r != eVersionEqual)
        return r;
    if (left.m_depth == 2 || depth == 2)
        return eVersionEqual;
    if (eVersion r = Order(left.m_build, right.m_build); r != eVersionEqual)
        return r;
    if (left.m_depth == 3 || depth == 3)
        return eVersionEqual;
    return Order(left.m_revision, right.m_revision);
}

eVersion CVersion::CompareAppVersion(const CVersion& left, const CString& right, UINT depth) {
    CVersion r;
    if (SetVersion(right, r) != eVersionSet)
        return eVersionNotComparable;
    return CompareAppVersion(left, r, depth);
}

eVersion CVersion::CompareAppVersion(const CString& left, const CVersion& right, UINT depth) {
    CVersion l;
    if (SetVersion(left, l) != eVersionSet)
        return eVersionNotComparable;
    return CompareAppVersion(l, right, depth);
}

eVersion CVersion::CompareAppVersion(const CString& left, WORD major, WORD minor, WORD build,
                                     WORD revision, UINT depth) {
    CVersion right;
    right.m_major = major;
    right.m_minor = minor;
    right.m_build = build;
    right.m_revision = revision;
    return CompareAppVersion(left, right, depth);
}

eVersion CVersion::CompareAppVersion(const CArray<CVersion, CVersion&>& versions,
                                     const CVersion* right, UINT depth) {
    CVersion program;
    if (!right) {
        if (!GetAppVersion(nullptr, program))
            return eVersionNotComparable;
        right = &program;
    }
    for (INT_PTR i = 0; i < versions.GetSize(); ++i)
        if (versions[i].m_fileName == right->m_fileName)
            return CompareAppVersion(versions[i], *right, depth);
    return eVersionNotComparable;
}

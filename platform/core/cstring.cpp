#include "platform/core/cstring.h"

#include "platform/core/exceptions.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

bool InSet(wchar_t ch, const wchar_t* set) {
    return set && ch && std::wcschr(set, ch) != nullptr;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Rewrites a format with the wide rules (%s = wide) into glibc's (%s = narrow, %ls = wide).
std::wstring ToGlibcFormat(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%')
            continue;
        ++p;
        if (*p == L'%') {
            out += L'%';
            continue;
        }
        // flags, width, precision
        while (*p && std::wcschr(L"-+ #0123456789.*'", *p))
            out += *p++;
        // length modifier
        bool explicitWidth = false;
        if (*p == L'l' || *p == L'h' || *p == L'L' || *p == L'z' || *p == L'j' || *p == L't' ||
            *p == L'q') {
            if (*p == L'h' && (p[1] == L's' || p[1] == L'S' || p[1] == L'c' || p[1] == L'C')) {
                // %hs: narrow string
                ++p;
                out += (*p == L's' || *p == L'S') ? L's' : L'c';
                continue;
            }
            if (*p == L'l' && (p[1] == L's' || p[1] == L'c'))
                explicitWidth = true;
            while (*p && std::wcschr(L"lhLzjtq", *p))
                out += *p++;
        } else if (*p == L'I') {
            // I64 / I32 size prefixes
            if (p[1] == L'6' && p[2] == L'4') {
                out += L"ll";
                p += 3;
            } else if (p[1] == L'3' && p[2] == L'2') {
                p += 3;
            } else {
                out += L"z";
                ++p;
            }
        }
        if (!*p)
            break;
        if (explicitWidth) {
            out += *p;
        } else if (*p == L's' || *p == L'c') {
            out += L'l';
            out += *p;
        } else if (*p == L'S') {
            out += L's';
        } else if (*p == L'C') {
            out += L'c';
        } else {
            out += *p;
        }
    }
    return out;
}

} // namespace

CString::CString(const char* utf8) : m_s(FromUtf8(utf8 ? utf8 : "").m_s) {}
CString::CString(const std::string& utf8) : m_s(FromUtf8(utf8).m_s) {}

wchar_t CString::GetAt(int i) const {
    if (i < 0 || i >= GetLength())
        AfxThrowInvalidArgException();
    return m_s[size_t(i)];
}

void CString::SetAt(int i, wchar_t ch) {
    if (i < 0 || i >= GetLength())
        AfxThrowInvalidArgException();
    m_s[size_t(i)] = ch;
}

int CString::Compare(const wchar_t* s) const {
    int r = std::wcscmp(m_s.c_str(), s ? s : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* s) const {
    const wchar_t* a = m_s.c_str();
    const wchar_t* b = s ? s : L"";
    for (;; ++a, ++b) {
        wint_t ca = std::towlower(wint_t(*a));
        wint_t cb = std::towlower(wint_t(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (!ca)
            return 0;
    }
}

CString CString::Left(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(0, size_t(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(size_t(GetLength() - count)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_s.substr(size_t(first), size_t(count)));
}

CString CString::SpanIncluding(const wchar_t* set) const {
    size_t n = 0;
    while (n < m_s.size() && InSet(m_s[n], set))
        ++n;
    return CString(m_s.substr(0, n));
}

CString CString::SpanExcluding(const wchar_t* set) const {
    size_t n = 0;
    while (n < m_s.size() && !InSet(m_s[n], set))
        ++n;
    return CString(m_s.substr(0, n));
}

CString CString::Tokenize(const wchar_t* delimiters, int& start) const {
    if (start < 0)
        return CString();
    size_t i = size_t(start);
    while (i < m_s.size() && InSet(m_s[i], delimiters))
        ++i;
    if (i >= m_s.size()) {
        start = -1;
        return CString();
    }
    size_t j = i;
    while (j < m_s.size() && !InSet(m_s[j], delimiters))
        ++j;
    start = int(j < m_s.size() ? j + 1 : j);
    return CString(m_s.substr(i, j - i));
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    size_t r = m_s.find(ch, size_t(start));
    return r == std::wstring::npos ? -1 : int(r);
}

int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength())
        return -1;
    size_t r = m_s.find(sub, size_t(start));
    return r == std::wstring::npos ? -1 : int(r);
}

int CString::ReverseFind(wchar_t ch) const {
    size_t r = m_s.rfind(ch);
    return r == std::wstring::npos ? -1 : int(r);
}

int CString::FindOneOf(const wchar_t* set) const {
    for (size_t i = 0; i < m_s.size(); ++i)
        if (InSet(m_s[i], set))
            return int(i);
    return -1;
}

CString& CString::MakeUpper() {
    for (auto& c : m_s)
        c = wchar_t(std::towupper(wint_t(c)));
    return *this;
}

CString& CString::MakeLower() {
    for (auto& c : m_s)
        c = wchar_t(std::towlower(wint_t(c)));
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::Trim(wchar_t ch) {
    return TrimRight(ch).TrimLeft(ch);
}
CString& CString::Trim(const wchar_t* set) {
    return TrimRight(set).TrimLeft(set);
}

CString& CString::TrimLeft() {
    size_t n = 0;
    while (n < m_s.size() && std::iswspace(wint_t(m_s[n])))
        ++n;
    m_s.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(wchar_t ch) {
    size_t n = 0;
    while (n < m_s.size() && m_s[n] == ch)
        ++n;
    m_s.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(const wchar_t* set) {
    size_t n = 0;
    while (n < m_s.size() && InSet(m_s[n], set))
        ++n;
    m_s.erase(0, n);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_s.empty() && std::iswspace(wint_t(m_s.back())))
        m_s.pop_back();
    return *this;
}

CString& CString::TrimRight(wchar_t ch) {
    while (!m_s.empty() && m_s.back() == ch)
        m_s.pop_back();
    return *this;
}

CString& CString::TrimRight(const wchar_t* set) {
    while (!m_s.empty() && InSet(m_s.back(), set))
        m_s.pop_back();
    return *this;
}

int CString::Replace(wchar_t from, wchar_t to) {
    int n = 0;
    for (auto& c : m_s)
        if (c == from) {
            c = to;
            ++n;
        }
    return n;
}

int CString::Replace(const wchar_t* from, const wchar_t* to) {
    if (!from || !*from)
        return 0;
    std::wstring f(from), t(to ? to : L"");
    int n = 0;
    size_t pos = 0;
    while ((pos = m_s.find(f, pos)) != std::wstring::npos) {
        m_s.replace(pos, f.size(), t);
        pos += t.size();
        ++n;
    }
    return n;
}

int CString::Remove(wchar_t ch) {
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return int(before - m_s.size());
}

int CString::Insert(int index, wchar_t ch) {
    index = std::clamp(index, 0, GetLength());
    m_s.insert(size_t(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* s) {
    index = std::clamp(index, 0, GetLength());
    if (s)
        m_s.insert(size_t(index), s);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index < 0)
        index = 0;
    if (count > 0 && index < GetLength())
        m_s.erase(size_t(index), size_t(std::min(count, GetLength() - index)));
    return GetLength();
}

void CString::Truncate(int length) {
    if (length < 0 || length > GetLength())
        AfxThrowInvalidArgException();
    m_s.resize(size_t(length));
}

void CString::FormatV(const wchar_t* format, va_list args) {
    if (!format) {
        m_s.clear();
        return;
    }
    std::wstring fmt = ToGlibcFormat(format);
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int n = std::vswprintf(buf.data(), buf.size(), fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0 && size_t(n) < buf.size()) {
            m_s.assign(buf.data(), size_t(n));
            return;
        }
        // vswprintf gives no needed size; it also fails on unconvertible narrow text.
        if (buf.size() >= (size_t(1) << 24)) {
            m_s.clear();
            return;
        }
        buf.resize(buf.size() * 4);
    }
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_s += tail.m_s;
}

CString FormatString(const wchar_t* format, ...) {
    CString s;
    va_list args;
    va_start(args, format);
    s.FormatV(format, args);
    va_end(args);
    return s;
}

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_s.resize(size_t(minLength));
    return m_s.data();
}

wchar_t* CString::GetBufferSetLength(int length) {
    m_s.resize(size_t(std::max(length, 0)));
    return m_s.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        size_t n = std::wcslen(m_s.c_str());
        m_s.resize(n);
    } else {
        m_s.resize(std::min(size_t(newLength), m_s.size()));
    }
}

std::string CString::ToUtf8() const {
    std::string out;
    out.reserve(m_s.size());
    for (wchar_t c : m_s)
        AppendUtf8(out, char32_t(c));
    return out;
}

std::string ToUtf8(const wchar_t* s) {
    std::string out;
    for (; s && *s; ++s)
        AppendUtf8(out, char32_t(*s));
    return out;
}

CString CString::FromUtf8(std::string_view in) {
    std::wstring out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        char32_t cp;
        size_t extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        bool ok = true;
        for (size_t k = 1; k <= extra; ++k) {
            if (i + k >= in.size() || (static_cast<unsigned char>(in[i + k]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(in[i + k]) & 0x3F);
        }
        if (!ok) {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        out += wchar_t(cp);
        i += extra + 1;
    }
    return CString(std::move(out));
}

// CString: a wide string (wchar_t is 32-bit here). UTF-16 exists only at file-format
// boundaries (archives), UTF-8 only at the operating system and display boundaries.
#pragma once

#include "platform/core/types.h"

#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const wchar_t* s) : m_s(s ? s : L"") {}
    CString(const wchar_t* s, int length)
        : m_s(s ? std::wstring(s, s + (length > 0 ? length : 0)) : std::wstring()) {}
    CString(wchar_t ch, int repeat = 1) : m_s(repeat > 0 ? size_t(repeat) : 0, ch) {}
    CString(const std::wstring& s) : m_s(s) {}
    CString(std::wstring&& s) : m_s(std::move(s)) {}
    // Narrow text is taken as UTF-8.
    explicit CString(const char* utf8);
    explicit CString(const std::string& utf8);

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* s) {
        m_s = s ? s : L"";
        return *this;
    }
    CString& operator=(wchar_t ch) {
        m_s.assign(1, ch);
        return *this;
    }

    int GetLength() const { return int(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    wchar_t GetAt(int i) const;
    void SetAt(int i, wchar_t ch);
    wchar_t operator[](int i) const { return GetAt(i); }
    operator const wchar_t*() const { return m_s.c_str(); }
    const wchar_t* GetString() const { return m_s.c_str(); }
    const std::wstring& str() const { return m_s; }

    CString& operator+=(const CString& s) {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(const wchar_t* s) {
        if (s)
            m_s += s;
        return *this;
    }
    CString& operator+=(wchar_t ch) {
        m_s += ch;
        return *this;
    }
    void Append(const wchar_t* s) { *this += s; }
    void AppendChar(wchar_t ch) { m_s += ch; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const wchar_t* b) {
        return CString(a.m_s + (b ? b : L""));
    }
    friend CString operator+(const wchar_t* a, const CString& b) {
        return CString((a ? a : L"") + b.m_s);
    }
    friend CString operator+(const CString& a, wchar_t b) { return CString(a.m_s + b); }
    friend CString operator+(wchar_t a, const CString& b) { return CString(a + b.m_s); }

    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_s == (b ? b : L""); }
    friend bool operator==(const wchar_t* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CString& b) { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }
    friend bool operator>(const CString& a, const CString& b) { return a.m_s > b.m_s; }
    friend bool operator<=(const CString& a, const CString& b) { return a.m_s <= b.m_s; }
    friend bool operator>=(const CString& a, const CString& b) { return a.m_s >= b.m_s; }

    // <0, 0, >0 like wcscmp; the no-case form folds by the simple case mapping.
    int Compare(const wchar_t* s) const;
    int CompareNoCase(const wchar_t* s) const;
    int Collate(const wchar_t* s) const { return Compare(s); }
    int CollateNoCase(const wchar_t* s) const { return CompareNoCase(s); }

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const wchar_t* set) const;
    CString SpanExcluding(const wchar_t* set) const;
    // Next token after position `start` (advanced past the delimiter); empty and start = -1 at the
    // end.
    CString Tokenize(const wchar_t* delimiters, int& start) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* set) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(const wchar_t* set);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(const wchar_t* set);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(const wchar_t* set);
    int Replace(wchar_t from, wchar_t to);
    int Replace(const wchar_t* from, const wchar_t* to);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* s);
    int Delete(int index, int count = 1);
    void Truncate(int length);

    // Wide format rules: %s and %c take wide arguments, %S and %C narrow ones, %ls / %hs explicit.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);

    // Direct buffer access: the buffer holds at least minLength characters plus a terminator;
    // ReleaseBuffer(-1) takes the length up to the first terminator.
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void Preallocate(int length) { m_s.reserve(length > 0 ? size_t(length) : 0); }

    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view utf8);

private:
    std::wstring m_s;
};

std::string ToUtf8(const wchar_t* s);
inline std::string ToUtf8(const CString& s) {
    return s.ToUtf8();
}

// printf-style wide formatting with the rules of CString::Format.
CString FormatString(const wchar_t* format, ...);

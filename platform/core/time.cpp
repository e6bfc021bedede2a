#include "platform/core/time.h"

#include "platform/core/exceptions.h"

#include <cerrno>
#include <cwchar>
#include <string>

namespace {

// Sums that leave 64 bits are refused rather than wrapped.
int64_t CheckedAdd(int64_t a, int64_t b) {
    int64_t sum;
    if (__builtin_add_overflow(a, b, &sum))
        AfxThrowInvalidArgException();
    return sum;
}

int64_t CheckedSub(int64_t a, int64_t b) {
    int64_t diff;
    if (__builtin_sub_overflow(a, b, &diff))
        AfxThrowInvalidArgException();
    return diff;
}

// Turns the "#" flag written for the other C library into this one's: "-" (no padding) for
// numbers, nothing for the rest.
std::wstring TranslateFormat(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%' || !p[1])
            continue;
        if (p[1] == L'#') {
            wchar_t code = p[2];
            if (code && std::wcschr(L"dHIjmMSUwWyY", code))
                out += L'-';
            ++p; // skip the flag
        }
        if (p[1]) {
            out += p[1];
            ++p;
        }
    }
    return out;
}

CString FormatTm(const struct tm* tm, const wchar_t* format) {
    if (!tm || !format || !*format)
        return CString();
    std::wstring fmt = TranslateFormat(format);
    // An empty result is legitimate (a lone "%p" in some locales), so stop growing at a bound.
    size_t limit = 4096 + fmt.size() * 64;
    for (size_t size = 256; size <= limit; size *= 2) {
        std::wstring buffer(size, L'\0');
        size_t n = std::wcsftime(buffer.data(), size, fmt.c_str(), tm);
        if (n > 0) {
            buffer.resize(n);
            return CString(std::move(buffer));
        }
    }
    return CString();
}

} // namespace

CTimeSpan CTimeSpan::operator+(CTimeSpan other) const {
    return CTimeSpan(CheckedAdd(m_span, other.m_span));
}

CTimeSpan CTimeSpan::operator-(CTimeSpan other) const {
    return CTimeSpan(CheckedSub(m_span, other.m_span));
}

CTime CTime::GetCurrentTime() {
    return CTime(int64_t(std::time(nullptr)));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 ||
        nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        AfxThrowInvalidArgException();
    struct tm tm = {};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMin;
    tm.tm_sec = nSec;
    tm.tm_isdst = nDST < 0 ? -1 : nDST > 0;
    errno = 0;
    time_t t = std::mktime(&tm);
    // -1 is also one second before 1970; only errno tells the two apart.
    if (t == time_t(-1) && errno != 0)
        AfxThrowInvalidArgException();
    m_time = int64_t(t);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
    if (!ptm)
        return nullptr;
    time_t t = time_t(m_time);
    return localtime_r(&t, ptm);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const {
    if (!ptm)
        return nullptr;
    time_t t = time_t(m_time);
    return gmtime_r(&t, ptm);
}

struct tm CTime::LocalTm() const {
    struct tm tm;
    if (!GetLocalTm(&tm))
        AfxThrowInvalidArgException();
    return tm;
}

CString CTime::Format(const wchar_t* pFormat) const {
    struct tm tm;
    return FormatTm(GetLocalTm(&tm), pFormat);
}

CString CTime::FormatGmt(const wchar_t* pFormat) const {
    struct tm tm;
    return FormatTm(GetGmtTm(&tm), pFormat);
}

CTimeSpan CTime::operator-(CTime other) const {
    return CTimeSpan(CheckedSub(m_time, other.m_time));
}

CTime CTime::operator+(CTimeSpan span) const {
    return CTime(CheckedAdd(m_time, span.GetTimeSpan()));
}

CTime CTime::operator-(CTimeSpan span) const {
    return CTime(CheckedSub(m_time, span.GetTimeSpan()));
}

// CTime: a moment as a 64-bit count of seconds since 1970-01-01 00:00 UTC, broken down in local
// time unless a name says GMT. CTimeSpan: a signed length of time in seconds.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"

#include <compare>
#include <cstdint>
#include <ctime>

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(int64_t seconds) : m_span(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_span(((int64_t(days) * 24 + hours) * 60 + minutes) * 60 + seconds) {}

    int64_t GetTimeSpan() const { return m_span; }
    LONGLONG GetDays() const { return m_span / 86400; }
    LONGLONG GetTotalHours() const { return m_span / 3600; }
    LONGLONG GetTotalMinutes() const { return m_span / 60; }
    LONGLONG GetTotalSeconds() const { return m_span; }
    // The parts below a day; negative for a negative span.
    LONG GetHours() const { return LONG(GetTotalHours() - GetDays() * 24); }
    LONG GetMinutes() const { return LONG(GetTotalMinutes() - GetTotalHours() * 60); }
    LONG GetSeconds() const { return LONG(m_span - GetTotalMinutes() * 60); }

    CTimeSpan operator+(CTimeSpan other) const;
    CTimeSpan operator-(CTimeSpan other) const;
    CTimeSpan& operator+=(CTimeSpan other) { return *this = *this + other; }
    CTimeSpan& operator-=(CTimeSpan other) { return *this = *this - other; }
    CTimeSpan operator-() const { return CTimeSpan() - *this; }
    auto operator<=>(const CTimeSpan&) const = default;

private:
    int64_t m_span = 0;
};

class CTime {
public:
    // The wall clock, to the second.
    static CTime GetCurrentTime();

    CTime() = default;
    CTime(int64_t time) : m_time(time) {}
    // Local time; nDST < 0 lets the time zone decide whether summer time applies. Fields out
    // of range (month 13, hour 24 ...) raise CInvalidArgException; a day past the month's end
    // rolls into the next month.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    int64_t GetTime() const { return m_time; }
    // Null when the value cannot be broken down (far outside any calendar year).
    struct tm* GetLocalTm(struct tm* ptm) const;
    struct tm* GetGmtTm(struct tm* ptm) const;

    // Local time. A value that cannot be broken down raises CInvalidArgException.
    int GetYear() const { return LocalTm().tm_year + 1900; }
    int GetMonth() const { return LocalTm().tm_mon + 1; }
    int GetDay() const { return LocalTm().tm_mday; }
    int GetHour() const { return LocalTm().tm_hour; }
    int GetMinute() const { return LocalTm().tm_min; }
    int GetSecond() const { return LocalTm().tm_sec; }
    // 1 for Sunday to 7 for Saturday.
    int GetDayOfWeek() const { return LocalTm().tm_wday + 1; }

    // strftime codes in the current locale; "%#" drops leading zeros of numbers ("%#d" is 1 to
    // 31). Empty when the value cannot be broken down.
    CString Format(const wchar_t* pFormat) const;
    CString FormatGmt(const wchar_t* pFormat) const;

    CTimeSpan operator-(CTime other) const;
    CTime operator+(CTimeSpan span) const;
    CTime operator-(CTimeSpan span) const;
    CTime& operator+=(CTimeSpan span) { return *this = *this + span; }
    CTime& operator-=(CTimeSpan span) { return *this = *this - span; }
    auto operator<=>(const CTime&) const = default;

private:
    struct tm LocalTm() const;

    int64_t m_time = 0;
};

#include "platform/core/time.h"

#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace {

// Each test names its time zone, given as a rule so that no zone database is needed.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ"))
            m_old = old, m_had = true;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string m_old;
    bool m_had = false;
};

const char* const kUtc = "UTC0";
// Central Europe: one hour east, summer time from the last Sunday of March to that of October.
const char* const kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

const int64_t kMax = std::numeric_limits<int64_t>::max();
const int64_t kMin = std::numeric_limits<int64_t>::min();

} // namespace

TEST(CTimeTest, DefaultsToTheEpochAndKeepsAllSixtyFourBits) {
    EXPECT_EQ(CTime().GetTime(), 0);
    EXPECT_EQ(CTime(int64_t(1) << 40).GetTime(), int64_t(1) << 40);
    EXPECT_EQ(CTime(-5).GetTime(), -5);
}

TEST(CTimeTest, BuildsFromLocalFieldsAndBreaksDownAgain) {
    struct Case {
        const char* tz;
        int year, month, day, hour, minute, second;
        int64_t value;
        int dayOfWeek; // 1 = Sunday
    };
    const Case cases[] = {
        {kUtc, 1970, 1, 1, 0, 0, 0, 0, 5},
        {kUtc, 2000, 2, 29, 12, 34, 56, 951827696, 3},
        {kUtc, 2038, 1, 19, 3, 14, 8, 2147483648LL, 3},         // past 32 signed bits
        {kUtc, 2106, 2, 7, 6, 28, 16, 4294967296LL, 1},         // past 32 unsigned bits
        {kUtc, 1969, 12, 31, 23, 59, 59, -1, 4},                // not taken for mktime's failure
        {kCentralEurope, 2026, 1, 15, 12, 0, 0, 1768474800, 5}, // winter: UTC+1
        {kCentralEurope, 2026, 7, 15, 12, 0, 0, 1784109600, 4}, // summer: UTC+2
    };
    for (const Case& c : cases) {
        ScopedTimeZone zone(c.tz);
        CTime t(c.year, c.month, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(t.GetTime(), c.value) << c.tz << " " << c.year << "-" << c.month;
        CTime back(c.value);
        EXPECT_EQ(back.GetYear(), c.year);
        EXPECT_EQ(back.GetMonth(), c.month);
        EXPECT_EQ(back.GetDay(), c.day);
        EXPECT_EQ(back.GetHour(), c.hour);
        EXPECT_EQ(back.GetMinute(), c.minute);
        EXPECT_EQ(back.GetSecond(), c.second);
        EXPECT_EQ(back.GetDayOfWeek(), c.dayOfWeek);
    }
}

TEST(CTimeTest, FieldsOutOfRangeRaiseInvalidArg) {
    ScopedTimeZone zone(kUtc);
    struct Case {
        int year, month, day, hour, minute, second;
    };
    const Case bad[] = {
        {1899, 12, 31, 0, 0, 0}, {2000, 0, 1, 0, 0, 0},  {2000, 13, 1, 0, 0, 0},
        {2000, 1, 0, 0, 0, 0},   {2000, 1, 32, 0, 0, 0}, {2000, 1, 1, 24, 0, 0},
        {2000, 1, 1, -1, 0, 0},  {2000, 1, 1, 0, 60, 0}, {2000, 1, 1, 0, 0, 60},
    };
    for (const Case& c : bad)
        EXPECT_THROW(CTime(c.year, c.month, c.day, c.hour, c.minute, c.second),
                     CInvalidArgException)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
            << c.second;
    // A day past the month's end rolls over, as the C library's normalisation does.
    EXPECT_EQ(CTime(2001, 2, 31, 0, 0, 0), CTime(2001, 3, 3, 0, 0, 0));
}

TEST(CTimeTest, FormatsWithStrftimeCodes) {
    ScopedTimeZone zone(kCentralEurope);
    CTime t(951827696); // 2000-02-29 12:34:56 UTC, 13:34:56 in Central Europe
    EXPECT_EQ(t.Format(L"%a %d %b %Y %X "), CString(L"Tue 29 Feb 2000 13:34:56 "));
    EXPECT_EQ(t.FormatGmt(L"%a %d %b %Y %X "), CString(L"Tue 29 Feb 2000 12:34:56 "));
    EXPECT_EQ(t.Format(L"%Y-%m-%d %H:%M:%S %% %j"), CString(L"2000-02-29 13:34:56 % 060"));
    EXPECT_EQ(t.Format(L"text only"), CString(L"text only"));
    EXPECT_EQ(t.Format(L""), CString());
    EXPECT_EQ(t.Format(nullptr), CString());
    // A result far longer than any first guess of the buffer.
    std::wstring longFormat, expected;
    for (int i = 0; i < 500; ++i)
        longFormat += L"%Y", expected += L"2000";
    EXPECT_EQ(t.Format(longFormat.c_str()), CString(expected));
}

TEST(CTimeTest, HashFlagDropsLeadingZeros) {
    ScopedTimeZone zone(kUtc);
    CTime t(2001, 2, 3, 4, 5, 6);
    EXPECT_EQ(t.Format(L"%#d.%#m.%Y %#H:%#M:%#S"), CString(L"3.2.2001 4:5:6"));
    EXPECT_EQ(t.Format(L"%#j %#y %#b %#%"), CString(L"34 1 Feb %"));
    EXPECT_EQ(t.Format(L"%%#d"), CString(L"%#d")); // an escaped percent is not a flag
}

TEST(CTimeTest, ValuesThatCannotBeBrokenDownFormatEmpty) {
    ScopedTimeZone zone(kUtc);
    for (int64_t v : {kMax, kMin, kMax / 2, kMin / 2}) {
        CTime t(v);
        EXPECT_EQ(t.Format(L"%a %d %b %Y %X "), CString()) << v;
        EXPECT_EQ(t.FormatGmt(L"%Y"), CString()) << v;
        struct tm tm;
        EXPECT_EQ(t.GetLocalTm(&tm), nullptr) << v;
        EXPECT_EQ(t.GetGmtTm(&tm), nullptr) << v;
        EXPECT_THROW(t.GetYear(), CInvalidArgException) << v;
        EXPECT_THROW(t.GetDayOfWeek(), CInvalidArgException) << v;
    }
    EXPECT_EQ(CTime(0).GetLocalTm(nullptr), nullptr);
}

TEST(CTimeTest, CurrentTimeIsTheWallClock) {
    int64_t before = int64_t(std::time(nullptr));
    int64_t now = CTime::GetCurrentTime().GetTime();
    int64_t after = int64_t(std::time(nullptr));
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

TEST(CTimeTest, ArithmeticAndComparison) {
    CTime a(1000), b(1000 + 93784);
    CTimeSpan span = b - a;
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(a + span, b);
    EXPECT_EQ(b - span, a);
    CTime c = a;
    c += CTimeSpan(0, 0, 0, 10);
    c -= CTimeSpan(5);
    EXPECT_EQ(c.GetTime(), 1005);
    EXPECT_TRUE(a < b && b > a && a <= a && a >= a && a != b && a == CTime(1000));
    EXPECT_EQ((a - b).GetTotalSeconds(), -93784);
    // Leaving 64 bits is refused, not wrapped.
    EXPECT_THROW(CTime(kMax) + CTimeSpan(1), CInvalidArgException);
    EXPECT_THROW(CTime(kMin) - CTimeSpan(1), CInvalidArgException);
    EXPECT_THROW(CTime(kMax) - CTime(-1), CInvalidArgException);
    EXPECT_THROW(-CTimeSpan(kMin), CInvalidArgException);
}

TEST(CTimeSpanTest, SplitsIntoDaysHoursMinutesSeconds) {
    struct Case {
        int64_t seconds;
        LONGLONG days, totalHours, totalMinutes;
        LONG hours, minutes, secs;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0, 0},
        {93784, 1, 26, 1563, 2, 3, 4}, // 1 day 2:03:04
        {86399, 0, 23, 1439, 23, 59, 59},
        {-93784, -1, -26, -1563, -2, -3, -4},
    };
    for (const Case& c : cases) {
        CTimeSpan s(c.seconds);
        EXPECT_EQ(s.GetTimeSpan(), c.seconds);
        EXPECT_EQ(s.GetDays(), c.days) << c.seconds;
        EXPECT_EQ(s.GetTotalHours(), c.totalHours) << c.seconds;
        EXPECT_EQ(s.GetTotalMinutes(), c.totalMinutes) << c.seconds;
        EXPECT_EQ(s.GetHours(), c.hours) << c.seconds;
        EXPECT_EQ(s.GetMinutes(), c.minutes) << c.seconds;
        EXPECT_EQ(s.GetSeconds(), c.secs) << c.seconds;
    }
    EXPECT_EQ(CTimeSpan(1, 2, 3, 4), CTimeSpan(93784));
    EXPECT_EQ(CTimeSpan(3) + CTimeSpan(4), CTimeSpan(7));
    EXPECT_EQ(-CTimeSpan(3), CTimeSpan(-3));
    EXPECT_LT(CTimeSpan(-1), CTimeSpan(0));
}

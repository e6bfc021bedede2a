// COleDateTime: the class library's date-time, a day count as a double (days since
// 1899-12-30 00:00, the fraction the time of day, local time) with a status word.
//
// Archive form, 12 bytes: the status as a little-endian int32, then the date as an IEEE
// double, little-endian. A read status outside the known ones, or a date that is not a finite
// day of the years 100 to 9999, loads as an invalid zero date: such values only come from
// damaged files.
#pragma once

#include "platform/core/time.h"
#include "platform/core/types.h"

class CArchive;

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };
    // Day numbers of 100-01-01 and 9999-12-31.
    static constexpr double kMinDate = -657434.0;
    static constexpr double kMaxDate = 2958465.999999;
    // Day number of 1970-01-01.
    static constexpr double kUnixEpochDate = 25569.0;

    COleDateTime() = default;
    COleDateTime(double date) : m_dt(date) {}
    // The moment in local time, to the second.
    COleDateTime(const CTime& time);

    // The wall clock in local time.
    static COleDateTime GetCurrentTime();

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    bool operator==(const COleDateTime&) const = default;

    double m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

CArchive& operator<<(CArchive& ar, const COleDateTime& value);
CArchive& operator>>(CArchive& ar, COleDateTime& value);

#include "platform/core/ole_date_time.h"

#include "platform/core/archive.h"

#include <cmath>
#include <ctime>

COleDateTime::COleDateTime(const CTime& time) {
    struct tm local;
    if (!time.GetLocalTm(&local)) {
        m_status = invalid;
        return;
    }
    // Seconds of local wall time since the epoch: the zone's offset at that moment is added.
    const double seconds = double(time.GetTime()) + double(local.tm_gmtoff);
    m_dt = kUnixEpochDate + seconds / 86400.0;
    if (!(m_dt >= kMinDate && m_dt <= kMaxDate)) {
        m_dt = 0.0;
        m_status = invalid;
    }
}

COleDateTime COleDateTime::GetCurrentTime() {
    return COleDateTime(CTime::GetCurrentTime());
}

CArchive& operator<<(CArchive& ar, const COleDateTime& value) {
    return ar << int32_t(value.m_status) << value.m_dt;
}

CArchive& operator>>(CArchive& ar, COleDateTime& value) {
    int32_t status;
    double date;
    ar >> status >> date;
    const bool knownStatus = status >= COleDateTime::error && status <= COleDateTime::null;
    const bool dayInRange =
        std::isfinite(date) && date >= COleDateTime::kMinDate && date <= COleDateTime::kMaxDate;
    if (knownStatus && dayInRange) {
        value.m_status = COleDateTime::DateTimeStatus(status);
        value.m_dt = date;
    } else {
        value.m_status = COleDateTime::invalid;
        value.m_dt = 0.0;
    }
    return ar;
}

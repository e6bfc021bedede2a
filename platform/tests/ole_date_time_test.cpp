#include "platform/core/ole_date_time.h"

#include "platform/core/archive.h"
#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <vector>

namespace {

std::vector<BYTE> Store(const COleDateTime& value) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar << value;
    ar.Close();
    return file.Data();
}

COleDateTime Load(const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    COleDateTime value;
    ar >> value;
    return value;
}

std::vector<BYTE> Bytes(int32_t status, double date) {
    std::vector<BYTE> out(12);
    std::memcpy(out.data(), &status, 4);
    std::memcpy(out.data() + 4, &date, 8);
    return out;
}

} // namespace

TEST(COleDateTimeTest, StoresTheStatusThenTheDayNumber) {
    COleDateTime noon(36526.5); // 2000-01-01 12:00
    const std::vector<BYTE> golden = {
        0x00, 0x00, 0x00, 0x00,                         // status: valid
        0x00, 0x00, 0x00, 0x00, 0xD0, 0xD5, 0xE1, 0x40, // 36526.5
    };
    EXPECT_EQ(Store(noon), golden);
    EXPECT_EQ(Load(golden), noon);

    COleDateTime zero;
    zero.SetStatus(COleDateTime::null);
    const std::vector<BYTE> nullGolden = {0x02, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Store(zero), nullGolden);
    EXPECT_EQ(Load(nullGolden), zero);
}

TEST(COleDateTimeTest, GarbledValuesLoadAsAnInvalidZeroDate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        int32_t status;
        double date;
    } cases[] = {{7, 1.0}, {-2, 1.0}, {0, nan}, {0, inf}, {0, 3e6}, {1, -7e5}};
    for (const auto& c : cases) {
        COleDateTime v = Load(Bytes(c.status, c.date));
        EXPECT_EQ(v.GetStatus(), COleDateTime::invalid) << c.status << " " << c.date;
        EXPECT_EQ(v.m_dt, 0.0);
    }
}

TEST(COleDateTimeTest, AShortStreamIsAnArchiveError) {
    std::vector<BYTE> bytes = Bytes(0, 1.0);
    bytes.resize(7);
    EXPECT_THROW(Load(bytes), CArchiveException);
}

TEST(COleDateTimeTest, LocalTimesCountDaysFrom1899) {
    const char* old = std::getenv("TZ");
    std::string saved = old ? old : "";
    setenv("TZ", "CET-1", 1);
    tzset();
    // 2000-01-01 00:00 UTC is 01:00 one hour east.
    COleDateTime d(CTime(int64_t(946684800)));
    EXPECT_EQ(d.GetStatus(), COleDateTime::valid);
    EXPECT_NEAR(d.m_dt, 36526.0 + 1.0 / 24.0, 1e-9);
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

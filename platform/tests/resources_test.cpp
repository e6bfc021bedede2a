#include "platform/windowing/resources.h"

#include <gtest/gtest.h>

namespace {

TEST(Resources, StringTableLookups) {
    platform::RegisterStrings({{5001, L"Percent"}, {5002, L""}});
    wchar_t buf[5];
    EXPECT_EQ(LoadStringW(nullptr, 5001, buf, 5), 4);
    EXPECT_STREQ(buf, L"Perc");
    EXPECT_EQ(LoadStringW(nullptr, 5002, buf, 5), 0);
    EXPECT_EQ(LoadStringW(nullptr, 5999, buf, 5), 0);
    platform::RegisterStrings({{5001, L"Prozent"}}); // a language library replaces it
    std::wstring text;
    EXPECT_TRUE(platform::LoadResourceString(5001, text));
    EXPECT_EQ(text, L"Prozent");
    EXPECT_FALSE(platform::LoadResourceString(5999, text));
}

} // namespace

#include "platform/system/random.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

KELVANE_SETTINGS_SANDBOX();

TEST(Random, FifteenBitsAndRepeatableFromASeed) {
    platform::srand(1);
    int first[4];
    for (int& v : first)
        v = platform::rand();
    // The C standard's sample generator from seed 1.
    EXPECT_EQ(first[0], 16838);
    EXPECT_EQ(first[1], 5758);
    EXPECT_EQ(first[2], 10113);
    EXPECT_EQ(first[3], 17515);

    platform::srand(3456);
    int a = platform::rand();
    platform::srand(3456);
    EXPECT_EQ(platform::rand(), a);

    int lo = 32767, hi = 0;
    for (int i = 0; i < 200000; ++i) {
        int v = platform::rand();
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, platform::kRandMax);
    // A formula that divides by 32768 stays below one.
    EXPECT_LT(hi / 32768.0, 1.0);
}

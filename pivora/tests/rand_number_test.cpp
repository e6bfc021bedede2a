#include "pivora/framework/rand_number.h"
#include "platform/system/random.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

KELVANE_SETTINGS_SANDBOX();

TEST(RandNumber, StaysInsideItsRange) {
    get_rand_number(0, 1); // the first use seeds from the clock
    bool seen[255] = {};
    for (int i = 0; i < 20000; ++i) {
        int v = get_rand_number(0, 255);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 254);
        seen[v] = true;
    }
    EXPECT_TRUE(seen[0]);
    EXPECT_TRUE(seen[254]);
    EXPECT_EQ(get_rand_number(5, 5), 5);
    for (int i = 0; i < 1000; ++i) {
        int v = get_rand_number(1, 99);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 98);
    }
}

TEST(RandNumber, FollowsTheSeededGenerator) {
    get_rand_number(0, 1);
    platform::srand(1);
    // 16838 / 32768 of the way from 10 to 20.
    EXPECT_EQ(get_rand_number(10, 20), 15);
    platform::srand(1);
    EXPECT_EQ(get_rand_number(0, 32768), 16838);
}

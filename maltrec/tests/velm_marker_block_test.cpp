#include "maltrec/cutoutput/velm_marker_block.h"

#include <gtest/gtest.h>

TEST(VelmMarkerBlock, DataUnitsBecomeQuarterHundredthsRoundedHalfAwayFromZero) {
    struct Case {
        int32_t in, out;
    } const cases[] = {{250000, 10000},
                       {-12, 0},
                       {-13, -1},
                       {12, 0},
                       {13, 1},
                       {0, 0},
                       {99999999, 4000000},
                       {-99999999, -4000000},
                       {INT32_MAX, 85899346},
                       {INT32_MIN, -85899346}};
    for (const Case& c : cases)
        EXPECT_EQ(FnMarkerUnits(c.in), c.out) << c.in;
}

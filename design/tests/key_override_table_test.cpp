#include "design/tools/key_override_table.h"

#include <gtest/gtest.h>

static bool operator==(const ACCEL& a, const ACCEL& b) {
    return a.fVirt == b.fVirt && a.key == b.key && a.cmd == b.cmd;
}

namespace {

TEST(KeyOverrides, RowsReplaceRemoveAndAddKeys) {
    const std::vector<ACCEL> frame = {
        {FVIRTKEY | FSHIFT, VK_LEFT, 100},
        {FVIRTKEY | FCONTROL, 'C', 57634},
        {FVIRTKEY, VK_DELETE, 57632},
    };
    TKeyOverride rows[] = {
        {FVIRTKEY | FSHIFT, VK_LEFT, 43303, 0},   // replaces
        {FVIRTKEY, VK_DELETE, 0, 0},              // removes
        {FVIRTKEY | FSHIFT, VK_DIVIDE, 43305, 0}, // added: not in the frame's table
        {FVIRTKEY, 'Q', 0, 0},                    // neither there nor added
    };
    const std::vector<ACCEL> got = ApplyKeyOverrides(frame, rows, 4);
    const std::vector<ACCEL> want = {
        {FVIRTKEY | FSHIFT, VK_LEFT, 43303},
        {FVIRTKEY | FCONTROL, 'C', 57634},
        {FVIRTKEY | FSHIFT, VK_DIVIDE, 43305},
    };
    EXPECT_EQ(got, want);
    EXPECT_EQ(rows[0].matched, 1);
    EXPECT_EQ(rows[1].matched, 1);
    EXPECT_EQ(rows[2].matched, 0);
    EXPECT_EQ(rows[3].matched, 0);
}

TEST(KeyOverrides, FlagsMustMatchAsWellAsTheKey) {
    TKeyOverride rows[] = {{FVIRTKEY, VK_LEFT, 7, 0}};
    const std::vector<ACCEL> got = ApplyKeyOverrides({{FVIRTKEY | FSHIFT, VK_LEFT, 100}}, rows, 1);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].cmd, 100);
    EXPECT_EQ(got[1].cmd, 7);
}

TEST(KeyOverrides, NoRowsKeepTheFrameTable) {
    EXPECT_EQ(ApplyKeyOverrides({{FVIRTKEY, 'A', 1}}, nullptr, 3).size(), 1u);
}

} // namespace

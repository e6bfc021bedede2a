// The autosave interval and the names of restored recovery copies.
#include "kelvane/app/auto_save.h"

#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

namespace {

TEST(AutoSave, TheIntervalCountsNothingAsFiveMinutesAndStaysWithinADay) {
    const struct {
        int minutes;
        UINT ms;
    } cases[] = {
        {0, 300000},      {-7, 300000},     {1, 60000},         {5, 300000},
        {1440, 86400000}, {1441, 86400000}, {2000000, 86400000}}; // 2000000 * 60000 would overflow
    for (const auto& c : cases)
        EXPECT_EQ(kelvane::AutoSaveIntervalMs(c.minutes), c.ms) << c.minutes;
}

TEST(AutoSave, FindsRecoveryCopiesOfAnyCaseOnly) {
    SettingsSandbox box;
    const std::filesystem::path dir(box.Path("rec"));
    for (const char* name : {"b.KDR", "a.kdr", "c.KDX", "d.KDR.bak"})
        SettingsSandbox::Write((dir / name).string(), "x");
    const auto found = kelvane::FindRecoveryFiles(dir);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].filename(), "a.kdr");
    EXPECT_EQ(found[1].filename(), "b.KDR");
    EXPECT_TRUE(kelvane::FindRecoveryFiles(dir / "missing").empty());
}

TEST(AutoSave, ARestoredNameChangesOnlyTheExtensionAndNeverTakesAnExistingFile) {
    SettingsSandbox box;
    const std::filesystem::path dir(box.Path("rec"));
    std::filesystem::create_directories(dir);
    // The case of the name stays: on this system another case is another file.
    EXPECT_EQ(kelvane::FreeDesignName(dir, dir / "Shop sign-3.kdr"), dir / "Shop sign-3.KDX");
    SettingsSandbox::Write((dir / "Shop sign-3.KDX").string(), "a design");
    SettingsSandbox::Write((dir / "Shop sign-3 (2).KDX").string(), "another");
    EXPECT_EQ(kelvane::FreeDesignName(dir, dir / "Shop sign-3.kdr"), dir / "Shop sign-3 (3).KDX");
}

} // namespace

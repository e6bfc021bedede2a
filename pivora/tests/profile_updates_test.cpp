#include "pivora/framework/profile_updates.h"

#include "pivora/tests/app_settings_fixture.h"

#include <filesystem>
#include <sys/stat.h>

using ProfileUpdates = AppSettingsTest;

TEST_F(ProfileUpdates, SoftwarePackagePrefersTheParameterToBootIni) {
    EXPECT_EQ(FnGetSoftwarePackage(), L"");
    std::string boot = m_box.Path("program/Profiles/BOOT.INI");
    SettingsSandbox::Write(boot, "[Settings]\r\nEnable Settings By BOOT Profile=1\r\n"
                                 "Software Package=Sign Shop\r\n");
    ASSERT_NE(FnCreateApplicationProfile(), nullptr);
    EXPECT_EQ(FnGetSoftwarePackage(), L"Sign Shop");
    QvSetAppParam(L"Software Package", CString(L"Per User"));
    EXPECT_EQ(FnGetSoftwarePackage(), L"Per User");
}

TEST_F(ProfileUpdates, UpdateFilesMergeIntoSettingsAndGo) {
    std::string profiles = m_box.Path("program/Profiles/");
    SettingsSandbox::Write(profiles + "BOOT.INI", "[Settings]\r\nKeep=1\r\n");
    SettingsSandbox::Write(profiles + "UpdateBOOT.INI",
                           "[Anything]\r\nHomeDir=D:\\Data\\\r\nFlag=1\r\nno equals sign\r\n");
    std::string shared = m_box.Path("home/Profiles/Shared Settings/");
    SettingsSandbox::Write(shared + "UpdateSettings.INI", "[Other]\nColour=red\n");
    ASSERT_NE(FnCreateApplicationProfile(), nullptr);
    FnUpdateProfiles();
    EXPECT_EQ(SettingsSandbox::Read(profiles + "BOOT.INI"),
              "[Settings]\r\nKeep=1\r\nHomeDir=D:\\Data\\\r\nFlag=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(profiles + "UpdateBOOT.INI"));
    EXPECT_EQ(SettingsSandbox::Read(shared + "Settings.INI"), "[Settings]\r\nColour=red\r\n");
    EXPECT_FALSE(std::filesystem::exists(shared + "UpdateSettings.INI"));
    // Nothing to merge is no error.
    FnUpdateProfiles();
}

TEST_F(ProfileUpdates, AFailedMergeKeepsTheUpdateFile) {
    std::string profiles = m_box.Path("program/Profiles/");
    SettingsSandbox::Write(profiles + "UpdateBOOT.INI", "[Settings]\r\nFlag=1\r\n");
    // The target cannot be written: a folder stands where BOOT.INI would be.
    std::filesystem::create_directories(profiles + "BOOT.INI");
    ASSERT_NE(FnCreateApplicationProfile(), nullptr);
    FnUpdateProfiles();
    EXPECT_TRUE(std::filesystem::exists(profiles + "UpdateBOOT.INI"));
}

#include "platform/system/module.h"
#include "platform/system/paths.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

KELVANE_SETTINGS_SANDBOX();

TEST(MapPath, SeparatorsAndDriveLetters) {
    struct Case {
        const wchar_t* in;
        const char* out;
    } cases[] = {
        {L"D:\\Data\\Backup", "/Data/Backup"},
        {L"c:\\", "/"},
        {L"\\\\Profiles\\\\Shared Settings\\", "/Profiles/Shared Settings/"},
        {L"relative\\file.ini", "relative/file.ini"},
        {L"/already/native", "/already/native"},
        {L"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::MapPath(c.in), c.out) << CString(c.in).ToUtf8();
    EXPECT_EQ(platform::MapPath(static_cast<const wchar_t*>(nullptr)), "");
}

TEST(MapPath, FindsNamesSpeltInAnotherCaseButNeverChangesRealOnes) {
    SettingsSandbox box;
    SettingsSandbox::Write(box.Path("program/Profiles/Shared Settings/Settings.ini"), "x");
    CString root = CString::FromUtf8(box.root());
    // Spelt in capitals by the caller: found as it is on disk.
    EXPECT_EQ(platform::MapPath(root + L"\\program\\PROFILES\\shared settings\\SETTINGS.INI"),
              box.Path("program/Profiles/Shared Settings/Settings.ini"));
    // A name that exists is kept as spelt; a missing tail is kept for creating.
    EXPECT_EQ(platform::MapPath(root + L"\\program\\Profiles\\NEW\\File.ini"),
              box.Path("program/Profiles/NEW/File.ini"));
    // Two names differing only in case: the exact one wins, else the first in order.
    SettingsSandbox::Write(box.Path("program/a.txt"), "1");
    SettingsSandbox::Write(box.Path("program/A.TXT"), "2");
    EXPECT_EQ(platform::MapPath(root + L"\\program\\A.TXT"), box.Path("program/A.TXT"));
    EXPECT_EQ(platform::MapPath(root + L"\\program\\a.Txt"), box.Path("program/A.TXT"));
    EXPECT_TRUE(platform::PathExists(root + L"\\PROGRAM\\a.txt"));
    EXPECT_FALSE(platform::PathExists(root + L"\\program\\b.txt"));
}

TEST(PathParts, FolderAndFileName) {
    EXPECT_EQ(platform::FolderOf(L"D:\\Data\\x.ini"), L"D:\\Data\\");
    EXPECT_EQ(platform::FolderOf(L"/a/b"), L"/a/");
    EXPECT_EQ(platform::FolderOf(L"name"), L"");
    EXPECT_EQ(platform::FileNameOf(L"/a/b\\c.KDX"), L"c.KDX");
    EXPECT_TRUE(platform::EndsWithSeparator(L"D:\\"));
    EXPECT_TRUE(platform::EndsWithSeparator(L"/tmp/"));
    EXPECT_FALSE(platform::EndsWithSeparator(L""));
}

TEST(Folders, ProgramAndHomeComeFromTheEnvironment) {
    SettingsSandbox box;
    EXPECT_EQ(platform::ProgramFolder(), CString::FromUtf8(box.Path("program/")));
    EXPECT_EQ(platform::DefaultHomeFolder(), CString::FromUtf8(box.Path("home/")));
    box.Set("KELVANE_PROGRAM_DIR", "");
    EXPECT_EQ(platform::ProgramFolder(), platform::FolderOf(platform::ProgramFilePath()));
}

TEST(Folders, HomeIsNeverTheFileSystemRoot) {
    SettingsSandbox box;
    box.Set("KELVANE_HOME", "/");
    EXPECT_NE(platform::DefaultHomeFolder(), L"/");
    box.Set("KELVANE_HOME", "");
    box.Set("XDG_DATA_HOME", "");
    box.Set("HOME", "/");
    CString home = platform::DefaultHomeFolder();
    EXPECT_NE(home, L"/");
    EXPECT_TRUE(platform::EndsWithSeparator(home));
    box.Set("XDG_DATA_HOME", box.Path("data"));
    EXPECT_EQ(platform::DefaultHomeFolder(), CString::FromUtf8(box.Path("data/kelvane/")));
}

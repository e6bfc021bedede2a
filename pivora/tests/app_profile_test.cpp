#include "pivora/framework/app_profile.h"
#include "pivora/framework/percentage_dlg.h"
#include "pivora/tests/app_settings_fixture.h"
#include "platform/system/clock.h"

#include <sys/stat.h>

using AppProfile = AppSettingsTest;

TEST_F(AppProfile, WithoutBootIniEverythingAnswersItsDefault) {
    EXPECT_EQ(FnGetBootProfileInt(L"Enable Settings By BOOT Profile", 0), 0);
    CString out = L"x";
    EXPECT_EQ(FnGetBootProfileString(L"HomeDir", out), 0);
    EXPECT_EQ(out, L"");
    EXPECT_EQ(FnGetHomePath(L"a", out), 0);

    CApplicationProfile* profile = FnCreateApplicationProfile();
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(FnCreateApplicationProfile(), profile);
    EXPECT_EQ(FnGetApplicationProfile(), profile);
    EXPECT_TRUE(profile->BootProfile().IsEmpty());
    EXPECT_EQ(FnGetBootProfileInt(L"Enable Settings By BOOT Profile", 0), 0);
    EXPECT_EQ(FnGetBootProfileString(L"HomeDir", out), 0);
    EXPECT_EQ(FnSetBootProfileString(L"HomeDir", L"x"), 0);
    EXPECT_FALSE(std::filesystem::exists(m_box.Path("program/Profiles/BOOT.INI")));
    EXPECT_EQ(FnGetHomePath(L"\\Temp", out), 1);
    EXPECT_EQ(out, CString::FromUtf8(m_box.Path("program/")) + L"Temp");
    FnDestroyApplicationProfile();
    EXPECT_EQ(FnGetApplicationProfile(), nullptr);
}

TEST_F(AppProfile, ProgramFolderKeepsItsSpellingOrComesFromAppPaths) {
    CApplicationProfile profile;
    CString folder;
    EXPECT_GT(profile.fnGetProgramDirectory(folder), 0);
    EXPECT_EQ(folder, CString::FromUtf8(m_box.Path("program/")));

    // Registered under the program's name in capitals with ".EXE".
    CString name = platform::FileNameOf(platform::ProgramFilePath());
    name.MakeUpper();
    name += L".EXE";
    HKEY k = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"Software\\Oquen\\App Paths", 0, nullptr, 0, KEY_ALL_ACCESS,
                   nullptr, &k, nullptr);
    std::wstring to = CString::FromUtf8(m_box.Path("Installed")).str();
    RegSetValueEx(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(to.c_str()),
                  DWORD((to.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    EXPECT_GT(profile.fnGetProgramDirectory(folder), 0);
    EXPECT_EQ(folder, CString::FromUtf8(m_box.Path("Installed")) + L"\\");
}

TEST_F(AppProfile, BootIniIsUsedOnlyWhenWritable) {
    std::string boot = m_box.Path("program/Profiles/BOOT.INI");
    SettingsSandbox::Write(boot, "[Settings]\r\nEnable Settings By BOOT Profile=1\r\n");
    chmod(boot.c_str(), 0444);
    ASSERT_NE(FnCreateApplicationProfile(), nullptr);
    EXPECT_TRUE(FnGetApplicationProfile()->BootProfile().IsEmpty());
    EXPECT_EQ(FnGetBootProfileInt(L"Enable Settings By BOOT Profile", 0), 0);
    FnDestroyApplicationProfile();

    chmod(boot.c_str(), 0644);
    ASSERT_NE(FnCreateApplicationProfile(), nullptr);
    EXPECT_FALSE(FnGetApplicationProfile()->BootProfile().IsEmpty());
    EXPECT_EQ(FnGetBootProfileInt(L"ENABLE SETTINGS BY BOOT PROFILE", 0), 1);
    EXPECT_EQ(FnSetBootProfileString(L"Software Package", L"Sign Shop"), 1);
    CString package;
    EXPECT_EQ(FnGetBootProfileString(L"Software Package", package), 1);
    EXPECT_EQ(package, L"Sign Shop");
}

TEST_F(AppProfile, SettingsFilesAndFolders) {
    ASSERT_NE(FnCreateApplicationProfile(), nullptr);
    CApplicationProfile& p = *FnGetApplicationProfile();
    CString settings;
    p.fnGetSettingsPath(settings, 0);
    EXPECT_EQ(settings, CString::FromUtf8(m_box.Path("program/")) + L"Profiles\\Shared Settings");
    p.fnGetSettingsPath(settings, 1);
    EXPECT_EQ(platform::MapPath(settings),
              m_box.Path("program/Profiles/Shared Settings/Settings.INI"));

    std::filesystem::create_directories(m_box.Path("program/Profiles/Shared Settings"));
    EXPECT_EQ(p.fnWriteSettingsProfileValue(L"Copies", 3, nullptr), 1);
    EXPECT_EQ(p.fnGetSettingsProfileValue(L"copies", 0, nullptr), 3);
    CString out;
    EXPECT_EQ(p.fnGetProfileString(L"Settings", L"Missing", out, nullptr), 0);
    EXPECT_EQ(p.fnWriteProfileString(L"Shop", L"Name", L"North", nullptr), 1);
    CStringArray sections;
    EXPECT_EQ(p.fnGetSettingsFileSections(settings, sections), 2);
    EXPECT_EQ(sections[1], L"Shop");

    std::string folder = m_box.Path("lists/");
    for (const char* f : {"A.INI", "b.ini", "c.txt", "x.ini.ini"})
        SettingsSandbox::Write(folder + f, "");
    std::filesystem::create_directories(folder + "Folder.INI");
    std::filesystem::create_directories(folder + "Shop");
    CStringArray names;
    EXPECT_EQ(p.fnGetSettingsFileList(CString::FromUtf8(folder), names, 1), 3);
    EXPECT_EQ(names[0], L"A");
    EXPECT_EQ(names[1], L"b");
    EXPECT_EQ(names[2], L"x.ini");
    CStringArray full;
    EXPECT_EQ(p.fnGetSettingsFileList(CString::FromUtf8(folder), full, 0), 3);
    EXPECT_EQ(full[0], L"A.INI");

    CStringArray dirs, paths;
    EXPECT_EQ(p.fnGetDirList(CString::FromUtf8(folder), L"\\*", dirs, paths), 2);
    EXPECT_EQ(dirs[1], L"Shop");
    EXPECT_EQ(paths[1], CString::FromUtf8(folder) + L"Shop");

    p.fnRenameDirAsDeleted(CString::FromUtf8(folder), L"Shop");
    EXPECT_FALSE(std::filesystem::exists(folder + "Shop"));
    CStringArray after, afterPaths;
    EXPECT_EQ(p.fnGetDirList(CString::FromUtf8(folder), L"\\Shop DELETED *", after, afterPaths), 1);
    std::wstring renamed = after[0].str();
    EXPECT_EQ(renamed.size(), std::wstring(L"Shop DELETED 07Dec2026 21-54-44").size());
}

TEST_F(AppProfile, OneProgressBarAtATimeSteppingByTime) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    CApplicationProfile p;
    p.fnStepProgressBar(10); // none shown: nothing happens
    p.fnCreateProgressBar(0);
    CPercentageDlg* first = p.ProgressBar();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_FALSE(first->GetDlgItem(IDCANCEL)->IsWindowEnabled());
    clock.Advance(100);
    p.fnStepProgressBar(50);
    CString percent;
    first->GetDlgItemText(CPercentageDlg::IDC_PERCENT_TEXT, percent);
    EXPECT_EQ(percent, L"5%");
    p.fnCreateProgressBar(0);
    EXPECT_NE(p.ProgressBar(), nullptr);
    p.fnDestroyProgressBar();
    EXPECT_EQ(p.ProgressBar(), nullptr);
    p.fnCreateProgressBar(0); // the profile deletes what it still shows
}

#include "pivora/framework/app_params.h"
#include "pivora/tests/app_settings_fixture.h"
#include "platform/windowing/resources.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

using AppParams = AppSettingsTest;

TEST_F(AppParams, IntegerLookupsDefaultsAndSets) {
    EXPECT_EQ(QvGetAppParam(L"Snap", 5), 5);
    EXPECT_EQ(QvGetAppParam(L"Snap", 7), 7);
    int out = 0;
    EXPECT_EQ(QvGetAppParam(L"Snap", out, 8), 0);
    EXPECT_EQ(out, 8);
    QvSetAppParam(L"Snap", 3);
    EXPECT_EQ(QvGetAppParam(L"Snap", 5), 3);
    EXPECT_EQ(QvGetAppParam(L"Snap", out, 8), 1);
    EXPECT_EQ(out, 3);
    DWORD stored = 0;
    EXPECT_TRUE(StoredInt(L"Snap", stored));
    EXPECT_EQ(stored, 3u);

    EXPECT_EQ(QvGetSetAppParam(L"AutoSaveInterval", 9), 9);
    EXPECT_TRUE(StoredInt(L"AutoSaveInterval", stored));
    EXPECT_EQ(stored, 9u);
    EXPECT_EQ(QvGetSetAppParam(L"AutoSaveInterval", 4), 9);

    // A name looked up as an integer reads as its decimal text.
    CString text = L"before";
    EXPECT_EQ(QvGetAppParam(L"Snap", text), 1);
    EXPECT_EQ(text, L"3");
}

TEST_F(AppParams, StoredMarkersReadAsAbsent) {
    StoreInt(L"Marker", 65535);
    StoreText(L"Text Marker", L"String-Not-Found");
    EXPECT_EQ(QvGetAppParam(L"Marker", 12), 12);
    CString text = L"mine";
    EXPECT_EQ(QvGetAppParam(L"Text Marker", text), 0);
    EXPECT_EQ(text, L"mine");
}

TEST_F(AppParams, StringLookupsKeepTheCallersTextWhenAbsent) {
    CString text = L"default.log";
    EXPECT_EQ(QvGetAppParam(L"Log File", text), 0);
    EXPECT_EQ(text, L"default.log");
    CString mine = L"x.log";
    EXPECT_EQ(QvGetSetAppParam(L"Import path", mine), 1);
    EXPECT_EQ(StoredText(L"Import path"), L"x.log");
    QvSetAppParam(L"Import path", CString(L"Import.ai"));
    CString read;
    EXPECT_EQ(QvGetAppParam(L"Import path", read), 1);
    EXPECT_EQ(read, L"Import.ai");
}

TEST_F(AppParams, SectionAndRegistryNames) {
    EXPECT_STREQ(QvGetAppParamSection(), L"Application-Settings");
    std::wstring longName(150, L's');
    QvSetAppParamSection(longName.c_str());
    EXPECT_EQ(std::wcslen(QvGetAppParamSection()), 99u);
    QvSetAppParamSection(L"Other-Settings");
    QvSetAppParam(L"Where", 1);
    HKEY k = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Other-Settings", 0,
                           KEY_READ, &k),
              ERROR_SUCCESS);
    RegCloseKey(k);

    EXPECT_STREQ(FnGetRegistryString(nullptr), L"Software\\Oquen\\VanterFerolin");
    EXPECT_STREQ(FnGetRegistryString(L"Cutter-Settings"),
                 L"Software\\Oquen\\VanterFerolin\\Cutter-Settings");
    EXPECT_STREQ(FnGetRegistryString(L"ContextMenu\\"),
                 L"Software\\Oquen\\VanterFerolin\\ContextMenu\\");
    std::wstring longStem(300, L't');
    FnSetRegistryStem(longStem.c_str());
    EXPECT_EQ(std::wcslen(FnGetRegistryStem()), 255u);
    std::wstring longSub(2000, L'u');
    EXPECT_EQ(std::wcslen(FnGetRegistryString(longSub.c_str())), 15u + 255u + 1u + 2000u);
}

TEST_F(AppParams, MachineWideValuesFromTheMachineHive) {
    CString out = L"caller";
    EXPECT_EQ(FnGetAppParamFromLocalMachine(L"LangDLL", out), 0);
    EXPECT_EQ(out, L"caller");
    EXPECT_EQ(FnSetAppParamInLocalMachine(L"LangDLL", L"LangEN.dll"), 1);
    EXPECT_EQ(FnGetAppParamFromLocalMachine(L"LangDLL", out), 1);
    EXPECT_EQ(out, L"LangEN.dll");
    EXPECT_EQ(StoredText(L"LangDLL", HKEY_LOCAL_MACHINE), L"LangEN.dll");
    EXPECT_EQ(StoredText(L"LangDLL"), L"<missing>");
    StoreText(L"Exit Application", L"String-Not-Found", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(FnGetAppParamFromLocalMachine(L"Exit Application", out), 0);
}

TEST_F(AppParams, BootProfileModeReadsBootIniAndNeverTheRegistry) {
    SettingsSandbox::Write(m_box.Path("program/Profiles/BOOT.INI"),
                           "[Settings]\r\nEnable Settings By BOOT Profile=1\r\n"
                           "LangDLL=LangDE.dll\r\n");
    StoreText(L"LangDLL", L"from registry", HKEY_LOCAL_MACHINE);
    StoreText(L"HomeDir", L"/registry/home/", HKEY_LOCAL_MACHINE);
    ASSERT_NE(FnCreateApplicationProfile(), nullptr);
    CString out;
    EXPECT_EQ(FnGetAppParamFromLocalMachine(L"LangDLL", out), 1);
    EXPECT_EQ(out, L"LangDE.dll");
    EXPECT_EQ(FnSetAppParamInLocalMachine(L"Exit Application", L"done.sh"), 1);
    EXPECT_NE(SettingsSandbox::Read(m_box.Path("program/Profiles/BOOT.INI"))
                  .find("Exit Application=done.sh"),
              std::string::npos);
    // The home folder is the program folder.
    QvHomePath(L"\\Backup", out);
    EXPECT_EQ(out, CString::FromUtf8(m_box.Path("program/")) + L"Backup");
}

TEST_F(AppParams, HomePathFromTheMachineOrTheUserAndCached) {
    CString out;
    StoreText(L"HomeDir", L"D:\\Data\\");
    QvHomePath(L"\\Backup", out);
    EXPECT_EQ(out, L"D:\\Data\\Backup");
    // Cached: a later change is not seen in this process.
    StoreText(L"HomeDir", L"E:\\Other", HKEY_LOCAL_MACHINE);
    QvHomePath(nullptr, out);
    EXPECT_EQ(out, L"D:\\Data\\");

    QvResetAppParamCache();
    FnSetRegistryStem(L"VanterFerolin");
    QvHomePath(L"Temp", out);
    EXPECT_EQ(out, L"E:\\Other\\Temp");
}

TEST_F(AppParams, HomePathOfAStringResource) {
    platform::RegisterStrings({{31999, L"\\Templates"}});
    StoreText(L"HomeDir", L"D:\\Data");
    CString out;
    QvHomePathFromID(31999, out);
    EXPECT_EQ(out, L"D:\\Data\\Templates");
}

TEST_F(AppParams, HomeIsNeverTheFileSystemRoot) {
    CString out;
    QvHomePath(L"\\Backup", out);
    EXPECT_EQ(out, CString::FromUtf8(m_box.Path("home/")) + L"Backup");
    m_box.Set("KELVANE_HOME", "/");
    QvResetAppParamCache();
    QvHomePath(nullptr, out);
    EXPECT_NE(out, L"\\");
    EXPECT_NE(platform::MapPath(out), "/");
}

TEST_F(AppParams, RuntimePathIsTheProgramFolderAndIsStored) {
    CString out = L"unchanged";
    QvRuntimePath(L"GTPalette.txt", out);
    EXPECT_EQ(out, CString::FromUtf8(m_box.Path("program/")) + L"GTPalette.txt");
    EXPECT_EQ(StoredText(L"Runtime Path"), CString::FromUtf8(m_box.Path("program/")));
    QvRuntimePath(nullptr, out);
    EXPECT_EQ(out, CString::FromUtf8(m_box.Path("program/")));
}

TEST_F(AppParams, ActionLogAppendsTimeStampedEntries) {
    QvLogAction(L"nothing: no log named\n");
    QvSetAppParam(L"Log File", CString(L"actions.log"));
    QvLogAction(L"first\n");
    QvLogAction(L"second\n");
    std::string log = SettingsSandbox::Read(m_box.Path("home/actions.log"));
    // "Wed 09 Dec 2026 22:46:10 first\n": weekday, day, month, year, time, then the text.
    ASSERT_GE(log.size(), 25u);
    std::string shape = log.substr(0, 25);
    for (char& c : shape)
        c = std::isdigit(static_cast<unsigned char>(c))   ? '9'
            : std::isalpha(static_cast<unsigned char>(c)) ? 'a'
                                                          : c;
    EXPECT_EQ(shape, "aaa 99 aaa 9999 99:99:99 ") << log;
    EXPECT_EQ(log.substr(25, 6), "first\n");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
    EXPECT_LT(log.find("first"), log.find("second"));

    // A full path is taken as it stands, not put under the home folder.
    QvSetAppParam(L"Log File", CString::FromUtf8(m_box.Path("elsewhere.log")));
    QvLogAction(L"third\n");
    EXPECT_NE(SettingsSandbox::Read(m_box.Path("elsewhere.log")).find("third\n"),
              std::string::npos);

    // A log that cannot be opened loses the entry and nothing else: no folder is made for it,
    // the other logs stay as they were, and the next log that can be written takes entries.
    const std::string elsewhere = SettingsSandbox::Read(m_box.Path("elsewhere.log"));
    QvSetAppParam(L"Log File", CString(L"no\\such\\folder\\x.log"));
    QvLogAction(L"lost\n");
    EXPECT_FALSE(std::filesystem::exists(m_box.Path("home/no")));
    EXPECT_EQ(SettingsSandbox::Read(m_box.Path("elsewhere.log")), elsewhere);
    QvSetAppParam(L"Log File", CString(L"actions.log"));
    QvLogAction(L"fourth\n");
    log = SettingsSandbox::Read(m_box.Path("home/actions.log"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
    EXPECT_EQ(log.find("lost"), std::string::npos);
    EXPECT_NE(log.find("fourth\n"), std::string::npos);
}

TEST_F(AppParams, TwoProgramsSettingDifferentParametersLoseNeither) {
    constexpr int kEach = 25;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        if (children[c] == 0) {
            QvResetAppParamCache();
            platform::ResetSettingsStore();
            for (int i = 0; i < kEach; ++i)
                QvSetAppParam(
                    (std::wstring(c ? L"Second " : L"First ") + std::to_wstring(i)).c_str(),
                    i + 100 * c);
            QvResetAppParamCache();
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    QvResetAppParamCache();
    platform::ResetSettingsStore();
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kEach; ++i) {
            std::wstring name = std::wstring(c ? L"Second " : L"First ") + std::to_wstring(i);
            EXPECT_EQ(QvGetAppParam(name.c_str(), -1), i + 100 * c) << CString(name).ToUtf8();
        }
}

#include "platform/system/settings_store.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

KELVANE_SETTINGS_SANDBOX();

namespace {

LONG SetDword(HKEY k, const wchar_t* name, DWORD v) {
    return RegSetValueEx(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
}
LONG SetText(HKEY k, const wchar_t* name, const wchar_t* text) {
    return RegSetValueEx(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         DWORD((wcslen(text) + 1) * sizeof(wchar_t)));
}
bool GetDword(HKEY k, const wchar_t* name, DWORD& v) {
    DWORD type = 0, size = sizeof v;
    return RegQueryValueEx(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD;
}
std::wstring GetText(HKEY k, const wchar_t* name) {
    wchar_t buf[256] = {};
    DWORD type = 0, size = sizeof buf;
    if (RegQueryValueEx(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return L"<missing>";
    return buf;
}

HKEY Create(HKEY root, const wchar_t* path) {
    HKEY k = nullptr;
    EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    return k;
}

} // namespace

TEST(SettingsStore, TypedValuesSurviveAFreshLoad) {
    SettingsSandbox box;
    HKEY k = Create(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Application-Settings");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(SetDword(k, L"AutoPan", 0xFFFFFFFFu), ERROR_SUCCESS);
    EXPECT_EQ(SetText(k, L"Import path", L"D:\\Data\\\"quoted\"\nline\ttab \u00e9\u4e2d"),
              ERROR_SUCCESS);
    const BYTE blob[] = {0, 1, 0xFE, 0xFF};
    EXPECT_EQ(RegSetValueEx(k, L"WindowPos", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueEx(k, L"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    RegCloseKey(k);

    platform::ResetSettingsStore();
    HKEY r = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER,
                           L"SOFTWARE\\oquen\\VanterFerolin\\APPLICATION-SETTINGS", 0, KEY_READ,
                           &r),
              ERROR_SUCCESS);
    DWORD v = 0;
    EXPECT_TRUE(GetDword(r, L"autopan", v));
    EXPECT_EQ(v, 0xFFFFFFFFu);
    EXPECT_EQ(GetText(r, L"IMPORT PATH"), L"D:\\Data\\\"quoted\"\nline\ttab \u00e9\u4e2d");
    BYTE out[8];
    DWORD type = 0, size = sizeof out;
    EXPECT_EQ(RegQueryValueEx(r, L"WindowPos", nullptr, &type, out, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(std::memcmp(out, blob, 4), 0);
    size = sizeof out;
    EXPECT_EQ(RegQueryValueEx(r, L"Empty", nullptr, &type, out, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(platform::SettingsProblems().empty());
    RegCloseKey(r);
}

TEST(SettingsStore, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    SettingsSandbox box;
    HKEY k = Create(HKEY_CURRENT_USER, L"Software\\Oquen");
    SetDword(k, L"Log File", 1);
    SetDword(k, L"LOG FILE", 2); // the same value
    wchar_t name[64];
    DWORD chars = 64, type = 0;
    ASSERT_EQ(RegEnumValue(k, 0, name, &chars, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Log File");
    EXPECT_EQ(chars, 8u);
    chars = 64;
    EXPECT_EQ(RegEnumValue(k, 1, name, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    DWORD v = 0;
    EXPECT_TRUE(GetDword(k, L"log file", v));
    EXPECT_EQ(v, 2u);
    RegCloseKey(k);
}

TEST(SettingsStore, SubKeysEnumerateSortedIgnoringCase) {
    SettingsSandbox box;
    HKEY k = Create(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Cutter-Settings");
    for (const wchar_t* n : {L"zeta", L"Alpha", L"beta", L"ALPHA\\Port-Settings"})
        RegCloseKey(Create(k, n));
    std::vector<std::wstring> seen;
    wchar_t name[64];
    for (DWORD i = 0;; ++i) {
        DWORD chars = 64;
        LONG r = RegEnumKeyEx(k, i, name, &chars, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(r, ERROR_SUCCESS);
        seen.push_back(name);
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta"}));
    // A buffer too small says how much is needed.
    DWORD chars = 3;
    EXPECT_EQ(RegEnumKeyEx(k, 0, name, &chars, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(chars, 5u);
    DWORD subKeys = 0, values = 9;
    EXPECT_EQ(RegQueryInfoKey(k, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                              nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 3u);
    EXPECT_EQ(values, 0u);
    RegCloseKey(k);
}

TEST(SettingsStore, ReadsSizesAndMissingThings) {
    SettingsSandbox box;
    HKEY k = Create(HKEY_CURRENT_USER, L"Software\\Oquen");
    SetText(k, L"LangDLL", L"LangEN.dll");
    DWORD type = 0, size = 0;
    // Size first, then data, as the deliverables read strings.
    ASSERT_EQ(RegQueryValueEx(k, L"LangDLL", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 11 * sizeof(wchar_t));
    wchar_t small[4];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueEx(k, L"LangDLL", nullptr, &type, reinterpret_cast<BYTE*>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 11 * sizeof(wchar_t));
    EXPECT_EQ(RegQueryValueEx(k, L"Nothing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    HKEY none = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Nobody", 0, KEY_READ, &none),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(none, nullptr);
    // Bad handles and bad sizes are refused, not trusted.
    EXPECT_EQ(
        RegQueryValueEx(reinterpret_cast<HKEY>(&size), L"x", nullptr, nullptr, nullptr, nullptr),
        ERROR_INVALID_HANDLE);
    DWORD v = 1;
    EXPECT_EQ(RegSetValueEx(k, L"short", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 2),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(k);
    EXPECT_EQ(RegCloseKey(k), ERROR_INVALID_HANDLE);
}

TEST(SettingsStore, ReadAccessCannotWriteAndDeletesWork) {
    SettingsSandbox box;
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, L"Software\\Oquen\\VanterFerolin\\Settings"));
    HKEY r = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"Software\\Oquen\\VanterFerolin\\Settings", 0,
                           KEY_READ, &r),
              ERROR_SUCCESS);
    EXPECT_EQ(SetText(r, L"HomeDir", L"x"), ERROR_ACCESS_DENIED);
    RegCloseKey(r);
    HKEY w = Create(HKEY_LOCAL_MACHINE, L"Software\\Oquen\\VanterFerolin\\Settings");
    EXPECT_EQ(SetText(w, L"HomeDir", L"x"), ERROR_SUCCESS);
    // The machine hive is its own file; the user hive was never touched.
    EXPECT_NE(SettingsSandbox::Read(box.MachineHive()).find("HomeDir"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(box.UserHive()));
    EXPECT_EQ(RegDeleteValue(w, L"HOMEDIR"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(w, L"HomeDir"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(w);

    HKEY s = Create(HKEY_LOCAL_MACHINE, L"Software\\Oquen");
    EXPECT_EQ(RegDeleteKey(s, L"VanterFerolin"), ERROR_ACCESS_DENIED); // has sub-keys
    EXPECT_EQ(RegDeleteTree(s, L"VanterFerolin"), ERROR_SUCCESS);
    HKEY gone = nullptr;
    EXPECT_EQ(RegOpenKeyEx(s, L"VanterFerolin", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
    RegCloseKey(s);
}

TEST(SettingsStore, AWriteFromAnotherProgramIsSeen) {
    SettingsSandbox box;
    HKEY k = Create(HKEY_CURRENT_USER, L"Software\\Oquen");
    SetDword(k, L"A", 1);
    pid_t child = fork();
    if (child == 0) {
        platform::ResetSettingsStore();
        HKEY c = nullptr;
        RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen", 0, KEY_ALL_ACCESS, &c);
        _exit(SetDword(c, L"B", 2) == ERROR_SUCCESS ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    DWORD v = 0;
    EXPECT_TRUE(GetDword(k, L"B", v));
    EXPECT_EQ(v, 2u);
    RegCloseKey(k);
}

TEST(SettingsStore, TwoProgramsWritingAtOnceLoseNothing) {
    SettingsSandbox box;
    RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Application-Settings"));
    constexpr int kWrites = 60;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        if (children[c] == 0) {
            platform::ResetSettingsStore();
            HKEY k = nullptr;
            RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen\\VanterFerolin\\Application-Settings",
                         0, KEY_ALL_ACCESS, &k);
            int failures = 0;
            for (int i = 0; i < kWrites; ++i) {
                std::wstring name = (c == 0 ? L"First " : L"Second ") + std::to_wstring(i);
                failures += SetDword(k, name.c_str(), DWORD(i)) != ERROR_SUCCESS;
            }
            _exit(failures);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    platform::ResetSettingsStore();
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER,
                           L"Software\\Oquen\\VanterFerolin\\Application-Settings", 0, KEY_READ,
                           &k),
              ERROR_SUCCESS);
    for (const wchar_t* who : {L"First ", L"Second "})
        for (int i = 0; i < kWrites; ++i) {
            DWORD v = 999;
            std::wstring name = who + std::to_wstring(i);
            EXPECT_TRUE(GetDword(k, name.c_str(), v)) << CString(name).ToUtf8();
            EXPECT_EQ(v, DWORD(i));
        }
    RegCloseKey(k);
}

TEST(SettingsStore, ACrashBeforeTheRenameLeavesTheOldHiveWhole) {
    SettingsSandbox box;
    HKEY k = Create(HKEY_CURRENT_USER, L"Software\\Oquen");
    SetText(k, L"Kept", L"old");
    std::string before = SettingsSandbox::Read(box.UserHive());

    pid_t child = fork();
    if (child == 0) {
        // Dies after the new hive is on disk under its temporary name, before the rename.
        platform::SetHiveCommitHook([](const std::string&) -> bool { _exit(7); });
        SetText(k, L"Kept", L"new");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 7);
    EXPECT_EQ(SettingsSandbox::Read(box.UserHive()), before);
    EXPECT_TRUE(std::filesystem::exists(box.UserHive() + ".tmp"));

    platform::ResetSettingsStore();
    EXPECT_EQ(GetText(k, L"Kept"), L"old");
    EXPECT_TRUE(platform::SettingsProblems().empty());

    // In process, an abandoned write reports failure and memory follows the disk.
    platform::SetHiveCommitHook([](const std::string&) { return false; });
    EXPECT_EQ(SetText(k, L"Kept", L"lost"), ERROR_WRITE_FAULT);
    EXPECT_EQ(GetText(k, L"Kept"), L"old");
    platform::SetHiveCommitHook(nullptr);
    EXPECT_EQ(SetText(k, L"Kept", L"new"), ERROR_SUCCESS);
    platform::ResetSettingsStore();
    EXPECT_EQ(GetText(k, L"Kept"), L"new");
    RegCloseKey(k);
}

TEST(SettingsStore, ADamagedHiveLoadsWhatIsSoundAndKeepsTheRest) {
    SettingsSandbox box;
    SettingsSandbox::Write(box.UserHive(), "hive 1\n"
                                           "key \"Software\" \"Oquen\"\n"
                                           "value \"Good\" dword 5\n"
                                           "value \"Bad\" dword 99999999999\n"
                                           "value \"Unclosed\" sz \"abc\n"
                                           "value \"Hex\" hex 3 0g\n"
                                           "key \"Software\" \"Broken\\x\n"
                                           "value \"Orphan\" dword 1\n"
                                           "key \"Software\" \"Oquen\" \"Sub\"\n"
                                           "value \"Text\" sz \"fine\"\n"
                                           "value \"Half");
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen", 0, KEY_ALL_ACCESS, &k),
              ERROR_SUCCESS);
    DWORD v = 0;
    EXPECT_TRUE(GetDword(k, L"Good", v));
    EXPECT_EQ(v, 5u);
    EXPECT_FALSE(GetDword(k, L"Bad", v));
    HKEY sub = nullptr;
    ASSERT_EQ(RegOpenKeyEx(k, L"Sub", 0, KEY_READ, &sub), ERROR_SUCCESS);
    EXPECT_EQ(GetText(sub, L"Text"), L"fine");
    std::vector<CString> problems = platform::SettingsProblems();
    // Three bad values, the bad key, its orphan, the cut-off line, the missing end mark.
    EXPECT_EQ(problems.size(), 7u);
    for (const CString& p : problems)
        EXPECT_NE(p.Find(L"user.hive"), -1) << p.ToUtf8();

    // The next write keeps a copy of the damaged file before replacing it.
    std::string damaged = SettingsSandbox::Read(box.UserHive());
    EXPECT_EQ(SetDword(k, L"Good", 6), ERROR_SUCCESS);
    EXPECT_EQ(SettingsSandbox::Read(box.UserHive() + ".damaged"), damaged);
    platform::ResetSettingsStore();
    EXPECT_TRUE(GetDword(k, L"Good", v));
    EXPECT_EQ(v, 6u);
    EXPECT_TRUE(platform::SettingsProblems().empty());
    RegCloseKey(sub);
    RegCloseKey(k);
}

TEST(SettingsStore, HivesFollowTheEnvironment) {
    SettingsSandbox box;
    box.Set("KELVANE_USER_HIVE", box.Path("elsewhere/deeper/u.hive"));
    HKEY k = Create(HKEY_CURRENT_USER, L"Software");
    EXPECT_EQ(SetDword(k, L"x", 1), ERROR_SUCCESS);
    RegCloseKey(k);
    EXPECT_TRUE(std::filesystem::exists(box.Path("elsewhere/deeper/u.hive")));
    EXPECT_EQ(platform::UserHivePath(), box.Path("elsewhere/deeper/u.hive"));
    box.Set("KELVANE_USER_HIVE", "");
    EXPECT_EQ(platform::UserHivePath(), box.Path("config/kelvane/user.hive"));
}

TEST(SettingsStore, AnUnwritableMachineHiveReportsFailure) {
    SettingsSandbox box;
    std::filesystem::create_directories(box.Path("ro"));
    std::filesystem::permissions(box.Path("ro"), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_exec);
    box.Set("KELVANE_MACHINE_HIVE", box.Path("ro/machine.hive"));
    if (access(box.Path("ro").c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with rights that ignore permissions";
    HKEY k = nullptr;
    EXPECT_NE(RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"Software\\Oquen", 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &k, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(k, nullptr);
    std::filesystem::permissions(box.Path("ro"), std::filesystem::perms::owner_all);
}

TEST(SettingsStore, ARewrittenHiveKeepsItsPermissions) {
    SettingsSandbox box;
    HKEY k = Create(HKEY_CURRENT_USER, L"Software\\Oquen");
    SetDword(k, L"A", 1);
    chmod(box.UserHive().c_str(), 0600);
    SetDword(k, L"A", 2);
    struct stat st;
    ASSERT_EQ(stat(box.UserHive().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    RegCloseKey(k);
}

TEST(SettingsStore, AHiveTooLargeToBeOneIsSetAsideNotLoaded) {
    SettingsSandbox box;
    SettingsSandbox::Write(box.UserHive(), "");
    std::filesystem::resize_file(box.UserHive(), 65u << 20);
    HKEY k = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(platform::SettingsProblems().size(), 1u);
    EXPECT_NE(platform::SettingsProblems()[0].Find(L"larger"), -1);
    k = Create(HKEY_CURRENT_USER, L"Software");
    EXPECT_EQ(SetDword(k, L"A", 1), ERROR_SUCCESS);
    EXPECT_EQ(std::filesystem::file_size(box.UserHive() + ".damaged"), 65u << 20);
    RegCloseKey(k);
}

#include "platform/core/cstring.h"
#include "platform/system/private_profile.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

KELVANE_SETTINGS_SANDBOX();

namespace {

std::wstring Get(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                 const std::wstring& file) {
    wchar_t buf[1024];
    GetPrivateProfileString(section, key, def, buf, 1024, file.c_str());
    return buf;
}

std::vector<std::wstring> List(const wchar_t* buf) {
    std::vector<std::wstring> out;
    for (const wchar_t* p = buf; *p; p += wcslen(p) + 1)
        out.push_back(p);
    return out;
}

std::wstring Wide(const std::string& s) {
    return CString::FromUtf8(s).str();
}

} // namespace

TEST(PrivateProfile, ReadsIgnoringCaseWithDefaults) {
    SettingsSandbox box;
    std::string path = box.Path("program/Profiles/BOOT.INI");
    SettingsSandbox::Write(path, "; comment\r\n"
                                 "[Settings]\r\n"
                                 "  HomeDir = D:\\Data\\  \r\n"
                                 "Enable Settings By BOOT Profile=1\r\n"
                                 "Quoted=\"  padded  \"\r\n"
                                 "Negative=-12abc\r\n"
                                 "Text=abc\r\n"
                                 "[Other]\r\n"
                                 "HomeDir=elsewhere\r\n");
    // The caller spells the path Windows-style and in capitals.
    std::wstring file = Wide(box.root()) + L"\\PROGRAM\\profiles\\boot.ini";
    EXPECT_EQ(Get(L"SETTINGS", L"homedir", L"", file), L"D:\\Data\\");
    EXPECT_EQ(Get(L"Other", L"HomeDir", L"", file), L"elsewhere");
    EXPECT_EQ(Get(L"Settings", L"Quoted", L"", file), L"  padded  ");
    EXPECT_EQ(Get(L"Settings", L"Missing", L"fallback  ", file), L"fallback");
    EXPECT_EQ(Get(L"NoSection", L"HomeDir", nullptr, file), L"");
    EXPECT_EQ(
        GetPrivateProfileInt(L"Settings", L"Enable Settings By BOOT Profile", 0, file.c_str()), 1u);
    EXPECT_EQ(INT(GetPrivateProfileInt(L"Settings", L"Negative", 5, file.c_str())), -12);
    EXPECT_EQ(GetPrivateProfileInt(L"Settings", L"Text", 5, file.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileInt(L"Settings", L"Missing", 5, file.c_str()), 5u);
    EXPECT_EQ(GetPrivateProfileInt(L"Settings", L"x", 7, L"/no/such/file.ini"), 7u);

    wchar_t buf[256];
    GetPrivateProfileString(nullptr, nullptr, nullptr, buf, 256, file.c_str());
    EXPECT_EQ(List(buf), (std::vector<std::wstring>{L"Settings", L"Other"}));
    GetPrivateProfileString(L"other", nullptr, nullptr, buf, 256, file.c_str());
    EXPECT_EQ(List(buf), (std::vector<std::wstring>{L"HomeDir"}));
    GetPrivateProfileSection(L"Other", buf, 256, file.c_str());
    EXPECT_EQ(List(buf), (std::vector<std::wstring>{L"HomeDir=elsewhere"}));
}

TEST(PrivateProfile, ShortBuffersAreCutAndTerminated) {
    SettingsSandbox box;
    std::string path = box.Path("a.ini");
    SettingsSandbox::Write(path, "[S]\nkey=abcdefgh\n[T1]\n[T2]\n");
    std::wstring file = Wide(path);
    wchar_t buf[5];
    EXPECT_EQ(GetPrivateProfileString(L"S", L"key", L"", buf, 5, file.c_str()), 4u);
    EXPECT_STREQ(buf, L"abcd");
    EXPECT_EQ(GetPrivateProfileString(nullptr, nullptr, L"", buf, 5, file.c_str()), 3u);
    EXPECT_STREQ(buf, L"S");
    EXPECT_STREQ(buf + 2, L"T");
    EXPECT_EQ(buf[4], L'\0');
    EXPECT_EQ(GetPrivateProfileString(L"S", L"key", L"", buf, 0, file.c_str()), 0u);
}

TEST(PrivateProfile, WritesKeepEveryOtherLine) {
    SettingsSandbox box;
    std::string path = box.Path("Settings.INI");
    SettingsSandbox::Write(path, "; keep me\r\n"
                                 "[Settings]\r\n"
                                 "A=1\r\n"
                                 "b=2\r\n"
                                 "\r\n"
                                 "[Other]\r\n"
                                 "A=9\r\n");
    std::wstring file = Wide(path);
    EXPECT_TRUE(WritePrivateProfileString(L"settings", L"B", L"two", file.c_str()));
    EXPECT_TRUE(WritePrivateProfileString(L"Settings", L"C", L"3", file.c_str()));
    EXPECT_TRUE(WritePrivateProfileString(L"New", L"D", L"4", file.c_str()));
    EXPECT_TRUE(WritePrivateProfileString(L"Other", L"A", nullptr, file.c_str()));
    EXPECT_EQ(SettingsSandbox::Read(path), "; keep me\r\n"
                                           "[Settings]\r\n"
                                           "A=1\r\n"
                                           "b=two\r\n"
                                           "C=3\r\n"
                                           "\r\n"
                                           "[Other]\r\n"
                                           "[New]\r\n"
                                           "D=4\r\n");
    EXPECT_TRUE(WritePrivateProfileString(L"Settings", nullptr, nullptr, file.c_str()));
    EXPECT_EQ(SettingsSandbox::Read(path), "; keep me\r\n[Other]\r\n[New]\r\nD=4\r\n");
    // Deleting what is not there is no failure and changes nothing.
    EXPECT_TRUE(WritePrivateProfileString(L"Gone", L"x", nullptr, file.c_str()));
    EXPECT_EQ(SettingsSandbox::Read(path), "; keep me\r\n[Other]\r\n[New]\r\nD=4\r\n");
}

TEST(PrivateProfile, NewFilesAndMissingFolders) {
    SettingsSandbox box;
    std::wstring file = Wide(box.Path("fresh.ini"));
    EXPECT_TRUE(WritePrivateProfileString(L"Settings", L"UPD", L"x=y", file.c_str()));
    EXPECT_EQ(Get(L"Settings", L"UPD", L"", file), L"x=y");
    EXPECT_EQ(SettingsSandbox::Read(box.Path("fresh.ini")), "[Settings]\r\nUPD=x=y\r\n");
    EXPECT_FALSE(
        WritePrivateProfileString(L"S", L"k", L"v", Wide(box.Path("no/folder/x.ini")).c_str()));
    EXPECT_FALSE(std::filesystem::exists(box.Path("no")));
}

TEST(PrivateProfile, KeepsUtf16FilesAndUnixLineEnds) {
    SettingsSandbox box;
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[S]\r\nName=x\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    SettingsSandbox::Write(box.Path("u16.ini"), utf16);
    std::wstring f16 = Wide(box.Path("u16.ini"));
    EXPECT_EQ(Get(L"S", L"Name", L"", f16), L"x");
    EXPECT_TRUE(WritePrivateProfileString(L"S", L"Name", L"\u00e9", f16.c_str()));
    std::string after = SettingsSandbox::Read(box.Path("u16.ini"));
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(after.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Get(L"S", L"Name", L"", f16), L"\u00e9");

    SettingsSandbox::Write(box.Path("unix.ini"), "[S]\nA=1");
    std::wstring fu = Wide(box.Path("unix.ini"));
    EXPECT_TRUE(WritePrivateProfileString(L"S", L"B", L"2", fu.c_str()));
    EXPECT_EQ(SettingsSandbox::Read(box.Path("unix.ini")), "[S]\nA=1\nB=2");
}

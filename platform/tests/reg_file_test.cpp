#include "platform/system/reg_file.h"

#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

namespace {

CString Text(const platform::RegOperation& op) {
    return CString(reinterpret_cast<const wchar_t*>(op.data.data()));
}

using Kind = platform::RegOperation::Kind;

TEST(RegFile, ReadsKeysStringsNumbersAndHexOfBothHeaders) {
    const std::string text = "Windows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "; presets\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Oquen\\Preset]\r\n"
                             "\"Name\"=\"a \\\"quoted\\\" c:\\\\path\"\r\n"
                             "@=\"default\"\r\n"
                             "\"Count\"=dword:0000001f\r\n"
                             "\"Blob\"=hex:01,02,\\\r\n"
                             "  ff\r\n"
                             "\"Expand\"=hex(2):41,00,42,00,00,00\r\n"
                             "\"Gone\"=-\r\n"
                             "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n";
    const auto content = platform::ParseRegText(text);
    ASSERT_TRUE(content.recognised);
    EXPECT_TRUE(content.problems.empty());
    ASSERT_EQ(content.operations.size(), 8u);
    const auto& ops = content.operations;
    EXPECT_EQ(ops[0].kind, Kind::CreateKey);
    EXPECT_EQ(ops[0].key, CString(L"Software\\Oquen\\Preset"));
    EXPECT_EQ(Text(ops[1]), CString(L"a \"quoted\" c:\\path"));
    EXPECT_EQ(ops[2].name, CString());
    EXPECT_EQ(ops[3].type, DWORD(REG_DWORD));
    EXPECT_EQ(ops[3].data, (std::vector<BYTE>{0x1f, 0, 0, 0}));
    EXPECT_EQ(ops[4].data, (std::vector<BYTE>{1, 2, 0xff}));
    EXPECT_EQ(ops[5].type, DWORD(REG_EXPAND_SZ));
    EXPECT_EQ(Text(ops[5]), CString(L"AB"));
    EXPECT_EQ(ops[6].kind, Kind::DeleteValue);
    EXPECT_EQ(ops[7].kind, Kind::DeleteKey);
    EXPECT_EQ(ops[7].root, HKEY_LOCAL_MACHINE);
    // The older header, UTF-16 with its mark.
    const std::string old = "REGEDIT4\n[HKCU\\X]\n\"v\"=\"1\"\n";
    std::string wide = "\xFF\xFE";
    for (char c : old)
        wide += std::string{c, '\0'};
    EXPECT_TRUE(platform::ParseRegText(old).recognised);
    EXPECT_EQ(platform::ParseRegText(wide).operations.size(), 2u);
}

TEST(RegFile, DamagedLinesAreReportedAndSkippedAndAFileWithoutHeaderIsRefused) {
    // A damaged key also keeps the values after it out of the key before it.
    struct Case {
        const char* line;
        size_t problems;
        size_t operations;
    } bad[] = {{"\"a\"=dword:123456789", 1, 2},
               {"\"a\"=dword:xyz", 1, 2},
               {"\"a\"=hex:1g", 1, 2},
               {"\"a\"=hex(2:00", 1, 2},
               {"\"a\"=\"open", 1, 2},
               {"\"a\" \"b\"", 1, 2},
               {"plain words", 1, 2},
               {"\"a\"=unknown:1", 1, 2},
               {"\"a\"=hex(4):01,02", 1, 2},
               {"\"a\"=hex(b):01", 1, 2},
               {"[HKEY_USERS\\x]", 2, 1},
               {"[HKEY_CURRENT_USER", 2, 1},
               {"[HKCU]", 2, 1}};
    for (const Case& c : bad) {
        const auto content = platform::ParseRegText(std::string("REGEDIT4\n[HKCU\\K]\n") + c.line +
                                                    "\n\"ok\"=\"1\"\n");
        EXPECT_EQ(content.problems.size(), c.problems) << c.line;
        EXPECT_EQ(content.operations.size(), c.operations) << c.line;
    }
    const auto outside = platform::ParseRegText("REGEDIT4\n\"v\"=\"1\"\n");
    EXPECT_EQ(outside.problems.size(), 1u);
    for (const char* garbage : {"", "\x01\x02\xff", "[HKCU\\X]\n\"v\"=\"1\"\n"}) {
        const auto content = platform::ParseRegText(garbage);
        EXPECT_FALSE(content.recognised);
        EXPECT_TRUE(content.operations.empty());
        EXPECT_EQ(content.problems.size(), 1u);
    }
}

TEST(RegFile, AnImportWritesTheSettingsAndAnUnreadableFileChangesNothing) {
    SettingsSandbox box;
    const std::string path = box.Path("InstallUtils.Reg");
    SettingsSandbox::Write(path, "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Oquen\\T]\n"
                                 "\"Word\"=dword:00000010\n\"Text\"=\"hello\"\n");
    std::vector<CString> problems;
    ASSERT_TRUE(platform::ImportRegFile(CString(path), problems));
    EXPECT_TRUE(problems.empty());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen\\T", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, value = 0, bytes = sizeof value;
    EXPECT_EQ(
        RegQueryValueEx(key, L"Word", nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes),
        ERROR_SUCCESS);
    EXPECT_EQ(value, 16u);
    wchar_t text[16] = {};
    bytes = sizeof text;
    EXPECT_EQ(RegQueryValueEx(key, L"Text", nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, L"hello");
    RegCloseKey(key);
    // Deleting it again through a file.
    SettingsSandbox::Write(path, "REGEDIT4\n[-HKEY_CURRENT_USER\\Software\\Oquen\\T]\n");
    ASSERT_TRUE(platform::ImportRegFile(CString(path), problems));
    EXPECT_NE(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Oquen\\T", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_FALSE(platform::ImportRegFile(CString(box.Path("missing.reg")), problems));
    EXPECT_FALSE(problems.empty());
}

} // namespace

#include "platform/system/module.h"
#include "platform/system/random.h"
#include "platform/system/version_info.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

KELVANE_SETTINGS_SANDBOX();

namespace {

void Put(std::string& s, size_t at, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

// A minimal 64-bit ELF file: header, the section-name table, one "kelvane_version" section
// with the given contents, and three section headers (null, names, version).
std::string MakeElf(const std::string& record, uint64_t claimedSize = 0) {
    const std::string names = std::string("\0.shstrtab\0kelvane_version\0", 27);
    std::string f(64, '\0');
    std::memcpy(f.data(),
                "\x7F"
                "ELF\x02\x01\x01",
                7);
    size_t namesAt = f.size();
    f += names;
    size_t recordAt = f.size();
    f += record;
    size_t shoff = f.size();
    f += std::string(3 * 64, '\0');
    Put(f, 0x28, shoff, 8);
    Put(f, 0x3A, 64, 2);
    Put(f, 0x3C, 3, 2);
    Put(f, 0x3E, 1, 2);
    size_t names1 = shoff + 64, ver = shoff + 128;
    Put(f, names1 + 0, 1, 4); // ".shstrtab"
    Put(f, names1 + 24, namesAt, 8);
    Put(f, names1 + 32, names.size(), 8);
    Put(f, ver + 0, 11, 4); // "kelvane_version"
    Put(f, ver + 24, recordAt, 8);
    Put(f, ver + 32, claimedSize ? claimedSize : record.size(), 8);
    return f;
}

std::string Record(uint32_t length, uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    std::string r(16, '\0');
    std::memcpy(r.data(), "KVVR", 4);
    Put(r, 4, length, 4);
    Put(r, 8, a, 2);
    Put(r, 10, b, 2);
    Put(r, 12, c, 2);
    Put(r, 14, d, 2);
    return r;
}

} // namespace

TEST(VersionInfo, EveryBuiltModuleCarriesTheSameRecord) {
    WORD program[4] = {}, library[4] = {};
    ASSERT_TRUE(platform::ReadVersionRecord(platform::ProgramFilePath(), program));
    CString lib = platform::ModuleFilePathOf(reinterpret_cast<const void*>(&platform::rand));
    ASSERT_TRUE(platform::ReadVersionRecord(lib, library));
    EXPECT_EQ(std::memcmp(program, library, sizeof program), 0);

    // Through the file-version calls, as a deliverable reads it.
    DWORD handle = 7;
    DWORD size = GetFileVersionInfoSize(lib, &handle);
    ASSERT_GT(size, 0u);
    EXPECT_EQ(handle, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfo(lib, 0, size, block.data()));
    void* value = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), L"\\", &value, &bytes));
    ASSERT_EQ(bytes, sizeof(VS_FIXEDFILEINFO));
    auto* info = static_cast<VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(HIWORD(info->dwFileVersionMS), library[0]);
    EXPECT_EQ(LOWORD(info->dwFileVersionMS), library[1]);
    EXPECT_EQ(HIWORD(info->dwFileVersionLS), library[2]);
    EXPECT_EQ(LOWORD(info->dwFileVersionLS), library[3]);
    EXPECT_FALSE(VerQueryValue(block.data(), L"\\StringFileInfo", &value, &bytes));
    EXPECT_FALSE(GetFileVersionInfo(lib, 0, size - 1, block.data()));
}

TEST(VersionInfo, RecordsAreCheckedAgainstTheirLengthAndTheFile) {
    SettingsSandbox box;
    struct Case {
        const char* name;
        std::string bytes;
        bool readable;
    } cases[] = {
        {"sound", MakeElf(Record(16, 5, 1, 0, 12)), true},
        {"longer record of a later build", MakeElf(Record(20, 5, 1, 0, 12) + "more"), true},
        {"length beyond the section", MakeElf(Record(17, 5, 1, 0, 12)), false},
        {"length too short", MakeElf(Record(15, 5, 1, 0, 12)), false},
        {"section shorter than a record", MakeElf(Record(16, 5, 1, 0, 12).substr(0, 12)), false},
        {"section beyond the file", MakeElf(Record(16, 5, 1, 0, 12), 1u << 20), false},
        {"wrong mark", MakeElf("XXXX" + Record(16, 5, 1, 0, 12).substr(4)), false},
        {"not a module", "just text, no header at all", false},
        {"cut short", MakeElf(Record(16, 5, 1, 0, 12)).substr(0, 100), false},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = box.Path("module.so");
        SettingsSandbox::Write(path, c.bytes);
        WORD parts[4] = {9, 9, 9, 9};
        EXPECT_EQ(platform::ReadVersionRecord(CString::FromUtf8(path), parts), c.readable);
        if (c.readable) {
            EXPECT_EQ(parts[0], 5);
            EXPECT_EQ(parts[1], 1);
            EXPECT_EQ(parts[2], 0);
            EXPECT_EQ(parts[3], 12);
        }
        EXPECT_EQ(GetFileVersionInfoSize(CString::FromUtf8(path), nullptr) != 0, c.readable);
    }
    WORD parts[4];
    EXPECT_FALSE(platform::ReadVersionRecord(L"/no/such/module.so", parts));
    EXPECT_FALSE(platform::ReadVersionRecord(nullptr, parts));
}

#include "pivora/framework/version.h"
#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/system/module.h"
#include "platform/system/random.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <vector>

KELVANE_SETTINGS_SANDBOX();

namespace {

CVersion Make(WORD a, WORD b, WORD c, WORD d, BYTE depth = 4, const wchar_t* file = L"") {
    CVersion v;
    v.m_major = a;
    v.m_minor = b;
    v.m_build = c;
    v.m_revision = d;
    v.m_depth = depth;
    v.m_fileName = file;
    return v;
}

std::vector<BYTE> Store(CVersion& v) {
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        v.Serialize(ar);
        ar.Close();
    }
    mem.SeekToBegin();
    std::vector<BYTE> bytes(size_t(mem.GetLength()));
    mem.Read(bytes.data(), UINT(bytes.size()));
    return bytes;
}

void Load(const std::vector<BYTE>& bytes, CVersion& v) {
    CMemFile mem(bytes.data(), UINT(bytes.size()));
    CArchive ar(&mem, CArchive::load);
    v.Serialize(ar);
}

} // namespace

TEST(Version, TextFormsByDepth) {
    CVersion v = Make(5, 1, 0, 12, 2);
    EXPECT_EQ(CVersion::GetVersion(v), L"5.1");
    v.m_depth = 4;
    EXPECT_EQ(CVersion::GetVersion(v), L"5.1.0.12");
    v.m_depth = 1;
    EXPECT_EQ(CVersion::GetVersion(v), L"5");
    v.m_depth = 0;
    EXPECT_EQ(CVersion::GetVersion(v), L"");

    struct Case {
        const wchar_t* text;
        BYTE depth;
        eVersion result;
        WORD parts[4];
    } cases[] = {
        {L"5.1.0.12", 4, eVersionSet, {5, 1, 0, 12}},
        {L"1.2", 4, eVersionSet, {1, 0, 0, 2}},
        {L"7", 4, eVersionSet, {0, 0, 0, 7}},
        {L"5.x.1.0", 4, eVersionNotComparable, {5, 0, 0, 0}},
        {L"6.3.9", 2, eVersionSet, {6, 3, 0, 0}},
        {L"", 4, eVersionNotComparable, {0, 0, 0, 0}},
        {L"1.2.3.4x", 4, eVersionNotComparable, {1, 2, 3, 0}},
        {L"70000.1.1.1", 4, eVersionNotComparable, {0, 0, 0, 0}},
        {L"-1.0.0.0", 4, eVersionNotComparable, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        CVersion w;
        w.m_depth = c.depth;
        EXPECT_EQ(CVersion::SetVersion(c.text, w), c.result);
        EXPECT_EQ(w.m_major, c.parts[0]);
        EXPECT_EQ(w.m_minor, c.parts[1]);
        EXPECT_EQ(w.m_build, c.parts[2]);
        EXPECT_EQ(w.m_revision, c.parts[3]);
        EXPECT_EQ(w.m_depth, c.depth);
    }
}

TEST(Version, ComparisonsUpToADepth) {
    EXPECT_EQ(CVersion::CompareAppVersion(Make(5, 1, 0, 12), Make(5, 2, 0, 0), 4), eVersionOlder);
    EXPECT_EQ(CVersion::CompareAppVersion(Make(5, 1, 0, 12), Make(5, 1, 3, 0), 2), eVersionEqual);
    EXPECT_EQ(CVersion::CompareAppVersion(Make(6, 0, 0, 0), Make(5, 9, 9, 9), 1), eVersionNewer);
    EXPECT_EQ(CVersion::CompareAppVersion(Make(5, 1, 0, 12), Make(5, 1, 0, 11), 4), eVersionNewer);
    // A left record of depth 1 equals any right one of the same major.
    EXPECT_EQ(CVersion::CompareAppVersion(Make(5, 0, 0, 0, 1), Make(5, 9, 9, 9, 4), 4),
              eVersionEqual);
    EXPECT_EQ(CVersion::CompareAppVersion(Make(5, 1, 0, 12), L"5.1.0.12", 4), eVersionEqual);
    EXPECT_EQ(CVersion::CompareAppVersion(L"5.1", Make(5, 1, 0, 0), 4), eVersionOlder);
    EXPECT_EQ(CVersion::CompareAppVersion(L"", Make(5, 1, 0, 0), 4), eVersionNotComparable);
    EXPECT_EQ(CVersion::CompareAppVersion(Make(5, 1, 0, 0), L"five", 4), eVersionNotComparable);
    EXPECT_EQ(CVersion::CompareAppVersion(L"5.1.0.12", 5, 1, 0, 13, 4), eVersionOlder);
}

TEST(Version, ArrayFormRoundTripsUpToTheDepth) {
    for (BYTE depth : {1, 2, 3, 4}) {
        CVersion v = Make(5, 1, 7, 12, depth);
        int array[5] = {-1, -1, -1, -1, -1};
        EXPECT_EQ(CVersion::SetVersion(v, array), eVersionSet);
        EXPECT_EQ(array[0], depth);
        EXPECT_EQ(array[1], 12); // the parts in reverse order
        CVersion w;
        EXPECT_EQ(CVersion::SetVersion(array, w), eVersionSet);
        EXPECT_EQ(w.m_depth, depth);
        EXPECT_EQ(w.m_revision, 12);
        EXPECT_EQ(w.m_build, depth >= 2 ? 7 : 0);
        EXPECT_EQ(w.m_minor, depth >= 3 ? 1 : 0);
        EXPECT_EQ(w.m_major, depth >= 4 ? 5 : 0);
    }
    int none[5] = {255, 1, 2, 3, 4};
    CVersion w;
    CVersion::SetVersion(none, w);
    EXPECT_EQ(w.m_revision, 0);
}

TEST(Version, StoredFormWithItsLength) {
    CVersion v = Make(5, 1, 0, 12, 3, L"ab");
    std::vector<BYTE> bytes = Store(v);
    // u32 1, u64 payload length, u8 depth, four u16, then the string "ab".
    std::vector<BYTE> head = {
        1, 0, 0, 0, BYTE(bytes.size() - 12), 0, 0, 0, 0, 0, 0, 0, 3, 5, 0, 1, 0, 0, 0, 12, 0};
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + long(head.size())), head);

    CVersion w;
    Load(bytes, w);
    EXPECT_EQ(CVersion::GetVersion(w), L"5.1.0");
    EXPECT_EQ(w.m_fileName, L"ab");
}

TEST(Version, LaterAndDamagedRecords) {
    CVersion v = Make(5, 1, 0, 12, 4, L"x");
    std::vector<BYTE> bytes = Store(v);
    // A later writer's longer payload: known fields load, the rest is skipped.
    std::vector<BYTE> longer = bytes;
    longer[4] += 3;
    for (BYTE b : {9, 9, 9, 0xAB})
        longer.push_back(b);
    {
        CMemFile mem(longer.data(), UINT(longer.size()));
        CArchive ar(&mem, CArchive::load);
        CVersion w;
        w.Serialize(ar);
        EXPECT_EQ(CVersion::GetVersion(w), L"5.1.0.12");
        BYTE next = 0;
        ar >> next;
        EXPECT_EQ(next, 0xAB);
    }
    // A record version above 1 is skipped whole and leaves the record as it was.
    std::vector<BYTE> future = bytes;
    future[0] = 2;
    future.push_back(0xCD);
    {
        CMemFile mem(future.data(), UINT(future.size()));
        CArchive ar(&mem, CArchive::load);
        CVersion w = Make(1, 2, 3, 4);
        w.Serialize(ar);
        EXPECT_EQ(CVersion::GetVersion(w), L"1.2.3.4");
        BYTE next = 0;
        ar >> next;
        EXPECT_EQ(next, 0xCD);
    }
    // A length shorter than the fields, or beyond the stream, is damage.
    std::vector<BYTE> shortLength = bytes;
    shortLength[4] = 5;
    CVersion w = Make(1, 2, 3, 4);
    EXPECT_THROW(Load(shortLength, w), CArchiveException);
    EXPECT_EQ(CVersion::GetVersion(w), L"1.2.3.4");
    std::vector<BYTE> hugeLength = bytes;
    hugeLength[11] = 0x7F;
    EXPECT_THROW(Load(hugeLength, w), CArchiveException);
    std::vector<BYTE> cut(bytes.begin(), bytes.begin() + 15);
    EXPECT_THROW(Load(cut, w), CArchiveException);
}

TEST(Version, TheRunningProgramsVersionRecord) {
    WORD a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(CVersion::GetAppVersion(nullptr, &a, &b, &c, &d), 1);
    CVersion program;
    program.m_depth = 2;
    ASSERT_EQ(CVersion::GetAppVersion(nullptr, program), 1);
    EXPECT_EQ(program.m_depth, 2); // kept
    EXPECT_EQ(program.m_major, a);
    EXPECT_EQ(program.m_revision, d);
    EXPECT_EQ(program.m_fileName, platform::ProgramFilePath());

    // The library has the same record as the program built with it.
    CVersion lib;
    ASSERT_EQ(CVersion::GetAppVersion(
                  platform::ModuleFilePathOf(reinterpret_cast<const void*>(&platform::rand)), lib),
              1);
    EXPECT_EQ(CVersion::CompareAppVersion(lib, program, 4), eVersionEqual);

    CVersion none = Make(9, 9, 9, 9);
    EXPECT_EQ(CVersion::GetAppVersion(L"/no/such/file", none), 0);
    EXPECT_EQ(CVersion::GetVersion(none), L"9.9.9.9");

    CArray<CVersion, CVersion&> versions;
    CVersion other = Make(1, 0, 0, 0, 4, L"/elsewhere/program");
    versions.Add(other);
    EXPECT_EQ(CVersion::CompareAppVersion(versions, nullptr, 4), eVersionNotComparable);
    CVersion older = Make(0, 0, 0, 0, 4, program.m_fileName);
    versions.Add(older);
    EXPECT_EQ(CVersion::CompareAppVersion(versions, nullptr, 4),
              a == 0 && b == 0 && c == 0 && d == 0 ? eVersionEqual : eVersionOlder);
    EXPECT_EQ(CVersion::CompareAppVersion(versions, &other, 4), eVersionEqual);
}

#include "platform/core/stdio_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct TempFile {
    std::string folder;
    std::string path;
    explicit TempFile(const std::string& bytes) {
        char pattern[] = "/tmp/kelvane-stdio-XXXXXX";
        folder = mkdtemp(pattern);
        path = folder + "/text.txt";
        std::ofstream(path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::system(("rm -rf '" + folder + "'").c_str()); }
};

std::vector<CString> Lines(const std::string& bytes, UINT mode = CFile::typeText) {
    TempFile file(bytes);
    CStdioFile f;
    EXPECT_TRUE(f.Open(CString(file.path), CFile::modeRead | mode));
    std::vector<CString> lines;
    CString line;
    while (f.ReadString(line))
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(StdioFile, LineEndsAndTheLastLineWithoutOne) {
    EXPECT_EQ(Lines("one\r\ntwo\n\nthree"), (std::vector<CString>{L"one", L"two", L"", L"three"}));
    EXPECT_EQ(Lines("a\r\n", CFile::typeBinary), (std::vector<CString>{L"a\r"}));
    EXPECT_TRUE(Lines("").empty());
    EXPECT_EQ(Lines("\n"), (std::vector<CString>{L""}));
}

TEST(StdioFile, Utf8DecodedAndOtherBytesTakenAsLatin1) {
    // "é" in UTF-8, then a lone Latin-1 "é", an overlong form and a cut-off sequence.
    auto lines = Lines("caf\xC3\xA9 caf\xE9\n\xC0\xAF \xE2\x82");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], CString(L"caf\u00E9 caf\u00E9"));
    EXPECT_EQ(lines[1], CString(L"\u00C0\u00AF \u00E2\u0082"));
}

TEST(StdioFile, LinesLongerThanTheLimitAreDroppedAcrossReads) {
    std::string big(200000, 'x'); // longer than one read-ahead block
    TempFile file("short\r\n" + big + "\r\nafter");
    CStdioFile f(CString(file.path), CFile::modeRead | CFile::typeText);
    CString line;
    bool tooLong = true;
    ASSERT_TRUE(f.ReadString(line, 10, tooLong));
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(line, L"short");
    ASSERT_TRUE(f.ReadString(line, 10, tooLong));
    EXPECT_TRUE(tooLong);
    EXPECT_TRUE(line.IsEmpty());
    ASSERT_TRUE(f.ReadString(line, 10, tooLong));
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(line, L"after");
    EXPECT_FALSE(f.ReadString(line, 10, tooLong));
}

TEST(StdioFile, ReadAndPositionAccountForTheReadAhead) {
    TempFile file("first\nsecond\n");
    CStdioFile f(CString(file.path), CFile::modeRead | CFile::typeText);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(f.GetPosition(), 6u);
    char buf[3] = {};
    EXPECT_EQ(f.Read(buf, 3), 3u);
    EXPECT_EQ(std::string(buf, 3), "sec");
    f.Seek(-3, CFile::current);
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, L"second");
}

TEST(StdioFile, WriteStringInTextMode) {
    TempFile file("");
    {
        CStdioFile f(CString(file.path), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString(L"a\u00E9\nb");
    }
    std::ifstream in(file.path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "a\xC3\xA9\r\nb");
}

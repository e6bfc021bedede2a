#include "platform/core/file.h"
#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

struct TempFolder {
    std::string path;
    TempFolder() {
        char pattern[] = "/tmp/kelvane-file-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
};

} // namespace

TEST(FileIo, WriteSeekReadAndWindowsStylePaths) {
    TempFolder dir;
    CString name = CString(dir.path) + L"\\Design.KDX";
    {
        CFile f(name, CFile::modeCreate | CFile::modeWrite);
        f.Write("abcdef", 6);
        f.Seek(2, CFile::begin);
        f.Write("XY", 2);
        EXPECT_EQ(f.GetLength(), 6u);
        f.Close();
    }
    EXPECT_EQ(access((dir.path + "/Design.KDX").c_str(), F_OK), 0);
    CFile f;
    ASSERT_TRUE(f.Open(name, CFile::modeRead));
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, sizeof buf), 6u);
    EXPECT_STREQ(buf, "abXYef");
    EXPECT_EQ(f.GetFileName(), L"Design.KDX");
}

TEST(FileIo, FailuresCarryTheirCause) {
    TempFolder dir;
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(CString(dir.path) + L"/missing", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(f.Open(CString(dir.path), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_THROW(CFile::Remove(CString(dir.path) + L"/missing"), CFileException);
}

TEST(MemFileIo, GrowsOnWriteAndPatchesInPlace) {
    CMemFile m;
    m.Write("hello", 5);
    m.Seek(1, CFile::begin);
    m.Write("E", 1);
    m.Seek(8, CFile::begin);
    m.Write("!", 1);
    EXPECT_EQ(m.GetLength(), 9u);
    EXPECT_EQ(std::string(m.Data().begin(), m.Data().begin() + 5), "hEllo");
    EXPECT_THROW(m.Seek(-1, CFile::begin), CFileException);
    m.SeekToBegin();
    char buf[16];
    EXPECT_EQ(m.Read(buf, sizeof buf), 9u);
    EXPECT_EQ(m.Read(buf, sizeof buf), 0u);
}

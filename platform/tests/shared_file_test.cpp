#include "platform/system/shared_file.h"

#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Bytes(HGLOBAL block) {
    std::string s(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
    GlobalUnlock(block);
    return s;
}

TEST(SharedFile, GrowsInStepsAndDetachesExactlyWhatWasWritten) {
    const int blocks = platform::GlobalBlockCount();
    HGLOBAL out = nullptr;
    {
        CSharedFile f(16);
        for (int i = 0; i < 5; ++i)
            f.Write("abcdefg", 7);
        EXPECT_EQ(f.GetLength(), 35u);
        f.Seek(2, CFile::begin);
        char back[4] = {};
        EXPECT_EQ(f.Read(back, 3), 3u);
        EXPECT_EQ(std::string(back), "cde");
        f.Seek(40, CFile::begin);
        f.Write("z", 1); // the gap reads as zeros
        out = f.Detach();
        EXPECT_EQ(f.GetLength(), 0u);
        EXPECT_EQ(f.Detach(), nullptr);
    }
    // The block outlives the file, cut to the length written.
    ASSERT_TRUE(platform::IsGlobalBlock(out));
    const std::string s = Bytes(out);
    ASSERT_EQ(s.size(), 41u);
    EXPECT_EQ(s.substr(28, 7), "abcdefg");
    EXPECT_EQ(s.substr(35, 5), std::string(5, '\0'));
    EXPECT_EQ(s.back(), 'z');
    GlobalFree(out);
    EXPECT_EQ(platform::GlobalBlockCount(), blocks);
}

TEST(SharedFile, AWrappedBlockIsReadInPlaceAndStaysItsOwners) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(block), "stream", 6);
    GlobalUnlock(block);
    {
        CSharedFile f;
        f.SetHandle(block, FALSE);
        EXPECT_EQ(f.GetLength(), 6u);
        char buf[8] = {};
        EXPECT_EQ(f.Read(buf, 8), 6u);
        EXPECT_EQ(std::string(buf), "stream");
        EXPECT_EQ(f.Read(buf, 8), 0u);
        f.Seek(0, CFile::begin);
        f.Write("S", 1);
        // Past its end the block may not grow.
        f.Seek(0, CFile::end);
        EXPECT_THROW(f.Write("!", 1), CFileException);
        EXPECT_THROW(f.Seek(-1, CFile::begin), CFileException);
        f.Close();
    }
    ASSERT_TRUE(platform::IsGlobalBlock(block));
    EXPECT_EQ(Bytes(block), "Stream");

    // Taken with the right to grow, it becomes the file's own.
    {
        CSharedFile f(4);
        f.SetHandle(block, TRUE);
        f.Seek(0, CFile::end);
        f.Write("s", 1);
        block = f.Detach();
    }
    EXPECT_EQ(Bytes(block), "Streams");
    GlobalFree(block);
}

} // namespace

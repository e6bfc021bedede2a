#include "platform/windowing/clipboard.h"

#include "platform/graphics/metafile.h"
#include "platform/system/global_memory.h"

#include <gtest/gtest.h>

namespace {

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { platform::ResetClipboard(); }
    void TearDown() override {
        platform::SetClipboardObserver(nullptr);
        platform::ResetClipboard();
    }
    static HGLOBAL Block(const char* text) {
        HGLOBAL b = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
        memcpy(GlobalLock(b), text, strlen(text) + 1);
        GlobalUnlock(b);
        return b;
    }
    HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20);
};

TEST_F(ClipboardTest, OneOpenerAtATimeAndOnlyItEmptiesAndSets) {
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    ASSERT_TRUE(OpenClipboard(a));
    EXPECT_FALSE(OpenClipboard(b));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), a);
    HGLOBAL text = Block("hello");
    EXPECT_EQ(SetClipboardData(CF_TEXT, text), text);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr); // not open
    ASSERT_TRUE(OpenClipboard(b));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "hello");
    GlobalUnlock(GetClipboardData(CF_TEXT));
    CloseClipboard();
}

TEST_F(ClipboardTest, EmptyingFreesWhatTheClipboardHeldPictureMetafilesIncluded) {
    const int blocks = platform::GlobalBlockCount();
    const BYTE eof[] = {1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0};
    HMETAFILE mf = SetMetaFileBitsEx(sizeof eof, eof);
    ASSERT_NE(mf, nullptr);
    HGLOBAL pict = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
    *static_cast<METAFILEPICT*>(GlobalLock(pict)) = METAFILEPICT{MM_TEXT, 10, 10, mf};
    GlobalUnlock(pict);
    ASSERT_TRUE(OpenClipboard(a));
    EmptyClipboard();
    SetClipboardData(CF_METAFILEPICT, pict);
    SetClipboardData(CF_TEXT, Block("x"));
    SetClipboardData(CF_TEXT, Block("y")); // replaces and frees "x"
    EXPECT_EQ(CountClipboardFormats(), 2);
    EXPECT_EQ(EnumClipboardFormats(0), CF_METAFILEPICT);
    EXPECT_EQ(EnumClipboardFormats(CF_METAFILEPICT), CF_TEXT);
    EXPECT_EQ(EnumClipboardFormats(CF_TEXT), 0u);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(platform::GlobalBlockCount(), blocks);
    EXPECT_EQ(platform::MetaFileCount(), 0);
}

TEST_F(ClipboardTest, RegisteredNamesKeepTheirNumberInAnyCase) {
    const UINT f = RegisterClipboardFormatW(L"Tavrin_1.0");
    EXPECT_GE(f, kFirstRegisteredClipboardFormat);
    EXPECT_EQ(RegisterClipboardFormatW(L"TAVRIN_1.0"), f);
    EXPECT_NE(RegisterClipboardFormatW(L"Other"), f);
    EXPECT_EQ(RegisterClipboardFormatW(L""), 0u);
    wchar_t name[32] = {};
    EXPECT_EQ(GetClipboardFormatNameW(f, name, 32), 10);
    EXPECT_STREQ(name, L"Tavrin_1.0");
    EXPECT_EQ(GetClipboardFormatNameW(CF_TEXT, name, 32), 0);
}

TEST_F(ClipboardTest, TheObserverHearsOfEachChangeWhenTheClipboardCloses) {
    int told = 0;
    platform::SetClipboardObserver([&] { ++told; });
    OpenClipboard(a);
    CloseClipboard();
    EXPECT_EQ(told, 0);
    OpenClipboard(a);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, Block("z"));
    EXPECT_EQ(told, 0);
    CloseClipboard();
    EXPECT_EQ(told, 1);
}

} // namespace

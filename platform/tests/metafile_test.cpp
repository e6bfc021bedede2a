#include "platform/graphics/metafile.h"

#include "platform/graphics/surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<BYTE> OldStyle(HENHMETAFILE emf) {
    const UINT n = GetWinMetaFileBits(emf, 0, nullptr, MM_TEXT, nullptr);
    std::vector<BYTE> bytes(n);
    EXPECT_EQ(GetWinMetaFileBits(emf, n, bytes.data(), MM_TEXT, nullptr), n);
    return bytes;
}

TEST(Metafile, ALineRecordsAsOldStyleBytesAndPlaysBack) {
    const RECT frame{0, 0, 2540, 2540};
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, L"App\0Pic\0");
    ASSERT_NE(dc, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(0x12, 0x34, 0x56));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 10, 20, nullptr);
    LineTo(dc, -30, 40);
    SelectObject(dc, old);
    DeleteObject(pen);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    ASSERT_NE(emf, nullptr);
    wchar_t desc[16] = {};
    EXPECT_EQ(GetEnhMetaFileDescriptionW(emf, 16, desc), 8u);
    EXPECT_EQ(std::wstring(desc, 8), std::wstring(L"App\0Pic\0", 8));
    const std::vector<BYTE> bytes = OldStyle(emf);
    const std::vector<BYTE> expected = {
        // header: memory, 9 words, version 3.0, 47 words in all, 1 object, largest record 8
        0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x2F, 0x00, 0x00, 0x00, 0x01, 0x00, 0x08, 0x00, 0x00,
        0x00, 0x00, 0x00,
        // SETMAPMODE text
        0x04, 0x00, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00,
        // MOVETO (y 20, x 10)
        0x05, 0x00, 0x00, 0x00, 0x14, 0x02, 0x14, 0x00, 0x0A, 0x00,
        // CREATEPENINDIRECT solid, width 2, colour 0x563412 in slot 0; SELECTOBJECT 0
        0x08, 0x00, 0x00, 0x00, 0xFA, 0x02, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x12, 0x34, 0x56,
        0x00, 0x04, 0x00, 0x00, 0x00, 0x2D, 0x01, 0x00, 0x00,
        // MOVETO (20, 10), LINETO (y 40, x -30)
        0x05, 0x00, 0x00, 0x00, 0x14, 0x02, 0x14, 0x00, 0x0A, 0x00, 0x05, 0x00, 0x00, 0x00, 0x13,
        0x02, 0x28, 0x00, 0xE2, 0xFF,
        // DELETEOBJECT 0, EOF
        0x04, 0x00, 0x00, 0x00, 0xF0, 0x01, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);
    HMETAFILE mf = SetMetaFileBitsEx(UINT(bytes.size()), bytes.data());
    ASSERT_NE(mf, nullptr);
    platform::RecordingSurface rec(100, 100);
    HDC play = platform::CreateSurfaceDC(&rec);
    EXPECT_TRUE(PlayMetaFile(play, mf));
    DeleteDC(play);
    const auto lines = rec.Calls(platform::GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pts.back().x, -30);
    EXPECT_EQ(lines[0].pts.back().y, 40);
    EXPECT_EQ(lines[0].penColour, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(lines[0].penWidth, 2);
    EXPECT_TRUE(DeleteMetaFile(mf));
    EXPECT_TRUE(DeleteEnhMetaFile(emf));
    EXPECT_EQ(platform::MetaFileCount(), 0);
}

TEST(Metafile, DamagedBytesAreRefusedOrStopThePlayback) {
    const BYTE notMeta[] = {2, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0};
    EXPECT_EQ(SetMetaFileBitsEx(sizeof notMeta, notMeta), nullptr);
    EXPECT_EQ(SetMetaFileBitsEx(4, notMeta), nullptr);
    // A polyline that claims more points than its record holds, then a record past the end.
    const BYTE cut[] = {1, 0, 9, 0, 0,    3, 0,   0, 0, 0, 0,    0, 0, 0, 0,    0, 0, 0,
                        5, 0, 0, 0, 0x25, 3, 100, 0, 1, 0, 0xFF, 0, 0, 0, 0x13, 2, 1, 0};
    HMETAFILE mf = SetMetaFileBitsEx(sizeof cut, cut);
    ASSERT_NE(mf, nullptr);
    platform::RecordingSurface rec(100, 100);
    HDC play = platform::CreateSurfaceDC(&rec);
    EXPECT_TRUE(PlayMetaFile(play, mf));
    DeleteDC(play);
    EXPECT_TRUE(rec.Calls().empty());
    DeleteMetaFile(mf);
    // Only memory metafiles in the text mapping are made.
    EXPECT_EQ(CreateEnhMetaFileW(nullptr, L"x.emf", nullptr, nullptr), nullptr);
}

} // namespace

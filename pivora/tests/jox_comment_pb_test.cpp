#include "pivora/document/jox_comment_pb.h"

#include "platform/core/mem_file.h"

#include "archive_round_trip.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<CJOXCommentPB> LoadObject(const std::vector<BYTE>& bytes) {
    return std::unique_ptr<CJOXCommentPB>(LoadObjectAs<CJOXCommentPB>(bytes));
}

TEST(JoxCommentPB, StoresIdAndCommentsInOneField) {
    CJOXCommentPB pb;
    pb.fnSetID(42);
    pb.fnSetArraySize(2);
    pb.fnSetComment(0, CString(L"x"));
    CString name(L"N");
    pb.SetName(name);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    pb.Serialize(ar);
    ar.Close();
    const std::vector<BYTE> expected = {
        // base group: id 17, name "N"
        0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x11, 0x00,                        //
        0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 'N', 0x00, //
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,                                    //
        // own group: field 1 = id 42, count 2, "x", ""
        0x01, 0x00, 0x10, 0x00, 0x00, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x02, 0x00, //
        0xFF, 0xFE, 0xFF, 0x01, 'x', 0x00, 0xFF, 0xFE, 0xFF, 0x00,              //
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(file.Detach(), expected);
}

TEST(JoxCommentPB, RoundTripByClassName) {
    CJOXCommentPB pb;
    pb.fnSetID(42);
    pb.fnSetArraySize(3);
    pb.fnSetComment(0, CString(L"first"));
    pb.fnSetComment(2, CString(L"third \u00e9"));
    CString name(L"Notes");
    pb.SetName(name);

    auto back = LoadObject(StoreObject(&pb));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Id(), 17);
    EXPECT_EQ(back->fnGetID(), 42);
    ASSERT_EQ(back->fnGetCount(), 3);
    CString s, n;
    back->fnGetComment(0, s);
    EXPECT_EQ(s, CString(L"first"));
    back->fnGetComment(1, s);
    EXPECT_EQ(s, CString());
    back->fnGetComment(2, s);
    EXPECT_EQ(s, CString(L"third \u00e9"));
    back->GetName(n);
    EXPECT_EQ(n, CString(L"Notes"));
}

TEST(JoxCommentPB, ArraySizeAndIndexRules) {
    CJOXCommentPB pb;
    EXPECT_EQ(pb.fnGetID(), -1);
    EXPECT_EQ(pb.fnGetCount(), 0);
    pb.fnSetArraySize(2);
    pb.fnSetComment(0, CString(L"a"));
    pb.fnSetComment(1, CString(L"b"));
    pb.fnSetComment(2, CString(L"c")); // never grows
    EXPECT_EQ(pb.fnGetCount(), 2);

    CString out(L"kept");
    pb.fnGetComment(5, out);
    EXPECT_EQ(out, CString(L"kept"));
    pb.fnGetComment(-1, out);
    EXPECT_EQ(out, CString(L"kept"));

    pb.fnSetArraySize(2); // existing comments are discarded
    pb.fnGetComment(0, out);
    EXPECT_EQ(out, CString());
    pb.fnGetComment(1, out);
    EXPECT_EQ(out, CString());
}

TEST(JoxCommentPB, CountBeyondTheStreamIsRefused) {
    CJOXCommentPB pb;
    pb.fnSetID(1);
    auto bytes = StoreObject(&pb);
    // Patch the comment count (the last field's u16 before the end field) to 0xFFFE.
    ASSERT_GE(bytes.size(), 8u);
    size_t countAt = bytes.size() - 6 - 2;
    bytes[countAt] = 0xFE;
    bytes[countAt + 1] = 0xFF;
    EXPECT_THROW(LoadObject(bytes), CArchiveException);
}

} // namespace

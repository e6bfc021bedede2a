#include "gastelo/emb_table_param_blk.h"

#include "browsing_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The base block's group of a table block: id 8, name "Default", end field.
const std::vector<BYTE> kBaseGroup = {
    0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x08, 0x00, // field 0, 2 bytes: id 8
    0x01, 0x00, 0x12, 0x00, 0x00, 0x00,             // field 1, 18 bytes: name
    0xFF, 0xFE, 0xFF, 0x07, 'D',  0,    'e',  0,    'f',
    0,    'a',  0,    'u',  0,    'l',  0,    't',  0, // "Default"
    0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,                // end
};

// The version 3 payload of the sample table below (54 bytes).
const std::vector<BYTE> kPayloadV3 = {
    0xFF, 0xFE, 0xFF, 0x01, 'T',  0,                // 13 "T"
    0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // 2: 5, 3: 0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // 4, 5
    0xFA, 0xFF, 0xFF, 0xFF,                         // 6: -6
    0x01, 0x00, 0x00, 0x00,                         // 7: 1
    0x00, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, // 8: 0, 9: 9
    0xFF, 0xFE, 0xFF, 0x02, 'a',  0,    'b',  0,    // 10 "ab"
    0xFF, 0xFE, 0xFF, 0x00,                         // 11 empty
    0xFF, 0xFE, 0xFF, 0x00,                         // 12 empty
};
constexpr size_t kField13Bytes = 6;
constexpr size_t kFields2To6Bytes = 20;

void SetSample(CEmbTableParamBlk& t) {
    t.m_strText13 = L"T";
    t.Word(2) = 5;
    t.Word(6) = -6;
    t.m_nField9 = 9;
    t.m_strText10 = L"ab";
    t.m_nFirstWord = 4; // not stored
}

std::vector<BYTE> Record(WORD version, const std::vector<BYTE>& payload) {
    std::vector<BYTE> out = kBaseGroup;
    const DWORD len = DWORD(payload.size());
    out.insert(out.end(), {BYTE(version), BYTE(version >> 8), BYTE(len), BYTE(len >> 8),
                           BYTE(len >> 16), BYTE(len >> 24)});
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), {0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00});
    return out;
}

void ExpectSampleTable(const CEmbTableParamBlk& t) {
    EXPECT_EQ(t.m_nField7, 1);
    EXPECT_EQ(t.m_nField9, 9);
    EXPECT_EQ(t.m_strText10, CString(L"ab"));
    EXPECT_TRUE(t.m_strText11.IsEmpty());
}

class EmbTableParamBlkTest : public BrowsingTest {};

} // namespace

TEST_F(EmbTableParamBlkTest, WritesVersionThreeAndReadsItBack) {
    CEmbTableParamBlk t;
    EXPECT_EQ(t.Id(), 8);
    EXPECT_EQ(t.m_nFirstWord, 1);
    SetSample(t);
    ASSERT_EQ(kPayloadV3.size(), 54u);
    const std::vector<BYTE> stored = StoreBytes(t);
    EXPECT_EQ(stored, Record(3, kPayloadV3)) << Hex(stored);

    CEmbTableParamBlk back;
    ASSERT_TRUE(LoadBytes(back, stored));
    ExpectSampleTable(back);
    EXPECT_EQ(back.m_strText13, CString(L"T"));
    EXPECT_EQ(back.Word(2), 5);
    EXPECT_EQ(back.Word(6), -6);
    EXPECT_EQ(back.m_nFirstWord, 1);
}

TEST_F(EmbTableParamBlkTest, ReadsTheOlderVersions) {
    const std::vector<BYTE> v2(kPayloadV3.begin() + kField13Bytes, kPayloadV3.end());
    CEmbTableParamBlk t2;
    ASSERT_TRUE(LoadBytes(t2, Record(2, v2)));
    ExpectSampleTable(t2);
    EXPECT_EQ(t2.Word(2), 5);
    EXPECT_TRUE(t2.m_strText13.IsEmpty());

    const std::vector<BYTE> v1(kPayloadV3.begin() + kField13Bytes + kFields2To6Bytes,
                               kPayloadV3.end());
    CEmbTableParamBlk t1;
    ASSERT_TRUE(LoadBytes(t1, Record(1, v1)));
    ExpectSampleTable(t1);
    for (int f = 2; f <= 6; ++f)
        EXPECT_EQ(t1.Word(f), 0) << f;
}

TEST_F(EmbTableParamBlkTest, DamagedRecordsLeaveSoundValues) {
    std::vector<BYTE> shorter(kPayloadV3.begin(), kPayloadV3.end() - 2);
    std::vector<BYTE> longText = kPayloadV3;
    longText[3] = 0xF0; // field 13 announcing 240 characters
    const std::vector<BYTE> records[] = {Record(4, kPayloadV3), Record(0, kPayloadV3),
                                         Record(3, shorter), Record(3, longText)};
    for (const auto& r : records) {
        CEmbTableParamBlk t;
        ASSERT_TRUE(LoadBytes(t, r));
        EXPECT_EQ(t.m_nField9, 0);
        EXPECT_TRUE(t.m_strText10.IsEmpty());
        EXPECT_EQ(t.Word(2), 0);
    }
    std::vector<BYTE> longer = kPayloadV3;
    longer.push_back(0x42);
    CEmbTableParamBlk t;
    ASSERT_TRUE(LoadBytes(t, Record(3, longer)));
    ExpectSampleTable(t);
}

TEST_F(EmbTableParamBlkTest, CopiesOnlyWhatAFileHoldsAndFollowsTheSaveFlag) {
    CEmbTableParamBlk source;
    SetSample(source);
    CEmbTableParamBlk target;
    target.m_nFirstWord = 3;
    EXPECT_EQ(source.CopyObject(&target), &target);
    ExpectSampleTable(target);
    EXPECT_EQ(target.m_strText13, CString(L"T"));
    EXPECT_EQ(target.m_nFirstWord, 3);

    std::unique_ptr<CObject> made(source.CopyObject(nullptr));
    auto* copy = DYNAMIC_DOWNCAST(CEmbTableParamBlk, made.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Word(6), -6);
    EXPECT_EQ(copy->m_nFirstWord, 1);

    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(source.CanSerialize(ar));
    source.SetCanSerialize(0);
    EXPECT_FALSE(source.CanSerialize(ar));
    ar.Close();
}

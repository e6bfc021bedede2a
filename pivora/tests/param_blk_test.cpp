#include "pivora/param_blk.h"

#include "platform/core/mem_file.h"

#include "archive_round_trip.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct BlockArray : CParamBlkArray {
    ~BlockArray() {
        for (INT_PTR i = 0; i < GetSize(); ++i)
            delete GetAt(i);
    }
};

TEST(ParamBlk, DefaultsOfBothConstructors) {
    CParamBlk plain;
    CParamBlk withId(14);
    CString name;
    plain.GetName(name);
    EXPECT_EQ(plain.Id(), -1);
    EXPECT_EQ(name, CString(L"Default"));
    EXPECT_EQ(withId.Id(), 14);
    EXPECT_EQ(withId.GetDocument(), nullptr);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_EQ(withId.CanSerialize(ar), 1);
    EXPECT_EQ(withId.CreateParamBlk(), nullptr);
    EXPECT_TRUE(withId.IsKindOf(CParamBlk::GetThisClass()));
}

TEST(ParamBlk, BaseGroupBytes) {
    CParamBlk b(0x10013);
    b.SetName(CString(L"Ab"));
    // Field 0: the id as u16 (high bits dropped); field 1: the name; end field.
    const std::vector<BYTE> expected = {0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x13, 0x00, //
                                        0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0xFF, 0xFE,
                                        0xFF, 0x02, 'A',  0,    'b',  0, //
                                        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(StoreBody(b), expected);

    CParamBlk back(0x10000);
    LoadBody(back, expected);
    CString name;
    back.GetName(name);
    EXPECT_EQ(back.Id(), 0x10013); // only the low 16 bits come from the file
    EXPECT_EQ(name, CString(L"Ab"));
}

TEST(ParamBlk, LoadSkipsUnknownAndMissizedFields) {
    const std::vector<BYTE> bytes = {
        0x07, 0x00, 0x03, 0x00, 0x00, 0x00, 1,    2,    3,                // unknown field
        0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0,    0,          // id stored as 32 bits
        0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0x99, // name + stray byte
        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00};
    CParamBlk b(13);
    LoadBody(b, bytes);
    CString name;
    b.GetName(name);
    EXPECT_EQ(b.Id(), 13);
    EXPECT_EQ(name, CString());
}

TEST(ParamBlk, LoadRefusesANameRunningPastItsField) {
    // The string announces three characters but the field holds four bytes.
    const std::vector<BYTE> bytes = {0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0xFF, 0xFE,
                                     0xFF, 0x03, 'a',  0,    'b',  0,    'c',  0,
                                     0xFE, 0xFE, 0,    0,    0,    0};
    CParamBlk b(1);
    EXPECT_THROW(LoadBody(b, bytes), CArchiveException);
}

TEST(FindThisParam, ScansFromStartAndRefusesBadStarts) {
    BlockArray blocks;
    for (int id : {1, 14, 7, 14})
        blocks.Add(new CParamBlk(id));
    struct Case {
        int id, start;
        INT_PTR expected; // index, -1 for null
    } cases[] = {
        {14, 0, 1}, {14, 2, 3}, {14, 4, -1}, {14, -1, -1}, {1, 1, -1}, {7, 0, 2}, {99, 0, -1},
    };
    for (const Case& c : cases) {
        CParamBlk* found = FindThisParam(blocks, c.id, c.start);
        EXPECT_EQ(found, c.expected < 0 ? nullptr : blocks.GetAt(c.expected))
            << "id " << c.id << " start " << c.start;
    }
    CParamBlkArray empty;
    EXPECT_EQ(FindThisParam(empty, 1, 0), nullptr);
}

TEST(ParamBlk, DerivedBlocksCreatedByNameAreParamBlocks) {
    std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject("CParamBlk"));
    ASSERT_NE(obj, nullptr);
    EXPECT_NE(DynamicDowncast<CParamBlk>(obj.get()), nullptr);
}

} // namespace

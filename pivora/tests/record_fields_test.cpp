#include "pivora/document/record_fields.h"

#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<BYTE> Store(void (*write)(CArchive&)) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
    return file.Detach();
}

// Fixed fields are the id, the length of the values and the values, little-endian.
TEST(RecordFields, FixedFieldsInTheirStoredForm) {
    auto bytes = Store([](CArchive& ar) {
        record_fields::StoreFixed(ar, 7, int32_t(-2), WORD(0x0102), 1.5f);
        CRecArchive(ar).StoreEndRec();
    });
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x07, 0x00, 0x0A, 0x00, 0x00, 0x00,    // id, length
                                        0xFE, 0xFF, 0xFF, 0xFF, 0x02, 0x01,    // -2, 0x0102
                                        0x00, 0x00, 0xC0, 0x3F,                // 1.5f
                                        0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00})); // end field
}

// The loop hands each field to the reader; what it does not take, and fixed fields of the
// wrong length, are skipped by their length and the values keep their defaults.
TEST(RecordFields, UnknownFieldsAndWrongLengthsAreSkipped) {
    auto bytes = Store([](CArchive& ar) {
        record_fields::StoreFixed(ar, 9, int32_t(99), int32_t(98)); // unknown id
        record_fields::StoreFixed(ar, 1, int32_t(5), int32_t(6));   // 8 bytes: wrong length
        record_fields::StoreFixed(ar, 2, int32_t(7), int16_t(-1), int16_t(-2));
        CRecArchive(ar).StoreEndRec();
        ar << int32_t(0x55); // after the group
    });
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CRecArchive rec(ar);
    int32_t one = -1, two = -1;
    int16_t pair[2] = {0, 0};
    std::vector<WORD> seen;
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        seen.push_back(id);
        switch (id) {
        case 1:
            record_fields::LoadFixed(rec, len, one);
            return true;
        case 2:
            record_fields::LoadFixed(rec, len, two, pair);
            return true;
        default:
            return false;
        }
    });
    EXPECT_EQ(seen, (std::vector<WORD>{9, 1, 2}));
    EXPECT_EQ(one, -1);
    EXPECT_EQ(two, 7);
    EXPECT_EQ(pair[0], -1);
    EXPECT_EQ(pair[1], -2);
    int32_t after = 0;
    ar >> after;
    EXPECT_EQ(after, 0x55);
}

} // namespace

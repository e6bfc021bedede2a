#include "vector/cut_line.h"

#include "vector_fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CutLine, NewLineIsUnassignedWithoutMaterial) {
    CCutLine line(4);
    EXPECT_EQ(line.fnGetColour(), 4);
    EXPECT_EQ(line.fnGetName(), CString(L"Unassigned"));
    CString effect, material = L"x";
    line.fnGetEffectAndMaterial(effect, material);
    EXPECT_EQ(effect, CString(L"Unassigned"));
    EXPECT_TRUE(material.IsEmpty());
}

TEST(CutLine, NameSplitsAtTheFirstTab) {
    CCutLine line;
    line.fnSetName(CString(L"Kiss cut\tVinyl\tgloss"));
    CString effect, material;
    line.fnGetEffectAndMaterial(effect, material);
    EXPECT_EQ(effect, CString(L"Kiss cut"));
    EXPECT_EQ(material, CString(L"Vinyl\tgloss"));
}

TEST(CutLine, StoresColourAndName) {
    CCutLine line(0x0203);
    line.fnSetName(CString(L"Ab"));
    const std::vector<BYTE> bytes = StoreObject(&line);
    EXPECT_TRUE(EndsWith(bytes, {
                                    0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00, 0x00,
                                    0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x02,
                                    'A',  0x00, 'b',  0x00, 0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00,
                                }));
    std::unique_ptr<CCutLine> back(LoadObjectAs<CCutLine>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->fnGetColour(), 0x0203);
    EXPECT_EQ(back->fnGetName(), CString(L"Ab"));
}

} // namespace

#include "vector/draw_line_palette.h"

#include "vector_fixtures.h"

#include "platform/core/mem_file.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using DrawLinePaletteTest = VectorTest;

// A stored block 5 as an older program wrote it.
std::vector<BYTE> OldBlock(uint32_t count, std::vector<int32_t> colours) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    CParamBlk base(CParamBlk::kDrawLinePaletteId);
    CDrawLinePalette header(0);
    ar.WriteObjectHeader(&header);
    base.Serialize(ar);
    CRecArchive rec(ar);
    DWORD pos = rec.StartStore(0);
    ar.WriteCount(count);
    for (int32_t c : colours)
        ar << c;
    rec.EndStore(pos);
    rec.StoreEndRec();
    ar.Close();
    return file.Detach();
}

TEST_F(DrawLinePaletteTest, InitialColoursAreTheirIndexForTheFirstSixteen) {
    CDrawLinePalette t(18);
    EXPECT_EQ(t.Id(), 5);
    EXPECT_EQ(t.Map2DrawLine(15)->GetColour(), 15);
    EXPECT_EQ(t.Map2DrawLine(17)->GetColour(), 0);
    EXPECT_THROW(t.Map2DrawLine(18), CInvalidArgException);
    CDrawLinePalette d;
    EXPECT_EQ(d.GetSize(), 16);
}

TEST_F(DrawLinePaletteTest, ReadsAnOldBlockAndRefusesACountBeyondTheStream) {
    std::unique_ptr<CDrawLinePalette> t(LoadObjectAs<CDrawLinePalette>(OldBlock(3, {7, 8, 9})));
    ASSERT_TRUE(t);
    ASSERT_EQ(t->GetSize(), 3);
    EXPECT_EQ(t->Map2DrawLine(2)->GetColour(), 9);
    EXPECT_THROW(delete LoadObjectAs<CDrawLinePalette>(OldBlock(1000000, {1, 2})),
                 CArchiveException);
}

} // namespace

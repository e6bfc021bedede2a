#include "vector/cut_line_palette.h"

#include "vector_fixtures.h"

#include "vector/draw_line_palette.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using CutLinePaletteTest = VectorTest;

TEST_F(CutLinePaletteTest, IndicesPastTheEndWrapOnceThenFallToLineOne) {
    CCutLinePalette t;
    EXPECT_EQ(t.Id(), 13);
    ASSERT_EQ(t.fnGetSize(), 10);
    struct Case {
        int index, line;
    } cases[] = {{0, 0}, {9, 9}, {10, 1}, {18, 9}, {19, 1}, {25, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(t.fnMap2CutLine(c.index)->fnGetColour(), c.line) << c.index;
    EXPECT_THROW(t.fnMap2CutLine(-1), CInvalidArgException);
    CCutLinePalette one(1);
    EXPECT_THROW(one.fnMap2CutLine(5), CInvalidArgException);
}

TEST_F(CutLinePaletteTest, NamesEffectsAndSize) {
    CCutLinePalette t(3);
    t.fnSetCutLineName(CString(L"Perforate\tCard"), 1);
    t.fnSetCutLineName(CString(L"ignored"), 3);
    EXPECT_EQ(t.fnGetCutLineName(1), CString(L"Perforate\tCard"));
    EXPECT_TRUE(t.fnGetCutLineName(3).IsEmpty());
    CStringArray with, without;
    t.fnGetEffects(with, 1);
    t.fnGetEffects(without, 0);
    ASSERT_EQ(with.GetSize(), 3);
    EXPECT_EQ(with[1], CString(L"Perforate\tCard"));
    EXPECT_EQ(without[1], CString(L"Perforate"));
    EXPECT_EQ(with[0], CString(L"Unassigned\t"));

    EXPECT_EQ(t.fnResize(5), 3);
    EXPECT_EQ(t.fnMap2CutLine(4)->fnGetColour(), 4);
    EXPECT_EQ(t.fnGrowBy(-9), 5);
    EXPECT_EQ(t.fnGetSize(), 0);
    t.fnSetCutLine(2, new CCutLine(7));
    EXPECT_EQ(t.fnGetSize(), 3);
    EXPECT_EQ(t.fnMap2CutLine(0)->fnGetColour(), 0);
    t.fnSetCutLine(2, new CCutLine(8));
    std::unique_ptr<CCutLinePalette> copy(t.fnCopy());
    EXPECT_EQ(copy->fnMap2CutLine(2)->fnGetColour(), 8);
}

TEST_F(CutLinePaletteTest, OldLineTableIsConvertedAndNeverWrittenAgain) {
    auto page = NewPage();
    page->AddParam(new CDrawLinePalette(16));
    auto* lines = new CCutLinePalette(page.get(), 10);
    page->AddParam(lines);
    ASSERT_EQ(lines->fnGetSize(), 16);
    EXPECT_EQ(lines->fnMap2CutLine(15)->fnGetColour(), 15);
    EXPECT_EQ(page->FindParam(CParamBlk::kDrawLinePaletteId), nullptr);

    // A design read with an old table gets it back, but never writes it.
    auto old = NewPage();
    old->AddParam(new CDrawLinePalette(4));
    old->AddParam(new CCutLinePalette(2));
    auto back = NewPage();
    LoadPage(*back, StorePage(*old));
    EXPECT_EQ(back->FindParam(CParamBlk::kDrawLinePaletteId), nullptr);
}

TEST_F(CutLinePaletteTest, StoresTheLinesAndReadsThemBack) {
    CCutLinePalette t(2);
    t.fnSetCutLineName(CString(L"Cut\tPaper"), 1);
    std::unique_ptr<CCutLinePalette> back(LoadObjectAs<CCutLinePalette>(StoreObject(&t)));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->fnGetSize(), 2);
    EXPECT_EQ(back->fnGetCutLineName(1), CString(L"Cut\tPaper"));
}

} // namespace

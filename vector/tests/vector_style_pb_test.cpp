#include "vector/vector_style_pb.h"

#include "vector_fixtures.h"

#include "pivora/colour_palette.h"
#include "vector/draw_line_palette.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using VectorStylePBTest = VectorTest;

std::vector<int> Entries(CVectorStylePB& t) {
    std::vector<int> out;
    for (int i = 0; i < t.fnGetSize(); ++i)
        out.push_back(t.fnMap2VectorStyle(i)->fnGetColPalIdx());
    return out;
}

TEST_F(VectorStylePBTest, IndicesPastTheEndWrapOnceThenFallToStyleZero) {
    CVectorStylePB t(16);
    struct Case {
        int index, style;
    } cases[] = {{0, 0}, {15, 15}, {16, 1}, {30, 15}, {31, 0}, {1000, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(t.fnMap2VectorStyle(c.index)->fnGetColPalIdx(), c.style) << c.index;
    EXPECT_THROW(t.fnMap2VectorStyle(-1), CInvalidArgException);
    CVectorStylePB empty(0);
    EXPECT_EQ(empty.fnMap2VectorStyle(0), nullptr);
    EXPECT_EQ(empty.fnMap2VectorStyle(5), nullptr);
}

TEST_F(VectorStylePBTest, SizeSettersAndEntries) {
    CVectorStylePB t(3);
    EXPECT_EQ(t.Id(), 14);
    EXPECT_EQ(t.fnGetMinimumSize(), 1);
    t.fnSetMinimumSize(0);
    EXPECT_EQ(t.fnGetMinimumSize(), 1);
    t.fnSetMinimumSize(4);
    EXPECT_EQ(t.fnGetMinimumSize(), 4);
    t.fnSetAt(5, new CVectorStyle(9));
    EXPECT_EQ(Entries(t), (std::vector<int>{0, 1, 2, 0, 0, 9}));
    t.fnSetAt(1, new CVectorStyle(7));
    EXPECT_EQ(t.fnDeleteStyle(0), 1);
    EXPECT_EQ(t.fnDeleteStyle(5), 0);
    EXPECT_EQ(Entries(t), (std::vector<int>{7, 2, 0, 0, 9}));
    EXPECT_EQ(t.fnResize(2), 5);
    EXPECT_EQ(Entries(t), (std::vector<int>{7, 2}));
    // Without a palette new styles continue the table's own numbering.
    EXPECT_EQ(t.fnGrowBy(2), 2);
    EXPECT_EQ(Entries(t), (std::vector<int>{7, 2, 2, 3}));
    t.fnSetRTFlag(1, 1);
    std::unique_ptr<CVectorStylePB> copy(t.fnCopy());
    EXPECT_EQ(Entries(*copy), Entries(t));
    EXPECT_EQ(copy->fnGetRTFlag(1, 1), 1);
    EXPECT_EQ(copy->fnGetVectStyleColourPalette(), nullptr);
    EXPECT_EQ(t.fnGetVectStyleColour(0), 0xFFFFFFFFu);
    int index = 0;
    EXPECT_EQ(t.fnNewVectorStyle(0x10, index), nullptr);
    EXPECT_EQ(index, -1);
}

TEST_F(VectorStylePBTest, GrowingWithAPaletteGivesNewEntries) {
    CColourPalette palette(10);
    CVectorStylePB t(4);
    t.SetColourPalette(&palette);
    EXPECT_EQ(t.fnGrowBy(2), 4);
    EXPECT_EQ(Entries(t), (std::vector<int>{0, 1, 2, 3, 10, 11}));
    EXPECT_EQ(palette.ColourCount(), 12);
}

TEST_F(VectorStylePBTest, ColoursThroughThePalette) {
    CColourPalette palette(8);
    CVectorStylePB t(8);
    t.SetColourPalette(&palette);
    palette.SetColour(3, 0x112233);
    palette.SetColour(7, 0x112233);
    EXPECT_EQ(t.fnGetVectStyleColour(3), 0x112233u);
    EXPECT_EQ(t.fnGetVectStyleColour(8), 0xFFFFFFFFu);
    EXPECT_EQ(t.fnSetVectStyleColour(8, 1), 0xFFFFFFFFu);
    EXPECT_EQ(t.fnSetVectStyleColour(3, 0x445566), 0x112233u);
    EXPECT_EQ(palette.GetColour(3), 0x445566u);
    palette.SetColour(3, 0x112233);
    EXPECT_EQ(t.fnMergeColour(0x112233), 3);
    EXPECT_EQ(t.fnMergeColour(0x998877), 8);
    EXPECT_EQ(t.fnGetSize(), 9);
    EXPECT_EQ(palette.ColourCount(), 9);
    EXPECT_EQ(t.fnGetVectStyleShadeCol(3), palette.GetShadeColour(3));
    EXPECT_EQ(t.fnGetVectStylePastelCol(3), palette.GetPastelColour(3));
    EXPECT_EQ(t.fnGetVectStyleGreyCol(3), palette.GetGreyColour(3));
    int distance = 0;
    EXPECT_EQ(t.fnFindNearestEntry(0x112235, distance), 3);
    EXPECT_EQ(distance, 4);

    // A damaged palette index reads as no colour instead of throwing.
    t.fnMap2VectorStyle(2)->fnSetColPalIdx(-4);
    EXPECT_EQ(t.fnGetVectStyleColour(2), 0xFFFFFFFFu);
    EXPECT_EQ(t.fnSetVectStyleGreyCol(2, 5), 0xFFFFFFFFu);
    t.fnMap2VectorStyle(2)->fnSetColPalIdx(2000000000);
    EXPECT_EQ(t.fnSetVectStyleColour(2, 5), 0xFFFFFFFFu);
    EXPECT_EQ(palette.ColourCount(), 9);
}

TEST_F(VectorStylePBTest, MergingAnotherTablesStyle) {
    CColourPalette mine(4), theirs(4);
    CVectorStylePB t(4), other(4);
    t.SetColourPalette(&mine);
    other.SetColourPalette(&theirs);
    mine.SetColour(2, 0x0A0B0C);
    theirs.SetColour(1, 0x0A0B0C);
    theirs.SetColour(3, 0x777777);
    EXPECT_EQ(t.fnMergeVectorStyle(&other, 1), 2);
    // Index 4 of a 4-style table is style 1.
    EXPECT_EQ(t.fnMergeVectorStyle(&other, 4), 2);
    EXPECT_EQ(t.fnMergeVectorStyle(&other, 3), 4);
    EXPECT_EQ(t.fnGetVectStyleColour(4), 0x777777u);
}

TEST_F(VectorStylePBTest, UnusedEntryIsNeverStyleZero) {
    auto page = NewPage();
    CVectorStylePB* t = CVectorArticle::fnGetVectorStylePB(page.get());
    EXPECT_EQ(t->fnFindUnusedEntry(page.get()), -1);
    t->fnResize(4);
    AddPath(*page, {{0, 0}, {1, 1}}, 1);
    AddPath(*page, {{0, 0}, {1, 1}}, 3);
    EXPECT_EQ(t->fnFindUnusedEntry(page.get()), 2);
    t->fnSetRTFlag(2, 1);
    EXPECT_EQ(t->fnFindUnusedEntry(page.get()), -1);
    EXPECT_EQ(t->fnFindUnusedEntry(nullptr), 0);
    CArticleList list;
    page->RootArticle()->GetArticleList(&list, static_cast<const CRuntimeClass*>(nullptr));
    EXPECT_EQ(t->fnColourUsed(3, list), 1);
    EXPECT_EQ(t->fnColourUsed(2, list), 0);
    t->fnClrAllRTFlags();
    EXPECT_EQ(t->fnGetRTFlag(2, 1), 0);
}

TEST_F(VectorStylePBTest, SyncMovesColoursSoStyleIUsesEntryI) {
    auto page = NewPage();
    CColourPalette* palette = page->GetColourPalette(true, eColourPaletteDefault);
    palette->Resize(3);
    palette->SetColour(0, 0xA0);
    palette->SetColour(1, 0xB0);
    palette->SetColour(2, 0xC0);
    auto* t = new CVectorStylePB(page.get(), 3);
    page->AddParam(t);
    t->fnMap2VectorStyle(0)->fnSetColPalIdx(2);
    t->fnMap2VectorStyle(1)->fnSetColPalIdx(0);
    t->fnMap2VectorStyle(2)->fnSetColPalIdx(1);
    EXPECT_EQ(t->SyncWithColPal(), 1);
    EXPECT_EQ(Entries(*t), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(t->fnGetVectStyleColour(0), 0xC0u);
    EXPECT_EQ(t->fnGetVectStyleColour(1), 0xA0u);
    EXPECT_EQ(t->fnGetVectStyleColour(2), 0xB0u);
    EXPECT_EQ(t->SyncWithColPal(), 0);
}

TEST_F(VectorStylePBTest, SyncKeepsTheColourOfStylesSharingAnEntry) {
    auto page = NewPage();
    CColourPalette* palette = page->GetColourPalette(true, eColourPaletteDefault);
    palette->Resize(3);
    palette->SetColour(0, 0xA0);
    palette->SetColour(1, 0xB0);
    palette->SetColour(2, 0xC0);
    auto* t = new CVectorStylePB(page.get(), 3);
    page->AddParam(t);
    t->fnMap2VectorStyle(0)->fnSetColPalIdx(1);
    t->fnMap2VectorStyle(1)->fnSetColPalIdx(1);
    t->fnMap2VectorStyle(2)->fnSetColPalIdx(0);
    t->SyncWithColPal();
    EXPECT_EQ(t->fnGetVectStyleColour(0), 0xB0u);
    EXPECT_EQ(t->fnGetVectStyleColour(1), 0xB0u);
    EXPECT_EQ(t->fnGetVectStyleColour(2), 0xA0u);
}

TEST_F(VectorStylePBTest, SyncThroughAnEarlierTableChangesNothing) {
    auto page = NewPage();
    CColourPalette* palette = page->GetColourPalette(true, eColourPaletteDefault);
    auto* first = new CVectorStylePB(page.get(), 2);
    auto* second = new CVectorStylePB(page.get(), 2);
    page->AddParam(first);
    page->AddParam(second);
    first->fnMap2VectorStyle(0)->fnSetColPalIdx(1);
    first->fnMap2VectorStyle(1)->fnSetColPalIdx(0);
    const COLORREF c0 = palette->GetColour(0);
    EXPECT_EQ(first->SyncWithColPal(), 0);
    EXPECT_EQ(Entries(*first), (std::vector<int>{1, 0}));
    EXPECT_EQ(palette->GetColour(0), c0);
    // The palette grows to hold the largest entry any table names.
    second->fnMap2VectorStyle(1)->fnSetColPalIdx(40);
    EXPECT_EQ(first->SyncWithColPal(), 0);
    EXPECT_EQ(palette->ColourCount(), 41);
    CVectorStylePB loose(2);
    EXPECT_EQ(loose.SyncWithColPal(), 0);
}

TEST_F(VectorStylePBTest, OldLineTableIsTakenOverAndDeleted) {
    auto page = NewPage();
    auto* old = new CDrawLinePalette(3);
    page->AddParam(old);
    auto* t = new CVectorStylePB(page.get(), 1);
    page->AddParam(t);
    EXPECT_EQ(Entries(*t), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(page->FindParam(CParamBlk::kDrawLinePaletteId), nullptr);
    EXPECT_NE(t->fnGetVectStyleColourPalette(), nullptr);
    CVectorStylePB plain(page.get(), 2);
    EXPECT_EQ(Entries(plain), (std::vector<int>{0, 1}));
}

TEST_F(VectorStylePBTest, RemovingStyles) {
    CColourPalette palette(5);
    CVectorStylePB t(5);
    t.SetColourPalette(&palette);
    t.RemoveUnassignedStyles();
    EXPECT_EQ(t.fnGetSize(), 5);
    CArray<long, long> use;
    use.SetSize(5);
    use[1] = -1;
    use[3] = -1;
    t.fnRemoveUnusedStyles(&use);
    EXPECT_EQ(Entries(t), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(palette.ColourCount(), 3);
}

TEST_F(VectorStylePBTest, StoresTheStylesAndReadsThemBack) {
    CVectorStylePB t(2);
    t.fnMap2VectorStyle(1)->fnSetColPalIdx(0x0102);
    const std::vector<BYTE> bytes = StoreObject(&t);
    // Count 2, then each style: new-class tag or class back reference, body, end field.
    EXPECT_TRUE(
        EndsWith(bytes, {0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0xFE,
                         0xFE, 0x00, 0x00, 0x00, 0x00, 0xFE, 0xFE, 0x00, 0x00, 0x00, 0x00}));
    std::unique_ptr<CVectorStylePB> back(LoadObjectAs<CVectorStylePB>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->fnWasSerialisedIn(), 1);
    EXPECT_EQ(Entries(*back), (std::vector<int>{0, 0x0102}));
    EXPECT_EQ(t.fnWasSerialisedIn(), 0);
}

TEST_F(VectorStylePBTest, ExtractsRGBValuesFromText) {
    struct Case {
        const wchar_t* text;
        int n;
        int ok;
        COLORREF c;
    } cases[] = {
        {L"R10 G20 B30", 0, 1, 0x1E140A},
        {L"R10 G20 B30", 1, 0, 0},
        {L"R1 G2 B3 R4 G5 B6", 1, 1, 0x060504},
        {L"R300 G20 B30", 0, 0, 0},
        {L"R10 G-1 B30", 0, 0, 0},
        {L"R10 G20", 0, 0, 0},
        {L"Rx G20 B30", 0, 0, 0},
    };
    for (const Case& c : cases) {
        CString text(c.text);
        COLORREF out = 0xDEAD;
        EXPECT_EQ(FnExtractRGBValues(text, c.n, out), c.ok) << CString(c.text).ToUtf8();
        if (c.ok)
            EXPECT_EQ(out, c.c) << CString(c.text).ToUtf8();
        else
            EXPECT_EQ(out, 0xDEADu) << CString(c.text).ToUtf8();
    }
}

} // namespace

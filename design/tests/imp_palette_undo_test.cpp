#include "design/imp_palette_undo.h"

#include "design/tests/page_fixture.h"
#include "pivora/colour_palette.h"
#include "vector/vector_style_pb.h"

namespace {

class ImpPaletteUndoTest : public PageTest {
protected:
    ImpPaletteUndoTest() {
        m_page.fnInitParamBlocks();
        Table()->fnResize(3);
        Table()->fnMap2VectorStyle(1)->fnSetColPalIdx(1);
        Table()->fnMap2VectorStyle(2)->fnSetColPalIdx(2);
        Table()->fnSetVectStyleColour(1, RGB(10, 20, 30));
        Table()->fnSetVectStyleColour(2, RGB(40, 50, 60));
    }
    CVectorStylePB* Table() { return m_page.StyleTable(); }
};

TEST_F(ImpPaletteUndoTest, AnImportedPaletteIsUndoneAndRedone) {
    CTestDesignWindow* view = View();
    CColourPalette* palette = Table()->fnGetVectStyleColourPalette();
    ASSERT_NE(palette, nullptr);
    const int colours = palette->ColourCount();
    m_page.StartUndoTransaction(0);
    m_page.AddImportPaletteUndo(CImpPaletteUndo::CopyPageStyles(&m_page), 0);
    // What an import does: more styles, another colour, another palette entry.
    palette->AddColour(RGB(1, 2, 3));
    Table()->fnResize(5);
    Table()->fnSetVectStyleColour(1, RGB(200, 0, 0));
    Table()->fnMap2VectorStyle(2)->fnSetColPalIdx(4);
    const int importedColours = palette->ColourCount();

    ASSERT_TRUE(m_page.PerformUndoTransaction());
    EXPECT_EQ(Table()->fnGetSize(), 3);
    EXPECT_EQ(Table()->fnGetVectStyleColour(1), RGB(10, 20, 30));
    EXPECT_EQ(Table()->fnMap2VectorStyle(2)->fnGetColPalIdx(), 2);
    EXPECT_EQ(Table()->fnGetVectStyleColour(2), RGB(40, 50, 60));
    EXPECT_EQ(view->commands, (std::vector<UINT>{CImpPaletteUndo::ID_STYLES_CHANGED}));
    EXPECT_EQ(palette->ColourCount(), colours);

    ASSERT_TRUE(m_page.PerformRedoTransaction());
    EXPECT_EQ(Table()->fnGetSize(), 5);
    EXPECT_EQ(Table()->fnGetVectStyleColour(1), RGB(200, 0, 0));
    EXPECT_EQ(Table()->fnMap2VectorStyle(2)->fnGetColPalIdx(), 4);
    EXPECT_EQ(palette->ColourCount(), importedColours);
}

TEST_F(ImpPaletteUndoTest, TheRecordOwnsItsTableAndPalette) {
    CVectorStylePB* saved = CImpPaletteUndo::CopyPageStyles(&m_page);
    ASSERT_NE(saved, nullptr);
    EXPECT_NE(saved->fnGetVectStyleColourPalette(), m_page.GetColourPalette(false, {}));
    {
        CImpPaletteUndo record;
        record.SetVectorStylePB(saved);
        record.SetVectorStylePB(saved); // the same table again is kept, not freed
        EXPECT_EQ(record.GetVectorStylePB(), saved);
    } // the sanitizer reports a leak or a double free here
    m_page.RemoveParam(Table());
    EXPECT_EQ(CImpPaletteUndo::CopyPageStyles(&m_page), nullptr);
}

} // namespace

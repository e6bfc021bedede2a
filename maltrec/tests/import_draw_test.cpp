#include "maltrec/import/import_draw.h"

#include "maltrec/tests/pdf_fixture.h"

#include "pivora/geometry/mat2d.h"
#include "platform/core/file.h"
#include "platform/windowing/message_box.h"

namespace {

class ImportDrawTest : public PdfImportTest {
protected:
    int Import(const std::string& path, UINT flags = 0) {
        CFile file;
        if (!file.Open(CString::FromUtf8(path), CFile::modeRead))
            return -1;
        return CImportDraw::ImportVectorDesign(m_page.get(), &file, flags, nullptr);
    }
    CWindow RootExtents() { return m_page->RootArticle()->Extents(0); }

    platform::MessageBoxResponder m_boxes;
};

TEST_F(ImportDrawTest, TheExtensionChoosesTheRoadWithoutRegardToCase) {
    struct Case {
        const char* name;
        bool pdf; // else PostScript text
        int result;
    };
    const Case cases[] = {
        // A PostScript-based Illustrator file falls back to the interpreter.
        {"drawing.AI", false, 1},  {"drawing.ai", false, 1},  {"drawing.eps", false, 1},
        {"drawing.EPS", false, 1}, {"drawing.pdf", true, 1},  {"drawing.PDF", true, 1},
        {"pdf-made.ai", true, 1},  {"drawing.txt", false, 0}, {"damaged.pdf", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_page = std::make_unique<CDesignPage>();
        const std::string path = c.pdf ? WritePdf(c.name, {40}) : WriteText(c.name, kLineEps);
        EXPECT_EQ(Import(path), c.result);
        EXPECT_EQ(TopLevelArticles() > 0, c.result == 1);
        EXPECT_EQ(m_page->IsModified() != 0, c.result == 1);
    }
    EXPECT_EQ(m_boxes.Shown().size(), 1u); // only the unknown kind says so
}

TEST_F(ImportDrawTest, AnUnknownKindSaysSoWithItsExtension) {
    EXPECT_EQ(Import(WriteText("drawing.dxf", "0\nSECTION\n")), 0);
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_EQ(m_boxes.Shown()[0].text, L"Format Not Supported .dxf");
    EXPECT_EQ(TopLevelArticles(), 0);
    EXPECT_EQ(CImportDraw::ImportVectorDesign(nullptr, nullptr, 0, nullptr), 0);
}

TEST_F(ImportDrawTest, OnlyANewEmptyPageTakesTheImportedExtents) {
    const std::string eps = WriteText("line.eps", kLineEps);
    const CWindow fresh(0, 0, CImportDraw::kNewPageExtent, CImportDraw::kNewPageExtent);
    m_page->Extents(fresh);
    ASSERT_EQ(Import(eps), 1);
    EXPECT_NE(m_page->Extents(), fresh);
    EXPECT_EQ(m_page->Extents().x1, RootExtents().x1);
    EXPECT_EQ(m_page->Extents().x2, RootExtents().x2);

    // A page already holding articles keeps its extents, as does one of another size.
    m_page->Extents(fresh);
    ASSERT_EQ(Import(eps), 1);
    EXPECT_EQ(m_page->Extents(), fresh);
    m_page = std::make_unique<CDesignPage>();
    const CWindow other(0, 0, 200000, 100000);
    m_page->Extents(other);
    ASSERT_EQ(Import(eps), 1);
    EXPECT_EQ(m_page->Extents(), other);
}

TEST_F(ImportDrawTest, AutoCentreMovesTheWholeDesignOntoTheOrigin) {
    const std::string eps = WriteText("line.eps", kLineEps);
    ASSERT_EQ(Import(eps), 1);
    // An article already far out is part of the design that moves.
    CMat2d far(CDpoint(2.0e9, -1.5e9));
    m_page->RootArticle()->DoTransform(far, 1);
    ASSERT_EQ(Import(eps), 1);
    const CWindow before = RootExtents();

    m_page = std::make_unique<CDesignPage>();
    ASSERT_EQ(Import(eps), 1);
    m_page->RootArticle()->DoTransform(far, 1);
    QvSetAppParam(L"Auto Centre Vector Import", 1);
    ASSERT_EQ(Import(eps), 1);
    const CWindow after = RootExtents();
    const int64_t cx = (int64_t(before.x1) + before.x2) / 2;
    const int64_t cy = (int64_t(before.y1) + before.y2) / 2;
    EXPECT_EQ(after.x1, before.x1 - cx);
    EXPECT_EQ(after.x2, before.x2 - cx);
    EXPECT_EQ(after.y1, before.y1 - cy);
    EXPECT_EQ(after.y2, before.y2 - cy);
}

} // namespace

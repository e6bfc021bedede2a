#include "design/document/design_undo.h"

#include "design/tests/page_fixture.h"

namespace {

using DesignUndoTest = PageTest;

TEST_F(DesignUndoTest, DesignSizeIsUndoneAndRedone) {
    const CWindow before = m_page.Extents();
    m_page.AddDesignSizeUndo(before, CDesignPage::IDS_ROTATE_90);
    m_page.Extents(CWindow(0, 0, 500, 400));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(m_page.Extents(), before);
    m_page.PerformRedoTransaction();
    EXPECT_EQ(m_page.Extents(), CWindow(0, 0, 500, 400));
}

TEST_F(DesignUndoTest, MovedOriginShiftsTheGuidesBack) {
    const CWindow before(0, 0, 1000, 1000);
    m_page.Extents(before);
    m_page.Grid()->AddGridLinePos(300, CGrid::kVertical);
    m_page.AddMoveOriginUndo(before, CDesignPage::IDS_ROTATE_90);
    // The origin moved to the middle: page and guides by -500.
    m_page.Extents(CWindow(-500, -500, 500, 500));
    m_page.Grid()->SetOrigin(CLpoint(500, 500));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(m_page.Extents(), before);
    int pos = 0;
    m_page.Grid()->GetGridLinePos(pos, CGrid::kVertical, 0);
    EXPECT_EQ(pos, 300);
}

} // namespace

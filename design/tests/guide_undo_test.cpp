#include "design/document/guide_undo.h"

#include "design/tests/page_fixture.h"
#include "pivora/grid.h"

namespace {

class GuideUndoTest : public PageTest {
protected:
    std::vector<int> Guides(int kind) {
        std::vector<int> out;
        for (int i = 0; i < m_page.Grid()->GridLineCount(kind); ++i) {
            int pos = 0;
            m_page.Grid()->GetGridLinePos(pos, kind, i);
            out.push_back(pos);
        }
        return out;
    }
};

TEST_F(GuideUndoTest, AddMoveAndDeleteAreUndoneAndRedone) {
    ASSERT_NE(m_page.Grid(), nullptr);
    const int v = CGrid::kVertical;
    m_page.StartUndoTransaction(0);
    m_page.AddGridAddUndo(v, 100, 1);
    m_page.AddGridAddUndo(v, 200, 1);
    EXPECT_EQ(Guides(v), (std::vector<int>{100, 200}));
    m_page.PerformUndoTransaction();
    EXPECT_TRUE(Guides(v).empty());
    m_page.PerformRedoTransaction();
    EXPECT_EQ(Guides(v), (std::vector<int>{100, 200}));

    m_page.StartUndoTransaction(0);
    m_page.AddGridMoveUndo(v, 0, 150, 1);
    m_page.AddGridMoveUndo(v, 7, 150, 1); // no such guide: nothing recorded
    EXPECT_EQ(Guides(v), (std::vector<int>{150, 200}));
    m_page.PerformUndoTransaction();
    EXPECT_EQ(Guides(v), (std::vector<int>{100, 200}));
    m_page.PerformRedoTransaction();
    EXPECT_EQ(Guides(v), (std::vector<int>{150, 200}));

    m_page.StartUndoTransaction(0);
    m_page.AddGridDeleteUndo(v, 1);
    m_page.Grid()->DeleteGridLine(v, 1);
    m_page.PerformUndoTransaction();
    EXPECT_EQ(Guides(v), (std::vector<int>{150, 200}));
    EXPECT_TRUE(Guides(CGrid::kHorizontal).empty());
}

} // namespace

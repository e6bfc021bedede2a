// A design file opened through the template of context 43 and edited through the window's
// messages and commands: guide, origin, glue, three undos and redos, save and reopen.
#include "design/design_view.h"

#include "design/tests/saved_design.h"
#include "design/tests/tool_fixture.h"
#include "pivora/article.h"
#include "pivora/grid.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

struct State {
    std::vector<std::vector<CLpoint>> points;
    std::vector<std::string> classes;
    int vertical = 0, horizontal = 0;
    std::vector<int> guides;
    CWindow extents;
    bool operator==(const State&) const = default;
};

class DesignWindowTest : public ToolHost {
protected:
    State Snapshot() {
        State s;
        CArticleList list;
        page->RootArticle()->GetArticleList(&list, nullptr, nullptr);
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            CArticle* a = list.GetNext(pos);
            s.classes.push_back(a->GetRuntimeClass()->m_lpszClassName);
            s.points.push_back(PointsOf(a));
        }
        CGrid* g = page->Grid();
        s.vertical = g->GridLineCount(CGrid::kVertical);
        s.horizontal = g->GridLineCount(CGrid::kHorizontal);
        for (int kind : {CGrid::kVertical, CGrid::kHorizontal})
            for (int i = 0; i < g->GridLineCount(kind); ++i) {
                int pos = 0;
                g->GetGridLinePos(pos, kind, i);
                s.guides.push_back(pos);
            }
        s.extents = page->Extents();
        return s;
    }
};

TEST_F(DesignWindowTest, OpenEditUndoRedoSaveAndReopenThroughTheWindow) {
    CArticle* a = Path(CWindow(10000, 10000, 30000, 20000));
    CArticle* b = Path(CWindow(50000, 40000, 70000, 60000));
    if (!a || !b)
        GTEST_SKIP() << "the curve library is not linked";
    page->Extents(CWindow(0, 0, 100000, 100000));
    page->Grid()->showGuides = 1;
    const std::string first = m_box.Path("home/first.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(first.c_str())));

    // Opened through the template: the first paint fits it and leaves it unmodified.
    ASSERT_TRUE(Open(CString(first.c_str())));
    EXPECT_EQ(page->Context(), CDesignView::kContext);
    const CWindow shown = view->ViewExtents();
    EXPECT_LE(shown.x1, 10000);
    EXPECT_GE(shown.x2, 70000);
    EXPECT_LE(shown.y1, 10000);
    EXPECT_GE(shown.y2, 60000);
    EXPECT_FALSE(page->IsModified());
    const State before = Snapshot();

    // A vertical guide out of the left ruler.
    const int R = view->GetRulerSize().cx;
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, CPoint(R / 2, R + 120), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, CPoint(R + 200, R + 120), MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, CPoint(R + 200, R + 120));
    ASSERT_EQ(page->Grid()->GridLineCount(CGrid::kVertical), 1);

    // The origin to the centre of one selected object.
    std::vector<CArticle*> paths;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        paths.push_back(static_cast<CArticle*>(t));
    ASSERT_EQ(paths.size(), 2u);
    page->AddObjectSelection(paths[0], 1, 0);
    Command(CDesignView::ID_ORIGIN_TO_CENTRE);
    EXPECT_EQ(PointsOf(paths[0])[0], CLpoint(-10000, -5000));
    EXPECT_EQ(page->Extents(), CWindow(-20000, -15000, 80000, 85000));

    // Both glued into one.
    page->AddObjectSelection(paths[1], 1, 1);
    Command(CDesignView::ID_GLUE);
    int top = 0;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        ++top;
    EXPECT_EQ(top, 1);
    const State after = Snapshot();

    for (int i = 0; i < 3; ++i)
        Command(CDesignView::ID_EDIT_UNDO);
    EXPECT_EQ(Snapshot(), before);
    for (int i = 0; i < 3; ++i)
        Command(CDesignView::ID_EDIT_REDO);
    EXPECT_EQ(Snapshot(), after);

    const std::string second = m_box.Path("home/second.KDX");
    const std::string third = m_box.Path("home/third.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(second.c_str())));
    ASSERT_TRUE(Open(CString(second.c_str()), false));
    ASSERT_TRUE(page->OnSaveDocument(CString(third.c_str())));
    EXPECT_EQ(DesignBytes(second), DesignBytes(third));
}

} // namespace

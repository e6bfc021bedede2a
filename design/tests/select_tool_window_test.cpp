// The select tool in a whole design window: band, drag, scale, nudge, undo, redo and saving;
// what the screen shows during and after a drag; designs with odd articles.
#include "design/select_tool.h"

#include "design/tests/saved_design.h"
#include "design/tests/tool_fixture.h"
#include "pivora/framework/app_params.h"
#include "platform/graphics/surface.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

using SelectToolTest = SelectToolHost;

namespace {

TEST_F(SelectToolTest, BandDragScaleNudgeUndoRedoAndSaveTwiceThroughTheWindow) {
    CArticle* p[3] = {Path(CWindow(10000, 10000, 20000, 20000)),
                      Path(CWindow(30000, 10000, 40000, 20000)),
                      Path(CWindow(50000, 10000, 60000, 20000))};
    if (!p[0])
        GTEST_SKIP() << "the curve library is not linked";
    const std::string first = m_box.Path("home/first.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(first.c_str())));
    ASSERT_TRUE(Open(CString(first.c_str()), false));
    page->Extents(CWindow(0, 0, 100000, 100000));
    view->ZoomFirst();
    Pump();
    select = dynamic_cast<CSelectTool*>(page->GetDesignTool());
    ASSERT_NE(select, nullptr);
    std::vector<CArticle*> paths;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        paths.push_back(static_cast<CArticle*>(t));
    ASSERT_EQ(paths.size(), 3u);
    std::vector<std::vector<CLpoint>> start;
    for (CArticle* a : paths)
        start.push_back(PointsOf(a));

    // A band from the bottom-right corner.
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(65000, 5000), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Client(5000, 25000), MK_LBUTTON);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(5000, 25000), 0);
    ASSERT_EQ(Selection().size(), 3u);
    EXPECT_EQ(select->ReferenceHint(), 9);

    // A body drag of 10 mm to the right, started by the drag timer.
    // On the bottom line of the first path, away from every handle.
    const CPoint from = Client(15000, 10000);
    CPoint dataFrom = from;
    view->ClientToDoc(dataFrom);
    Drag(from, Client(dataFrom.x + 10000, dataFrom.y));
    CPoint dataTo = Client(dataFrom.x + 10000, dataFrom.y);
    view->ClientToDoc(dataTo);
    const LONG dx = dataTo.x - dataFrom.x, dy = dataTo.y - dataFrom.y;
    EXPECT_EQ(PointsOf(paths[0])[0], CLpoint(10000 + dx, 10000 + dy));
    std::vector<std::vector<CLpoint>> moved;
    for (CArticle* a : paths)
        moved.push_back(PointsOf(a));

    // The top-right handle with Shift: scaled about the centre.
    const CWindow e = page->ObjectSelectionExtents(nullptr);
    SetKey(VK_SHIFT, true);
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, Client(e.x2, e.y2), MK_LBUTTON | MK_SHIFT);
    ASSERT_EQ(select->m_HitHandle, eHandleTopRight);
    Mouse(WM_MOUSEMOVE, Client(e.x2 + 10000, e.y2 + 2000), MK_LBUTTON | MK_SHIFT);
    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, Client(e.x2 + 10000, e.y2 + 2000), MK_SHIFT);
    SetKey(VK_SHIFT, false);
    const CWindow scaled = page->ObjectSelectionExtents(nullptr);
    EXPECT_GT(scaled.x2 - scaled.x1, e.x2 - e.x1);
    EXPECT_NEAR((scaled.x1 + scaled.x2) / 2, (e.x1 + e.x2) / 2, 1);
    std::vector<std::vector<CLpoint>> afterScale;
    for (CArticle* a : paths)
        afterScale.push_back(PointsOf(a));

    Key(VK_RIGHT);
    Key(VK_UP);
    const CLpoint nudged = PointsOf(paths[0])[0];
    EXPECT_EQ(nudged, CLpoint(afterScale[0][0].x + 1000, afterScale[0][0].y + 1000));

    // Four undos: nudges, scale, move.
    for (int i = 0; i < 4; ++i)
        Command(CDesignView::ID_EDIT_UNDO);
    for (size_t i = 0; i < paths.size(); ++i) {
        const auto now = PointsOf(paths[i]);
        ASSERT_EQ(now.size(), start[i].size());
        for (size_t k = 0; k < now.size(); ++k) {
            EXPECT_NEAR(now[k].x, start[i][k].x, 1);
            EXPECT_NEAR(now[k].y, start[i][k].y, 1);
        }
    }
    for (int i = 0; i < 4; ++i)
        Command(CDesignView::ID_EDIT_REDO);
    EXPECT_EQ(PointsOf(paths[0])[0], nudged);

    const std::string second = m_box.Path("home/second.KDX");
    const std::string third = m_box.Path("home/third.KDX");
    ASSERT_TRUE(page->OnSaveDocument(CString(second.c_str())));
    ASSERT_TRUE(Open(CString(second.c_str()), false));
    ASSERT_TRUE(page->OnSaveDocument(CString(third.c_str())));
    EXPECT_EQ(DesignBytes(second), DesignBytes(third));
}

} // namespace
namespace {

platform::RasterSurface* BackBuffer(CDesignView* v) {
    return dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(v->m_hWnd));
}

TEST_F(SelectToolTest, ADragOnlyXorsTheScreenAndItsDropLeavesAFreshPaint) {
    std::vector<CArticle*> paths;
    for (int i = 0; i < 12; ++i)
        if (CArticle* p = Path(CWindow(8000 + (i % 4) * 22000, 10000 + (i / 4) * 25000,
                                       20000 + (i % 4) * 22000, 28000 + (i / 4) * 25000)))
            paths.push_back(p);
    if (paths.empty())
        GTEST_SKIP() << "the curve library is not linked";
    Command(CSelectTool::ID_SELECT_ALL);
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    Paint();
    platform::RasterSurface* buffer = BackBuffer(view);
    ASSERT_NE(buffer, nullptr);
    const std::vector<uint32_t> before = buffer->Pixels();

    const CPoint from = Client(14000, 10000); // on the first path's bottom line
    const CPoint to = from + CPoint(37, 23);
    SetKey(VK_LBUTTON, true);
    Mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
    Advance(CSelectTool::kDragStartMs);
    ASSERT_NE(select->Echo(), nullptr);
    Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
    const std::vector<uint32_t> during = buffer->Pixels();
    buffer->SavePng(std::string(TEST_BINARY_DIR) + "/select_tool_drag.png");
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] == during[i])
            continue;
        ++changed;
        ASSERT_EQ(during[i] & 0xFFFFFF, (before[i] ^ 0xC0C0C0) & 0xFFFFFF) << "pixel " << i;
    }
    EXPECT_GT(changed, 100);

    SetKey(VK_LBUTTON, false);
    Mouse(WM_LBUTTONUP, to, 0);
    Pump();
    const std::vector<uint32_t> dropped = buffer->Pixels();
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
    Paint();
    EXPECT_TRUE(dropped == buffer->Pixels());
}

} // namespace
namespace {

TEST_F(SelectToolTest, DesignsFromFilesWithOddArticlesNeverBreakTheTool) {
    // An empty group, an article without an item, a zero-sized box, a box at the data limits
    // and a deep chain of groups with a box at the bottom.
    page->RootArticle()->AddChild(new CArticle);
    auto* bare = new CArticle;
    page->RootArticle()->AddChild(bare);
    Box(CWindow(30000, 30000, 30000, 30000));
    Box(CWindow(-99999999, -99999999, 99999999, 99999999));
    CArticle* parent = page->RootArticle();
    for (int i = 0; i < 3000; ++i) {
        auto* g = new CArticle;
        parent->AddChild(g);
        parent = g;
    }
    CArticle* deep = Box(CWindow(50000, 50000, 60000, 60000), parent);
    QvSetAppParam(L"Nudge Selection Factor", 2000000000);
    const UINT keys[] = {VK_TAB, VK_SPACE, VK_RIGHT, 'T', VK_ESCAPE};
    for (int round = 0; round < 2; ++round) {
        Command(CSelectTool::ID_SELECT_ALL);
        Click(Centre(deep));
        Click(Client(30000, 30000), MK_SHIFT);
        Drag(Centre(deep), Centre(deep) + CPoint(15, 5));
        SetKey(VK_LBUTTON, true);
        Mouse(WM_LBUTTONDOWN, Client(-5000, -5000), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, Client(120000, 120000), MK_LBUTTON);
        SetKey(VK_LBUTTON, false);
        Mouse(WM_LBUTTONUP, Client(120000, 120000), 0);
        for (UINT k : keys) {
            Key(k);
            Key(k, true);
        }
        const CWindow e = page->ObjectSelectionExtents(nullptr);
        if (e.x2 >= e.x1) {
            SetKey(VK_LBUTTON, true);
            Mouse(WM_LBUTTONDOWN, Client(e.x2, (e.y1 + e.y2) / 2), MK_LBUTTON);
            Mouse(WM_MOUSEMOVE, Client(e.x1, (e.y1 + e.y2) / 2), MK_LBUTTON);
            SetKey(VK_LBUTTON, false);
            Mouse(WM_LBUTTONUP, Client(e.x1, (e.y1 + e.y2) / 2), 0);
        }
        Command(CSelectTool::ID_INVERT_SELECTION);
        Pump();
    }
    while (page->GetUndoCount() > 0 && page->PerformUndoTransaction())
        ;
    EXPECT_EQ(BoxOf(deep), CWindow(50000, 50000, 60000, 60000));
}

} // namespace

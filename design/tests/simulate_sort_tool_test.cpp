#include "design/simulate_sort_tool.h"

#include "design/tests/tool_fixture.h"
#include "pivora/framework/jox_client_dc.h"
#include "platform/graphics/surface.h"
#include "platform/windowing/window.h"
#include "vector/vector_item.h"

#include <string>
#include <vector>

namespace {

class SimulateSortToolTest : public ToolHost {
protected:
    void TearDown() override {
        CJoxView::fnSetBackColourOn(0);
        ToolHost::TearDown();
    }
    // Paths a, b, c left to right, sorted in design order, with the playback tool current;
    // false when the curve library is not linked (the test is then skipped).
    bool Play(int paths = 3) {
        for (int i = 0; i < paths; ++i) {
            CArticle* p = Path(CWindow(10000 + i * 25000, 10000, 25000 + i * 25000, 30000));
            if (!p)
                return false;
            arts.push_back(p);
        }
        page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 0);
        Start();
        return true;
    }
    void Start() {
        sim = new CSimulateSortTool(view, nullptr);
        view->SelectDesignTool(sim, 1);
        sim->OnInit(view, 0);
        sim->OnShowStart(view);
        Pump();
    }
    // The dots drawn since the recording was cleared: centre (client) and colour.
    std::vector<std::pair<CPoint, COLORREF>> Dots() {
        std::vector<std::pair<CPoint, COLORREF>> out;
        for (const auto& c : Record().Calls(platform::GdiOp::Ellipse))
            out.emplace_back(
                CPoint((c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2),
                c.brushColour);
        return out;
    }
    CPoint StartOf(CArticle* a, int index = 0) {
        const CLpoint p = static_cast<CVectorItem*>(a->GetItem())->GetElementPos(index);
        return Client(p.x, p.y);
    }
    static void Near(CPoint got, CPoint want) {
        EXPECT_NEAR(got.x, want.x, 2);
        EXPECT_NEAR(got.y, want.y, 2);
    }

    std::vector<CArticle*> arts;
    CSimulateSortTool* sim = nullptr;
};

TEST_F(SimulateSortToolTest, NothingSortedStepsNowhereAndDrawsNoDot) {
    page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 0);
    Record();
    Start();
    EXPECT_EQ(sim->GetRange(), -1);
    EXPECT_EQ(sim->OnShowNext(view), 0);
    EXPECT_EQ(sim->OnShowPrev(view), 0);
    sim->OnShowEnd(view);
    sim->OnShowChangePos(view, 0);
    EXPECT_EQ(sim->CurrentArticle(), nullptr);
    EXPECT_TRUE(Dots().empty());
}

TEST_F(SimulateSortToolTest, StepsHighlightEachArticleWithItsStartDot) {
    if (!Play())
        GTEST_SKIP() << "the curve library is not linked";
    ASSERT_EQ(sim->GetRange(), 2);
    EXPECT_EQ(Selection(), (std::vector<std::pair<CArticle*, int>>{{arts[0], 1}}));
    EXPECT_EQ(sim->OnShowPrev(view), 0);
    Record().Clear();
    EXPECT_EQ(sim->OnShowNext(view), 1);
    EXPECT_EQ(sim->CurrentArticle(), arts[1]);
    // The old dot is painted over by the view, not wiped with a colour: every dot drawn is the
    // new one.
    const auto dots = Dots();
    ASSERT_FALSE(dots.empty());
    for (const auto& [at, colour] : dots) {
        Near(at, StartOf(arts[1]));
        EXPECT_EQ(colour, CSimulateSortTool::kDotColour);
    }
    sim->OnShowEnd(view);
    EXPECT_EQ(sim->GetPos(), 2);
    EXPECT_EQ(sim->OnShowNext(view), 0);
    // The slider at k; a position out of range is refused.
    for (int k : {1, 0, 2}) {
        sim->OnShowChangePos(view, k);
        EXPECT_EQ(sim->GetPos(), k);
        EXPECT_EQ(Selection(), (std::vector<std::pair<CArticle*, int>>{{arts[size_t(k)], 1}}));
    }
    for (int bad : {3, -1}) {
        sim->OnShowChangePos(view, bad);
        EXPECT_EQ(sim->GetPos(), 2);
    }
}

TEST_F(SimulateSortToolTest, APathListedTwiceIsSteppedByIndex) {
    if (!Play())
        GTEST_SKIP() << "the curve library is not linked";
    // As a selection scope that reaches a path twice lists it: a, b, c, a, b.
    CArticleList* list = page->GetSortedOutput();
    CList<int, int&>* starts = page->GetSortedOutputStartPoints();
    for (CArticle* a : {arts[0], arts[1]}) {
        list->AddTail(a);
        int first = 0;
        starts->AddTail(first);
    }
    sim->OnInit(view, 0);
    sim->OnShowStart(view);
    const std::vector<CArticle*> want = {arts[0], arts[1], arts[2], arts[0], arts[1]};
    for (size_t i = 1; i < want.size(); ++i) {
        ASSERT_EQ(sim->OnShowNext(view), 1);
        EXPECT_EQ(sim->GetPos(), int(i));
        EXPECT_EQ(sim->CurrentArticle(), want[i]);
    }
    EXPECT_EQ(sim->OnShowNext(view), 0);
    for (size_t i = want.size() - 1; i-- > 0;) {
        ASSERT_EQ(sim->OnShowPrev(view), 1);
        EXPECT_EQ(sim->GetPos(), int(i));
        EXPECT_EQ(sim->CurrentArticle(), want[i]);
    }
}

TEST_F(SimulateSortToolTest, EditsDuringPlaybackChangeNothing) {
    if (!Play())
        GTEST_SKIP() << "the curve library is not linked";
    const CWindow before = arts[0]->Extents(0);
    for (UINT id : {CSelectTool::ID_EDIT_CLEAR, UINT(CDesignView::ID_EDIT_UNDO),
                    UINT(CDesignView::ID_EDIT_REDO), CSelectTool::ID_NUDGE_LEFT,
                    CSelectTool::ID_SELECT_ALL}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Update(id)->enabled, 0);
        Command(id);
    }
    for (UINT key : {UINT(VK_DELETE), UINT(VK_LEFT), UINT('X'), UINT('5')})
        Key(key);
    Drag(Centre(arts[0]), Centre(arts[0]) + CSize(40, 40));
    Advance(2000);
    EXPECT_EQ(page->GetDesignTool(), sim);
    int children = 0;
    for (CTree* t = page->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        ++children;
    EXPECT_EQ(children, 3);
    EXPECT_EQ(arts[0]->Extents(0), before);
    EXPECT_EQ(Update(CDesignView::ID_ZOOM_FIT)->enabled, 1);
    EXPECT_EQ(sim->OnShowNext(view), 1);
    sim->OnShowEnd(view);
    EXPECT_EQ(sim->CurrentArticle(), arts[2]);
}

// The whole playback forwards and back, paths touching and crossing so that the dots sit on
// the drawing: the view then shows exactly what a fresh paint of the same state shows, with
// none of the drawing wiped where a dot was.
TEST_F(SimulateSortToolTest, APlayedBackViewEqualsAFreshPaint) {
    for (const CWindow& w :
         {CWindow(10000, 10000, 40000, 40000), CWindow(40000, 10000, 70000, 40000),
          CWindow(25000, 25000, 55000, 60000), CWindow(10000, 40000, 40000, 70000)})
        if (CArticle* p = Path(w))
            arts.push_back(p);
    if (arts.empty())
        GTEST_SKIP() << "the curve library is not linked";
    auto* buffer = dynamic_cast<platform::RasterSurface*>(platform::GetWindowSurface(view->m_hWnd));
    ASSERT_NE(buffer, nullptr);
    // With the white page and with the view's own background colour.
    for (int background : {0, 1}) {
        SCOPED_TRACE(background);
        CJoxView::fnSetBackColour(0x40A0C0);
        CJoxView::fnSetBackColourOn(background);
        page->CreateSortedOutput(0, eStartUnchanged, eOrderDesign, 0, 10000, 0);
        Start();
        ASSERT_EQ(sim->GetRange(), int(arts.size()) - 1);
        for (int i = 0; i < sim->GetRange(); ++i)
            ASSERT_EQ(sim->OnShowNext(view), 1);
        for (int i = 0; i < sim->GetRange(); ++i)
            ASSERT_EQ(sim->OnShowPrev(view), 1);
        sim->OnShowEnd(view);
        sim->OnShowChangePos(view, 1);
        Pump();
        const std::vector<uint32_t> played = buffer->Pixels();
        buffer->SavePng(std::string(TEST_BINARY_DIR) + "/simulate_sort_played_" +
                        std::to_string(background) + ".png");
        ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
        Paint();
        const std::vector<uint32_t> fresh = buffer->Pixels();
        ASSERT_EQ(played.size(), fresh.size());
        int differ = 0;
        for (size_t i = 0; i < fresh.size(); ++i)
            differ += played[i] != fresh[i];
        EXPECT_EQ(differ, 0);
        // The current start is marked.
        const CPoint dot = StartOf(sim->CurrentArticle(), sim->CurrentStartPoint());
        EXPECT_EQ(buffer->Pixel(dot.x, dot.y), CSimulateSortTool::kDotColour);
    }
}

} // namespace

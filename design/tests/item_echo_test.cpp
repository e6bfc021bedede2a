#include "design/item_echo.h"

#include "design/tests/tool_fixture.h"
#include "platform/graphics/surface.h"

namespace {

using ItemEchoTest = ToolHost;

TEST_F(ItemEchoTest, DrawsItemsInXorThroughItsTransformAndSkipsArticlesWithoutItems) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    auto* empty = new CArticle;
    page->RootArticle()->AddChild(empty);
    Validate();
    platform::RecordingSurface& rec = Record();
    CItemEcho echo;
    echo.AddArticle(empty);
    echo.AddArticle(a);
    echo.XForm(CMat2d(CDpoint(5000, 0)));
    echo.Draw(view, nullptr);
    const auto lines = rec.Calls(platform::GdiOp::LineTo);
    ASSERT_EQ(lines.size(), 4u);
    for (const auto& c : lines)
        EXPECT_EQ(c.rop, R2_XORPEN);
    // The first corner, moved by the transform.
    const auto moves = rec.Calls(platform::GdiOp::MoveTo);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(CPoint(moves[0].pts.at(0)), Client(15000, 10000));
    // The echo does not own its articles.
    EXPECT_EQ(echo.GetArticleList().GetCount(), 2);
}

TEST_F(ItemEchoTest, AtPercentZeroNothingIsDrawn) {
    CArticle* a = Box(CWindow(10000, 10000, 20000, 20000));
    Validate();
    platform::RecordingSurface& rec = Record();
    CItemEcho echo;
    echo.AddArticle(a);
    echo.SetEchoPercent(0);
    echo.Draw(view, nullptr);
    EXPECT_TRUE(rec.Calls().empty()) << rec.Dump();
    echo.SetEchoPercent(50);
    echo.Draw(view, nullptr);
    EXPECT_EQ(rec.Count(platform::GdiOp::LineTo), 2);
}

} // namespace

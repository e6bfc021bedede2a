#include "design/tools/arrange_geometry.h"

#include "design/select_tool.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using S = CSelectTool;

TEST(ArrangeGeometry, ReferenceFollowsTheHintAndTheBandCorner) {
    const std::vector<CWindow> e = {{10, 50, 20, 60}, {0, 10, 30, 20}, {40, 30, 50, 70}};
    const int band[4] = {0, 0, 100, 100};
    struct Case {
        int hint;
        EArrangeWork work;
        int want;
    };
    const Case cases[] = {
        {0, EArrangeWork::eHorizontal, -1}, // before any click or band
        {1, EArrangeWork::eHorizontal, 2},  // last selected
        {6, EArrangeWork::eHorizontal, 1},  // left corner: smallest x1
        {9, EArrangeWork::eHorizontal, 2},  // right corner: largest x2
        {6, EArrangeWork::eVertical, 2},    // top corner: largest y2
        {9, EArrangeWork::eVertical, 1},    // bottom corner: smallest y1
        {8, EArrangeWork::eSize, 2},        // nearest centre to (100, 0)
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.hint);
        EXPECT_EQ(ArrangeReference(e, k.hint, k.work, band), k.want);
    }
    // A tie goes to the first entry in selection order.
    const std::vector<CWindow> tie = {{0, 0, 10, 10}, {0, 20, 10, 30}};
    EXPECT_EQ(ArrangeReference(tie, 8, EArrangeWork::eHorizontal, band), 0);
}

TEST(ArrangeGeometry, AlignMovesTheEdgeOntoTheReference) {
    const CWindow ref(100, 200, 300, 400), o(0, 0, 50, 50);
    EXPECT_EQ(AlignMove(S::ID_ALIGN_LEFT, ref, o), CSize(100, 0));
    EXPECT_EQ(AlignMove(S::ID_ALIGN_RIGHT, ref, o), CSize(250, 0));
    EXPECT_EQ(AlignMove(S::ID_ALIGN_TOP, ref, o), CSize(0, 350));
    EXPECT_EQ(AlignMove(S::ID_ALIGN_BOTTOM, ref, o), CSize(0, 200));
}

TEST(ArrangeGeometry, SpacingKeepsTheEndsAndSharesTheGap) {
    // Widths 10, 20, 10 from 0 to 100, given out of order: the middle starts at 40.
    const std::vector<CWindow> e = {{90, 0, 100, 5}, {0, 0, 10, 5}, {20, 0, 40, 5}};
    const std::vector<CSize> m = SpacingMoves(e, false);
    EXPECT_EQ(m, (std::vector<CSize>{{0, 0}, {0, 0}, {20, 0}}));
    // Equal centres keep their order.
    EXPECT_EQ(StableOrder({{0, 0, 10, 10}, {0, 0, 10, 10}, {-5, 0, 0, 0}}, false, true),
              (std::vector<int>{2, 0, 1}));
}

TEST(ArrangeGeometry, SameSizeBoxesStayCentred) {
    const CWindow ref(0, 0, 200, 100), o(1000, 1000, 1100, 1100);
    struct Case {
        UINT id;
        CWindow ref;
        bool ok;
        CWindow want;
    };
    const Case cases[] = {
        {S::ID_SIZE_SAME_WIDTH, ref, true, {950, 950, 1150, 1150}},
        {S::ID_SIZE_STRETCH_WIDTH, ref, true, {950, 1000, 1150, 1100}},
        {S::ID_SIZE_STRETCH_HEIGHT, ref, true, {1000, 1000, 1100, 1100}},
        {S::ID_SIZE_STRETCH_BOTH, ref, true, {950, 1000, 1150, 1100}},
        {S::ID_SIZE_SAME_HEIGHT, ref, true, {1000, 1000, 1100, 1100}},
        {S::ID_SIZE_MIN_MAX, {0, 0, 200, 50}, true, {1025, 1025, 1075, 1075}},
        {S::ID_SIZE_MIN_MAX, {0, 0, 50, 200}, true, {1025, 1025, 1075, 1075}},
        // A zero-width reference takes the widths away and keeps the heights.
        {S::ID_SIZE_SAME_WIDTH, {0, 0, 0, 100}, true, {1050, 1000, 1050, 1100}},
        {S::ID_SIZE_MIN_MAX, {0, 0, 0, 100}, true, o},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.id);
        CWindow to;
        ASSERT_EQ(SameSizeBox(k.id, k.ref, o, to), k.ok);
        EXPECT_EQ(to, k.want);
    }
    // An entry with no width cannot grow one: it is left alone.
    CWindow to;
    EXPECT_FALSE(SameSizeBox(S::ID_SIZE_STRETCH_WIDTH, ref, CWindow(5, 0, 5, 50), to));
    EXPECT_TRUE(SameSizeBox(S::ID_SIZE_STRETCH_HEIGHT, ref, CWindow(5, 0, 5, 50), to));
}

TEST(ArrangeGeometry, FlipMirrorsAboutTheCentreLineEvenWhenFlat) {
    const CMat2d h = FlipMatrix(CWindow(0, 0, 100, 0), false);
    EXPECT_EQ(h * CLpoint(10, 0), CLpoint(90, 0));
    const CMat2d v = FlipMatrix(CWindow(0, 0, 100, 0), true);
    EXPECT_EQ(v * CLpoint(10, 0), CLpoint(10, 0));
    EXPECT_EQ(FlipMatrix(CWindow(0, 0, 10, 40), true) * CLpoint(3, 10), CLpoint(3, 30));
}

TEST(ArrangeGeometry, JoinPacksEntriesOnBothSidesOfTheAnchor) {
    // Anchor 100..200; two start left of it, two right.
    const std::vector<CWindow> e = {
        {100, 0, 200, 10}, {500, 0, 530, 10}, {0, 0, 10, 10}, {50, 0, 70, 10}, {300, 0, 340, 10}};
    const std::vector<CSize> m = JoinMoves(e, 0, false);
    // Left side: 0..10 then 50..70 end at 100: 70..80 and 80..100.
    EXPECT_EQ(m[2], CSize(70, 0));
    EXPECT_EQ(m[3], CSize(30, 0));
    // Right side in x1 order from the anchor's right edge: 300..340 to 200, 500..530 to 240.
    EXPECT_EQ(m[4], CSize(-100, 0));
    EXPECT_EQ(m[1], CSize(-260, 0));
    EXPECT_EQ(m[0], CSize(0, 0));
    EXPECT_EQ(JoinMoves(e, -1, false), std::vector<CSize>(e.size()));
}

} // namespace

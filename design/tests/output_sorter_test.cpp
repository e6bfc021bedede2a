// The page's sorted output: the cases that pin each rule, and random designs on which the
// page's indexed sorter must agree with the plain rescanning one, ties included.
#include "design/document/output_sorter.h"

#include "design/find_velm_marks.h"
#include "design/tests/path_fixture.h"
#include "design/tests/rescan_sorter.h"
#include "pivora/select.h"

#include <cmath>
#include <random>
#include <set>

namespace {

class SortedOutputTest : public PathTest {
protected:
    SortedOutput Sort(int scope, EStartPointMode start, EOrderMode order, int insideFirst = 0,
                      int maxDeviation = 0, int excludeMarks = 0) {
        m_page.CreateSortedOutput(scope, start, order, insideFirst, maxDeviation, excludeMarks);
        SortedOutput got = PageSortedOutput(m_page);
        EXPECT_EQ(got, RescanSortedOutput(m_page, scope, start, order, insideFirst, maxDeviation,
                                          excludeMarks));
        return got;
    }
    // A frame that is not a path: it sets the design's extents (and so the pen's start at its
    // lower right) but is never cut.
    void Frame(LONG x2, LONG y2) { AddBox(CWindow(0, 0, x2, y2)); }
};

TEST_F(SortedOutputTest, ListsAreNullUntilFirstSortAndEmptyForAnEmptyDesign) {
    EXPECT_EQ(m_page.GetSortedOutput(), nullptr);
    EXPECT_EQ(m_page.GetSortedOutputStartPoints(), nullptr);
    for (int scope : {0, 1, 2}) {
        m_page.CreateSortedOutput(scope, eStartAlwaysRight, eOrderLeastMovement, 1, 10000, 1);
        ASSERT_NE(m_page.GetSortedOutput(), nullptr);
        EXPECT_EQ(m_page.GetSortedOutput()->GetCount(), 0);
        EXPECT_EQ(m_page.GetSortedOutputStartPoints()->GetCount(), 0);
    }
}

TEST_F(SortedOutputTest, DesignOrderIsTreePreOrderFromElementZero) {
    CArticle* a = AddSquare(0, 0, 1000);
    CArticle* g = AddGroup();
    CArticle* b = AddSquare(5000, 5000, 1000, g);
    CArticle* c = AddPath({{9000, 0}, {9500, 800}}, false, g);
    CArticle* d = AddSquare(2000, 0, 500);
    const SortedOutput got = Sort(0, eStartUnchanged, eOrderDesign);
    EXPECT_EQ(got.articles, (std::vector<CArticle*>{a, b, c, d}));
    EXPECT_EQ(got.starts, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(SortedOutputTest, NearestGoesByRoundedDistanceThenSmallerDyThenDesignOrder) {
    // From the pen at (100000, 0): a at 5000 exactly with dy 3000; d at 5000.0001 with dy 100;
    // b at 5000 with dy 0; c ties b in everything.
    Frame(100000, 100000);
    AddPath({{96000, 3000}, {96000, 4000}}, false);
    CArticle* d = AddPath({{95001, 100}, {94000, 100}}, false);
    EXPECT_EQ(Sort(0, eStartUnchanged, eOrderClosestItem).articles.front(), d);
    CArticle* b = AddPath({{95000, 0}, {95000, 1000}}, false);
    AddPath({{95000, 0}, {50000, 0}}, false);
    EXPECT_EQ(Sort(0, eStartUnchanged, eOrderClosestItem).articles.front(), b);
}

TEST_F(SortedOutputTest, LeastMovementCutsBandsRightToLeftThenLeftToRight) {
    Frame(100000, 100000);
    CArticle* low[] = {AddSquare(10000, 0, 1000), AddSquare(50000, 5000, 1000),
                       AddSquare(30000, 10000, 1000)};
    CArticle* mid[] = {AddSquare(60000, 25000, 1000), AddSquare(20000, 20000, 1000),
                       AddSquare(40000, 30000, 1000)};
    CArticle* top = AddSquare(0, 31000, 1000);
    EXPECT_EQ(Sort(0, eStartUnchanged, eOrderLeastMovement, 0, 10000).articles,
              (std::vector<CArticle*>{low[1], low[2], low[0], mid[1], mid[2], mid[0], top}));
}

TEST_F(SortedOutputTest, InsideFirstWaitsOnlyForPathsStrictlyInside) {
    CArticle* outer = AddRect(0, 0, 10000, 10000);
    CArticle* inner = AddRect(2000, 2000, 4000, 4000);
    CArticle* equal = AddRect(0, 0, 10000, 10000);
    CArticle* touching = AddRect(0, 6000, 3000, 9000);
    EXPECT_EQ(Sort(0, eStartUnchanged, eOrderDesign, 1).articles,
              (std::vector<CArticle*>{inner, outer, equal, touching}));
    EXPECT_EQ(Sort(0, eStartUnchanged, eOrderDesign, 0).articles,
              (std::vector<CArticle*>{outer, inner, equal, touching}));
}

TEST_F(SortedOutputTest, StartModesPickTheirCornerOfClosedPathsOnly) {
    // Square corners from index 0: (0,0) (4000,0) (4000,4000) (0,4000) and (0,0) again.
    Frame(10000, 10000);
    AddSquare(0, 0, 4000);
    AddPath({{6000, 6000}, {9000, 6000}, {9000, 9000}}, false);
    AddPath({{6000, 100}, {9000, 100}, {9000, 3000}, {6000, 3000}}, true);
    const struct {
        EStartPointMode mode;
        std::vector<int> starts;
    } cases[] = {
        {eStartUnchanged, {0, 0, 0}},
        {eStartAlwaysRight, {1, 0, 1}},
        {eStartAlwaysBottom, {1, 0, 1}},
        // From (10000, 0) the square's (4000, 0); after the open path, from (9000, 9000), the
        // third path's (9000, 3000).
        {eStartClosestToPrevious, {1, 0, 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sort(0, c.mode, eOrderDesign).starts, c.starts) << int(c.mode);
}

TEST_F(SortedOutputTest, ScopeTwoListsEveryPathOfASelectedColour) {
    CVectorArticle* red1 = AddSquare(0, 0, 100);
    CVectorArticle* blue = AddSquare(200, 0, 100);
    CArticle* g = AddGroup();
    CVectorArticle* red2 = AddSquare(400, 0, 100, g);
    AddBox(CWindow(0, 0, 5, 5));
    SetColour(red1, 0x0000FF);
    SetColour(red2, 0x0000FF);
    SetColour(blue, 0xFF0000);
    m_page.AddObjectSelection(red2, CSelect::kSelectArticle, 0);
    EXPECT_EQ(Sort(2, eStartUnchanged, eOrderDesign).articles,
              (std::vector<CArticle*>{red1, red2}));
    EXPECT_EQ(Sort(7, eStartUnchanged, eOrderDesign).articles,
              (std::vector<CArticle*>{red1, red2}));
}

TEST_F(SortedOutputTest, ScopeTwoKeepsEveryColourPastAThousand) {
    constexpr int kColours = 1100;
    for (int i = 0; i < kColours; ++i) {
        CVectorArticle* a = AddSquare(i * 200, 0, 100);
        SetColour(a, COLORREF(0x010000 + i));
        m_page.AddObjectSelection(a, CSelect::kSelectArticle, 1);
    }
    EXPECT_EQ(Sort(2, eStartUnchanged, eOrderDesign).articles.size(), size_t(kColours));
}

TEST_F(SortedOutputTest, SelectionScopeCutsAnArticleReachedTwiceOnce) {
    CArticle* g = AddGroup();
    CArticle* a = AddSquare(0, 0, 100, g);
    CArticle* b = AddSquare(200, 0, 100, g);
    AddSquare(400, 0, 100);
    m_page.AddObjectSelection(b, CSelect::kSelectArticle, 0);
    m_page.AddObjectSelection(g, CSelect::kSelectArticle, 1);
    EXPECT_EQ(Sort(1, eStartUnchanged, eOrderDesign).articles, (std::vector<CArticle*>{b, a}));
    m_page.RemoveAllObjectSelection();
    EXPECT_TRUE(Sort(1, eStartUnchanged, eOrderDesign).articles.empty());
}

TEST_F(SortedOutputTest, MarksAreLeftOutOnlyWhenAsked) {
    CArticle* a = AddSquare(0, 0, 100);
    CArticle* mark = AddSquare(200, 0, 100);
    mark->fnSetValue(CFindVelmMarks::kMarkerValue, 1, 0);
    EXPECT_EQ(Sort(0, eStartUnchanged, eOrderDesign, 0, 0, 1).articles,
              (std::vector<CArticle*>{a}));
    EXPECT_EQ(Sort(0, eStartUnchanged, eOrderDesign, 0, 0, 0).articles,
              (std::vector<CArticle*>{a, mark}));
}

TEST_F(SortedOutputTest, ArticlesThatCutNothingAreLeftOutOfBothLists) {
    CArticle* a = AddSquare(0, 0, 100);
    AddBox(CWindow(0, 0, 50, 50));
    AddPath({}, false);
    CArticle* b = AddPath({{500, 500}}, false);
    for (EOrderMode order : {eOrderDesign, eOrderClosestItem, eOrderLeastMovement})
        for (EStartPointMode start : {eStartUnchanged, eStartClosestToPrevious}) {
            const SortedOutput got = Sort(0, start, order, 1, 1000);
            EXPECT_EQ(got.articles.size(), 2u);
            EXPECT_EQ(got.starts.size(), 2u);
            EXPECT_EQ(std::set<CArticle*>(got.articles.begin(), got.articles.end()),
                      (std::set<CArticle*>{a, b}));
        }
}

TEST_F(SortedOutputTest, FarCoordinatesNeitherOverflowNorLoseTheNearest) {
    constexpr LONG kFar = 99999999;
    CArticle* far = AddPath({{-kFar, kFar}, {-kFar, kFar - 10}}, false);
    CArticle* near = AddPath({{kFar - 3, -kFar + 4}, {kFar - 3, -kFar + 9}}, false);
    CArticle* corner = AddPath({{kFar, -kFar}, {kFar - 1, -kFar}}, false);
    EXPECT_EQ(Sort(0, eStartClosestToPrevious, eOrderClosestItem).articles,
              (std::vector<CArticle*>{corner, near, far}));
    EXPECT_EQ(COutputSorter::RoundedDistance(2 * int64_t(kFar), 2 * int64_t(kFar)),
              int64_t(282842710));
    EXPECT_EQ(COutputSorter::RoundedDistance(int64_t(1) << 32, int64_t(1) << 32),
              int64_t(6074001000));
}

// Random designs -----------------------------------------------------------------------------

class RandomSortTest : public SortedOutputTest, public testing::WithParamInterface<unsigned> {
protected:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    // Coordinates on a coarse grid, so equal distances, rows and columns are common.
    LONG Grid(int cells) { return LONG(Pick(cells) * 500); }
    // Letters (outlines with up to two counters, sometimes touching them), open paths, groups,
    // articles that cut nothing, three colours and a few marks; returns what may be selected.
    std::vector<CArticle*> Build(int paths);
    struct Setting {
        EOrderMode order;
        EStartPointMode start;
        int insideFirst;
    };
    static std::vector<Setting> EverySetting();

    std::mt19937 m_rng{GetParam()};
};

std::vector<CArticle*> RandomSortTest::Build(int paths) {
    const COLORREF colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
    const int cells = std::max(8, int(std::sqrt(double(paths)) * 3));
    std::vector<CArticle*> pool;
    CArticle* group = nullptr;
    for (int made = 0; made < paths;) {
        if (Pick(10) == 0) {
            group = Pick(2) ? AddGroup() : nullptr;
            if (group)
                pool.push_back(group);
            continue;
        }
        const LONG x = Grid(cells), y = Grid(cells);
        CVectorArticle* a = nullptr;
        const int kind = Pick(8);
        if (kind == 0) {
            std::vector<CLpoint> pts;
            for (int k = 1 + Pick(4); k > 0; --k)
                pts.push_back(CLpoint(x + Grid(6), y + Grid(6)));
            a = AddPath(pts, false, group);
        } else if (kind == 1) {
            if (Pick(2))
                AddPath({}, false, group);
            else
                AddBox(CWindow(x, y, x + 500, y + 500), group);
            ++made;
            continue;
        } else {
            const LONG w = 2000 + Grid(6), h = 2000 + Grid(6);
            std::vector<CLpoint> outline = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
            std::rotate(outline.begin(), outline.begin() + Pick(4), outline.end());
            if (Pick(3) == 0)
                outline.push_back(CLpoint(x + w / 2, y + h / 2));
            a = AddPath(outline, true, group);
            for (int c = Pick(3); c > 0; --c) {
                const LONG cx = x + (Pick(4) == 0 ? 0 : 500) + Grid(2);
                const LONG cy = y + 500 + Grid(2);
                CVectorArticle* counter = AddRect(cx, cy, cx + 500, cy + 500, group);
                SetColour(counter, colours[Pick(3)]);
                pool.push_back(counter);
                ++made;
            }
        }
        SetColour(a, colours[Pick(3)]);
        if (Pick(12) == 0)
            a->fnSetValue(CFindVelmMarks::kMarkerValue, 1, 0);
        pool.push_back(a);
        ++made;
    }
    return pool;
}

std::vector<RandomSortTest::Setting> RandomSortTest::EverySetting() {
    std::vector<Setting> out;
    for (EOrderMode order : {eOrderDesign, eOrderClosestItem, eOrderLeastMovement})
        for (EStartPointMode start :
             {eStartUnchanged, eStartClosestToPrevious, eStartAlwaysRight, eStartAlwaysBottom})
            for (int inside : {0, 1})
                out.push_back({order, start, inside});
    return out;
}

TEST_P(RandomSortTest, PageSorterEqualsRescanningSorterOnSmallDesigns) {
    const std::vector<CArticle*> pool = Build(40 + Pick(60));
    for (int k = 0; k < 6; ++k)
        m_page.AddObjectSelection(pool[size_t(Pick(int(pool.size())))], CSelect::kSelectArticle, 1);
    for (const Setting& s : EverySetting())
        for (int scope : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "order " << s.order << " start " << s.start
                                            << " inside " << s.insideFirst << " scope " << scope);
            Sort(scope, s.start, s.order, s.insideFirst, Pick(3) * 1500, Pick(2));
        }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSortTest, testing::Range(1u, 13u));

class LargeRandomSortTest : public RandomSortTest {};

// With inside first the rescanning sorter is cubic: it gets the smaller design.
TEST_P(LargeRandomSortTest, PageSorterEqualsRescanningSorterOnLargeDesigns) {
    const int paths = GetParam() == 0 ? 2000 : 400;
    const int inside = GetParam() == 0 ? 0 : 1;
    Build(paths);
    for (const Setting& s : EverySetting()) {
        if (s.start == eStartAlwaysBottom || s.insideFirst != inside)
            continue;
        SCOPED_TRACE(testing::Message() << "order " << s.order << " start " << s.start);
        Sort(0, s.start, s.order, s.insideFirst, 2000, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LargeRandomSortTest, testing::Values(0u, 1u));

} // namespace

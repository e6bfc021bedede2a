#include "vector/scan_lines.h"

#include "vector_fixtures.h"

#include "platform/windowing/cursor.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class ScanLinesTest : public VectorTest {
protected:
    void TearDown() override {
        for (CArticle* a : m_owned)
            delete a;
        VectorTest::TearDown();
    }
    CArticle* Add(CVectorItem* item) {
        auto* a = new CVectorArticle;
        a->Item(item);
        m_owned.push_back(a);
        m_articles.Add(a);
        return a;
    }
    std::vector<CDb> Hatch(double spacing, double angle = 0, int flags = 0, int step = 100) {
        int count = -1;
        std::unique_ptr<CDb[]> out(
            FnGenerateScanLines(m_articles, step, spacing, angle, count, flags));
        EXPECT_EQ(out == nullptr, count == 0);
        return out ? std::vector<CDb>(out.get(), out.get() + count) : std::vector<CDb>();
    }

    CTypedPtrArray<CObArray, CArticle*> m_articles;
    std::vector<CArticle*> m_owned;
};

TEST_F(ScanLinesTest, SquareGivesOneStrokePerLineAcrossIt) {
    Add(Square(0, 0, 10000));
    std::vector<CDb> s = Hatch(1000);
    ASSERT_EQ(s.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(s[i].mode, i);
        EXPECT_EQ(s[i].start, CLpoint(0, 1000 * i));
        EXPECT_EQ(s[i].end, CLpoint(10000, 1000 * i));
    }
}

TEST_F(ScanLinesTest, FittingSpreadsElevenLinesFromOneToJustBelowTheTop) {
    Add(Square(0, 0, 10000));
    std::vector<CDb> s = Hatch(1000, 0, SCAN_FIT_HEIGHT);
    ASSERT_EQ(s.size(), 11u);
    EXPECT_EQ(s.front().start.y, 1);
    EXPECT_EQ(s.back().start.y, 9999);
}

TEST_F(ScanLinesTest, ZigZagReversesOddLinesAndBreakModeMarksEveryStroke) {
    Add(Square(0, 0, 10000));
    std::vector<CDb> s = Hatch(1000, 0, SCAN_ZIG_ZAG | SCAN_BREAK_MODE);
    ASSERT_EQ(s.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(s[i].mode, 0x200);
        EXPECT_EQ(s[i].start.x, i % 2 ? 10000 : 0) << i;
    }
}

TEST_F(ScanLinesTest, RingLeavesItsHoleOut) {
    Add(Square(0, 0, 10000));
    Add(Square(3000, 3000, 4000));
    std::vector<CDb> s = Hatch(1000);
    // Lines 3 to 6 (Y 3000 to 6000) cross the hole: two strokes each.
    ASSERT_EQ(s.size(), 14u);
    EXPECT_EQ(s[5].start, CLpoint(0, 4000));
    EXPECT_EQ(s[5].end, CLpoint(3000, 4000));
    EXPECT_EQ(s[6].start, CLpoint(7000, 4000));
    EXPECT_EQ(s[6].end, CLpoint(10000, 4000));
}

TEST_F(ScanLinesTest, TurningVertexOnALineCountsTwice) {
    // A notch whose lowest point (5000, 5000) lies on line 5.
    Add(new CPolyTestItem({{0, 0}, {10000, 0}, {10000, 10000}, {5000, 5000}, {0, 10000}, {0, 0}}));
    std::vector<CDb> s = Hatch(1000);
    std::vector<CDb> line5;
    for (const CDb& d : s)
        if (d.mode == 5)
            line5.push_back(d);
    ASSERT_EQ(line5.size(), 2u);
    EXPECT_EQ(line5[0].end, CLpoint(5000, 5000));
    EXPECT_EQ(line5[1].start, CLpoint(5000, 5000));
    // A diamond's lowest vertex sits on line 0: a stroke of no length, never a lone crossing.
    m_articles.RemoveAll();
    Add(new CPolyTestItem({{5000, 0}, {10000, 5000}, {5000, 10000}, {0, 5000}, {5000, 0}}));
    s = Hatch(1000);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s[0].start, s[0].end);
}

TEST_F(ScanLinesTest, NinetyDegreesHatchesUpwardsAndLeavesTheInputAlone) {
    CArticle* a = Add(Square(0, 0, 10000));
    std::vector<CDb> s = Hatch(1000, 90);
    ASSERT_EQ(s.size(), 10u);
    for (const CDb& d : s) {
        EXPECT_EQ(d.start.x, d.end.x);
        EXPECT_NE(d.start.y, d.end.y);
    }
    auto* item = static_cast<CVectorItem*>(a->GetItem());
    EXPECT_EQ(item->Vect(1).pt, CLpoint(10000, 0));
    EXPECT_EQ(item->Vect(2).pt, CLpoint(10000, 10000));
}

TEST_F(ScanLinesTest, ManyCrossingsOnOneLineAreAllKept) {
    // 600 teeth of width 10 on top of a 1000-high base: line Y 1500 crosses 1200 times.
    std::vector<CLpoint> pts = {{0, 0}, {12000, 0}};
    for (int i = 600; i >= 1; --i) {
        pts.push_back(CLpoint(20 * i, 1000));
        pts.push_back(CLpoint(20 * i - 10, 2000));
    }
    pts.push_back(CLpoint(0, 1000));
    pts.push_back(CLpoint(0, 0));
    Add(new CPolyTestItem(pts));
    std::vector<CDb> s = Hatch(1500);
    int onTeeth = 0;
    for (const CDb& d : s)
        if (d.start.y == 1500) {
            ++onTeeth;
            EXPECT_LE(d.end.x - d.start.x, 10);
        }
    EXPECT_EQ(onTeeth, 600);
}

TEST_F(ScanLinesTest, UnusableArgumentsAndEmptyResultsGiveNull) {
    Add(Square(0, 0, 10000));
    struct Case {
        const char* name;
        double spacing;
        int flags;
        int step;
    } cases[] = {
        {"spacing above the height", 20000, 0, 100},
        {"spacing zero", 0, 0, 100},
        {"spacing negative", -5, 0, 100},
        {"fitted, height under the spacing", 20000, SCAN_FIT_HEIGHT, 100},
        {"step zero", 1000, 0, 0},
        {"step negative", 1000, 0, -3},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(Hatch(c.spacing, 0, c.flags, c.step).empty()) << c.name;
    // Fitting a spacing of 0 takes 1.0.
    m_articles.RemoveAll();
    Add(Square(0, 0, 10));
    EXPECT_EQ(Hatch(0, 0, SCAN_FIT_HEIGHT).size(), 11u);
    // Under two units of height nothing fits.
    m_articles.RemoveAll();
    Add(Square(0, 0, 2));
    EXPECT_TRUE(Hatch(0, 0, SCAN_FIT_HEIGHT).empty());
    // An open diagonal crosses every line once: no stroke at all.
    m_articles.RemoveAll();
    Add(new CPolyTestItem({{0, 0}, {10000, 10000}}));
    EXPECT_TRUE(Hatch(1000).empty());
    m_articles.RemoveAll();
    EXPECT_TRUE(Hatch(1000).empty());
}

// A square that notes the cursor showing while the hatching copies it.
class CCursorNotingSquare : public CPolyTestItem {
public:
    CCursorNotingSquare()
        : CPolyTestItem({{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}, {0, 0}}) {}
    CObject* CopyObject(CObject* target) override {
        seen.push_back(::GetCursor());
        return CPolyTestItem::CopyObject(target);
    }
    std::vector<HCURSOR> seen;
};

TEST_F(ScanLinesTest, ListFormShowsTheWaitCursorWhileItWorksAndGivesTheSameStrokes) {
    auto* square = new CCursorNotingSquare;
    CArticle* a = Add(square);
    CArticleList list;
    list.AddTail(a);
    int count = 0;
    const HCURSOR arrow = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW));
    ::SetCursor(arrow);
    std::unique_ptr<CDb[]> out(FnGenerateScanLines(list, 100, 1000, 37, count, 0));
    EXPECT_EQ(square->seen,
              std::vector<HCURSOR>{::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_WAIT))});
    EXPECT_EQ(::GetCursor(), arrow);
    std::vector<CDb> fromArray = Hatch(1000, 37);
    ASSERT_EQ(size_t(count), fromArray.size());
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(out[i], fromArray[i]);
}

} // namespace

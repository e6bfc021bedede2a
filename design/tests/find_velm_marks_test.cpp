#include "design/find_velm_marks.h"

#include "design/tests/path_fixture.h"

namespace {

class FindVelmMarksTest : public PathTest {
protected:
    // Square marks: a right column at x 1000000 and a left one at x 0, each mark w by h with
    // its lower edge at the listed heights; artwork in the middle.
    void Marks(LONG w, LONG h, const std::vector<LONG>& right, const std::vector<LONG>& left) {
        for (LONG y : right)
            m_marks.push_back(AddRect(1000000, y, 1000000 + w, y + h));
        for (LONG y : left)
            m_marks.push_back(AddRect(0, y, w, y + h));
    }
    int Tagged() {
        int n = 0;
        CArticleList all;
        m_page.RootArticle()->GetArticleList(&all, static_cast<const CRuntimeClass*>(nullptr));
        for (POSITION pos = all.GetHeadPosition(); pos;)
            n += all.GetNext(pos)->fnGetValue(CFindVelmMarks::kMarkerValue, 0) == 1;
        return n;
    }
    std::vector<CArticle*> m_marks;
};

TEST_F(FindVelmMarksTest, TableOfMarkSets) {
    const std::vector<LONG> three = {0, 100000, 200000};
    const struct Case {
        const char* name;
        LONG w, h;
        std::vector<LONG> right, left;
        int coarse, fine;
        int xdist;
    } cases[] = {
        {"three 5 mm squares a side", 5000, 5000, three, three, 1, 1, 100000},
        {"5.2 by 5 mm", 5200, 5000, three, three, 1, 0, 100000},
        {"10.2 mm squares", 10200, 10200, three, three, 1, 0, 100000},
        {"three against two", 5000, 5000, three, {0, 100000}, 0, 0, 0},
        {"gaps of 100 and 100.3 mm",
         5000,
         5000,
         {0, 100000, 200300},
         {0, 100000, 200300},
         1,
         1,
         100150},
        {"gaps of 100 and 100.4 mm", 5000, 5000, {0, 100000, 200400}, {0, 100000, 200400}, 0, 0, 0},
        {"one mark a side", 5000, 5000, {0}, {0}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        while (CTree* t = m_page.RootArticle()->GetFirstChild()) {
            t->Detach();
            delete t;
        }
        Marks(c.w, c.h, c.right, c.left);
        AddRect(400000, 50000, 600000, 150000);
        for (int fine : {0, 1}) {
            CFindVelmMarks finder;
            const int want = fine ? c.fine : c.coarse;
            ASSERT_EQ(finder.Execute(&m_page, fine), want) << "fine " << fine;
            if (!want) {
                EXPECT_EQ(Tagged(), 0);
                continue;
            }
            EXPECT_EQ(Tagged(), int(c.right.size() + c.left.size()));
            EXPECT_EQ(finder.GetXn(), int(c.right.size()));
            EXPECT_EQ(finder.GetXdist(), c.xdist);
            EXPECT_EQ(finder.GetYdist(), 1000000);
            EXPECT_EQ(finder.GetXsize(), c.h);
            EXPECT_EQ(finder.GetYsize(), c.w);
        }
    }
}

TEST_F(FindVelmMarksTest, ThousandsOfMarksMakeTwoLongColumns) {
    std::vector<LONG> heights;
    for (LONG i = 0; i < 2000; ++i)
        heights.push_back(i * 10000);
    Marks(5000, 5000, heights, heights);
    CFindVelmMarks finder;
    ASSERT_EQ(finder.Execute(&m_page, 1), 1);
    EXPECT_EQ(finder.GetXn(), 2000);
    EXPECT_EQ(finder.GetXdist(), 10000);
    EXPECT_EQ(Tagged(), 4000);
}

TEST_F(FindVelmMarksTest, RotatedSquareIsNoMark) {
    Marks(5000, 5000, {100000, 200000}, {0, 100000, 200000});
    AddPath({{1002500, 0}, {1005000, 2500}, {1002500, 5000}, {1000000, 2500}}, true);
    CFindVelmMarks finder;
    EXPECT_EQ(finder.Execute(&m_page, 0), 0);
    EXPECT_EQ(Tagged(), 0);
}

TEST_F(FindVelmMarksTest, CrossMarkIsTakenAndArtworkBelowItFails) {
    Marks(5000, 5000, {0, 100000, 200000}, {0, 100000, 200000});
    // 12 mm from the lower-left mark's right edge to the lower-right mark's left edge.
    CArticle* cross = AddRect(17000, 0, 988000, 1000);
    CArticle* art = AddRect(400000, 50000, 600000, 150000);
    CFindVelmMarks finder;
    ASSERT_EQ(finder.Execute(&m_page, 1), 1);
    EXPECT_EQ(cross->fnGetValue(CFindVelmMarks::kMarkerValue, 0), 1);
    EXPECT_EQ(art->fnGetValue(CFindVelmMarks::kMarkerValue, 0), 0);
    EXPECT_EQ(Tagged(), 7);

    AddRect(500000, 500, 510000, 10500);
    EXPECT_EQ(finder.Execute(&m_page, 1), 0);
    EXPECT_EQ(Tagged(), 0);
}

TEST_F(FindVelmMarksTest, DesignsWithoutPathsFindNothing) {
    CFindVelmMarks finder;
    EXPECT_EQ(finder.Execute(nullptr, 1), 0);
    EXPECT_EQ(finder.Execute(&m_page, 1), 0);
    AddGroup();
    EXPECT_EQ(finder.Execute(&m_page, 0), 0);
    AddBox(CWindow(0, 0, 5000, 5000));
    EXPECT_EQ(finder.Execute(&m_page, 0), 0);
    EXPECT_EQ(Tagged(), 0);
    EXPECT_EQ(finder.GetXn(), 0);
}

} // namespace

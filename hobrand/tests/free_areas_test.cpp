#include "hobrand/free_areas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CWindow> Insert(int mode, const std::vector<CWindow>& areas) {
    CFreeAreas free;
    free.SetOrder(mode);
    for (const CWindow& w : areas)
        free.Insert(w);
    return free.Values();
}

TEST(FreeAreas, InsertKeepsTheOrderOfTheModeAndPutsTiesAfterTheirEquals) {
    const CWindow a(0, 0, 10, 10), b(5, 0, 20, 10), c(0, 5, 30, 40), d(0, 0, 10, 20);
    struct Case {
        int mode;
        std::vector<CWindow> order;
    } const cases[] = {
        {0x41, {a, d, b, c}}, // y1 up, smaller x2 first; d ties a and follows it
        {0x42, {b, a, d, c}}, // y1 up, larger x2 first
        {0x81, {c, d, a, b}}, // y2 down, smaller x2 first
        {0x28, {a, d, c, b}}, // x1 up, smaller y2 first
        {0x14, {c, b, d, a}}, // x2 down, larger y2 first
        {0x00, {a, b, c, d}}, // no order: appended
    };
    for (const Case& k : cases)
        EXPECT_EQ(Insert(k.mode, {a, b, c, d}), k.order) << std::hex << k.mode;
}

TEST(FreeAreas, FindsNeighboursMergesAndCandidatesInListOrder) {
    CFreeAreas free;
    free.SetOrder(0x41);
    // Two strips of one height side by side, and an area apart.
    free.Assign({CWindow(0, 0, 100, 50), CWindow(100, 0, 300, 50), CWindow(500, 500, 600, 600)});
    const auto strip = free.First(), next = free.Next(strip), apart = free.Next(next);
    EXPECT_EQ(free.Following(strip), std::vector<CFreeAreas::Handle>{next});
    EXPECT_TRUE(free.Following(next).empty());
    CFreeAreas::Handle i = nullptr, j = nullptr;
    ASSERT_TRUE(free.FirstMerge(i, j));
    EXPECT_EQ(i, strip);
    EXPECT_EQ(j, next);
    // 250 x 50 fits only the strips joined; 100 x 100 only the area apart.
    CFreeAreas::Need joined, apartOnly, none;
    joined.Add(250, 50);
    apartOnly.Add(100, 100);
    none.Add(101, 101);
    EXPECT_EQ(free.NextCandidate(free.First(), joined), strip);
    EXPECT_EQ(free.NextCandidate(free.First(), apartOnly), apart);
    EXPECT_EQ(free.NextCandidate(free.First(), none), nullptr);
    // Erasing the neighbour takes the join (and the merge) with it.
    free.Erase(next);
    EXPECT_EQ(free.NextCandidate(free.First(), joined), nullptr);
    EXPECT_FALSE(free.FirstMerge(i, j));
}

} // namespace

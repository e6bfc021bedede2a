#include "platform/framework/dock_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::DockedBar;
using platform::DockSide;

constexpr DockSide T = DockSide::Top, B = DockSide::Bottom, L = DockSide::Left, R = DockSide::Right;

struct Case {
    const char* name;
    std::vector<DockedBar> bars;
    std::vector<CRect> placed;
    CRect rest;
};

TEST(DockLayout, RowsFillWhileTheyFitAndWrapWhenNot) {
    const CRect client(0, 0, 200, 100);
    const Case cases[] = {
        {"nothing docked", {}, {}, client},
        {"two share a row, exactly filling it",
         {{T, {80, 20}}, {T, {120, 20}}},
         {{0, 0, 80, 20}, {80, 0, 200, 20}},
         {0, 20, 200, 100}},
        {"the one that does not fit starts a row as high as its tallest",
         {{T, {80, 20}}, {T, {100, 26}}, {T, {50, 24}}},
         {{0, 0, 80, 20}, {80, 0, 180, 26}, {0, 26, 50, 50}},
         {0, 50, 200, 100}},
        {"a bar wider than the frame gets the width and a row alone",
         {{T, {300, 20}}, {T, {50, 20}}},
         {{0, 0, 200, 20}, {0, 20, 50, 40}},
         {0, 40, 200, 100}},
        {"the first bottom row is outermost; rows stack upwards",
         {{B, {200, 20}}, {B, {60, 24}}, {B, {60, 24}}},
         {{0, 80, 200, 100}, {0, 56, 60, 80}, {60, 56, 120, 80}},
         {0, 0, 200, 56}},
        {"side columns stand between the rows and wrap inwards",
         {{L, {30, 50}}, {T, {200, 20}}, {R, {24, 30}}, {L, {30, 40}}},
         {{0, 20, 30, 70}, {0, 0, 200, 20}, {176, 20, 200, 50}, {30, 20, 60, 60}},
         {60, 20, 176, 100}},
        {"rows taller than the frame leave an empty rest, not a negative one",
         {{T, {200, 60}}, {T, {200, 60}}, {L, {30, 30}}},
         {{0, 0, 200, 60}, {0, 60, 200, 120}, {0, 100, 30, 100}},
         {30, 100, 200, 100}},
    };
    for (const Case& c : cases) {
        const platform::DockLayout out = platform::LayoutDockedBars(client, c.bars);
        EXPECT_EQ(out.bars, c.placed) << c.name;
        EXPECT_EQ(out.rest, c.rest) << c.name;
    }
}

TEST(DockLayout, AnOffsetClientKeepsItsOrigin) {
    const platform::DockLayout out =
        platform::LayoutDockedBars(CRect(10, 30, 110, 130), {{T, {40, 20}}, {R, {20, 40}}});
    EXPECT_EQ(out.bars, (std::vector<CRect>{{10, 30, 50, 50}, {90, 50, 110, 90}}));
    EXPECT_EQ(out.rest, CRect(10, 50, 90, 130));
}

} // namespace

#include "hobrand/tile_repos.h"

#include <gtest/gtest.h>

TEST(TileRepos, DefaultsGiveTheIdentityAndTheWindowCorners) {
    CTileRepos rec;
    rec.fnSetWindow(CWindow(10, 20, 110, 70));
    EXPECT_EQ(rec.m_mat, CMat2d());
    EXPECT_EQ(rec.m_corners[0], CLpoint(10, 20));
    EXPECT_EQ(rec.m_corners[2], CLpoint(110, 70));
    EXPECT_EQ(rec.fnGetBounds(), CWindow(10, 20, 110, 70));
}

TEST(TileRepos, QuarterTurnSwapsTheSizesAboutTheCentreAndTogglesTheFlag) {
    CTileRepos rec;
    rec.fnSetWindow(CWindow(0, 0, 300000, 100000));
    rec.fnRotateQuarter();
    EXPECT_EQ(rec.m_bRotated, 1);
    EXPECT_EQ(rec.fnGetBounds(), CWindow(100000, -100000, 200000, 200000));
    // The matrix takes the design's own corners to the turned ones.
    EXPECT_EQ(rec.m_mat * CLpoint(0, 0), rec.m_corners[0]);
    rec.fnTranslate(5, -5);
    EXPECT_EQ(rec.m_mat * CLpoint(300000, 100000), rec.m_corners[2]);
    rec.fnRotateQuarter();
    EXPECT_EQ(rec.m_bRotated, 0);
}

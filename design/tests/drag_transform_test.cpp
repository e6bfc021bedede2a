#include "design/tools/drag_transform.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    HandleType handle;
    CLpoint pointer;
    bool shift, ctrl;
    double sx, sy, tx, ty;
};

TEST(DragTransform, HandlesAndKeysGiveTheseMatrices) {
    // Extents 1000 wide and 500 high, so the ratio is 2; body drags pressed at (300, 300).
    const CWindow e(0, 0, 1000, 500);
    const Case cases[] = {
        {"right edge out", eHandleRight, {1500, 250}, false, false, 1.5, 1, 0, 0},
        {"right edge past the left edge mirrors",
         eHandleRight,
         {-500, 9},
         false,
         false,
         -0.5,
         1,
         0,
         0},
        {"right edge with Shift about the centre",
         eHandleRight,
         {1200, 0},
         true,
         false,
         1.4,
         1,
         -200,
         0},
        {"top edge up", eHandleTop, {77, 1000}, false, false, 1, 2, 0, 0},
        {"bottom edge with Shift", eHandleBottom, {0, -100}, true, false, 1, 1.4, 0, -100},
        {"bottom-right keeps the ratio",
         eHandleBottomRight,
         {2000, 0},
         false,
         false,
         2,
         2,
         0,
         -500},
        {"bottom-right with Ctrl is free", eHandleBottomRight, {2000, 0}, false, true, 2, 1, 0, 0},
        {"top-left with Shift scales about the centre",
         eHandleTopLeft,
         {-100, 600},
         true,
         false,
         1.4,
         1.4,
         -200,
         -100},
        {"top-right widens to the ratio", eHandleTopRight, {1100, 1000}, false, false, 2, 2, 0, 0},
        {"body moves", eHandleBody, {400, 350}, false, false, 1, 1, 100, 50},
        {"body with Shift moves along x", eHandleBody, {400, 350}, true, false, 1, 1, 100, 0},
        {"body with Shift moves along y", eHandleBody, {310, 350}, true, false, 1, 1, 0, 50},
        {"centre handle moves", eHandleCentre, {600, 240}, false, false, 1, 1, 100, -10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDragInput in;
        in.handle = c.handle;
        in.extents = e;
        in.press = CLpoint(300, 300);
        in.pointer = c.pointer;
        in.symmetric = c.shift;
        in.free = c.ctrl;
        CMat2d m;
        ASSERT_TRUE(ComputeDragTransform(in, m));
        EXPECT_DOUBLE_EQ(m.m0, c.sx);
        EXPECT_DOUBLE_EQ(m.m4, c.sy);
        EXPECT_DOUBLE_EQ(m.m6, c.tx);
        EXPECT_DOUBLE_EQ(m.m7, c.ty);
        EXPECT_EQ(m.m1, 0.0);
        EXPECT_EQ(m.m3, 0.0);
    }
}

TEST(DragTransform, SingularDragsKeepTheLastTransform) {
    CDragInput in;
    in.extents = CWindow(0, 0, 1000, 500);
    CMat2d m = CMat2d(CScale(3, 3));
    // An edge dropped exactly on the opposite one flattens the selection.
    in.handle = eHandleLeft;
    in.pointer = CLpoint(1000, 250);
    EXPECT_FALSE(ComputeDragTransform(in, m));
    in.handle = eHandleTopLeft;
    in.free = true;
    in.pointer = CLpoint(0, 0);
    EXPECT_FALSE(ComputeDragTransform(in, m));
    in.extents = CWindow(10, 10, 0, 0); // no extents at all
    EXPECT_FALSE(ComputeDragTransform(in, m));
    EXPECT_DOUBLE_EQ(m.m0, 3.0);
}

TEST(DragTransform, ZeroWidthOrHeightLeavesCornersFree) {
    CDragInput in;
    in.handle = eHandleBottomRight;
    in.extents = CWindow(100, 0, 100, 500); // a vertical line: no ratio
    in.pointer = CLpoint(300, -100);
    CMat2d m;
    ASSERT_TRUE(ComputeDragTransform(in, m));
    EXPECT_DOUBLE_EQ(m.m0, 1.0);
    EXPECT_DOUBLE_EQ(m.m4, 1.2);
}

TEST(DragTransform, ExtentsAtTheDataLimitsDoNotWrap) {
    CDragInput in;
    in.handle = eHandleTopRight;
    in.extents = CWindow(-99999999, -99999999, 99999999, 99999999);
    in.pointer = CLpoint(-99999999, -99999999);
    in.symmetric = true;
    CMat2d m;
    ASSERT_TRUE(ComputeDragTransform(in, m));
    // Dragged through the centre to the opposite corner with Shift: mirrored about the centre.
    EXPECT_DOUBLE_EQ(m.m0, -1.0);
    EXPECT_DOUBLE_EQ(m.m4, -1.0);
    in.handle = eHandleBody;
    in.press = CLpoint(-99999999, 0);
    in.pointer = CLpoint(99999999, 0);
    in.symmetric = false;
    ASSERT_TRUE(ComputeDragTransform(in, m));
    EXPECT_DOUBLE_EQ(m.m6, 199999998.0);
}

} // namespace

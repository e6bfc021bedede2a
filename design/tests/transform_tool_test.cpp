#include "design/transform_tool.h"

#include <gtest/gtest.h>

namespace {

TEST(HasCardinal, EachHandleMovesItsOwnEdges) {
    // Rows: handle; columns: moves left, right, top, bottom.
    struct Case {
        HandleType handle;
        bool left, right, top, bottom;
    };
    const Case cases[] = {
        {eHandleNone, false, false, false, false},
        {eHandleCentre, false, false, false, false},
        {eHandleLeft, true, false, false, false},
        {eHandleRight, false, true, false, false},
        {eHandleTop, false, false, true, false},
        {eHandleBottom, false, false, false, true},
        {eHandleTopLeft, true, false, true, false},
        {eHandleTopRight, false, true, true, false},
        {eHandleBottomLeft, true, false, false, true},
        {eHandleBottomRight, false, true, false, true},
        {eHandleBody, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handle);
        EXPECT_EQ(HasCardinal(c.handle, eHandleLeft), c.left);
        EXPECT_EQ(HasCardinal(c.handle, eHandleRight), c.right);
        EXPECT_EQ(HasCardinal(c.handle, eHandleTop), c.top);
        EXPECT_EQ(HasCardinal(c.handle, eHandleBottom), c.bottom);
        // Only an edge names an edge.
        EXPECT_FALSE(HasCardinal(c.handle, eHandleTopLeft));
        EXPECT_FALSE(HasCardinal(c.handle, eHandleCentre));
    }
}

TEST(TransformTool, HandleCentresSitOnTheExtentsWithYUp) {
    const CWindow e(-5, 10, 100, 41);
    const struct {
        HandleType handle;
        CPoint centre;
    } cases[] = {
        {eHandleCentre, {47, 25}},       {eHandleLeft, {-5, 25}},
        {eHandleRight, {100, 25}},       {eHandleTop, {47, 41}},
        {eHandleBottom, {47, 10}},       {eHandleTopLeft, {-5, 41}},
        {eHandleTopRight, {100, 41}},    {eHandleBottomLeft, {-5, 10}},
        {eHandleBottomRight, {100, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handle);
        EXPECT_EQ(CTransformTool::HandleCentre(e, c.handle), c.centre);
    }
}

TEST(TransformTool, CentreOfExtentsAtTheDataLimitsDoesNotWrap) {
    const CWindow e(2000000000, -2000000000, 2100000000, -1900000000);
    EXPECT_EQ(CTransformTool::HandleCentre(e, eHandleCentre), CPoint(2050000000, -1950000000));
}

TEST(TransformTool, StartsWithoutHandleAndWithTheIdentity) {
    CTransformTool t;
    EXPECT_EQ(t.m_HitHandle, eHandleNone);
    EXPECT_EQ(t.m_Transform, CMat2d());
    EXPECT_EQ(t.m_Extents.x1 | t.m_Extents.y1 | t.m_Extents.x2 | t.m_Extents.y2, 0);
    EXPECT_EQ(CTransformTool::nHandleSize, 3);
}

} // namespace

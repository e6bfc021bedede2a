// The transform of a handle or body drag: the extents E, the handle held, the press point and
// the pointer (data units) give the new extents N and the matrix that maps E onto N.
#pragma once

#include "design/transform_tool.h"

struct CDragInput {
    HandleType handle = eHandleNone;
    CWindow extents;
    CLpoint press;          // the data point of the press (body drags)
    CLpoint pointer;        // the pointer now
    bool symmetric = false; // Shift: about the centre, or along one axis for moves
    bool free = false;      // Ctrl: corners keep no ratio
};

// False when the drag has no regular result (an edge dropped on the opposite one gives a zero
// scale): the caller keeps its last transform. Sums are 64-bit, so extents near the data limits
// do not wrap.
bool ComputeDragTransform(const CDragInput& in, CMat2d& out);

// CTileRepos: where one copy of a design goes on a sheet. The record is copied whole to try a
// placement and to take it back.
#pragma once

#include "pivora/geometry/mat2d.h"

#include <cstdint>

class CTileRepos {
public:
    CMat2d m_mat;
    // The design window's corners after m_mat: (x1, y1), (x1, y2), (x2, y2), (x2, y1) at first.
    CLpoint m_corners[4];
    CWindow m_window;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
    double m_dScale[3] = {1.0, 1.0, 1.0};
    double m_dAngle = 0.0; // degrees
    int m_bRotated = 0;

    // Takes the design window, builds the matrix from the factors and transforms the corners.
    void fnSetWindow(const CWindow& design);
    // Takes the design window under a given matrix (a scanned design's own placement).
    void fnSetWindow(const CWindow& design, const CMat2d& mat);
    // The bounding box of the four corners.
    CWindow fnGetBounds() const;
    // Moves the record by a distance that may exceed the coordinate range; false, with nothing
    // moved, when a corner would leave the range.
    bool fnTranslate(int64_t dx, int64_t dy);
    // A quarter turn counter-clockwise about the centre of the bounds; toggles the rotated flag.
    // False, with nothing turned, when a corner would leave the coordinate range.
    bool fnRotateQuarter();
};

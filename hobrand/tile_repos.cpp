#include "hobrand/tile_repos.h"

void CTileRepos::fnSetWindow(const CWindow& design) {
    m_window = design;
    const double k = m_dScale[0];
    fnSetWindow(design, CMat2d(CScale(k * m_dScale[1], k * m_dScale[2])) *
                            CMat2d(CAngle(m_dAngle * GEO_RAD_PER_DEG)) *
                            CMat2d(CDpoint(m_nOffsetX, m_nOffsetY)));
}

void CTileRepos::fnSetWindow(const CWindow& design, const CMat2d& mat) {
    m_window = design;
    m_mat = mat;
    m_corners[0] = m_mat * CLpoint(design.x1, design.y1);
    m_corners[1] = m_mat * CLpoint(design.x1, design.y2);
    m_corners[2] = m_mat * CLpoint(design.x2, design.y2);
    m_corners[3] = m_mat * CLpoint(design.x2, design.y1);
}

CWindow CTileRepos::fnGetBounds() const {
    CWindow w = CWindow::EmptyExtent();
    for (const CLpoint& p : m_corners)
        w.fnIncludePoint(p);
    return w;
}

namespace {

// Corners worked out in 64 bits, taken only when all four fit the coordinate range.
bool TakeCorners(CLpoint (&corners)[4], const int64_t (&x)[4], const int64_t (&y)[4]) {
    for (int i = 0; i < 4; ++i)
        if (x[i] < INT32_MIN || x[i] > INT32_MAX || y[i] < INT32_MIN || y[i] > INT32_MAX)
            return false;
    for (int i = 0; i < 4; ++i)
        corners[i] = CLpoint(LONG(x[i]), LONG(y[i]));
    return true;
}

} // namespace

bool CTileRepos::fnTranslate(int64_t dx, int64_t dy) {
    int64_t x[4], y[4];
    for (int i = 0; i < 4; ++i) {
        x[i] = m_corners[i].x + dx;
        y[i] = m_corners[i].y + dy;
    }
    if (!TakeCorners(m_corners, x, y))
        return false;
    m_mat *= CMat2d(CDpoint(double(dx), double(dy)));
    return true;
}

bool CTileRepos::fnRotateQuarter() {
    const CLpoint c = fnGetBounds().fnCentre();
    // Integer arithmetic keeps the turned bounds exactly the swapped sizes.
    int64_t x[4], y[4];
    for (int i = 0; i < 4; ++i) {
        x[i] = c.x - (int64_t(m_corners[i].y) - c.y);
        y[i] = c.y + (int64_t(m_corners[i].x) - c.x);
    }
    if (!TakeCorners(m_corners, x, y))
        return false;
    m_mat *= CMat2d(-CDpoint(c)) * CMat2d(CAngle(GEO_PI_2)) * CMat2d(CDpoint(c));
    m_bRotated = !m_bRotated;
    return true;
}

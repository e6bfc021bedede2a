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

void CTileRepos::fnTranslate(LONG dx, LONG dy) {
    m_mat *= CMat2d(CDpoint(dx, dy));
    for (CLpoint& p : m_corners)
        p += CLpoint(dx, dy);
}

void CTileRepos::fnRotateQuarter() {
    const CLpoint c = fnGetBounds().fnCentre();
    m_mat *= CMat2d(-CDpoint(c)) * CMat2d(CAngle(GEO_PI_2)) * CMat2d(CDpoint(c));
    // Integer arithmetic keeps the turned bounds exactly the swapped sizes.
    for (CLpoint& p : m_corners)
        p = CLpoint(c.x - (p.y - c.y), c.y + (p.x - c.x));
    m_bRotated = !m_bRotated;
}

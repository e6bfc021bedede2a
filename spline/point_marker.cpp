#include "spline/point_marker.h"

#include <cstdlib>

namespace {

// Far beyond any device, and far enough from the 32-bit limits for the marker's offsets.
constexpr LONG kMarkerLimit = 1 << 30;

} // namespace

CPointMarker::CPointMarker(CJoxDC* dc, const CLpoint& at) : m_dc(dc), m_centre(at.x, at.y) {
    dc->LPtoDP(m_centre);
    m_oldRop = dc->SetROP2(R2_XORPEN);
    dc->SetMapMode(0);
}

CPointMarker::~CPointMarker() {
    m_dc->MoveTo(m_centre.x, m_centre.y);
    m_dc->SetMapMode(1);
    m_dc->SetROP2(m_oldRop);
}

void CPointMarker::Row(LONG x0, LONG x1, LONG y) {
    m_dc->MoveTo(x0, y);
    m_dc->LineTo(x1, y);
}

bool CPointMarker::Visible() const {
    return std::llabs(int64_t(m_centre.x)) < kMarkerLimit &&
           std::llabs(int64_t(m_centre.y)) < kMarkerLimit;
}

#include "design/rescale_data.h"

#include <cstdint>

namespace {

// Extents as doubles: the empty extents and reversed ones have no size.
double Span(LONG a, LONG b) {
    return b > a ? double(b) - double(a) : 0.0;
}

} // namespace

float CRescaleData::Percent(float v, float original) {
    return original != 0 ? v / original * 100.0f : 0.0f;
}

bool CRescaleData::HasOrigSize() const {
    return m_OrigExtents.x2 > m_OrigExtents.x1 && m_OrigExtents.y2 > m_OrigExtents.y1 &&
           m_fOrigWidth > 0 && m_fOrigHeight > 0;
}

void CRescaleData::SetWidthHeight(const CWindow& e) {
    const double w = Span(e.x1, e.x2), h = Span(e.y1, e.y2);
    if (m_bInches) {
        m_fWidth = float(w * kInchesPerUnit);
        m_fHeight = float(h * kInchesPerUnit);
    } else {
        m_fWidth = float(fnDoublePrecision(w * kMmPerUnit, 2, true));
        m_fHeight = float(fnDoublePrecision(h * kMmPerUnit, 2, true));
    }
}

void CRescaleData::SetOrigExtents(CWindow& extents) {
    m_OrigExtents = extents;
    SetWidthHeight(extents);
    m_fOrigWidth = m_fWidth;
    m_fOrigHeight = m_fHeight;
    const double h = Span(extents.y1, extents.y2);
    m_fAspectRatio = h > 0 ? float(Span(extents.x1, extents.x2) / h) : 0.0f;
}

CRescaleData::ESizeCheck CRescaleData::CalculateNewExtents() {
    if (!HasOrigSize())
        return eNothingToRescale;
    const float d = m_bInches ? float(kUnitsPerInch) : float(kUnitsPerMm);
    const float fw = m_fWidth * d, fh = m_fHeight * d;
    // A size below one data unit maps the design onto a line or a point, one below zero
    // mirrors it: neither is a rescale, and undo could not take it back.
    if (!(fw >= 1.0f) || !(fh >= 1.0f))
        return eSizeTooSmall;
    if (!(fw <= 2.0f * kDataLimit) || !(fh <= 2.0f * kDataLimit))
        return eSizeTooLarge;
    const int64_t W = int64_t(fw), H = int64_t(fh);
    const CWindow& o = m_OrigExtents;
    const int64_t x1 = o.x1 - (W + o.x1 - o.x2) / 2;
    const int64_t y1 = o.y1 - (H + o.y1 - o.y2) / 2;
    const int64_t x2 = x1 + W, y2 = y1 + H;
    if (x1 < -kDataLimit || y1 < -kDataLimit || x2 > kDataLimit || y2 > kDataLimit)
        return eSizeTooLarge;
    m_NewExtents = CWindow(LONG(x1), LONG(y1), LONG(x2), LONG(y2));
    return eSizeOk;
}

void CRescaleData::GetScaleFactors(double& sx, double& sy) const {
    const double ow = Span(m_OrigExtents.x1, m_OrigExtents.x2);
    const double oh = Span(m_OrigExtents.y1, m_OrigExtents.y2);
    const double nw = double(m_NewExtents.x2) - m_NewExtents.x1;
    const double nh = double(m_NewExtents.y2) - m_NewExtents.y1;
    sx = ow > 0 ? nw / ow : 1.0;
    sy = oh > 0 ? nh / oh : 1.0;
}

void CRescaleData::UpdateWidth(float w) {
    m_fWidth = w;
    m_fWidthPercentage = Percent(w, m_fOrigWidth);
    if (m_bAspect) {
        m_fHeight = m_fAspectRatio != 0 ? w / m_fAspectRatio : 0.0f;
        m_fHeightPercentage = m_fWidthPercentage;
    }
}

void CRescaleData::UpdateHeight(float h) {
    m_fHeight = h;
    m_fHeightPercentage = Percent(h, m_fOrigHeight);
    if (m_bAspect) {
        m_fWidth = h * m_fAspectRatio;
        m_fWidthPercentage = m_fHeightPercentage;
    }
}

void CRescaleData::UpdateDeltaWidth(int delta) {
    UpdateWidth(m_fWidth - float(delta) * kSizeStep);
}

void CRescaleData::UpdateDeltaHeight(int delta) {
    UpdateHeight(m_fHeight - float(delta) * kSizeStep);
}

void CRescaleData::UpdateWidthPercentage(float p) {
    m_fWidthPercentage = p;
    m_fWidth = p * m_fOrigWidth / 100.0f;
    if (m_bAspect) {
        m_fHeightPercentage = p;
        m_fHeight = p * m_fOrigHeight / 100.0f;
    }
}

void CRescaleData::UpdateHeightPercentage(float p) {
    m_fHeightPercentage = p;
    m_fHeight = p * m_fOrigHeight / 100.0f;
    if (m_bAspect) {
        m_fWidthPercentage = p;
        m_fWidth = p * m_fOrigWidth / 100.0f;
    }
}

void CRescaleData::UpdateDeltaWidthPercentage(int delta) {
    UpdateWidthPercentage(m_fWidthPercentage - float(delta) * kPercentStep);
}

void CRescaleData::UpdateDeltaHeightPercentage(int delta) {
    UpdateHeightPercentage(m_fHeightPercentage - float(delta) * kPercentStep);
}

// CAreaHint: the hint object of CDocument::UpdateAllViews that names an area of the design in
// data units to repaint. Views recognise it (CJoxView invalidates the area).
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "platform/core/object.h"

class CAreaHint : public CObject {
    DECLARE_DYNAMIC(CAreaHint)

public:
    explicit CAreaHint(const CWindow& area) : m_area(area) {}
    const CWindow& Area() const { return m_area; }

private:
    CWindow m_area;
};

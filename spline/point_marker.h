// Point markers of the curve items are drawn in device pixels with XOR: while a CPointMarker
// lives, the context's own mapping is off and the raster operation is XOR; afterwards the
// current position rests on the marked point, the mapping is on and the old operation back.
#pragma once

#include "pivora/framework/jox_dc.h"
#include "pivora/geometry/geometry_types.h"

class CPointMarker {
public:
    CPointMarker(CJoxDC* dc, const CLpoint& at);
    ~CPointMarker();
    CPointMarker(const CPointMarker&) = delete;
    CPointMarker& operator=(const CPointMarker&) = delete;

    // The marked point in device pixels.
    LONG X() const { return m_centre.x; }
    LONG Y() const { return m_centre.y; }
    // Whether the marker fits the device's coordinate range; a point far off any screen (a
    // damaged design) gets no marker.
    bool Visible() const;
    // A horizontal row of pixels from x0 to x1 at y (the end pixel excluded, as LineTo does).
    void Row(LONG x0, LONG x1, LONG y);

private:
    CJoxDC* m_dc;
    CPoint m_centre;
    int m_oldRop;
};

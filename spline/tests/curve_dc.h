// Drawing contexts for the curve tests: a recording surface, with data y up mapped one to one
// onto device y down, so device boxes and hit points read like the data.
#pragma once

#include "pivora/framework/jox_dc.h"
#include "platform/graphics/surface.h"

struct CurveDC : CJoxDC {
    static constexpr int kOriginY = 1000;
    platform::RecordingSurface surface;
    explicit CurveDC(bool flipped = true) {
        Attach(platform::CreateSurfaceDC(&surface));
        if (flipped) {
            SetMapMode(1);
            SetWindowExt(1, 1);
            SetViewportExt(1, -1);
            SetViewportOrg(0, kOriginY);
        }
    }
    // A data point as the device sees it.
    static CPoint Device(LONG x, LONG y) { return CPoint(x, kOriginY - y); }
};

// The maker's QX3 cutters: DM/PL with their own limits, origin and USB library, no line styles,
// and media extents that are not asked of the cutter.
#pragma once

#include "felgrin/dmpl_cutter.h"

class CVanterQX3Cutter : public CDMPLCutter {
    DECLARE_DYNCREATE(CVanterQX3Cutter)

public:
    CVanterQX3Cutter();

    int InquireExtents(CWindow* window) override;
    int fnSetLineStyle(int style) override;
};

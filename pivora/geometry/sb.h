// Control point of curve items: 12 plain bytes {mode word, x, y}, stored raw in design files.
#pragma once

#include "pivora/geometry/geometry_types.h"

class CSb {
public:
    // 0 smooth point, 0x200 break (corner), 0x100 Bezier control handle, 0x400 transient
    // deletion mark.
    DWORD flags = 0;
    CLpoint pt;

    CSb() = default;
    CSb(DWORD f, const CLpoint& p) : flags(f), pt(p) {}
    bool operator==(const CSb&) const = default;
};

static_assert(sizeof(CSb) == 12, "CSb is stored as 12 raw bytes");

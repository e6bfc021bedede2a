// CLargeCrossHair: a software cursor of one horizontal and one vertical line through the
// pointer across the whole client area.
#pragma once

#include "design/document/custom_cursor.h"

class CLargeCrossHair : public CCustomCursor {
    DECLARE_DYNCREATE(CLargeCrossHair)

public:
    CLargeCrossHair() = default;
    using CCustomCursor::vfnOnDrawCursor;

protected:
    void vfnOnDrawCursor(CJoxClientDC* dc, const CPoint& point) override;
};

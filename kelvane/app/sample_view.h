// Shows a sample page (rulers, the page with its grid, a few paths) through the drawing
// context's own mapping, until the base view draws real designs.
#pragma once

#include "platform/framework/view.h"

class CSampleView : public CView {
    DECLARE_DYNCREATE(CSampleView)

public:
    // Width of the ruler bands along the top and left, in pixels.
    static constexpr int kRuler = 20;

    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnSize(UINT type, int cx, int cy) override;
};

// The first start's design window: the base view on a page (page frame, grid, rulers and
// scroll bars), with a few sample paths drawn through its context until real designs load.
#pragma once

#include "pivora/framework/jox_view.h"

class CSampleView : public CJoxView {
    DECLARE_DYNCREATE(CSampleView)

public:
    void OnInitialUpdate() override;
    // The first size the view gets fits the page into it.
    void OnSize(UINT type, int cx, int cy) override;
    void OnDraw(CJoxDC* dc) override;
    using CJoxView::OnDraw;

private:
    bool m_bFitted = false;
};

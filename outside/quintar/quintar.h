// CQuintar: the view of the tile template (context 10). The program only registers it; the
// tiles themselves are the tile library's business, so the window shows an empty sheet.
#pragma once

#include "platform/framework/view.h"

class CQuintar : public CView {
    DECLARE_DYNCREATE(CQuintar)

public:
    static constexpr int kContext = 10;

    void OnDraw(CDC* dc) override;
};

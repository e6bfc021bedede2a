// CQuintar: the view of the tile template (context 10). It shows the sheet its document holds:
// the sheet's outline at the sheet's size, fitted into the window, and what was placed on it (on
// a roll many metres long, the part from its start that holds the copies).
// The tile library knows nothing of the program's documents: the program tells it how to read
// a sheet (SetSheetReader); without a reader, or for a document that holds no sheet, the window
// shows an empty page.
#pragma once

#include "platform/framework/view.h"

#include <functional>

class CQuintar : public CView {
    DECLARE_DYNCREATE(CQuintar)

public:
    static constexpr int kContext = 10;

    // A sheet in data units (micrometres): x1, y1 the low corner, x2, y2 the high one, y up.
    struct SheetExtents {
        LONG x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };
    struct SheetReader {
        // The document's sheet, and the part of it that holds something (x2 < x1 when nothing
        // does); false when the document holds no sheet (or one without area).
        std::function<bool(CDocument* doc, SheetExtents& sheet, SheetExtents& used)> extents;
        // Draws what the sheet holds onto dc, mapped so that `sheet` fills `device` (client
        // pixels, y down).
        std::function<void(CDocument* doc, CDC* dc, const RECT& device, const SheetExtents& sheet)>
            draw;
    };
    static void SetSheetReader(SheetReader reader);

    // Pixels between the window's edge and the sheet.
    static constexpr int kMargin = 10;
    // A sheet longer than this many times what the window's proportions show whole is a roll.
    static constexpr int kRollRatio = 4;
    // Where the sheet goes in the client area, its proportions kept: a sheet is shown whole and
    // centred; a roll goes across the window from its start (its low side) as far as the window
    // reaches, or as far as it is used. Empty when nothing is left of the client area or the
    // sheet has no area.
    static CRect FitSheet(const CRect& client, const SheetExtents& sheet,
                          const SheetExtents& used = {0, 0, -1, -1});

    void OnDraw(CDC* dc) override;
};

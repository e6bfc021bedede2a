// Dialog units: four horizontal units are the average character width of the dialog's font,
// eight vertical units its height. The display measures the font it really draws a dialog in;
// without a display the units are those of the classic 8-point dialog font.
#pragma once

#include "platform/windowing/window.h"

namespace platform {

// Pixels per 4 horizontal and 8 vertical dialog units.
struct DialogBaseUnits {
    int cx;
    int cy;
};

// The base units of the 8-point dialog font on the original screen, used where nothing is
// measured.
constexpr DialogBaseUnits kClassicDialogBaseUnits{6, 13};

// The 52 letters whose mean width is the average character width.
constexpr const wchar_t* kDialogUnitLetters =
    L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// How wide a text is (cx) and how high a line (cy), in pixels, in the font the display draws
// the controls of a dialog with, for the face and point size the dialog asks for (either may
// be null or 0). Returns false when it cannot tell.
using DialogTextMeasure = bool (*)(const wchar_t* face, int pointSize, const wchar_t* text,
                                   SIZE* size);
// Null goes back to the classic units. Base units measured before are forgotten.
void SetDialogTextMeasure(DialogTextMeasure measure);

// The base units for a dialog font: from the measure when there is one and it answers,
// otherwise the classic ones.
DialogBaseUnits DialogBaseUnitsFor(const wchar_t* face, int pointSize);

// The average character width from the width of the 52 letters, rounded to the nearest pixel,
// and the font's height; a width or height that cannot be right gives the classic units.
DialogBaseUnits BaseUnitsFromLetters(int lettersWidth, int height);

// Dialog units to pixels with the given base units (rounded as the dialog manager rounds).
int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base);

} // namespace platform

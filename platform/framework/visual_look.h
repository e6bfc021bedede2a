// The program's look: the "Theme" number the main frame chose, and the colours bars and
// popups are painted in. Headless, the global colours are the system colours; the presenter
// puts its palette's in their place.
#pragma once

#include "platform/graphics/gdi.h"

struct GlobalColours {
    COLORREF clrBarFace = 0;
    COLORREF clrBarShadow = 0;
    COLORREF clrBarHilite = 0;
    COLORREF clrBarText = 0;
    // Colour depth of the screen and its high-contrast setting.
    int bitsPerPixel = 32;
    bool highContrast = false;
};

namespace platform {

// The look whose bar background is mixed from the global colours; the default.
constexpr int kLookMixedBars = 4;
// Looks up to this number exist; any other "Theme" value means the last one.
constexpr int kLookLast = 5;
// The mix of the bar background: shadow and face parts out of 255, then lightened (per cent).
constexpr int kBarMixShadowPart = 40;
constexpr int kBarMixFacePart = 215;
constexpr int kBarMixLightenPercent = 107;

const GlobalColours& GetGlobalColours();
void SetGlobalColours(const GlobalColours& colours);
// Back to the system colours.
void ResetGlobalColours();

int GetVisualLook();
// theme outside 0..kLookLast selects kLookLast.
void SetVisualLook(int theme);

// Background of bars and popups in the current look.
COLORREF GetBarBackgroundColour();
// Text on bars.
COLORREF GetBarTextColour();

} // namespace platform

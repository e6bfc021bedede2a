#include "platform/framework/visual_look.h"

#include <algorithm>

namespace platform {

namespace {

GlobalColours SystemColours() {
    GlobalColours c;
    c.clrBarFace = GetSysColor(COLOR_BTNFACE);
    c.clrBarShadow = GetSysColor(COLOR_BTNSHADOW);
    c.clrBarHilite = GetSysColor(COLOR_BTNHIGHLIGHT);
    c.clrBarText = GetSysColor(COLOR_BTNTEXT);
    return c;
}

GlobalColours& Colours() {
    static GlobalColours c = SystemColours();
    return c;
}

int g_look = kLookMixedBars;

int Mix(int shadow, int face) {
    const int mixed = (shadow * kBarMixShadowPart + face * kBarMixFacePart) / 255;
    return std::min(255, mixed * kBarMixLightenPercent / 100);
}

} // namespace

const GlobalColours& GetGlobalColours() {
    return Colours();
}

void SetGlobalColours(const GlobalColours& colours) {
    Colours() = colours;
}

void ResetGlobalColours() {
    Colours() = SystemColours();
}

int GetVisualLook() {
    return g_look;
}

void SetVisualLook(int theme) {
    g_look = theme >= 0 && theme <= kLookLast ? theme : kLookLast;
}

COLORREF GetBarBackgroundColour() {
    const GlobalColours& c = Colours();
    if (g_look != kLookMixedBars || c.bitsPerPixel <= 8 || c.highContrast)
        return c.clrBarFace;
    return RGB(BYTE(Mix(GetRValue(c.clrBarShadow), GetRValue(c.clrBarFace))),
               BYTE(Mix(GetGValue(c.clrBarShadow), GetGValue(c.clrBarFace))),
               BYTE(Mix(GetBValue(c.clrBarShadow), GetBValue(c.clrBarFace))));
}

COLORREF GetBarTextColour() {
    return Colours().clrBarText;
}

} // namespace platform

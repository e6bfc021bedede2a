// The input method's side of a window: one input context per window with the place of its
// composition window and the composition font. The display answers the system input method's
// questions (where to show the composition, in which font) from it.
#pragma once

#include "platform/windowing/window.h"

typedef HANDLE HIMC;

constexpr DWORD CFS_DEFAULT = 0x0000;
constexpr DWORD CFS_RECT = 0x0001;
constexpr DWORD CFS_POINT = 0x0002;
constexpr DWORD CFS_FORCE_POSITION = 0x0020;

struct COMPOSITIONFORM {
    DWORD dwStyle;
    POINT ptCurrentPos;
    RECT rcArea;
};

// Null for no window.
HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
BOOL ImmGetCompositionWindow(HIMC context, COMPOSITIONFORM* form);
BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form);
BOOL ImmGetCompositionFontW(HIMC context, LOGFONTW* font);
BOOL ImmSetCompositionFontW(HIMC context, const LOGFONTW* font);

namespace platform {

// The composition window and font of a window's context; false when it has none.
bool GetInputMethodState(HWND hwnd, COMPOSITIONFORM* form, LOGFONTW* font);

} // namespace platform

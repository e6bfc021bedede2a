// The colour dialog: a modal dialog (template kColourDialogId) holding the colour being
// chosen. The display shows a colour picker for it; a test's dialog responder reads and sets
// the colour with the functions below and ends the dialog with IDOK or IDCANCEL.
#pragma once

#include "platform/windowing/window.h"

constexpr DWORD CC_RGBINIT = 0x0001;
constexpr DWORD CC_FULLOPEN = 0x0002;
constexpr DWORD CC_ANYCOLOR = 0x0100;

struct CHOOSECOLORW {
    DWORD lStructSize;
    HWND hwndOwner;
    HANDLE hInstance;
    COLORREF rgbResult;
    COLORREF* lpCustColors; // 16 custom colours
    DWORD Flags;
    LPARAM lCustData;
    void* lpfnHook;
    LPCWSTR lpTemplateName;
};

// TRUE with rgbResult set when the user chose a colour; FALSE when cancelled.
BOOL ChooseColorW(CHOOSECOLORW* cc);

namespace platform {

constexpr UINT kColourDialogId = 0x7F40;

COLORREF GetDialogColour(HWND dialog);
void SetDialogColour(HWND dialog, COLORREF colour);
// Whether a window is the colour dialog (the display puts its picker there).
bool IsColourDialog(HWND hwnd);

} // namespace platform

#include "platform/windowing/colour_dialog.h"

#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/window_internal.h"

namespace {

INT_PTR ColourProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return msg == WM_INITDIALOG;
}

const DialogTemplate& Template() {
    static const DialogTemplate t{
        platform::kColourDialogId,
        WS_POPUP | WS_CAPTION | WS_SYSMENU,
        220,
        180,
        L"Colour",
        nullptr,
        8,
        {{IDOK, L"BUTTON", L"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 160, 50, 14},
         {IDCANCEL, L"BUTTON", L"Cancel", WS_VISIBLE | WS_TABSTOP, 165, 160, 50, 14}}};
    return t;
}

} // namespace

BOOL ChooseColorW(CHOOSECOLORW* cc) {
    if (!cc)
        return FALSE;
    HWND dialog = CreateDialogIndirectParamW(nullptr, &Template(), cc->hwndOwner, ColourProc, 0);
    if (!dialog)
        return FALSE;
    platform::SetDialogColour(dialog, (cc->Flags & CC_RGBINIT) ? cc->rgbResult : 0);
    bool disabled = cc->hwndOwner && IsWindowEnabled(cc->hwndOwner);
    if (disabled)
        EnableWindow(cc->hwndOwner, FALSE);
    if (!platform::IsDialogEnded(dialog))
        ShowWindow(dialog, SW_SHOW);
    INT_PTR result = platform::RunModalDialog(dialog);
    if (disabled)
        EnableWindow(cc->hwndOwner, TRUE);
    COLORREF chosen = platform::GetDialogColour(dialog);
    DestroyWindow(dialog);
    if (result != IDOK)
        return FALSE;
    cc->rgbResult = chosen & 0xFFFFFF;
    return TRUE;
}

namespace platform {

COLORREF GetDialogColour(HWND dialog) {
    return COLORREF(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

void SetDialogColour(HWND dialog, COLORREF colour) {
    SetWindowLongPtrW(dialog, GWLP_USERDATA, LONG_PTR(colour));
}

bool IsColourDialog(HWND hwnd) {
    HWND w = detail::Window(hwnd);
    return w && w->isDialog && w->templateId == kColourDialogId;
}

} // namespace platform

#include "platform/windowing/dialog_template.h"

#include "platform/system/termination_request.h"
#include "platform/windowing/dialog_units.h"
#include "platform/windowing/language_bundle.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <memory>

namespace {

std::map<UINT, std::unique_ptr<DialogTemplate>>& Templates() {
    static std::map<UINT, std::unique_ptr<DialogTemplate>> m;
    return m;
}

platform::DialogResponder& Responder() {
    static platform::DialogResponder r;
    return r;
}

// The units of the dialog a window belongs to (a control maps with its dialog's).
platform::DialogBaseUnits UnitsOf(HWND hwnd) {
    for (HWND w = platform::detail::Window(hwnd); w; w = platform::detail::Window(w->parent))
        if (w->isDialog && w->dialogUnitsX > 0 && w->dialogUnitsY > 0)
            return platform::DialogBaseUnits{w->dialogUnitsX, w->dialogUnitsY};
    return platform::DialogBaseUnitsFor(nullptr, 0);
}

} // namespace

namespace platform::detail {
void RegisterStandardControls();
}

namespace platform {

void RegisterDialogTemplate(const DialogTemplate& tmpl) {
    Templates()[tmpl.id] = std::make_unique<DialogTemplate>(tmpl);
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    auto it = Templates().find(id);
    return it != Templates().end() ? it->second.get() : nullptr;
}

std::vector<const DialogTemplate*> RegisteredDialogTemplates() {
    std::vector<const DialogTemplate*> all;
    all.reserve(Templates().size());
    for (const auto& [id, tmpl] : Templates())
        all.push_back(tmpl.get());
    return all;
}

bool IsDialogEnded(HWND dialog) {
    HWND w = detail::Window(dialog);
    return !w || w->dialogEnded;
}

INT_PTR RunModalDialog(HWND dialog) {
    HWND w = detail::Window(dialog);
    if (!w)
        return -1;
    if (Responder() && !w->dialogEnded)
        Responder()(dialog, w->templateId);
    ModalLoopScope modal;
    for (;;) {
        w = detail::Window(dialog);
        if (!w)
            return IDCANCEL;
        if (w->dialogEnded)
            return w->dialogResult;
        // The program is told to end: the dialog ends as cancelled, the close follows.
        if (TerminationPending()) {
            EndDialog(dialog, IDCANCEL);
            continue;
        }
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The quit belongs to the main loop: keep it for that loop.
                PostQuitMessage(int(msg.wParam));
                EndDialog(dialog, IDCANCEL);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        // With a display the person answers; without one and nothing queued, nobody can.
        if (!WaitMessage())
            EndDialog(dialog, IDCANCEL);
    }
}

bool HasDialogResponder() {
    return bool(Responder());
}

ScopedDialogResponder::ScopedDialogResponder(DialogResponder responder) : m_previous(Responder()) {
    Responder() = std::move(responder);
}

ScopedDialogResponder::~ScopedDialogResponder() {
    Responder() = std::move(m_previous);
}

} // namespace platform

HWND CreateDialogIndirectParamW(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent,
                                DLGPROC proc, LPARAM param) {
    if (!tmpl)
        return nullptr;
    platform::detail::RegisterStandardControls();
    // A child template (a property page) lives inside its parent; any other dialog is a window
    // of its own.
    DWORD style = tmpl->style & ~WS_VISIBLE;
    if (!parent)
        style &= ~WS_CHILD;
    std::wstring text;
    const bool ownCaption = platform::BundleDialogText(tmpl->id, 0, text);
    // Units from the font the dialog is drawn in, so that texts sized for it fit.
    const platform::DialogBaseUnits base =
        platform::DialogBaseUnitsFor(tmpl->fontFace, tmpl->fontSize);
    auto mapX = [&](int x) { return platform::DialogUnitsToPixelsX(x, base); };
    auto mapY = [&](int y) { return platform::DialogUnitsToPixelsY(y, base); };
    HWND dlg = CreateWindowExW(
        0, WC_DIALOG, ownCaption ? text.c_str() : (tmpl->caption ? tmpl->caption : L""), style, 0,
        0, mapX(tmpl->cx), mapY(tmpl->cy), parent, nullptr, instance, nullptr);
    if (!dlg)
        return nullptr;
    dlg->isDialog = true;
    dlg->dialogUnitsX = base.cx;
    dlg->dialogUnitsY = base.cy;
    dlg->dialogProc = proc;
    dlg->dialogParam = param;
    dlg->templateId = tmpl->id;
    for (const DialogControl& c : tmpl->controls) {
        const bool own = c.id > 0 && platform::BundleDialogText(tmpl->id, c.id, text);
        HWND ctrl =
            CreateWindowExW(0, c.className, own ? text.c_str() : (c.text ? c.text : L""),
                            c.style | WS_CHILD, mapX(c.x), mapY(c.y), mapX(c.cx), mapY(c.cy), dlg,
                            reinterpret_cast<HMENU>(intptr_t(c.id)), instance, nullptr);
        if (!ctrl) {
            DestroyWindow(dlg);
            return nullptr;
        }
    }
    HWND first = nullptr;
    for (HWND c : dlg->children)
        if ((c->style & WS_TABSTOP) && !(c->style & WS_DISABLED)) {
            first = c;
            break;
        }
    if (SendMessageW(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && first &&
        IsWindow(first))
        SetFocus(first);
    if (!IsWindow(dlg))
        return nullptr;
    if ((tmpl->style & WS_VISIBLE) && !dlg->dialogEnded)
        ShowWindow(dlg, SW_SHOW);
    return dlg;
}

HWND CreateDialogParamW(HINSTANCE instance, UINT templateId, HWND parent, DLGPROC proc,
                        LPARAM param) {
    return CreateDialogIndirectParamW(instance, platform::FindDialogTemplate(templateId), parent,
                                      proc, param);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, UINT templateId, HWND parent, DLGPROC proc,
                        LPARAM param) {
    HWND dlg = CreateDialogParamW(instance, templateId, parent, proc, param);
    if (!dlg)
        return -1;
    bool disabled = parent && IsWindowEnabled(parent);
    if (disabled)
        EnableWindow(parent, FALSE);
    if (!platform::IsDialogEnded(dlg))
        ShowWindow(dlg, SW_SHOW);
    INT_PTR result = platform::RunModalDialog(dlg);
    if (disabled)
        EnableWindow(parent, TRUE);
    if (parent && GetActiveWindow() == dlg)
        SetActiveWindow(parent);
    DestroyWindow(dlg);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    HWND w = platform::detail::Window(dialog);
    if (!w)
        return FALSE;
    w->dialogEnded = true;
    w->dialogResult = result;
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

BOOL MapDialogRect(HWND dialog, RECT* rect) {
    if (!rect)
        return FALSE;
    const platform::DialogBaseUnits base = UnitsOf(dialog);
    *rect = RECT{platform::DialogUnitsToPixelsX(rect->left, base),
                 platform::DialogUnitsToPixelsY(rect->top, base),
                 platform::DialogUnitsToPixelsX(rect->right, base),
                 platform::DialogUnitsToPixelsY(rect->bottom, base)};
    return TRUE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wp, LPARAM lp) {
    return SendMessageW(GetDlgItem(dialog, id), msg, wp, lp);
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    return SetWindowTextW(GetDlgItem(dialog, id), text);
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int max) {
    HWND c = GetDlgItem(dialog, id);
    if (!c) {
        if (buffer && max > 0)
            buffer[0] = 0;
        return 0;
    }
    return UINT(GetWindowTextW(c, buffer, max));
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND c = GetDlgItem(dialog, id);
    if (!c)
        return FALSE;
    SendMessageW(c, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return UINT(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

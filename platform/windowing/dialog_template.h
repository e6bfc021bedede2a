// Dialog templates and dialog windows. Each deliverable registers its templates as tables; a
// template lists its controls by id, kind, text, style and place in dialog units. String tables
// are in resources.h (included here, as dialogs load their texts from them).
#pragma once

#include "platform/windowing/controls.h"
#include "platform/windowing/resources.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

struct DialogControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    short x, y, cx, cy;
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    short cx, cy;
    const wchar_t* caption;
    const wchar_t* fontFace;
    int fontSize;
    std::vector<DialogControl> controls;
};

HWND CreateDialogIndirectParamW(HINSTANCE instance, const DialogTemplate* tmpl, HWND parent,
                                DLGPROC proc, LPARAM param);
HWND CreateDialogParamW(HINSTANCE instance, UINT templateId, HWND parent, DLGPROC proc,
                        LPARAM param);
INT_PTR DialogBoxParamW(HINSTANCE instance, UINT templateId, HWND parent, DLGPROC proc,
                        LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
// Maps dialog units to pixels with the base units of the dialog the window belongs to.
BOOL MapDialogRect(HWND dialog, RECT* rect);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wp, LPARAM lp);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int max);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);

namespace platform {

// Later registrations of an id replace earlier ones (language libraries).
void RegisterDialogTemplate(const DialogTemplate& tmpl);
const DialogTemplate* FindDialogTemplate(UINT id);
// Every template registered so far, in the order of their ids.
std::vector<const DialogTemplate*> RegisteredDialogTemplates();

// Runs a created dialog modally until EndDialog; returns its result. Without a display, the
// dialog responder (if any) acts first; a dialog nobody can answer ends with IDCANCEL.
INT_PTR RunModalDialog(HWND dialog);
bool IsDialogEnded(HWND dialog);

// What a test does with a modal dialog once it is initialised: set controls, click buttons,
// or call EndDialog.
using DialogResponder = std::function<void(HWND dialog, UINT templateId)>;
class ScopedDialogResponder {
public:
    explicit ScopedDialogResponder(DialogResponder responder);
    ~ScopedDialogResponder();
    ScopedDialogResponder(const ScopedDialogResponder&) = delete;
    ScopedDialogResponder& operator=(const ScopedDialogResponder&) = delete;

private:
    DialogResponder m_previous;
};
// True while a test's responder answers dialogs (before any display).
bool HasDialogResponder();

} // namespace platform

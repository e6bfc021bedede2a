#include "platform/windowing/controls.h"

#include "platform/windowing/dialog_template.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/ip_address_control.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/list_view.h"
#include "platform/windowing/message.h"
#include "platform/windowing/radio_group.h"
#include "platform/windowing/slider_control.h"
#include "platform/windowing/tool_bar_control.h"
#include "platform/windowing/up_down_control.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>

namespace {

HWND Live(HWND h) {
    return platform::detail::Window(h);
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = Live(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case BM_GETCHECK:
        return w->check;
    case BM_SETCHECK:
        w->check = int(wp);
        platform::detail::NotifyControlChange(w, platform::ControlChange::Selection);
        return 0;
    case BM_CLICK: {
        if (w->style & WS_DISABLED)
            return 0;
        DWORD kind = w->style & BS_TYPEMASK;
        if (kind == BS_AUTOCHECKBOX)
            w->check = w->check ? BST_UNCHECKED : BST_CHECKED;
        if (kind == BS_GROUPBOX)
            return 0;
        if (kind == BS_AUTORADIOBUTTON) {
            for (HWND s : platform::RadioGroupOf(hwnd))
                if ((s->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                    SendMessageW(s, BM_SETCHECK, s == w ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        HWND parent = w->parent;
        int id = w->id;
        if (parent)
            SendMessageW(parent, WM_COMMAND, MAKEWPARAM(WORD(id), WORD(BN_CLICKED)),
                         reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int Clamp(HWND w, long long pos) {
    return int(std::clamp<long long>(pos, w->rangeLow, w->rangeHigh));
}

LRESULT ProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = Live(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
        LRESULT old = LRESULT(MAKELONG(WORD(w->rangeLow), WORD(w->rangeHigh)));
        if (msg == PBM_SETRANGE) {
            w->rangeLow = LOWORD(DWORD_PTR(lp));
            w->rangeHigh = HIWORD(DWORD_PTR(lp));
        } else {
            w->rangeLow = int(wp);
            w->rangeHigh = int(lp);
        }
        if (w->rangeHigh < w->rangeLow)
            std::swap(w->rangeLow, w->rangeHigh);
        w->position = Clamp(w, w->position);
        return old;
    }
    case PBM_SETPOS: {
        int old = w->position;
        w->position = Clamp(w, int(wp));
        return old;
    }
    case PBM_DELTAPOS: {
        int old = w->position;
        w->position = Clamp(w, (long long)old + int(wp));
        return old;
    }
    case PBM_SETSTEP: {
        int old = w->step;
        w->step = int(wp);
        return old;
    }
    case PBM_STEPIT: {
        int old = w->position;
        long long span = (long long)w->rangeHigh - w->rangeLow;
        long long pos = (long long)old + w->step;
        // Past either end the bar starts over from the other.
        if (span > 0 && (pos > w->rangeHigh || pos < w->rangeLow)) {
            long long off = (pos - w->rangeLow) % span;
            if (off < 0)
                off += span;
            pos = w->rangeLow + off;
        }
        w->position = Clamp(w, pos);
        return old;
    }
    case PBM_GETRANGE: {
        if (auto* r = reinterpret_cast<PBRANGE*>(lp))
            *r = PBRANGE{w->rangeLow, w->rangeHigh};
        return wp ? w->rangeLow : w->rangeHigh;
    }
    case PBM_GETPOS:
        return w->position;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// Whether the control can take the keyboard: it and every window up to the dialog are shown
// and enabled.
bool CanTakeFocus(HWND dialog, HWND control) {
    for (HWND c = control; c && c != dialog; c = c->parent)
        if (!(c->style & WS_VISIBLE) || (c->style & WS_DISABLED))
            return false;
    return true;
}

// An active dialog with the keyboard elsewhere (its control was disabled or the focus went with
// a dialog of its own) gives it back to the control that had it last, or to its first control
// that takes tabs.
void RestoreDialogFocus(HWND dialog) {
    if (dialog->style & WS_CHILD)
        return; // a page inside another dialog: that one keeps the keyboard
    if ((dialog->style & WS_DISABLED) || GetActiveWindow() != dialog)
        return; // its enabling or activation does it
    // The dialog itself holding the keyboard is no place for typing: a control takes it.
    HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus))
        return;
    HWND next = Live(dialog->dialogFocus);
    if (next && !(IsChild(dialog, next) && CanTakeFocus(dialog, next)))
        next = nullptr;
    for (size_t i = 0; !next && i < dialog->children.size(); ++i) {
        HWND c = dialog->children[i];
        if ((c->style & WS_TABSTOP) && CanTakeFocus(dialog, c))
            next = c;
    }
    if (next)
        SetFocus(next);
}

int DefaultButtonId(HWND dialog) {
    for (HWND c : dialog->children)
        if (c->className == L"Button" && (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return c->id;
    return IDOK;
}

LRESULT DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = Live(hwnd);
    if (!w)
        return 0;
    if (w->dialogProc) {
        INT_PTR r = w->dialogProc(hwnd, msg, wp, lp);
        if (r)
            return r;
        if (!Live(hwnd))
            return 0;
    }
    switch (msg) {
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(hwnd, IDCANCEL);
        if (!cancel || IsWindowEnabled(cancel))
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_KEYDOWN:
        if (wp == WPARAM(VK_ESCAPE)) {
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
            return 0;
        }
        if (wp == WPARAM(VK_RETURN)) {
            int id = DefaultButtonId(w);
            HWND button = GetDlgItem(hwnd, id);
            if (!button || IsWindowEnabled(button))
                SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
            return 0;
        }
        return 0;
    case WM_INITDIALOG:
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(DWORD(wp)) != WA_INACTIVE)
            RestoreDialogFocus(w);
        return 0;
    case WM_ENABLE:
        if (wp)
            RestoreDialogFocus(w);
        return 0;
    case WM_SETFOCUS:
        RestoreDialogFocus(w);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

namespace platform::detail {

void RegisterStandardControls() {
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASSW cls{};
    cls.lpfnWndProc = ButtonProc;
    cls.lpszClassName = WC_BUTTON;
    RegisterClassW(&cls);
    cls.lpfnWndProc = StaticProc;
    cls.lpszClassName = WC_STATIC;
    RegisterClassW(&cls);
    cls.lpfnWndProc = ProgressProc;
    cls.lpszClassName = PROGRESS_CLASS;
    RegisterClassW(&cls);
    platform::detail::RegisterListControls();
    platform::detail::RegisterListView();
    platform::detail::RegisterIPAddressControl();
    platform::detail::RegisterEditControl();
    platform::detail::RegisterUpDownControl();
    platform::detail::RegisterSliderControl();
    platform::detail::RegisterToolBarControl();
    cls.lpfnWndProc = DialogProc;
    cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    cls.lpszClassName = WC_DIALOG;
    RegisterClassW(&cls);
}

} // namespace platform::detail

// The extended dialog: a dialog that carries the program's icon.
#pragma once

#include "platform/framework/dialog.h"
#include "platform/windowing/icon.h"

class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)

public:
    CDialogEx() = default;
    explicit CDialogEx(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

    // The big or small icon of the window; returns the previous one.
    HICON SetIcon(HICON icon, BOOL big) {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    HICON GetIcon(BOOL big) const {
        return reinterpret_cast<HICON>(SendMessage(WM_GETICON, big ? ICON_BIG : ICON_SMALL));
    }
};

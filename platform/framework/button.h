// Push, check and radio buttons and group boxes of the class library over the headless model.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/controls.h"
#include "platform/windowing/radio_group.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    using CWnd::Create;
    BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, WC_BUTTON, caption, style | WS_CHILD, rect, parent, id);
    }
    int GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, WPARAM(check)); }
};

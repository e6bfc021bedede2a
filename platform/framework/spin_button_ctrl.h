// The up-down ("spin button") control of the class library over the headless model.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/up_down_control.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)

public:
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, UPDOWN_CLASS, L"", style | WS_CHILD, rect, parent, id);
    }
    void SetRange(short lower, short upper) {
        SendMessage(UDM_SETRANGE, 0, MAKELPARAM(WORD(upper), WORD(lower)));
    }
    void SetRange32(int lower, int upper) {
        SendMessage(UDM_SETRANGE32, WPARAM(lower), LPARAM(upper));
    }
    void GetRange32(int& lower, int& upper) const {
        SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                    reinterpret_cast<LPARAM>(&upper));
    }
    int SetPos(int pos) { return int(SendMessage(UDM_SETPOS32, 0, LPARAM(pos))); }
    int GetPos() const { return int(SendMessage(UDM_GETPOS32)); }
    int SetPos32(int pos) { return SetPos(pos); }
    int GetPos32() const { return GetPos(); }
    CWnd* SetBuddy(CWnd* buddy) {
        return CWnd::FromHandle(reinterpret_cast<HWND>(
            SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy ? buddy->m_hWnd : nullptr))));
    }
    CWnd* GetBuddy() const {
        return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)));
    }
};

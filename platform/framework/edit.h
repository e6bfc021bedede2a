// The edit control of the class library over the headless model.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/edit_control.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

public:
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, WC_EDIT, L"", style | WS_CHILD, rect, parent, id);
    }
    void SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, WPARAM(max)); }
    void LimitText(int max = 0) { SendMessage(EM_LIMITTEXT, WPARAM(max)); }
    UINT GetLimitText() const { return UINT(SendMessage(EM_GETLIMITTEXT)); }
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        (void)noScroll;
        SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end));
    }
    void GetSel(int& start, int& end) const {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = int(s);
        end = int(e);
    }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE) {
        (void)canUndo;
        SendMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
    }
    BOOL GetModify() const { return BOOL(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, WPARAM(modified)); }
    // The grey text shown while the edit is empty; the value stays empty.
    BOOL SetCueBanner(LPCWSTR text) {
        return BOOL(SendMessage(EM_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(text)));
    }
    BOOL SetReadOnly(BOOL readOnly = TRUE) {
        return BOOL(SendMessage(EM_SETREADONLY, WPARAM(readOnly)));
    }
};

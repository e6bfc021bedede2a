// The combo box control of the class library over the headless model.
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/list_controls.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)

public:
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetCount() const { return int(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return int(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return int(SendMessage(CB_SETCURSEL, WPARAM(index))); }
    int AddString(LPCWSTR text) {
        return int(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int index, LPCWSTR text) {
        return int(SendMessage(CB_INSERTSTRING, WPARAM(index), reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(UINT index) { return int(SendMessage(CB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    // The entry's text; empty (and CB_ERR returned) when there is no such entry.
    int GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const { return int(SendMessage(CB_GETLBTEXTLEN, WPARAM(index))); }
    DWORD_PTR GetItemData(int index) const {
        return DWORD_PTR(SendMessage(CB_GETITEMDATA, WPARAM(index)));
    }
    int SetItemData(int index, DWORD_PTR data) {
        return int(SendMessage(CB_SETITEMDATA, WPARAM(index), LPARAM(data)));
    }
    // Searches start after `startAfter` (-1 from the top) and ignore case.
    int FindString(int startAfter, LPCWSTR prefix) const {
        return int(
            SendMessage(CB_FINDSTRING, WPARAM(startAfter), reinterpret_cast<LPARAM>(prefix)));
    }
    int FindStringExact(int startAfter, LPCWSTR text) const {
        return int(
            SendMessage(CB_FINDSTRINGEXACT, WPARAM(startAfter), reinterpret_cast<LPARAM>(text)));
    }
    int SelectString(int startAfter, LPCWSTR prefix) {
        return int(
            SendMessage(CB_SELECTSTRING, WPARAM(startAfter), reinterpret_cast<LPARAM>(prefix)));
    }
};

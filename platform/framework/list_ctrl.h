// The list view control of the class library over the headless model (report view).
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/list_view.h"

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)

public:
    int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1);
    int GetColumnWidth(int column) const {
        return int(SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(column)));
    }
    // The new row's index.
    int InsertItem(int item, LPCWSTR text);
    BOOL SetItemText(int item, int subItem, LPCWSTR text);
    CString GetItemText(int item, int subItem) const;
    BOOL DeleteAllItems() { return BOOL(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const {
        return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(item), LPARAM(mask)));
    }
    int GetNextItem(int after, UINT flags) const {
        return int(SendMessage(LVM_GETNEXTITEM, WPARAM(INT_PTR(after)), LPARAM(flags)));
    }
    DWORD SetExtendedStyle(DWORD style) {
        return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(style)));
    }
    DWORD GetExtendedStyle() const { return DWORD(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
};

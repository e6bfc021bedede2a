#include "platform/framework/list_ctrl.h"

#include <vector>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width) {
    std::wstring title = heading ? heading : L"";
    LVCOLUMNW c;
    c.mask = LVCF_FMT | LVCF_TEXT | (width >= 0 ? LVCF_WIDTH : 0);
    c.fmt = format;
    c.cx = width;
    c.pszText = title.data();
    return int(SendMessage(LVM_INSERTCOLUMNW, WPARAM(column), reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int item, LPCWSTR text) {
    std::wstring t = text ? text : L"";
    LVITEMW i;
    i.mask = LVIF_TEXT;
    i.iItem = item;
    i.pszText = t.data();
    return int(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&i)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text) {
    std::wstring t = text ? text : L"";
    LVITEMW i;
    i.iSubItem = subItem;
    i.pszText = t.data();
    return BOOL(SendMessage(LVM_SETITEMTEXTW, WPARAM(item), reinterpret_cast<LPARAM>(&i)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    std::vector<wchar_t> buffer(1024, L'\0');
    LVITEMW i;
    i.iSubItem = subItem;
    i.pszText = buffer.data();
    i.cchTextMax = int(buffer.size());
    SendMessage(LVM_GETITEMTEXTW, WPARAM(item), reinterpret_cast<LPARAM>(&i));
    return CString(buffer.data());
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMW i;
    i.mask = LVIF_STATE;
    i.state = state;
    i.stateMask = mask;
    return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(INT_PTR(item)), reinterpret_cast<LPARAM>(&i)));
}

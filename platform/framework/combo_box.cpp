#include "platform/framework/combo_box.h"

#include <vector>

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, WC_COMBOBOX, L"", style | WS_CHILD, rect, parent, id);
}

int CComboBox::GetLBText(int index, CString& text) const {
    int n = GetLBTextLen(index);
    if (n < 0) {
        text.Empty();
        return CB_ERR;
    }
    std::vector<wchar_t> buf(size_t(n) + 1, 0);
    SendMessage(CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buf.data()));
    text = buf.data();
    return n;
}

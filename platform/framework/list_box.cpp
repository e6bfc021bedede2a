#include "platform/framework/list_box.h"

#include <vector>

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, WC_LISTBOX, L"", style | WS_CHILD, rect, parent, id);
}

int CListBox::GetText(int index, CString& text) const {
    int n = GetTextLen(index);
    if (n < 0) {
        text.Empty();
        return LB_ERR;
    }
    std::vector<wchar_t> buf(size_t(n) + 1, 0);
    SendMessage(LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buf.data()));
    text = buf.data();
    return n;
}

#include "platform/framework/data_exchange.h"

#include "platform/framework/combo_box.h"
#include "platform/framework/ip_address_ctrl.h"
#include "platform/framework/list_box.h"
#include "platform/windowing/edit_control.h"
#include "platform/windowing/radio_group.h"

#include <cmath>
#include <cwchar>

#include <vector>

namespace {

struct ListCodes {
    UINT getSel, setSel, getText, getTextLen, select, findExact;
};
constexpr ListCodes kCombo{CB_GETCURSEL,    CB_SETCURSEL,    CB_GETLBTEXT,
                           CB_GETLBTEXTLEN, CB_SELECTSTRING, CB_FINDSTRINGEXACT};
constexpr ListCodes kList{LB_GETCURSEL,  LB_SETCURSEL,    LB_GETTEXT,
                          LB_GETTEXTLEN, LB_SELECTSTRING, LB_FINDSTRINGEXACT};

void Index(CDataExchange* dx, int id, int& index, const ListCodes& c) {
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = int(SendMessageW(h, c.getSel, 0, 0));
    else
        SendMessageW(h, c.setSel, WPARAM(index), 0);
}

CString SelectedText(HWND h, const ListCodes& c) {
    int at = int(SendMessageW(h, c.getSel, 0, 0));
    int n = at >= 0 ? int(SendMessageW(h, c.getTextLen, WPARAM(at), 0)) : -1;
    if (n < 0)
        return CString();
    std::vector<wchar_t> buf(size_t(n) + 1, 0);
    SendMessageW(h, c.getText, WPARAM(at), reinterpret_cast<LPARAM>(buf.data()));
    return CString(buf.data());
}

bool IsEditableCombo(HWND h) {
    DWORD kind = DWORD(GetWindowLongPtrW(h, GWL_STYLE)) & 0x3;
    return kind == CBS_SIMPLE || kind == CBS_DROPDOWN;
}

void String(CDataExchange* dx, int id, CString& value, const ListCodes& c, bool exact) {
    HWND h = dx->PrepareCtrl(id);
    bool combo = &c == &kCombo;
    if (dx->m_bSaveAndValidate) {
        if (combo) {
            CWnd::FromHandle(h)->GetWindowText(value);
            if (value.IsEmpty() && !IsEditableCombo(h))
                value = SelectedText(h, c);
        } else {
            value = SelectedText(h, c);
        }
        return;
    }
    LPARAM key = reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(value));
    int found;
    if (exact) {
        found = int(SendMessageW(h, c.findExact, WPARAM(-1), key));
        if (found >= 0)
            SendMessageW(h, c.setSel, WPARAM(found), 0);
    } else {
        found = int(SendMessageW(h, c.select, WPARAM(-1), key));
    }
    if (found < 0 && combo && IsEditableCombo(h))
        SetWindowTextW(h, value);
}

} // namespace

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    Index(dx, id, index, kCombo);
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
    Index(dx, id, index, kList);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
    String(dx, id, value, kCombo, false);
}

void DDX_LBString(CDataExchange* dx, int id, CString& value) {
    String(dx, id, value, kList, false);
}

void DDX_CBStringExact(CDataExchange* dx, int id, CString& value) {
    String(dx, id, value, kCombo, true);
}

void DDX_LBStringExact(CDataExchange* dx, int id, CString& value) {
    String(dx, id, value, kList, true);
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    HWND first = dx->PrepareCtrl(id);
    std::vector<HWND> group = platform::RadioGroupOf(first);
    // The group begins at the named button.
    while (!group.empty() && group.front() != first)
        group.erase(group.begin());
    if (dx->m_bSaveAndValidate) {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i)
            if (SendMessageW(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = int(i);
                break;
            }
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
        SendMessageW(group[i], BM_SETCHECK, int(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_IPAddress(CDataExchange* dx, int id, DWORD& value) {
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        SendMessageW(h, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    else
        SendMessageW(h, IPM_SETADDRESS, 0, LPARAM(value));
}

namespace {

// The box keeps the focus with its text selected, ready to be typed over.
[[noreturn]] void Refuse(CDataExchange* dx, const CString& message) {
    AfxMessageBox(message, 0x30);
    if (HWND h = dx->m_hWndLastControl)
        SendMessageW(h, EM_SETSEL, 0, LPARAM(-1));
    dx->Fail();
}

CString Number(double v) {
    // The shortest form that reads back as the same double.
    for (int digits = 6; digits < 17; ++digits) {
        CString s = FormatString(L"%.*g", digits, v);
        if (std::wcstod(s, nullptr) == v)
            return s;
    }
    return FormatString(L"%.17g", v);
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, double& value) {
    HWND h = dx->PrepareCtrl(id);
    CWnd* w = CWnd::FromHandle(h);
    if (!dx->m_bSaveAndValidate) {
        w->SetWindowText(Number(value));
        return;
    }
    CString text;
    w->GetWindowText(text);
    text.Trim();
    wchar_t* end = nullptr;
    double v = text.IsEmpty() ? 0 : std::wcstod(text, &end);
    if (text.IsEmpty() || !end || *end || !std::isfinite(v))
        Refuse(dx, L"Please enter a number.");
    value = v;
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double min, double max) {
    if (dx->m_bSaveAndValidate && !(value >= min && value <= max))
        Refuse(dx, L"Please enter a number between " + Number(min) + L" and " + Number(max) + L".");
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int min, int max) {
    if (dx->m_bSaveAndValidate && (value < min || value > max))
        Refuse(dx, FormatString(L"Please enter an integer between %d and %d.", min, max));
}

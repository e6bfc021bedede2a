#include "platform/windowing/list_controls.h"

#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

struct Item {
    std::wstring text;
    LPARAM data = 0;
    bool selected = false; // list boxes of several selected entries
};

struct ListState {
    std::vector<Item> items;
    int current = -1;
    int top = 0;           // the first entry shown
    int droppedHeight = 0; // a drop-down combo box's open height
};

platform::ControlChangeHook g_changeHook = nullptr;

bool IsClass(HWND w, const wchar_t* name) {
    const std::wstring& c = w->className;
    size_t n = std::wcslen(name);
    if (c.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::towlower(wint_t(c[i])) != std::towlower(wint_t(name[i])))
            return false;
    return true;
}

bool IsCombo(HWND w) {
    return IsClass(w, WC_COMBOBOX);
}

ListState& State(HWND w) {
    if (!w->controlState)
        w->controlState = std::make_shared<ListState>();
    return *static_cast<ListState*>(w->controlState.get());
}

int CompareNoCase(const std::wstring& a, const std::wstring& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wint_t x = std::towlower(wint_t(a[i])), y = std::towlower(wint_t(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// The search starts after `after` and wraps round; -1 searches from the top.
int Find(const ListState& s, WPARAM after, LPARAM lp, bool exact) {
    auto* key = reinterpret_cast<LPCWSTR>(lp);
    if (!key || s.items.empty())
        return -1;
    std::wstring k = key;
    int n = int(s.items.size());
    int start = int(INT_PTR(after));
    if (start < -1 || start >= n)
        start = -1;
    for (int i = 1; i <= n; ++i) {
        int at = (start + i) % n;
        const std::wstring& t = s.items[size_t(at)].text;
        if (exact ? CompareNoCase(t, k) == 0 : StartsWithNoCase(t, k))
            return at;
    }
    return -1;
}

void Changed(HWND w, platform::ControlChange what) {
    platform::detail::NotifyControlChange(w, what);
}

// A drop-down list shows its selection as its own text.
void Select(HWND w, ListState& s, int index) {
    s.current = index;
    if (IsCombo(w))
        w->text = index >= 0 ? s.items[size_t(index)].text : std::wstring();
    Changed(w, platform::ControlChange::Selection);
}

int Insert(HWND w, ListState& s, int at, LPCWSTR text, bool sorted) {
    Item item{text ? text : L"", 0};
    int n = int(s.items.size());
    if (sorted) {
        at = 0;
        while (at < n && CompareNoCase(s.items[size_t(at)].text, item.text) <= 0)
            ++at;
    } else if (at < 0 || at > n) {
        if (at != -1)
            return -1;
        at = n;
    }
    s.items.insert(s.items.begin() + at, std::move(item));
    if (s.current >= at)
        ++s.current;
    Changed(w, platform::ControlChange::Items);
    return at;
}

bool Valid(const ListState& s, WPARAM index) {
    return INT_PTR(index) >= 0 && INT_PTR(index) < INT_PTR(s.items.size());
}

bool IsMultiple(HWND w) {
    return !IsCombo(w) && (w->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

// The selection messages of list boxes that hold several selected entries.
LRESULT MultipleSelection(HWND w, ListState& s, UINT msg, WPARAM wp, LPARAM lp) {
    const int n = int(s.items.size());
    switch (msg) {
    case LB_SETSEL: {
        const int at = int(INT_PTR(lp));
        if (at < -1 || at >= n)
            return LB_ERR;
        for (int i = at < 0 ? 0 : at; i < (at < 0 ? n : at + 1); ++i)
            s.items[size_t(i)].selected = wp != 0;
        Changed(w, platform::ControlChange::Selection);
        return LB_OKAY;
    }
    case LB_SELITEMRANGEEX: {
        // first above last deselects the range.
        const int first = int(INT_PTR(wp)), last = int(INT_PTR(lp));
        const int lo = std::min(first, last), hi = std::min(std::max(first, last), n - 1);
        if (lo < 0 || lo >= n)
            return LB_ERR;
        for (int i = lo; i <= hi; ++i)
            s.items[size_t(i)].selected = first <= last;
        Changed(w, platform::ControlChange::Selection);
        return LB_OKAY;
    }
    case LB_GETSEL:
        return Valid(s, wp) ? (s.items[size_t(wp)].selected ? 1 : 0) : LB_ERR;
    default: // LB_GETSELCOUNT
        return LRESULT(std::count_if(s.items.begin(), s.items.end(),
                                     [](const Item& item) { return item.selected; }));
    }
}

// The messages both controls share, with each one's numbers.
struct Codes {
    UINT add, insert, remove, reset, count, getSel, setSel, getText, getTextLen, find, findExact,
        selectString, getData, setData;
    DWORD sortStyle;
};
constexpr Codes kCombo{
    CB_ADDSTRING,       CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETCURSEL,       CB_SETCURSEL,    CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_FINDSTRING,
    CB_FINDSTRINGEXACT, CB_SELECTSTRING, CB_GETITEMDATA,  CB_SETITEMDATA,  CBS_SORT};
constexpr Codes kList{
    LB_ADDSTRING,       LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
    LB_GETCURSEL,       LB_SETCURSEL,    LB_GETTEXT,      LB_GETTEXTLEN,   LB_FINDSTRING,
    LB_FINDSTRINGEXACT, LB_SELECTSTRING, LB_GETITEMDATA,  LB_SETITEMDATA,  LBS_SORT};

LRESULT ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0;
    const Codes& c = IsCombo(w) ? kCombo : kList;
    ListState& s = State(w);
    if (msg == LB_SETSEL || msg == LB_SELITEMRANGEEX || msg == LB_GETSEL || msg == LB_GETSELCOUNT) {
        if (IsCombo(w))
            return DefWindowProcW(hwnd, msg, wp, lp);
        if (IsMultiple(w))
            return MultipleSelection(w, s, msg, wp, lp);
        if (msg == LB_GETSEL)
            return Valid(s, wp) ? (int(wp) == s.current ? 1 : 0) : LB_ERR;
        return LB_ERR;
    }
    if (!IsCombo(w) && msg == LB_GETTOPINDEX)
        return s.top;
    if (!IsCombo(w) && msg == LB_SETTOPINDEX) {
        if (!Valid(s, wp))
            return LB_ERR;
        s.top = int(wp);
        return LB_OKAY;
    }
    if (!IsCombo(w) && msg == LB_GETITEMHEIGHT)
        return platform::kListItemHeight;
    if (msg == c.add)
        return Insert(w, s, -1, reinterpret_cast<LPCWSTR>(lp), (w->style & c.sortStyle) != 0);
    if (msg == c.insert)
        return Insert(w, s, int(INT_PTR(wp)), reinterpret_cast<LPCWSTR>(lp), false);
    if (msg == c.remove) {
        if (!Valid(s, wp))
            return -1;
        int at = int(wp);
        s.items.erase(s.items.begin() + at);
        Changed(w, platform::ControlChange::Items);
        if (s.current == at)
            Select(w, s, -1);
        else if (s.current > at)
            --s.current;
        return LRESULT(s.items.size());
    }
    if (msg == c.reset) {
        s.items.clear();
        Changed(w, platform::ControlChange::Items);
        Select(w, s, -1);
        return 0;
    }
    if (msg == c.count)
        return LRESULT(s.items.size());
    if (msg == c.getSel)
        return s.current;
    if (msg == c.setSel) {
        // An index out of range clears the selection; the result says so.
        int at = Valid(s, wp) ? int(wp) : -1;
        Select(w, s, at);
        return at >= 0 ? at : -1;
    }
    if (msg == c.getText || msg == c.getTextLen) {
        if (!Valid(s, wp))
            return -1;
        const std::wstring& t = s.items[size_t(wp)].text;
        if (msg == c.getText) {
            auto* buf = reinterpret_cast<LPWSTR>(lp);
            if (!buf)
                return -1;
            std::copy(t.begin(), t.end(), buf);
            buf[t.size()] = 0;
        }
        return LRESULT(t.size());
    }
    if (msg == c.find || msg == c.findExact)
        return Find(s, wp, lp, msg == c.findExact);
    if (msg == c.selectString) {
        int at = Find(s, wp, lp, false);
        if (at >= 0)
            Select(w, s, at);
        return at;
    }
    if (msg == c.getData)
        return Valid(s, wp) ? s.items[size_t(wp)].data : -1;
    if (msg == c.setData) {
        if (!Valid(s, wp))
            return -1;
        s.items[size_t(wp)].data = lp;
        return 0;
    }
    if (msg == WM_CREATE && IsCombo(w) && (w->style & 0x3) != CBS_SIMPLE) {
        RECT r = w->rect;
        s.droppedHeight = std::max<int>(r.bottom - r.top, platform::kComboFieldHeight);
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, platform::kComboFieldHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (msg == CB_GETDROPPEDCONTROLRECT && IsCombo(w)) {
        auto* out = reinterpret_cast<RECT*>(lp);
        if (!out)
            return CB_ERR;
        GetWindowRect(hwnd, out);
        out->bottom = out->top + std::max<LONG>(s.droppedHeight, out->bottom - out->top);
        return CB_OKAY;
    }
    if (msg == WM_SETTEXT && IsCombo(w) && (w->style & 0x3) == CBS_DROPDOWNLIST)
        return FALSE; // a drop-down list's text is its selection
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Notify(HWND w, UINT code) {
    HWND parent = w->parent;
    if (parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(WORD(w->id), WORD(code)),
                     reinterpret_cast<LPARAM>(w));
}

bool Sends(HWND w) {
    return IsCombo(w) || (w->style & LBS_NOTIFY);
}

bool IsListControl(HWND w) {
    return w && (IsClass(w, WC_COMBOBOX) || IsClass(w, WC_LISTBOX));
}

} // namespace

namespace platform {

bool ChooseListItem(HWND control, int index) {
    HWND w = detail::Window(control);
    if (!IsListControl(w) || (w->style & WS_DISABLED))
        return false;
    ListState& s = State(w);
    if (index < -1 || index >= int(s.items.size()))
        return false;
    if (IsMultiple(w) && index >= 0) {
        Item& chosen = s.items[size_t(index)];
        const bool on = (w->style & LBS_EXTENDEDSEL) || !chosen.selected;
        if (w->style & LBS_EXTENDEDSEL)
            for (Item& item : s.items)
                item.selected = false;
        chosen.selected = on;
    }
    Select(w, s, index);
    if (Sends(w))
        Notify(w, IsCombo(w) ? CBN_SELCHANGE : LBN_SELCHANGE);
    return true;
}

bool PointListItem(HWND control, int index) {
    HWND w = detail::Window(control);
    if (!IsListControl(w) || IsCombo(w) || index < 0 ||
        index >= int(SendMessageW(control, LB_GETCOUNT, 0, 0)))
        return false;
    const int height = std::max(1, int(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0)));
    RECT client;
    GetClientRect(control, &client);
    const int rows = std::max(1, int(client.bottom - client.top) / height);
    int top = int(SendMessageW(control, LB_GETTOPINDEX, 0, 0));
    if (index < top || index >= top + rows) {
        SendMessageW(control, LB_SETTOPINDEX, WPARAM(index < top ? index : index - rows + 1), 0);
        top = int(SendMessageW(control, LB_GETTOPINDEX, 0, 0));
    }
    const int y = (index - top) * height + height / 2;
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(1, WORD(y)));
    return true;
}

bool DoubleClickListItem(HWND control, int index) {
    HWND w = detail::Window(control);
    if (!IsListControl(w) || index < 0 || !ChooseListItem(control, index))
        return false;
    // The first click may have closed the dialog.
    w = detail::Window(control);
    if (!w)
        return true;
    if (!IsCombo(w) && Sends(w))
        Notify(w, LBN_DBLCLK);
    else if (IsCombo(w) && (w->style & 0x3) == CBS_SIMPLE)
        Notify(w, CBN_DBLCLK);
    return true;
}

void SetControlChangeHook(ControlChangeHook hook) {
    g_changeHook = hook;
}

namespace detail {

void NotifyControlChange(HWND control, ControlChange what) {
    if (g_changeHook)
        g_changeHook(control, what);
}

void RegisterListControls() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = ListProc;
    cls.lpszClassName = WC_COMBOBOX;
    RegisterClassW(&cls);
    cls.lpszClassName = WC_LISTBOX;
    RegisterClassW(&cls);
}

} // namespace detail
} // namespace platform

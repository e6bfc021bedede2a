#include "platform/windowing/list_view.h"

#include "platform/windowing/list_controls.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Column {
    std::wstring title;
    int width = 0;
    int fmt = LVCFMT_LEFT;
};

struct Row {
    std::vector<std::wstring> texts;
    UINT state = 0;
};

struct ListViewState {
    std::vector<Column> columns;
    std::vector<Row> rows;
    DWORD exStyle = 0;
};

ListViewState& State(HWND w) {
    if (!w->controlState)
        w->controlState = std::make_shared<ListViewState>();
    return *static_cast<ListViewState*>(w->controlState.get());
}

bool Valid(const ListViewState& s, int i) {
    return i >= 0 && size_t(i) < s.rows.size();
}

void Changed(HWND w, platform::ControlChange what) {
    platform::detail::NotifyControlChange(w, what);
}

int CopyText(const std::wstring& text, LPWSTR out, int max) {
    if (!out || max <= 0)
        return 0;
    const int n = std::min(int(text.size()), max - 1);
    std::copy_n(text.data(), n, out);
    out[n] = L'\0';
    return n;
}

void SetState(ListViewState& s, int i, UINT state, UINT mask) {
    Row& r = s.rows[size_t(i)];
    r.state = (r.state & ~mask) | (state & mask);
}

LRESULT ListViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0;
    ListViewState& s = State(w);
    switch (msg) {
    case LVM_GETITEMCOUNT:
        return LRESULT(s.rows.size());
    case LVM_INSERTCOLUMNW: {
        const auto* c = reinterpret_cast<const LVCOLUMNW*>(lp);
        if (!c)
            return -1;
        const int at = std::clamp(int(INT_PTR(wp)), 0, int(s.columns.size()));
        Column col;
        if ((c->mask & LVCF_TEXT) && c->pszText)
            col.title = c->pszText;
        if (c->mask & LVCF_WIDTH)
            col.width = c->cx;
        if (c->mask & LVCF_FMT)
            col.fmt = c->fmt;
        s.columns.insert(s.columns.begin() + at, col);
        for (Row& r : s.rows)
            if (size_t(at) < r.texts.size())
                r.texts.insert(r.texts.begin() + at, std::wstring());
        Changed(w, platform::ControlChange::Fields);
        return at;
    }
    case LVM_GETCOLUMNW: {
        auto* c = reinterpret_cast<LVCOLUMNW*>(lp);
        const int i = int(INT_PTR(wp));
        if (!c || i < 0 || size_t(i) >= s.columns.size())
            return FALSE;
        if (c->mask & LVCF_WIDTH)
            c->cx = s.columns[size_t(i)].width;
        if (c->mask & LVCF_FMT)
            c->fmt = s.columns[size_t(i)].fmt;
        if (c->mask & LVCF_TEXT)
            CopyText(s.columns[size_t(i)].title, c->pszText, c->cchTextMax);
        return TRUE;
    }
    case LVM_GETCOLUMNWIDTH: {
        const int i = int(INT_PTR(wp));
        return i >= 0 && size_t(i) < s.columns.size() ? s.columns[size_t(i)].width : 0;
    }
    case LVM_SETCOLUMNWIDTH: {
        const int i = int(INT_PTR(wp));
        if (i < 0 || size_t(i) >= s.columns.size())
            return FALSE;
        s.columns[size_t(i)].width = int(lp);
        Changed(w, platform::ControlChange::Fields);
        return TRUE;
    }
    case LVM_INSERTITEMW: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lp);
        if (!item || item->iSubItem != 0)
            return -1;
        const int at = std::clamp(item->iItem, 0, int(s.rows.size()));
        Row r;
        r.texts.resize(std::max<size_t>(1, s.columns.size()));
        if ((item->mask & LVIF_TEXT) && item->pszText)
            r.texts[0] = item->pszText;
        if (item->mask & LVIF_STATE)
            r.state = item->state & item->stateMask;
        s.rows.insert(s.rows.begin() + at, r);
        Changed(w, platform::ControlChange::Items);
        return at;
    }
    case LVM_SETITEMTEXTW: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lp);
        const int i = int(INT_PTR(wp));
        if (!item || !Valid(s, i) || item->iSubItem < 0)
            return FALSE;
        Row& r = s.rows[size_t(i)];
        if (size_t(item->iSubItem) >= r.texts.size())
            r.texts.resize(size_t(item->iSubItem) + 1);
        r.texts[size_t(item->iSubItem)] = item->pszText ? item->pszText : L"";
        Changed(w, platform::ControlChange::Items);
        return TRUE;
    }
    case LVM_GETITEMTEXTW: {
        auto* item = reinterpret_cast<LVITEMW*>(lp);
        const int i = int(INT_PTR(wp));
        if (!item)
            return 0;
        if (!Valid(s, i) || item->iSubItem < 0 ||
            size_t(item->iSubItem) >= s.rows[size_t(i)].texts.size())
            return CopyText(std::wstring(), item->pszText, item->cchTextMax);
        return CopyText(s.rows[size_t(i)].texts[size_t(item->iSubItem)], item->pszText,
                        item->cchTextMax);
    }
    case LVM_DELETEITEM: {
        const int i = int(INT_PTR(wp));
        if (!Valid(s, i))
            return FALSE;
        s.rows.erase(s.rows.begin() + i);
        Changed(w, platform::ControlChange::Items);
        return TRUE;
    }
    case LVM_DELETEALLITEMS:
        s.rows.clear();
        Changed(w, platform::ControlChange::Items);
        return TRUE;
    case LVM_SETITEMSTATE: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lp);
        const int i = int(INT_PTR(wp));
        if (!item || (i != -1 && !Valid(s, i)))
            return FALSE;
        // Selecting one row of a single-selection list, or focusing one, takes it from the others.
        const UINT exclusive = item->stateMask & item->state &
                               (LVIS_FOCUSED | ((w->style & LVS_SINGLESEL) ? LVIS_SELECTED : 0));
        for (int k = 0; k < int(s.rows.size()); ++k) {
            if (i == -1 || k == i)
                SetState(s, k, item->state, item->stateMask);
            else if (exclusive)
                SetState(s, k, 0, exclusive);
        }
        Changed(w, platform::ControlChange::Selection);
        return TRUE;
    }
    case LVM_GETITEMSTATE: {
        const int i = int(INT_PTR(wp));
        return Valid(s, i) ? LRESULT(s.rows[size_t(i)].state & UINT(lp)) : 0;
    }
    case LVM_GETNEXTITEM: {
        const UINT want = UINT(lp) & (LVNI_FOCUSED | LVNI_SELECTED);
        for (int k = int(INT_PTR(wp)) + 1; k < int(s.rows.size()); ++k)
            if ((s.rows[size_t(k)].state & want) == want)
                return k;
        return -1;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD old = s.exStyle;
        const DWORD mask = wp ? DWORD(wp) : 0xFFFFFFFFu;
        s.exStyle = (s.exStyle & ~mask) | (DWORD(lp) & mask);
        return LRESULT(old);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return LRESULT(s.exStyle);
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

namespace platform {

bool ChooseListViewItem(HWND control, int index) {
    HWND w = detail::Window(control);
    if (!w)
        return false;
    ListViewState& s = State(w);
    if (!Valid(s, index))
        return false;
    for (int k = 0; k < int(s.rows.size()); ++k)
        SetState(s, k, k == index ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
    Changed(w, ControlChange::Selection);
    return true;
}

namespace detail {

void RegisterListView() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = ListViewProc;
    cls.lpszClassName = WC_LISTVIEW;
    RegisterClassW(&cls);
}

} // namespace detail
} // namespace platform

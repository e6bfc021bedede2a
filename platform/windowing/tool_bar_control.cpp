#include "platform/windowing/tool_bar_control.h"

#include "platform/windowing/controls.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultBitmapWidth = 16, kDefaultBitmapHeight = 15;
// A button is its image with this much room around it.
constexpr int kButtonRoomX = 7, kButtonRoomY = 7;
constexpr int kSeparatorWidth = 8;
constexpr int kBorder = 2;
// No toolbar holds more buttons: more is a caller's mistake, not a reason to grow without end.
constexpr size_t kMaxButtons = 4096;

struct Strip {
    UINT resource;
    int first, count;
};

struct ToolBarState {
    std::vector<TBBUTTON> buttons;
    std::vector<Strip> strips;
    int images = 0;
    int bitmapCx = kDefaultBitmapWidth, bitmapCy = kDefaultBitmapHeight;
    int buttonCx = kDefaultBitmapWidth + kButtonRoomX;
    int buttonCy = kDefaultBitmapHeight + kButtonRoomY;
};

LRESULT ToolBarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

ToolBarState& State(HWND w) {
    if (!w->controlState)
        w->controlState = std::make_shared<ToolBarState>();
    return *static_cast<ToolBarState*>(w->controlState.get());
}

int IndexOf(const ToolBarState& s, WPARAM command) {
    for (size_t i = 0; i < s.buttons.size(); ++i)
        if (s.buttons[i].idCommand == int(command) && !(s.buttons[i].fsStyle & TBSTYLE_SEP))
            return int(i);
    return -1;
}

TBBUTTON* At(ToolBarState& s, WPARAM index) {
    const int i = int(index);
    return i >= 0 && size_t(i) < s.buttons.size() ? &s.buttons[size_t(i)] : nullptr;
}

// Sets or clears state bits of the button with a command; FALSE when there is none.
LRESULT ChangeState(ToolBarState& s, WPARAM command, LPARAM lp, BYTE bits) {
    const int i = IndexOf(s, command);
    if (i < 0)
        return FALSE;
    BYTE& state = s.buttons[size_t(i)].fsState;
    state = LOWORD(DWORD_PTR(lp)) ? BYTE(state | bits) : BYTE(state & ~bits);
    return TRUE;
}

LRESULT HasState(ToolBarState& s, WPARAM command, BYTE bits) {
    const int i = IndexOf(s, command);
    return i >= 0 && (s.buttons[size_t(i)].fsState & bits) ? TRUE : FALSE;
}

int WidthOf(const ToolBarState& s, const TBBUTTON& b) {
    if (b.fsState & TBSTATE_HIDDEN)
        return 0;
    if (b.fsStyle & TBSTYLE_SEP)
        return b.iBitmap > 0 ? b.iBitmap : kSeparatorWidth;
    return s.buttonCx;
}

// The place of button index in the control's client area; false for a hidden one.
bool ItemRect(const ToolBarState& s, size_t index, RECT* r) {
    int x = 0;
    for (size_t i = 0; i < index; ++i)
        x += WidthOf(s, s.buttons[i]);
    const TBBUTTON& b = s.buttons[index];
    if (b.fsState & TBSTATE_HIDDEN)
        return false;
    *r = RECT{x, kBorder, x + WidthOf(s, b), kBorder + s.buttonCy};
    return true;
}

bool Insert(ToolBarState& s, size_t at, const TBBUTTON* b) {
    if (!b || s.buttons.size() >= kMaxButtons)
        return false;
    s.buttons.insert(s.buttons.begin() + ptrdiff_t(std::min(at, s.buttons.size())), *b);
    return true;
}

// Without CCS_NORESIZE the bar spans its parent's width and holds one row of buttons; without
// CCS_NOPARENTALIGN it goes to the parent's top (or bottom).
void AutoSize(HWND w, const ToolBarState& s) {
    if ((w->style & CCS_NORESIZE) || !w->parent)
        return;
    const RECT client = platform::detail::ClientRect(w->parent);
    const int height = s.buttonCy + 2 * kBorder;
    int y = w->rect.top;
    if (!(w->style & CCS_NOPARENTALIGN))
        y = (w->style & CCS_BOTTOM) == CCS_BOTTOM ? client.bottom - height : 0;
    SetWindowPos(w, nullptr, 0, y, client.right - client.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ToolBarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = platform::detail::Window(hwnd);
    if (!w)
        return 0;
    ToolBarState& s = State(w);
    switch (msg) {
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_ADDBITMAP: {
        const auto* add = reinterpret_cast<const TBADDBITMAP*>(lp);
        const int count = int(wp);
        if (!add || count <= 0)
            return -1;
        s.strips.push_back(Strip{UINT(add->nID), s.images, count});
        s.images += count;
        return s.images - count;
    }
    case TB_ADDBUTTONSW: {
        const auto* list = reinterpret_cast<const TBBUTTON*>(lp);
        if (!list)
            return FALSE;
        for (int i = 0; i < int(wp); ++i)
            if (!Insert(s, s.buttons.size(), &list[i]))
                return FALSE;
        return TRUE;
    }
    case TB_INSERTBUTTONW:
        return Insert(s, size_t(std::max(0, int(wp))), reinterpret_cast<const TBBUTTON*>(lp));
    case TB_DELETEBUTTON:
        if (!At(s, wp))
            return FALSE;
        s.buttons.erase(s.buttons.begin() + ptrdiff_t(int(wp)));
        return TRUE;
    case TB_BUTTONCOUNT:
        return LRESULT(s.buttons.size());
    case TB_GETBUTTON: {
        TBBUTTON* b = At(s, wp);
        auto* out = reinterpret_cast<TBBUTTON*>(lp);
        if (!b || !out)
            return FALSE;
        *out = *b;
        return TRUE;
    }
    case TB_COMMANDTOINDEX:
        return IndexOf(s, wp);
    case TB_ENABLEBUTTON:
        return ChangeState(s, wp, lp, TBSTATE_ENABLED);
    case TB_CHECKBUTTON:
        return ChangeState(s, wp, lp, TBSTATE_CHECKED);
    case TB_PRESSBUTTON:
        return ChangeState(s, wp, lp, TBSTATE_PRESSED);
    case TB_HIDEBUTTON:
        return ChangeState(s, wp, lp, TBSTATE_HIDDEN);
    case TB_ISBUTTONENABLED:
        return HasState(s, wp, TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED:
        return HasState(s, wp, TBSTATE_CHECKED);
    case TB_ISBUTTONPRESSED:
        return HasState(s, wp, TBSTATE_PRESSED);
    case TB_ISBUTTONHIDDEN:
        return HasState(s, wp, TBSTATE_HIDDEN);
    case TB_GETSTATE: {
        const int i = IndexOf(s, wp);
        return i < 0 ? -1 : s.buttons[size_t(i)].fsState;
    }
    case TB_SETSTATE: {
        const int i = IndexOf(s, wp);
        if (i < 0)
            return FALSE;
        s.buttons[size_t(i)].fsState = BYTE(LOWORD(DWORD_PTR(lp)));
        return TRUE;
    }
    case TB_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lp);
        return r && At(s, wp) && ItemRect(s, size_t(int(wp)), r) ? TRUE : FALSE;
    }
    case TB_SETBITMAPSIZE:
    case TB_SETBUTTONSIZE: {
        const int cx = LOWORD(DWORD_PTR(lp)), cy = HIWORD(DWORD_PTR(lp));
        if (cx <= 0 || cy <= 0)
            return FALSE;
        if (msg == TB_SETBITMAPSIZE) {
            s.bitmapCx = cx;
            s.bitmapCy = cy;
            s.buttonCx = std::max(s.buttonCx, cx + kButtonRoomX);
            s.buttonCy = std::max(s.buttonCy, cy + kButtonRoomY);
        } else {
            s.buttonCx = cx;
            s.buttonCy = cy;
        }
        return TRUE;
    }
    case TB_GETBUTTONSIZE:
        return LRESULT(MAKELONG(WORD(s.buttonCx), WORD(s.buttonCy)));
    case TB_AUTOSIZE:
        AutoSize(w, s);
        return 0;
    case WM_NOTIFY:
        // Tip requests the owner of the control did not answer go to its parent.
        if (w->parent && platform::detail::Window(w->parent))
            return SendMessageW(w->parent, WM_NOTIFY, wp, lp);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

std::wstring FromUtf8(const char* text) {
    std::wstring out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        unsigned c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more)
            c &= 0x3Fu >> more;
        for (; more > 0 && (*p & 0xC0) == 0x80; --more)
            c = (c << 6) | (*p++ & 0x3Fu);
        out += more ? L'?' : wchar_t(c);
    }
    return out;
}

} // namespace

namespace platform {

bool ClickToolBarButton(HWND toolbar, int index) {
    HWND w = detail::Window(toolbar);
    if (!w || w->proc != ToolBarProc || (w->style & WS_DISABLED))
        return false;
    ToolBarState& s = State(w);
    TBBUTTON* b = At(s, WPARAM(index));
    if (!b || (b->fsStyle & TBSTYLE_SEP) || (b->fsState & TBSTATE_HIDDEN) ||
        !(b->fsState & TBSTATE_ENABLED))
        return false;
    if (b->fsStyle & TBSTYLE_CHECK)
        b->fsState ^= TBSTATE_CHECKED;
    const int command = b->idCommand;
    if (w->parent && detail::Window(w->parent))
        SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(WORD(command), WORD(BN_CLICKED)),
                     reinterpret_cast<LPARAM>(w));
    return true;
}

std::wstring ToolBarButtonTip(HWND toolbar, int index) {
    HWND w = detail::Window(toolbar);
    if (!w || w->proc != ToolBarProc || !(w->style & TBSTYLE_TOOLTIPS))
        return {};
    const TBBUTTON* b = At(State(w), WPARAM(index));
    if (!b || (b->fsStyle & TBSTYLE_SEP))
        return {};
    const UINT_PTR command = UINT_PTR(b->idCommand);
    NMTTDISPINFOW wide{};
    wide.hdr = NMHDR{w, command, TTN_GETDISPINFOW};
    SendMessageW(w, WM_NOTIFY, WPARAM(command), reinterpret_cast<LPARAM>(&wide));
    wide.szText[kTipTextLength - 1] = 0;
    std::wstring tip = wide.lpszText ? std::wstring(wide.lpszText) : std::wstring(wide.szText);
    if (!tip.empty() || !detail::Window(toolbar))
        return tip;
    NMTTDISPINFOA narrow{};
    narrow.hdr = NMHDR{w, command, TTN_GETDISPINFOA};
    SendMessageW(w, WM_NOTIFY, WPARAM(command), reinterpret_cast<LPARAM>(&narrow));
    narrow.szText[kTipTextLength - 1] = 0;
    return FromUtf8(narrow.lpszText ? narrow.lpszText : narrow.szText);
}

bool ToolBarButtonImage(HWND toolbar, int index, UINT* strip, int* image) {
    HWND w = detail::Window(toolbar);
    if (!w || w->proc != ToolBarProc)
        return false;
    ToolBarState& s = State(w);
    const TBBUTTON* b = At(s, WPARAM(index));
    if (!b || (b->fsStyle & TBSTYLE_SEP) || b->iBitmap < 0)
        return false;
    for (const Strip& st : s.strips)
        if (b->iBitmap >= st.first && b->iBitmap < st.first + st.count) {
            if (strip)
                *strip = st.resource;
            if (image)
                *image = b->iBitmap - st.first;
            return true;
        }
    return false;
}

namespace detail {

void RegisterToolBarControl() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = ToolBarProc;
    cls.lpszClassName = TOOLBARCLASSNAME;
    RegisterClassW(&cls);
}

} // namespace detail
} // namespace platform

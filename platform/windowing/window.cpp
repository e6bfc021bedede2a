#include "platform/windowing/window.h"

#include "platform/graphics/gdi_internal.h"
#include "platform/windowing/icon.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window_internal.h"
#include "platform/windowing/window_placement.h"
#include "platform/windowing/window_pos.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <unordered_map>

namespace {

struct ClassInfo {
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
};

std::wstring Upper(LPCWSTR s) {
    std::wstring out = s ? s : L"";
    for (wchar_t& c : out)
        c = wchar_t(std::towupper(wint_t(c)));
    return out;
}

struct WindowTable {
    std::unordered_map<HWND, std::unique_ptr<HWND__>> live;
    std::vector<std::unique_ptr<HWND__>> graveyard;
    std::map<std::wstring, ClassInfo> classes;
    std::vector<HWND> order; // creation order, for a stable search
    int depth = 0;
    platform::CreateHook createHook = nullptr;
    void* createContext = nullptr;
    platform::CreateHook observeCreated = nullptr;
    platform::DestroyHook observeDestroyed = nullptr;
    void* observerContext = nullptr;
    std::unique_ptr<HWND__> desktop;
    platform::RecordingSurface desktopSurface{1920, 1080};
};

WindowTable& T() {
    static WindowTable t;
    return t;
}

void FreeGraveyard() {
    if (T().depth == 0)
        T().graveyard.clear();
}

HWND Desktop() {
    WindowTable& t = T();
    if (!t.desktop) {
        t.desktop = std::make_unique<HWND__>();
        t.desktop->className = L"#32769";
        t.desktop->rect = RECT{0, 0, 1920, 1080};
        t.desktop->style = WS_VISIBLE;
        t.desktop->surface = &t.desktopSurface;
    }
    return t.desktop.get();
}

void MarkDirty(DcImpl* dc, const RECT& area) {
    HWND w = platform::detail::Window(dc->window);
    if (!w)
        return;
    RECT client = platform::detail::ClientRect(w);
    RECT a{std::max(area.left, client.left), std::max(area.top, client.top),
           std::min(area.right, client.right), std::min(area.bottom, client.bottom)};
    if (a.right <= a.left || a.bottom <= a.top)
        return;
    if (!w->hasDirty) {
        w->dirty = a;
        w->hasDirty = true;
    } else {
        w->dirty = RECT{std::min(w->dirty.left, a.left), std::min(w->dirty.top, a.top),
                        std::max(w->dirty.right, a.right), std::max(w->dirty.bottom, a.bottom)};
    }
}

HDC MakeWindowDC(HWND w, bool whole) {
    platform::Surface* s = platform::detail::WindowSurface(w);
    HDC dc = platform::CreateSurfaceDC(s);
    dc->window = w;
    dc->windowDc = whole;
    dc->onDraw = MarkDirty;
    w->dcs.push_back(dc);
    return dc;
}

void ReleaseWindowDCs(HWND w) {
    for (HDC dc : w->dcs)
        DeleteDC(dc);
    w->dcs.clear();
}

bool IsVisibleChain(HWND w) {
    for (; w; w = w->parent)
        if (!(w->style & WS_VISIBLE))
            return false;
    return true;
}

LRESULT CallProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    WindowTable& t = T();
    ++t.depth;
    LRESULT r;
    if (w->hook)
        r = w->hook(w->hookObject, w, msg, wp, lp);
    else if (w->proc)
        r = w->proc(w, msg, wp, lp);
    else
        r = DefWindowProcW(w, msg, wp, lp);
    --t.depth;
    FreeGraveyard();
    return r;
}

// Past this many rectangles an update region is kept as its bounding box: thousands of small
// invalidations (a large selection changed) would otherwise make each union slower than the
// repaint it saves.
constexpr size_t kMaxUpdateRects = 16;

void AddUpdate(HWND w, const std::vector<RECT>& rects, bool erase) {
    RECT c = platform::detail::ClientRect(w);
    std::vector<RECT> clipped = platform::detail::CombineRects(rects, {c}, RGN_AND);
    if (clipped.empty())
        return;
    const RECT& n = clipped[0];
    const bool covered =
        clipped.size() == 1 && std::any_of(w->update.begin(), w->update.end(), [&](const RECT& u) {
            return u.left <= n.left && u.top <= n.top && u.right >= n.right && u.bottom >= n.bottom;
        });
    if (!covered)
        w->update = platform::detail::CombineRects(w->update, clipped, RGN_OR);
    if (w->update.size() > kMaxUpdateRects)
        w->update = {platform::detail::BoundingBox(w->update)};
    if (erase)
        w->erasePending = true;
}

void ResizeBuffer(HWND w) {
    if (w->buffer) {
        RECT c = platform::detail::ClientRect(w);
        if (w->buffer->Width() != std::max<LONG>(1, c.right) ||
            w->buffer->Height() != std::max<LONG>(1, c.bottom))
            w->buffer->Resize(c.right, c.bottom, GetSysColor(COLOR_WINDOW));
    }
}

} // namespace

namespace platform::detail {

HWND Window(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    if (hwnd == T().desktop.get())
        return hwnd;
    auto it = T().live.find(hwnd);
    return it != T().live.end() && !it->second->destroying ? hwnd : nullptr;
}

RECT ClientRect(HWND w) {
    // The window's own scroll bars take their width off the client area.
    LONG cx = w->rect.right - w->rect.left, cy = w->rect.bottom - w->rect.top;
    if (w->style & WS_VSCROLL)
        cx = std::max<LONG>(0, cx - kScrollBarSize);
    if (w->style & WS_HSCROLL)
        cy = std::max<LONG>(0, cy - kScrollBarSize);
    return RECT{0, 0, cx, cy};
}

void ClientChanged(HWND w) {
    ResizeBuffer(w);
    RECT c = ClientRect(w);
    w->update = CombineRects(w->update, {c}, RGN_AND);
    SendMessageW(w, WM_SIZE, 0, MAKELPARAM(WORD(c.right), WORD(c.bottom)));
}

Surface* WindowSurface(HWND w) {
    if (w->surface)
        return w->surface;
    if (!w->buffer) {
        RECT c = ClientRect(w);
        w->buffer = std::make_unique<RasterSurface>(c.right, c.bottom, GetSysColor(COLOR_WINDOW));
    }
    return w->buffer.get();
}

HWND FindWindowToPaint(HWND filter) {
    for (HWND h : T().order) {
        HWND w = Window(h);
        if (!w || w->update.empty() || !IsVisibleChain(w))
            continue;
        if (filter && w != filter && !(w->parent && w->parent == filter))
            continue;
        return w;
    }
    return nullptr;
}

std::vector<HWND> AllWindows() {
    std::vector<HWND> out;
    for (HWND h : T().order)
        if (Window(h))
            out.push_back(h);
    return out;
}

} // namespace platform::detail

using platform::detail::Window;

BOOL RegisterClassW(const WNDCLASSW* cls) {
    if (!cls || !cls->lpszClassName || !*cls->lpszClassName)
        return FALSE;
    std::wstring key = Upper(cls->lpszClassName);
    if (T().classes.count(key))
        return FALSE;
    T().classes[key] = ClassInfo{cls->lpfnWndProc, cls->hbrBackground};
    return TRUE;
}

namespace platform::detail {
void RegisterStandardControls();
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y,
                     int cx, int cy, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     LPVOID param) {
    platform::detail::RegisterStandardControls();
    WindowTable& t = T();
    auto cls = t.classes.find(Upper(className));
    if (cls == t.classes.end())
        return nullptr;
    if (parent && !Window(parent))
        return nullptr;
    if ((style & WS_CHILD) && !parent)
        return nullptr;
    auto owned = std::make_unique<HWND__>();
    HWND w = owned.get();
    w->className = className;
    w->proc = cls->second.proc;
    w->background = cls->second.background;
    w->style = style;
    w->exStyle = exStyle;
    // CW_USEDEFAULT and the like: a sensible size rather than a huge one.
    if (x == int(0x80000000))
        x = y = 0;
    if (cx == int(0x80000000) || cx < 0)
        cx = 640, cy = 480;
    w->rect = RECT{x, y, x + std::max(0, cx), y + std::max(0, cy)};
    w->text = text ? text : L"";
    if (style & WS_CHILD) {
        w->parent = parent;
        w->id = int(reinterpret_cast<intptr_t>(menuOrId));
        parent->children.push_back(w);
    } else {
        w->owner = parent;
    }
    t.live[w] = std::move(owned);
    t.order.push_back(w);
    if (t.createHook)
        t.createHook(t.createContext, w);
    if (t.observeCreated)
        t.observeCreated(t.observerContext, w);
    CREATESTRUCTW cs{param, instance, menuOrId,    parent, cy,        cx,
                     y,     x,        LONG(style), text,   className, exStyle};
    if (SendMessageW(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(w);
        return nullptr;
    }
    if (!Window(w))
        return nullptr;
    if (style & WS_VISIBLE)
        AddUpdate(w, {platform::detail::ClientRect(w)}, true);
    return w;
}

BOOL DestroyWindow(HWND hwnd) {
    HWND w = Window(hwnd);
    if (!w || w == T().desktop.get())
        return FALSE;
    WindowTable& t = T();
    // Owned popups go first, then the window itself, children after their parent's WM_DESTROY.
    // Destroying one popup frees its own children, which may be later in the list.
    for (HWND other : platform::detail::AllWindows())
        if (Window(other) && other->owner == w)
            DestroyWindow(other);
    SendMessageW(w, WM_DESTROY, 0, 0);
    w->destroying = true;
    std::vector<HWND> children = w->children;
    for (HWND c : children) {
        auto it = t.live.find(c);
        if (it != t.live.end() && !c->destroying)
            DestroyWindow(c);
    }
    // WM_NCDESTROY reaches the window although it is already marked destroyed.
    ++t.depth;
    if (w->hook)
        w->hook(w->hookObject, w, WM_NCDESTROY, 0, 0);
    else if (w->proc)
        w->proc(w, WM_NCDESTROY, 0, 0);
    --t.depth;
    // A window's menu goes with it; one taken back with SetMenu(nullptr) is the caller's.
    if (w->menu) {
        HMENU menu = static_cast<HMENU>(w->menu);
        w->menu = nullptr;
        DestroyMenu(menu);
    }
    if (t.observeDestroyed)
        t.observeDestroyed(t.observerContext, w);
    platform::detail::ForgetWindowInQueue(w);
    platform::detail::ForgetWindowInInput(w);
    ReleaseWindowDCs(w);
    if (w->parent) {
        auto& sib = w->parent->children;
        sib.erase(std::remove(sib.begin(), sib.end(), w), sib.end());
    }
    t.order.erase(std::remove(t.order.begin(), t.order.end(), w), t.order.end());
    auto it = t.live.find(w);
    if (it != t.live.end()) {
        t.graveyard.push_back(std::move(it->second));
        t.live.erase(it);
    }
    FreeGraveyard();
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return Window(hwnd) != nullptr;
}

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = Window(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_SETTEXT:
        w->text = lp ? reinterpret_cast<LPCWSTR>(lp) : L"";
        return TRUE;
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<LPWSTR>(lp);
        if (!buf || wp == 0)
            return 0;
        size_t n = std::min(w->text.size(), size_t(wp) - 1);
        std::copy(w->text.begin(), w->text.begin() + ptrdiff_t(n), buf);
        buf[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        if (!w->background)
            return 0;
        RECT c = platform::detail::ClientRect(w);
        FillRect(reinterpret_cast<HDC>(wp), &c, w->background);
        return 1;
    }
    case WM_CLOSE:
        DestroyWindow(w);
        return 0;
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wp);
        return 0;
    case WM_SETICON: {
        HANDLE& slot = w->icons[wp ? 1 : 0];
        HANDLE old = slot;
        slot = reinterpret_cast<HANDLE>(lp);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(w->icons[wp ? 1 : 0]);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    default:
        return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return proc ? proc(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = Window(hwnd);
    if (!w || w == T().desktop.get())
        return 0;
    return CallProc(w, msg, wp, lp);
}

HWND GetParent(HWND hwnd) {
    HWND w = Window(hwnd);
    if (!w)
        return nullptr;
    return w->parent ? w->parent : w->owner;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    if (!Window(parent))
        return FALSE;
    for (HWND w = Window(hwnd); w; w = Window(w->parent))
        if (w->parent == parent)
            return TRUE;
    return FALSE;
}

HWND SetParent(HWND child, HWND parent) {
    HWND w = Window(child);
    if (!w || (parent && !Window(parent)))
        return nullptr;
    HWND old = w->parent;
    if (old) {
        auto& sib = old->children;
        sib.erase(std::remove(sib.begin(), sib.end(), w), sib.end());
    }
    w->parent = parent;
    if (parent)
        parent->children.push_back(w);
    return old;
}

HWND GetLastActivePopup(HWND hwnd) {
    HWND w = Window(hwnd);
    if (!w)
        return nullptr;
    // The active window stands for the last active one: windows here remember no more.
    HWND active = GetActiveWindow();
    for (HWND o = active; o && o != w; o = GetWindow(o, GW_OWNER))
        if (GetWindow(o, GW_OWNER) == w)
            return IsWindowVisible(active) && IsWindowEnabled(active) ? active : w;
    return w;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    HWND w = Window(hwnd);
    if (!w)
        return nullptr;
    switch (relation) {
    case GW_CHILD:
        return w->children.empty() ? nullptr : w->children.front();
    case GW_OWNER:
        return w->owner;
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        if (!w->parent)
            return nullptr;
        auto& sib = w->parent->children;
        auto it = std::find(sib.begin(), sib.end(), w);
        if (relation == GW_HWNDNEXT)
            return it + 1 < sib.end() ? *(it + 1) : nullptr;
        return it > sib.begin() ? *(it - 1) : nullptr;
    }
    default:
        return nullptr;
    }
}

HWND GetDesktopWindow() {
    return Desktop();
}

HWND GetDlgItem(HWND dialog, int id) {
    HWND w = Window(dialog);
    if (!w)
        return nullptr;
    for (HWND c : w->children)
        if (c->id == id && !c->destroying)
            return c;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    HWND w = Window(hwnd);
    return w ? w->id : 0;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    HWND w = Window(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return LONG_PTR(w->style);
    case GWL_EXSTYLE:
        return LONG_PTR(w->exStyle);
    case GWLP_ID:
        return w->id;
    case GWLP_USERDATA:
        return w->userData;
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    HWND w = Window(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtrW(hwnd, index);
    switch (index) {
    case GWL_STYLE:
        w->style = DWORD(value);
        break;
    case GWL_EXSTYLE:
        w->exStyle = DWORD(value);
        break;
    case GWLP_ID:
        w->id = int(value);
        break;
    case GWLP_USERDATA:
        w->userData = value;
        break;
    default:
        return 0;
    }
    return old;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int max) {
    HWND w = Window(hwnd);
    if (!w || !buffer || max <= 0)
        return 0;
    int n = std::min(int(w->className.size()), max - 1);
    std::copy(w->className.begin(), w->className.begin() + n, buffer);
    buffer[n] = 0;
    return n;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!Window(hwnd))
        return FALSE;
    return BOOL(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int max) {
    if (!Window(hwnd) || !buffer || max <= 0)
        return 0;
    return int(SendMessageW(hwnd, WM_GETTEXT, WPARAM(max), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
    return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    BOOL was = (w->style & WS_VISIBLE) != 0;
    bool show = cmd != SW_HIDE;
    platform::detail::ApplyShowState(w, cmd);
    if (show == bool(was))
        return was;
    if (show)
        w->style |= WS_VISIBLE;
    else
        w->style &= ~WS_VISIBLE;
    SendMessageW(w, WM_SHOWWINDOW, show, 0);
    if (show)
        AddUpdate(w, {platform::detail::ClientRect(w)}, true);
    else if (w->parent)
        AddUpdate(w->parent, {w->rect}, true);
    return was;
}

BOOL IsWindowVisible(HWND hwnd) {
    HWND w = Window(hwnd);
    return w && IsVisibleChain(w);
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (bool(enable) == !wasDisabled)
        return wasDisabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        if (GetFocus() == w)
            SetFocus(nullptr);
    }
    SendMessageW(w, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    HWND w = Window(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    HWND w = Window(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = platform::detail::ClientRect(w);
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* p) {
    HWND w = Window(hwnd);
    if (!w || !p)
        return FALSE;
    for (; w; w = w->parent) {
        p->x += w->rect.left;
        p->y += w->rect.top;
    }
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* p) {
    HWND w = Window(hwnd);
    if (!w || !p)
        return FALSE;
    POINT o{0, 0};
    ClientToScreen(w, &o);
    p->x -= o.x;
    p->y -= o.y;
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    HWND w = Window(hwnd);
    if (!w || !rect)
        return FALSE;
    POINT o{0, 0};
    if (w->parent)
        ClientToScreen(w->parent, &o);
    *rect = RECT{w->rect.left + o.x, w->rect.top + o.y, w->rect.right + o.x, w->rect.bottom + o.y};
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    // The window may change the request (or drop parts of it) before it is applied.
    WINDOWPOS pos{w, after, x, y, cx, cy, flags};
    SendMessageW(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!Window(w))
        return FALSE;
    x = pos.x, y = pos.y, cx = pos.cx, cy = pos.cy, flags = pos.flags;
    RECT r = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        r.right += x - r.left;
        r.bottom += y - r.top;
        r.left = x;
        r.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + std::max(0, cx);
        r.bottom = r.top + std::max(0, cy);
    }
    bool moved = r.left != w->rect.left || r.top != w->rect.top;
    bool sized = (r.right - r.left) != (w->rect.right - w->rect.left) ||
                 (r.bottom - r.top) != (w->rect.bottom - w->rect.top);
    w->rect = r;
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(w, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(w, SW_HIDE);
    if (sized) {
        ResizeBuffer(w);
        w->update =
            platform::detail::CombineRects(w->update, {platform::detail::ClientRect(w)}, RGN_AND);
        SendMessageW(w, WM_SIZE, 0, MAKELPARAM(WORD(r.right - r.left), WORD(r.bottom - r.top)));
    }
    if (moved)
        SendMessageW(w, WM_MOVE, 0, MAKELPARAM(WORD(r.left), WORD(r.top)));
    if ((sized || moved) && !(flags & SWP_NOREDRAW) && Window(w))
        AddUpdate(w, {platform::detail::ClientRect(w)}, true);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

// Painting ---------------------------------------------------------------------------------------

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    if (!hwnd) {
        for (HWND h : platform::detail::AllWindows())
            if (!h->parent)
                InvalidateRect(h, nullptr, erase);
        return TRUE;
    }
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    RECT r = rect ? *rect : platform::detail::ClientRect(w);
    AddUpdate(w, {r}, erase);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    if (!rgn)
        return InvalidateRect(hwnd, nullptr, erase);
    std::vector<RECT> rects(size_t(GetRegionRects(rgn, nullptr, 0)));
    GetRegionRects(rgn, rects.data(), int(rects.size()));
    AddUpdate(w, rects, erase);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    if (!rect) {
        w->update.clear();
        w->erasePending = false;
    } else {
        w->update = platform::detail::CombineRects(w->update, {*rect}, RGN_DIFF);
    }
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    if (!rgn)
        return ValidateRect(hwnd, nullptr);
    std::vector<RECT> rects(size_t(GetRegionRects(rgn, nullptr, 0)));
    GetRegionRects(rgn, rects.data(), int(rects.size()));
    w->update = platform::detail::CombineRects(w->update, rects, RGN_DIFF);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    if (rect)
        *rect = platform::detail::BoundingBox(w->update);
    return !w->update.empty();
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL) {
    HWND w = Window(hwnd);
    if (!w || !rgn)
        return ERROR;
    HRGN tmp = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : w->update) {
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(tmp, tmp, part, RGN_OR);
        DeleteObject(part);
    }
    int type = CombineRgn(rgn, tmp, nullptr, RGN_COPY);
    DeleteObject(tmp);
    return type;
}

BOOL UpdateWindow(HWND hwnd) {
    HWND w = Window(hwnd);
    if (!w)
        return FALSE;
    if (!w->update.empty() && IsVisibleChain(w))
        SendMessageW(w, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
    if (!Window(hwnd))
        return FALSE;
    if (flags & RDW_INVALIDATE) {
        if (rgn)
            InvalidateRgn(hwnd, rgn, (flags & RDW_ERASE) != 0);
        else
            InvalidateRect(hwnd, rect, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_VALIDATE) {
        if (rgn)
            ValidateRgn(hwnd, rgn);
        else
            ValidateRect(hwnd, rect);
    }
    // The children and theirs, each whole (a rectangle given is the parent's).
    if ((flags & RDW_ALLCHILDREN) && (flags & (RDW_INVALIDATE | RDW_VALIDATE)))
        for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            RedrawWindow(c, nullptr, nullptr, flags);
    if (flags & RDW_UPDATENOW)
        UpdateWindow(hwnd);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    HWND w = Window(hwnd);
    if (!w || !ps)
        return nullptr;
    *ps = PAINTSTRUCT{};
    HDC dc = MakeWindowDC(w, false);
    // Painting is limited to what was invalid; an empty update region draws nothing.
    dc->a.hasClip = true;
    dc->a.clip = w->update;
    ps->hdc = dc;
    ps->rcPaint = platform::detail::BoundingBox(w->update);
    w->update.clear();
    if (w->erasePending) {
        w->erasePending = false;
        ps->fErase = !SendMessageW(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps)
        return FALSE;
    ReleaseDC(hwnd, ps->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    HWND w = hwnd ? Window(hwnd) : Desktop();
    return w ? MakeWindowDC(w, false) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
    HWND w = hwnd ? Window(hwnd) : Desktop();
    return w ? MakeWindowDC(w, true) : nullptr;
}

int ReleaseDC(HWND, HDC hdc) {
    if (!platform::detail::IsLiveDC(hdc))
        return 0;
    HWND w = hdc->window;
    if (w == T().desktop.get()) {
        T().desktopSurface.Clear();
    }
    if (w) {
        auto& dcs = w->dcs;
        auto it = std::find(dcs.begin(), dcs.end(), hdc);
        if (it == dcs.end())
            return 0;
        dcs.erase(it);
    }
    DeleteDC(hdc);
    return 1;
}

HWND WindowFromDC(HDC hdc) {
    if (!platform::detail::IsLiveDC(hdc))
        return nullptr;
    return Window(hdc->window);
}

namespace platform {

void SetWindowSurface(HWND hwnd, Surface* surface) {
    HWND w = Window(hwnd);
    if (w)
        w->surface = surface;
}

Surface* GetWindowSurface(HWND hwnd) {
    HWND w = Window(hwnd);
    return w ? detail::WindowSurface(w) : nullptr;
}

bool TakeDirtyRect(HWND hwnd, RECT* rect) {
    HWND w = Window(hwnd);
    if (!w || !w->hasDirty)
        return false;
    if (rect)
        *rect = w->dirty;
    w->hasDirty = false;
    return true;
}

void SetWindowHook(HWND hwnd, void* object, WindowHook hook) {
    HWND w = Window(hwnd);
    if (!w) {
        // A window being destroyed may still let go of its object.
        auto it = T().live.find(hwnd);
        if (it == T().live.end())
            return;
        w = hwnd;
    }
    w->hookObject = object;
    w->hook = hook;
}

void* GetWindowHookObject(HWND hwnd) {
    auto it = T().live.find(hwnd);
    return it != T().live.end() ? it->second->hookObject : nullptr;
}

WNDPROC GetClassProc(HWND hwnd) {
    auto it = T().live.find(hwnd);
    return it != T().live.end() ? it->second->proc : nullptr;
}

void SetCreateHook(CreateHook hook, void* context) {
    T().createHook = hook;
    T().createContext = context;
}

void SetWindowObserver(CreateHook created, DestroyHook destroyed, void* context) {
    T().observeCreated = created;
    T().observeDestroyed = destroyed;
    T().observerContext = context;
}

int WindowCount() {
    return int(T().live.size());
}

} // namespace platform

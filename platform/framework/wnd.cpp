#include "platform/framework/wnd.h"

#include "platform/framework/dialog.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/message_filter.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/system_metrics.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {

std::unordered_map<HWND, CWnd*>& Permanent() {
    static std::unordered_map<HWND, CWnd*> m;
    return m;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& Temporary() {
    static std::unordered_map<HWND, std::unique_ptr<CWnd>> m;
    return m;
}

CWnd*& MainWnd() {
    static CWnd* main = nullptr;
    return main;
}

LRESULT WndHook(void* object, HWND, UINT msg, WPARAM wp, LPARAM lp) {
    return static_cast<CWnd*>(object)->WindowProc(msg, wp, lp);
}

// Binds the first window made while the hook is set (the one being created) to its object.
void CreateHook(void* context, HWND hwnd) {
    platform::SetCreateHook(nullptr, nullptr);
    static_cast<CWnd*>(context)->SubclassWindow(hwnd);
}

LRESULT PlainWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(h, msg, wp, lp);
}

// A new child is told up its parent chain, as the system does; the chain stops above a
// window that asks not to tell. The child may go while an ancestor hears of it.
void NotifyAncestorsOfCreate(HWND child) {
    const WPARAM wp = MAKEWPARAM(WORD(WM_CREATE), WORD(::GetDlgCtrlID(child)));
    for (HWND w = child; ::IsWindow(child) && ::IsWindow(w);) {
        if (!(::GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ||
            (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY))
            break;
        HWND parent = ::GetParent(w);
        if (!parent)
            break;
        ::SendMessageW(parent, WM_PARENTNOTIFY, wp, reinterpret_cast<LPARAM>(child));
        w = parent;
    }
}

} // namespace

CWnd::~CWnd() {
    if (m_pDeleted)
        *m_pDeleted = true;
    if (m_hWnd && Permanent().count(m_hWnd) && Permanent()[m_hWnd] == this) {
        if (IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    auto it = Permanent().find(hwnd);
    return it != Permanent().end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    if (CWnd* w = FromHandlePermanent(hwnd))
        return w;
    auto& temps = Temporary();
    auto it = temps.find(hwnd);
    if (it != temps.end())
        return it->second.get();
    auto w = std::make_unique<CWnd>();
    w->m_hWnd = hwnd;
    CWnd* raw = w.get();
    temps[hwnd] = std::move(w);
    return raw;
}

void CWnd::DeleteTempMap() {
    for (auto& [h, w] : Temporary())
        w->m_hWnd = nullptr;
    Temporary().clear();
}

CWnd* CWnd::GetSafeOwner(CWnd* parent, HWND* topLevel) {
    HWND h = parent ? parent->m_hWnd : (AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr);
    while (h && (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    if (!IsWindow(h))
        h = nullptr;
    // Without a parent the dialog belongs to the main window's window in front (a dialog that
    // opened this one), so it stays above that and gives the keyboard back to it.
    if (!parent && h)
        h = ::GetLastActivePopup(h);
    if (topLevel)
        *topLevel = h;
    return FromHandle(h);
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND h = m_hWnd;
    while (h && (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    return FromHandle(h);
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd)
        return FALSE;
    auto t = Temporary().find(hwnd);
    if (t != Temporary().end()) {
        t->second->m_hWnd = nullptr;
        Temporary().erase(t);
    }
    m_hWnd = hwnd;
    Permanent()[hwnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        auto it = Permanent().find(h);
        if (it != Permanent().end() && it->second == this)
            Permanent().erase(it);
        if (platform::GetWindowHookObject(h) == this)
            platform::SetWindowHook(h, nullptr, nullptr);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!IsWindow(hwnd) || FromHandlePermanent(hwnd) || !Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    platform::SetWindowHook(hwnd, this, WndHook);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, int(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    return Detach();
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
    if (m_hWnd)
        return FALSE;
    static bool registered = [] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = PlainWndProc;
        cls.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        cls.lpszClassName = L"KelvaneWnd";
        return RegisterClassW(&cls) != 0;
    }();
    (void)registered;
    platform::SetCreateHook(CreateHook, this);
    HWND h = CreateWindowExW(exStyle, className ? className : L"KelvaneWnd", name, style, rect.left,
                             rect.top, rect.right - rect.left, rect.bottom - rect.top,
                             parent ? parent->m_hWnd : nullptr,
                             reinterpret_cast<HMENU>(intptr_t(id)), nullptr, param);
    platform::SetCreateHook(nullptr, nullptr);
    if (!h && m_hWnd)
        Detach();
    if (h)
        NotifyAncestorsOfCreate(h);
    return h != nullptr;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR name, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id) {
    return CreateEx(0, className, name, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) {
        platform::RemoveMessageFilters(m_hWnd);
        // The object may be deleted by PostNcDestroy: nothing of it is touched afterwards.
        m_current = Current{msg, wp, lp};
        OnNcDestroy();
        return 0;
    }
    if (LRESULT filtered = 0; platform::RunMessageFilters(m_hWnd, msg, wp, lp, &filtered))
        return filtered;
    Current saved = m_current;
    m_current = Current{msg, wp, lp};
    // A handler may destroy the window and with it the object (frames and views do).
    bool deleted = false;
    bool* outer = m_pDeleted;
    m_pDeleted = &deleted;
    LRESULT result = 0;
    BOOL handled = OnWndMsg(msg, wp, lp, &result);
    if (!deleted && !handled)
        result = DefWindowProc(msg, wp, lp);
    if (deleted) {
        if (outer)
            *outer = true;
        return result;
    }
    m_pDeleted = outer;
    m_current = saved;
    return result;
}

void CWnd::OnNcDestroy() {
    Default();
    Detach();
    PostNcDestroy();
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.msg, m_current.wp, m_current.lp);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(platform::GetClassProc(m_hWnd), m_hWnd, msg, wp, lp);
}

BOOL CWnd::OnCommand(WPARAM wp, LPARAM lp) {
    // Menus (0) and accelerators (1) send commands; controls send their notification code.
    int code = lp ? int(HIWORD(wp)) : CN_COMMAND;
    return OnCmdMsg(LOWORD(wp), code, nullptr, nullptr);
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    LRESULT r = 0;
    CPoint pt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    switch (msg) {
    case WM_COMMAND:
        if (!OnCommand(wp, lp))
            return FALSE;
        break;
    case WM_CREATE:
        r = OnCreate(reinterpret_cast<CREATESTRUCTW*>(lp));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        r = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wp)));
        break;
    case WM_TIMER:
        OnTimer(wp);
        break;
    case WM_SIZE:
        OnSize(UINT(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_ACTIVATE: {
        // Activation coming from or going to a window outside this one's owner chain (another
        // program's, or none) is told to the top of the chain too.
        auto root = [](HWND h) {
            while (HWND up = ::GetParent(h))
                h = up;
            return h;
        };
        HWND other = reinterpret_cast<HWND>(lp);
        HWND top = root(m_hWnd);
        if (!other || !::IsWindow(other) || root(other) != top)
            ::SendMessageW(top, WM_ACTIVATETOPLEVEL, wp, lp);
        if (::IsWindow(m_hWnd))
            OnActivate(LOWORD(DWORD(wp)), FromHandle(other), HIWORD(DWORD(wp)));
        break;
    }
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wp)));
        break;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wp)));
        break;
    case WM_ENABLE:
        OnEnable(BOOL(wp));
        break;
    case WM_SHOWWINDOW:
        OnShowWindow(BOOL(wp), UINT(lp));
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lp)));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(UINT(wp), pt);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(UINT(wp), pt);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(UINT(wp), pt);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(UINT(wp), pt);
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(UINT(wp), pt);
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(UINT(wp), pt);
        break;
    case WM_MOUSEWHEEL:
        r = OnMouseWheel(LOWORD(wp), short(HIWORD(wp)), pt);
        break;
    case WM_KEYDOWN:
        OnKeyDown(UINT(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        break;
    case WM_KEYUP:
        OnKeyUp(UINT(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        break;
    case WM_CHAR:
        OnChar(UINT(wp), LOWORD(DWORD_PTR(lp)), HIWORD(DWORD_PTR(lp)));
        break;
    case WM_SETCURSOR:
        r = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wp)), LOWORD(DWORD_PTR(lp)),
                        HIWORD(DWORD_PTR(lp)));
        break;
    default:
        return FALSE;
    }
    if (result)
        *result = r;
    return TRUE;
}

void CWnd::GetWindowText(CString& text) const {
    int n = GetWindowTextLength();
    std::wstring buf(size_t(n) + 1, L'\0');
    int got = ::GetWindowTextW(m_hWnd, buf.data(), n + 1);
    buf.resize(size_t(got > 0 ? got : 0));
    text = CString(buf);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    CWnd* c = GetDlgItem(id);
    if (!c) {
        text.Empty();
        return 0;
    }
    c->GetWindowText(text);
    return text.GetLength();
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    DWORD style = GetStyle();
    DWORD next = (style & ~remove) | add;
    if (next == style)
        return FALSE;
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, LONG_PTR(next));
    return TRUE;
}

int CWnd::ReleaseDC(CDC* dc) {
    if (!dc)
        return 0;
    int r = ::ReleaseDC(m_hWnd, dc->m_hDC);
    // The handle is gone: the wrapper must not delete it (or a later one at the same address).
    dc->Detach();
    return r;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::CenterWindow(CWnd* over) {
    if (!m_hWnd)
        return;
    HWND ref = over ? over->m_hWnd : ::GetParent(m_hWnd);
    if (ref && (!::IsWindowVisible(ref) || (GetWindowLongPtrW(ref, GWL_STYLE) & WS_MINIMIZE)))
        ref = nullptr;
    bool child = (GetStyle() & WS_CHILD) != 0;
    // Over the reference window, kept on the work area of the monitor it is on (the primary
    // monitor without one).
    RECT area{};
    HMONITOR monitor = nullptr;
    if (ref) {
        ::GetWindowRect(ref, &area);
        monitor = MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST);
    } else {
        monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    RECT desk{};
    if (GetMonitorInfoW(monitor, &info))
        desk = info.rcWork;
    else
        ::GetWindowRect(::GetDesktopWindow(), &desk);
    if (!ref)
        area = desk;
    RECT me{};
    ::GetWindowRect(m_hWnd, &me);
    int cx = me.right - me.left, cy = me.bottom - me.top;
    int x = area.left + (area.right - area.left - cx) / 2;
    int y = area.top + (area.bottom - area.top - cy) / 2;
    if (!child) {
        x = std::max<int>(desk.left, std::min<int>(x, desk.right - cx));
        y = std::max<int>(desk.top, std::min<int>(y, desk.bottom - cy));
    } else {
        POINT p{x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CWnd* AfxGetMainWnd() {
    return MainWnd();
}

void AfxSetMainWnd(CWnd* wnd) {
    MainWnd() = wnd;
}

BOOL AfxLoadString(UINT id, CString& out) {
    std::wstring s;
    if (!platform::LoadResourceString(id, s)) {
        out.Empty();
        return FALSE;
    }
    out = CString(s);
    return TRUE;
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT) {
    CWnd* main = AfxGetMainWnd();
    return platform::ShowMessageBox(main ? main->m_hWnd : nullptr, text, L"", type, 0);
}

int AfxMessageBox(UINT stringId, UINT type, UINT) {
    CString text;
    AfxLoadString(stringId, text);
    CWnd* main = AfxGetMainWnd();
    return platform::ShowMessageBox(main ? main->m_hWnd : nullptr, text, L"", type, stringId);
}

// The class library's window: a CObject bound to a window handle. Messages reach it through
// WindowProc, which dispatches to the virtual handlers below; what they leave goes to the
// window class's own procedure.
#pragma once

#include "platform/core/crect.h"
#include "platform/core/cstring.h"
#include "platform/core/exceptions.h"
#include "platform/core/object.h"
#include "platform/framework/cmd_target.h"
#include "platform/graphics/dc.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window.h"

class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // The object bound to the handle, or a temporary wrapper that lives until DeleteTempMap.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    static void DeleteTempMap();
    // The owner a dialog should get: the top-level window above parent, or the main window.
    static CWnd* GetSafeOwner(CWnd* parent = nullptr, HWND* topLevel = nullptr);

    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Binds the object to an existing window so that its messages come here first.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Called once the object is bound to its window (created or subclassed), before any other
    // message of it reaches the object.
    virtual void PreSubclassWindow() {}

    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style,
                          const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL Create(LPCWSTR className, LPCWSTR name, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    // Dispatch.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual BOOL OnCommand(WPARAM wp, LPARAM lp);
    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange*) {}
    // Default handling of the message being handled now.
    LRESULT Default();

    // Handlers; each default passes the message on.
    virtual int OnCreate(CREATESTRUCTW*) { return int(Default()); }
    virtual void OnDestroy() { Default(); }
    virtual void OnNcDestroy();
    virtual void OnPaint() { Default(); }
    virtual BOOL OnEraseBkgnd(CDC*) { return BOOL(Default()); }
    virtual void OnTimer(UINT_PTR) { Default(); }
    virtual void OnSize(UINT, int, int) { Default(); }
    virtual void OnClose() { Default(); }
    virtual void OnSetFocus(CWnd*) { Default(); }
    virtual void OnKillFocus(CWnd*) { Default(); }
    // state: WA_INACTIVE, WA_ACTIVE or WA_CLICKACTIVE; other: the window losing or gaining it.
    virtual void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    virtual void OnEnable(BOOL) { Default(); }
    virtual void OnShowWindow(BOOL, UINT) { Default(); }
    virtual void OnCaptureChanged(CWnd*) { Default(); }
    // Views answer whether they handled the move; the dispatch does not look at the result.
    virtual int OnMouseMove(UINT, CPoint) { return int(Default()); }
    virtual void OnLButtonDown(UINT, CPoint) { Default(); }
    virtual void OnLButtonUp(UINT, CPoint) { Default(); }
    virtual void OnLButtonDblClk(UINT, CPoint) { Default(); }
    virtual void OnRButtonDown(UINT, CPoint) { Default(); }
    virtual void OnRButtonUp(UINT, CPoint) { Default(); }
    virtual BOOL OnMouseWheel(UINT, short, CPoint) { return BOOL(Default()); }
    virtual void OnKeyDown(UINT, UINT, UINT) { Default(); }
    virtual void OnKeyUp(UINT, UINT, UINT) { Default(); }
    virtual void OnChar(UINT, UINT, UINT) { Default(); }
    virtual BOOL OnSetCursor(CWnd*, UINT, UINT) { return BOOL(Default()); }

    // Window operations.
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageW(m_hWnd, msg, wp, lp);
    }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::PostMessageW(m_hWnd, msg, wp, lp);
    }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetTopLevelParent() const;
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetDlgItemText(int id, LPCWSTR text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    int GetDlgItemText(int id, CString& text) const;
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    DWORD GetStyle() const { return DWORD(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    void MoveWindow(LPCRECT r, BOOL repaint = TRUE) {
        MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint);
    }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
    }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE) {
        ::InvalidateRgn(m_hWnd, rgn ? rgn->m_hObject : nullptr, erase);
    }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    int GetUpdateRgn(CRgn* rgn, BOOL erase = FALSE) const {
        return ::GetUpdateRgn(m_hWnd, rgn ? rgn->m_hObject : nullptr, erase);
    }
    BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE) {
        return ::GetUpdateRect(m_hWnd, rect, erase);
    }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* dc);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    // Centres the window over `over`, else its parent or owner, else the desktop; it is kept
    // on the desktop.
    void CenterWindow(CWnd* over = nullptr);

protected:
    // The message being handled, for Default().
    struct Current {
        UINT msg = 0;
        WPARAM wp = 0;
        LPARAM lp = 0;
    } m_current;

private:
    // Set while a message is handled; the destructor marks it so WindowProc stops touching us.
    bool* m_pDeleted = nullptr;
};

// The application's main window; null until the application sets it.
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* wnd);

// Message boxes with the main window as owner; the string-id form records the id for tests.
int AfxMessageBox(LPCWSTR text, UINT type = 0, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = 0, UINT helpId = 0);
BOOL AfxLoadString(UINT id, CString& out);

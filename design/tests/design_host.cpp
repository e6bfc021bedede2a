#include "design/tests/design_host.h"

#include "pivora/framework/jox_child_wnd.h"
#include "platform/framework/context_menu_manager.h"
#include "platform/framework/frame_messages.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/resources.h"
#include "qvutils/qv_utils.h"

#include <algorithm>
#include <sstream>

// Qt's font database keeps what fontconfig gives it for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

IMPLEMENT_DYNCREATE(CRecordingTool, CDesignTool)

namespace {

std::string At(const char* what, UINT flags, const CPoint& p) {
    std::ostringstream s;
    s << what << ' ' << p.x << ',' << p.y << " flags=" << flags;
    return s.str();
}

std::string Key(const char* what, UINT key, UINT repeat, UINT flags) {
    std::ostringstream s;
    s << what << ' ' << key << " repeat=" << repeat << " flags=" << flags;
    return s.str();
}

} // namespace

std::vector<std::string> CRecordingTool::Named(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            out.push_back(c);
    return out;
}

void CRecordingTool::OnActivate(CDesignView*, BOOL active, CView*, CView*) {
    Note(active ? "Activate 1" : "Activate 0");
}
void CRecordingTool::OnInit(CDesignView* view, int how) {
    Note("Init " + std::to_string(how));
    CDesignTool::OnInit(view, how);
}
void CRecordingTool::OnExit(CDesignView* view, int how) {
    Note("Exit " + std::to_string(how));
    CDesignTool::OnExit(view, how);
}
BOOL CRecordingTool::OnPaint(CDesignView*) {
    Note("Paint");
    return paints;
}
void CRecordingTool::OnDraw(CDesignView* view, CJoxDC* dc) {
    Note("Draw");
    if (redraw)
        redraw->fnRedrawCursor(view, dc);
}
void CRecordingTool::OnLButtonDown(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("LButtonDown", flags, p));
}
void CRecordingTool::OnLButtonUp(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("LButtonUp", flags, p));
}
void CRecordingTool::OnLButtonDblClk(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("LButtonDblClk", flags, p));
}
void CRecordingTool::OnMButtonDown(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("MButtonDown", flags, p));
}
void CRecordingTool::OnMButtonUp(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("MButtonUp", flags, p));
}
void CRecordingTool::OnRButtonDown(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("RButtonDown", flags, p));
}
void CRecordingTool::OnRButtonUp(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("RButtonUp", flags, p));
}
void CRecordingTool::OnRButtonDblClk(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("RButtonDblClk", flags, p));
}
void CRecordingTool::OnMouseMove(CDesignView*, UINT flags, const CPoint& p) {
    Note(At("MouseMove", flags, p));
}
BOOL CRecordingTool::OnSetCursor(CDesignView*, CWnd*, UINT hitTest, UINT message) {
    Note("SetCursor " + std::to_string(hitTest) + " " + std::to_string(message));
    return setsCursor;
}
void CRecordingTool::OnTimer(CDesignView*, UINT id) {
    Note("Timer " + std::to_string(id));
}
void CRecordingTool::OnKeyDown(CDesignView*, UINT key, UINT repeat, UINT flags) {
    Note(Key("KeyDown", key, repeat, flags));
}
void CRecordingTool::OnKeyUp(CDesignView*, UINT key, UINT repeat, UINT flags) {
    Note(Key("KeyUp", key, repeat, flags));
}
void CRecordingTool::OnChar(CDesignView*, UINT ch, UINT repeat, UINT flags) {
    Note(Key("Char", ch, repeat, flags));
}
LRESULT CRecordingTool::OnIdleUpdateCmdUI(CDesignView*, WPARAM, LPARAM) {
    Note("IdleUpdate");
    return 0;
}
int CRecordingTool::ContextMenuID(CDesignView*) {
    Note("ContextMenuID");
    return contextMenu;
}
void CRecordingTool::OnScroll(CDesignView* view, bool vertical, UINT code, UINT pos,
                              CScrollBar* bar) {
    Note(std::string(vertical ? "VScroll " : "HScroll ") + std::to_string(code));
    CDesignTool::OnScroll(view, vertical, code, pos, bar);
}
void CRecordingTool::OnZoom(CDesignView*, bool zoomIn) {
    Note(zoomIn ? "Zoom in" : "Zoom out");
}
BOOL CRecordingTool::fnGetCaretPos(CPoint& c, CPoint& other) {
    c = caretPoint;
    other = caretOther;
    return caret;
}
void CRecordingTool::DrawSelection(CDesignView*, bool show) {
    Note(show ? "DrawSelection 1" : "DrawSelection 0");
}
BOOL CRecordingTool::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    if (std::find(takes.begin(), takes.end(), id) != takes.end()) {
        if (code == CN_COMMAND && !IsQuery(handlerInfo))
            Note("Command " + std::to_string(id));
        return TRUE;
    }
    return CDesignTool::OnCmdMsg(id, code, extra, handlerInfo);
}

// The probe ------------------------------------------------------------------------------------

CCmdUIProbe::CCmdUIProbe(UINT id, bool menu) {
    m_nID = id;
    if (menu) {
        m_pMenu = ::CreatePopupMenu();
        ::AppendMenuW(m_pMenu, MF_STRING, id, L"item");
        m_nIndex = 0;
        m_nIndexMax = 1;
    }
}

CCmdUIProbe::~CCmdUIProbe() {
    if (m_pMenu)
        ::DestroyMenu(m_pMenu);
}

void CCmdUIProbe::Enable(BOOL on) {
    enabled = on ? 1 : 0;
    m_bEnableChanged = TRUE;
}

void CCmdUIProbe::SetCheck(int check) {
    checked = check;
}

void CCmdUIProbe::SetText(LPCWSTR t) {
    text = t ? t : L"";
    textSet = true;
}

ULONG_PTR CCmdUIProbe::MenuItemData() const {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!m_pMenu || !::GetMenuItemInfoW(m_pMenu, 0, TRUE, &info))
        return 0;
    return info.dwItemData;
}

// The host --------------------------------------------------------------------------------------

void DesignHost::SetUp() {
    QvResetAppParamCache();
    QvResetPreferenceCache();
    platform::ResetMessageQueue();
    CJoxView::SetRedrawAll(1);
    m_scopedClock = std::make_unique<platform::ScopedClock>(m_clock);
    platform::RegisterStrings({{kTemplateId, L"\nDesign\nDesign\n\n\nDesign\nDesign"}});
    platform::SetMenuResponder([this](HMENU menu, int, int, HWND) -> UINT {
        m_popups.push_back(::GetMenuItemID(menu, 0));
        return 0;
    });
    m_app.SetContextCount(100);
    m_app.InitContextMenuManager();
    m_tmpl =
        new CJoxDocTemplate(kTemplateId, RUNTIME_CLASS(CDesignPage), RUNTIME_CLASS(CJoxChildWnd),
                            RUNTIME_CLASS(CDesignView), CDesignView::kContext);
    m_app.AddDocTemplate(CDesignView::kContext, m_tmpl, 1);
    m_frame = new CJoxToolbarFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, L"Kelvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(0, 0, 1000, 800)));
    AfxSetMainWnd(m_frame);
    m_status = new CStatusBar;
    const UINT panes[] = {0, 0, CDesignView::ID_PANE_EXTENTS, CDesignView::ID_PANE_COUNT};
    ASSERT_TRUE(m_status->Create(m_frame));
    m_status->SetIndicators(panes, 4);
}

void DesignHost::TearDown() {
    m_record.reset();
    if (m_frame && ::IsWindow(m_frame->m_hWnd)) {
        if (view && ::IsWindow(view->m_hWnd))
            platform::SetWindowSurface(view->m_hWnd, nullptr);
        m_frame->DestroyWindow();
    }
    delete m_status;
    m_status = nullptr;
    AfxSetMainWnd(nullptr);
    platform::SetMenuResponder(nullptr);
    platform::ResetMessageQueue();
    m_scopedClock.reset();
    QvResetPreferenceCache();
    QvResetAppParamCache();
}

CDesignView* DesignHost::Open(const wchar_t* path, bool withTool) {
    CDocument* doc = m_tmpl->OpenDocumentFile(path);
    page = dynamic_cast<CDesignPage*>(doc);
    if (!page)
        return nullptr;
    POSITION pos = page->GetFirstViewPosition();
    view = pos ? dynamic_cast<CDesignView*>(page->GetNextView(pos)) : nullptr;
    if (!view)
        return nullptr;
    // The child frame as large as the view must be, then the view exactly that size.
    if (CWnd* child = view->GetParent()) {
        child->MoveWindow(0, 0, kViewWidth + 40, kViewHeight + 60);
    }
    // The client area, less the scroll bars the view always shows, gets the fixed size.
    view->MoveWindow(0, 0, kViewWidth, kViewHeight);
    CRect client;
    view->CWnd::GetClientRect(&client);
    view->MoveWindow(0, 0, 2 * kViewWidth - client.Width(), 2 * kViewHeight - client.Height());
    Pump();
    if (withTool)
        InstallTool();
    return view;
}

CRecordingTool* DesignHost::InstallTool() {
    tool = new CRecordingTool;
    view->SelectDesignTool(tool, 1);
    tool->Clear();
    return tool;
}

LRESULT DesignHost::Send(UINT msg, WPARAM wp, LPARAM lp) {
    return view->SendMessage(msg, wp, lp);
}

void DesignHost::Post(UINT msg, WPARAM wp, LPARAM lp) {
    view->PostMessage(msg, wp, lp);
}

void DesignHost::Pump() {
    MSG msg;
    // Bounded: a handler that keeps posting must not hang a test. The frame's idle update
    // runs when the queue is empty, as the application's loop runs it.
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (msg.message == WM_QUIT)
                break;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (round == 0 && m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    }
}

void DesignHost::Advance(ULONGLONG ms) {
    m_clock.Advance(ms);
    Pump();
}

LRESULT DesignHost::Mouse(UINT msg, CPoint client, UINT flags) {
    Pointer(client);
    return Send(msg, flags, MAKELPARAM(WORD(client.x), WORD(client.y)));
}

LRESULT DesignHost::Wheel(short delta, UINT keys) {
    return Send(WM_MOUSEWHEEL, MAKEWPARAM(WORD(keys), WORD(delta)), 0);
}

void DesignHost::Pointer(CPoint client) {
    POINT screen = client;
    ::ClientToScreen(view->m_hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
}

LRESULT DesignHost::Command(UINT id) {
    return Send(WM_COMMAND, MAKEWPARAM(WORD(id), 0), 0);
}

std::unique_ptr<CCmdUIProbe> DesignHost::Update(UINT id, bool menu) {
    auto probe = std::make_unique<CCmdUIProbe>(id, menu);
    probe->DoUpdate(view, TRUE);
    return probe;
}

CString DesignHost::Pane(int index) const {
    return m_status->GetPaneText(index);
}

CRect DesignHost::Invalid() const {
    CRect r(0, 0, 0, 0);
    if (!::GetUpdateRect(view->m_hWnd, &r, FALSE))
        return CRect(0, 0, 0, 0);
    return r;
}

void DesignHost::Validate() {
    ::ValidateRect(view->m_hWnd, nullptr);
}

void DesignHost::Paint() {
    m_frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    view->UpdateWindow();
}

platform::RecordingSurface& DesignHost::Record() {
    if (!m_record) {
        m_record = std::make_unique<platform::RecordingSurface>(kViewWidth, kViewHeight);
        platform::SetWindowSurface(view->m_hWnd, m_record.get());
    }
    return *m_record;
}

CPoint DesignHost::Inside() const {
    const int ruler = view ? view->GetRulerSize().cx : 0;
    return CPoint(ruler + 100, ruler + 100);
}

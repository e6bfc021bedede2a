// The design window test host: an application with the design template of context 43, a main
// frame with its status bar, and one design opened through the template in a view of fixed
// size. Tests drive the view by messages, keys, the pointer and timers on an injected clock,
// run commands and their updates through a probe, and read the status panes, message boxes,
// popup menus, invalidations and (when asked) a recording surface on the view.
#pragma once

#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "design/document/custom_cursor.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_doc_template.h"
#include "pivora/framework/jox_win_app_ex.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/status_bar.h"
#include "platform/graphics/surface.h"
#include "platform/system/clock.h"
#include "platform/tests/settings_sandbox.h"
#include "platform/windowing/message.h"
#include "platform/windowing/message_box.h"
#include "toolbars/jox_toolbar_frame_wnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const CRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

// A tool that records every operation the view routes to it, one line each ("LButtonDown
// 10,20 flags=1"), and answers with the values a test sets.
class CRecordingTool : public CDesignTool {
    DECLARE_DYNCREATE(CRecordingTool)
public:
    CRecordingTool() : CDesignTool(0) {}

    std::vector<std::string> calls;
    int contextMenu = 0;
    BOOL paints = FALSE;
    BOOL setsCursor = TRUE;
    BOOL caret = FALSE;
    CPoint caretPoint{0, 0}, caretOther{0, 0};
    // Commands the tool takes over.
    std::vector<UINT> takes;
    // A software cursor redrawn after each paint, as tools with a cursor do.
    CCustomCursor* redraw = nullptr;

    void Clear() { calls.clear(); }
    // The calls whose line starts with prefix.
    std::vector<std::string> Named(const std::string& prefix) const;

    void OnActivate(CDesignView*, BOOL active, CView*, CView*) override;
    void OnInit(CDesignView* view, int how) override;
    void OnExit(CDesignView* view, int how) override;
    BOOL OnPaint(CDesignView*) override;
    void OnDraw(CDesignView* view, CJoxDC* dc) override;
    using CDesignTool::OnDraw;
    void OnLButtonDown(CDesignView*, UINT flags, const CPoint& p) override;
    void OnLButtonUp(CDesignView*, UINT flags, const CPoint& p) override;
    void OnLButtonDblClk(CDesignView*, UINT flags, const CPoint& p) override;
    void OnMButtonDown(CDesignView*, UINT flags, const CPoint& p) override;
    void OnMButtonUp(CDesignView*, UINT flags, const CPoint& p) override;
    void OnRButtonDown(CDesignView*, UINT flags, const CPoint& p) override;
    void OnRButtonUp(CDesignView*, UINT flags, const CPoint& p) override;
    void OnRButtonDblClk(CDesignView*, UINT flags, const CPoint& p) override;
    void OnMouseMove(CDesignView*, UINT flags, const CPoint& p) override;
    BOOL OnSetCursor(CDesignView*, CWnd*, UINT hitTest, UINT message) override;
    void OnTimer(CDesignView*, UINT id) override;
    void OnKeyDown(CDesignView*, UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(CDesignView*, UINT key, UINT repeat, UINT flags) override;
    void OnChar(CDesignView*, UINT ch, UINT repeat, UINT flags) override;
    LRESULT OnIdleUpdateCmdUI(CDesignView*, WPARAM, LPARAM) override;
    int ContextMenuID(CDesignView*) override;
    void OnScroll(CDesignView*, bool vertical, UINT code, UINT pos, CScrollBar*) override;
    void OnZoom(CDesignView*, bool zoomIn) override;
    BOOL fnGetCaretPos(CPoint& caret, CPoint& other) override;
    void DrawSelection(CDesignView*, bool show) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

private:
    void Note(const std::string& line) { calls.push_back(line); }
};

// What a command's update did: the probe records instead of touching a control. As a menu
// item it lives in a popup of its own, so hidden marks and texts can be read back.
class CCmdUIProbe : public CCmdUI {
public:
    explicit CCmdUIProbe(UINT id, bool menu);
    ~CCmdUIProbe() override;
    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetText(LPCWSTR text) override;

    int enabled = -1; // -1: not touched
    int checked = -1;
    std::wstring text;
    bool textSet = false;
    // The item data of the menu item (1: hidden by its frame).
    ULONG_PTR MenuItemData() const;
};

class DesignHost : public ::testing::Test {
protected:
    static constexpr int kViewWidth = 640, kViewHeight = 480;
    static constexpr UINT kTemplateId = 28200;

    void SetUp() override;
    void TearDown() override;

    // Opens a design through the template (a new one for null) and makes its view the given
    // size; the posted start-up messages are dispatched. The view's tool is the recording tool
    // unless withTool is false.
    CDesignView* Open(const wchar_t* path = nullptr, bool withTool = true);
    // Installs a fresh recording tool as the page's design tool; it is current at once.
    CRecordingTool* InstallTool();

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
    void Post(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
    // Dispatches every posted message (and the paints and timers that then fall due).
    void Pump();
    // Moves the injected clock on and pumps, so timers that fall due fire.
    void Advance(ULONGLONG ms);
    // Mouse messages at a client point, with the key state the flags say.
    LRESULT Mouse(UINT msg, CPoint client, UINT flags = 0);
    LRESULT Wheel(short delta, UINT keys);
    void SetKey(int vk, bool down) { platform::SetKeyDown(vk, down); }
    // Puts the system pointer over a client point of the view.
    void Pointer(CPoint client);
    // Runs a command as the menu does: WM_COMMAND to the view.
    LRESULT Command(UINT id);
    // The update of a command through the view's routing.
    std::unique_ptr<CCmdUIProbe> Update(UINT id, bool menu = true);
    CString Pane(int index) const;
    // The area waiting to be painted, in client pixels (empty when none).
    CRect Invalid() const;
    void Validate();
    // Paints whatever is invalid now.
    void Paint();
    // Draws the view's later drawing into a recording surface (until the test ends).
    platform::RecordingSurface& Record();
    // A point well inside the document area of the view.
    CPoint Inside() const;
    // Popup menus shown (their first item id) since the test began.
    const std::vector<UINT>& Popups() const { return m_popups; }

    SettingsSandbox m_box;
    platform::ManualClock m_clock{100000};
    std::unique_ptr<platform::ScopedClock> m_scopedClock;
    platform::MessageBoxResponder m_boxes;
    CJoxWinAppEx m_app;
    CJoxDocTemplate* m_tmpl = nullptr;
    CJoxToolbarFrameWnd* m_frame = nullptr;
    CStatusBar* m_status = nullptr;
    CDesignPage* page = nullptr;
    CDesignView* view = nullptr;
    CRecordingTool* tool = nullptr;

private:
    std::unique_ptr<platform::RecordingSurface> m_record;
    std::vector<UINT> m_popups;
};

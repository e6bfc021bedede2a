#include "platform/framework/status_bar.h"

#include "platform/framework/cmd_ui.h"
#include "platform/framework/frame_wnd.h"
#include "platform/windowing/ui_notify.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

// The update of one pane: enabling greys its text, SetText writes it.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar* bar) : m_bar(bar) {}
    void Enable(BOOL on) override {
        m_bEnableChanged = TRUE;
        UINT style = m_bar->GetPaneStyle(int(m_nIndex));
        m_bar->SetPaneStyle(int(m_nIndex), on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED));
    }
    void SetCheck(int check) override {
        UINT style = m_bar->GetPaneStyle(int(m_nIndex));
        m_bar->SetPaneStyle(int(m_nIndex), check ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT));
    }
    void SetText(LPCWSTR text) override { m_bar->SetPaneText(int(m_nIndex), text); }

private:
    CStatusBar* m_bar;
};

} // namespace

CStatusBar::CStatusBar() {
    m_nHeight = kHeight;
}

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (!CreateBar(L"", style, parent, id))
        return FALSE;
    if (m_pDockSite)
        m_pDockSite->RecalcLayout();
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (count < 0 || (count > 0 && !ids))
        return FALSE;
    m_panes.clear();
    for (int i = 0; i < count; ++i) {
        Pane p;
        p.id = ids[i];
        if (p.id != ID_SEPARATOR)
            AfxLoadString(p.id, p.text);
        p.style = i == 0 ? (SBPS_NOBORDERS | SBPS_STRETCH) : SBPS_NORMAL;
        p.width = i == 0 ? 0 : std::max(20, p.text.GetLength() * 8);
        m_panes.push_back(p);
    }
    platform::NotifyUi(platform::UiChange::StatusText, m_hWnd, this);
    return TRUE;
}

UINT CStatusBar::GetItemID(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[size_t(index)].id : 0;
}

int CStatusBar::CommandToIndex(UINT id) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[size_t(i)].id == id)
            return i;
    return -1;
}

BOOL CStatusBar::SetPaneText(int index, LPCWSTR text, BOOL update) {
    if (index < 0 || index >= GetCount())
        return FALSE;
    CString next = text ? text : L"";
    if (m_panes[size_t(index)].text == next)
        return TRUE;
    m_panes[size_t(index)].text = next;
    if (update && m_hWnd)
        Invalidate(TRUE);
    platform::NotifyUi(platform::UiChange::StatusText, m_hWnd, this);
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[size_t(index)].text : CString();
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    if (index < 0 || index >= GetCount()) {
        id = style = 0;
        width = 0;
        return;
    }
    const Pane& p = m_panes[size_t(index)];
    id = p.id;
    style = p.style;
    width = p.width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= GetCount())
        return;
    Pane& p = m_panes[size_t(index)];
    p.id = id;
    p.style = style;
    p.width = width;
    platform::NotifyUi(platform::UiChange::StatusText, m_hWnd, this);
}

UINT CStatusBar::GetPaneStyle(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[size_t(index)].style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
    if (index < 0 || index >= GetCount() || m_panes[size_t(index)].style == style)
        return;
    m_panes[size_t(index)].style = style;
    platform::NotifyUi(platform::UiChange::StatusText, m_hWnd, this);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    CStatusCmdUI ui(this);
    ui.m_pOther = this;
    ui.m_nIndexMax = UINT(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[size_t(i)].id == ID_SEPARATOR)
            continue;
        ui.m_nIndex = UINT(i);
        ui.m_nID = m_panes[size_t(i)].id;
        ui.DoUpdate(target, disableIfNoHandler);
    }
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
    CSize s = CControlBar::CalcFixedLayout(stretch, horizontal);
    s.cy = kHeight;
    return s;
}

BOOL CStatusBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_SETTEXT) {
        // The window's text is the message pane's.
        if (!m_panes.empty())
            SetPaneText(0, reinterpret_cast<LPCWSTR>(lp));
        return FALSE; // the window keeps the text too
    }
    return CControlBar::OnWndMsg(msg, wp, lp, result);
}

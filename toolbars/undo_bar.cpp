#include "toolbars/undo_bar.h"

#include "pivora/framework/jox_view.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/visual_look.h"
#include "platform/graphics/dc.h"
#include "platform/graphics/gdi_objects.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CUndoBar, CWnd)

CUndoBar::TransactionNamesFn CUndoBar::s_pFnUndoTransactionNames = nullptr;

namespace {

CString LoadText(UINT id, const wchar_t* fallback) {
    CString text;
    if (!AfxLoadString(id, text) || text.IsEmpty())
        text = fallback;
    return text;
}

CJoxView* ActiveDesignView() {
    auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CFrameWnd* frame = main ? main->GetActiveFrame() : nullptr;
    return frame ? dynamic_cast<CJoxView*>(frame->GetActiveView()) : nullptr;
}

} // namespace

CUndoBar::~CUndoBar() {
    if (::IsWindow(m_wndList.m_hWnd))
        m_wndList.DestroyWindow();
}

CJoxView* CUndoBar::GetView() const {
    return m_hViewWnd && ::IsWindow(m_hViewWnd) ? m_pView : nullptr;
}

BOOL CUndoBar::Create(CWnd* parent, CPoint topLeft) {
    if (!CreateEx(0, nullptr, L"", (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE,
                  CRect(topLeft.x, topLeft.y, topLeft.x + 1, topLeft.y + 1), parent, 0))
        return FALSE;
    if (!m_wndList.Create(CRect(0, 0, 1, 1), this, m_bRedo ? kRedoListId : kUndoListId))
        return FALSE;
    m_pView = ActiveDesignView();
    m_hViewWnd = m_pView ? m_pView->m_hWnd : nullptr;
    Fill();
    const CSize size = CalcSize();
    MoveWindow(topLeft.x, topLeft.y, size.cx, size.cy);
    Layout();
    return TRUE;
}

void CUndoBar::Fill() {
    CDC* dc = GetDC();
    const int fontHeight = dc ? std::max<int>(1, dc->GetTextExtent(L"Ag").cy) : 13;
    m_wndList.SetItemHeight(fontHeight + 3);
    int widest = 0;
    if (s_pFnUndoTransactionNames) {
        const CStringArray& names = s_pFnUndoTransactionNames(GetView(), m_bRedo);
        const CString unnamed = LoadText(IDS_UNNAMED_ACTION, L"<Unnamed action>");
        for (int i = 0; i < int(names.GetSize()); ++i) {
            const CString& text = names[i].IsEmpty() ? unnamed : names[i];
            m_wndList.AddEntry(text);
            if (dc)
                widest = std::max<int>(widest, dc->GetTextExtent(text).cx);
        }
    }
    m_nListWidth = widest + 8;
    if (m_wndList.GetCount() > 0)
        m_wndList.SelectUpTo(0);
    else
        UpdateLabel(0);
    m_nLabelHeight = fontHeight * 5 / 3;
    if (dc) {
        m_nListWidth = std::max<int>(m_nListWidth, dc->GetTextExtent(m_strLabel).cx * 3 / 2);
        ReleaseDC(dc);
    }
}

CSize CUndoBar::CalcSize() const {
    const int rows = std::min(m_wndList.GetCount(), nMaxShownTransactions);
    return CSize(m_nListWidth, rows * m_wndList.GetItemHeight() + m_nLabelHeight);
}

void CUndoBar::Layout() {
    CRect client;
    GetClientRect(&client);
    m_rectLabel = CRect(client.left, client.bottom - m_nLabelHeight, client.right, client.bottom);
    m_wndList.MoveWindow(client.left, client.top, client.Width(),
                         std::max(0, client.Height() - m_nLabelHeight));
    m_wndList.SetTopIndex(0);
}

void CUndoBar::UpdateLabel(int n) {
    const CString format = m_bRedo ? LoadText(IDS_REDO_ACTIONS, L"Redo %d Action(s)")
                                   : LoadText(IDS_UNDO_ACTIONS, L"Undo %d Action(s)");
    m_strLabel.Format(format, n);
    PaintLabel();
}

void CUndoBar::PaintLabel() {
    if (::IsWindow(m_hWnd) && !m_rectLabel.IsRectEmpty())
        ::RedrawWindow(m_hWnd, &m_rectLabel, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CUndoBar::OnPaint() {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    if (!m_rectLabel.IsRectEmpty()) {
        dc.FillSolidRect(&m_rectLabel, platform::GetBarBackgroundColour());
        CRect inner = m_rectLabel;
        inner.DeflateRect(1, 1);
        CRgn clip;
        if (!inner.IsRectEmpty() && clip.CreateRectRgnIndirect(&inner)) {
            dc.SelectClipRgn(&clip);
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(platform::GetBarTextColour());
            const CSize text = dc.GetTextExtent(m_strLabel);
            dc.TextOut(inner.left + (inner.Width() - text.cx) / 2,
                       inner.top + (inner.Height() - text.cy) / 2, m_strLabel);
            dc.SelectClipRgn(nullptr);
        }
    }
    dc.Detach();
    ::EndPaint(m_hWnd, &ps);
}

void CUndoBar::DoUndo(int n) {
    if (CWnd* parent = GetParent(); parent && ::IsWindow(parent->m_hWnd))
        parent->PostMessage(WM_CLOSE);
    // The design window may have closed while the list was open: post only to a live one.
    if (!m_hViewWnd || !::IsWindow(m_hViewWnd))
        return;
    for (int i = 0; i < n; ++i)
        ::PostMessageW(m_hViewWnd, WM_COMMAND, m_bRedo ? ID_EDIT_REDO : ID_EDIT_UNDO, 0);
}

BOOL CUndoBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if ((msg == WM_KEYDOWN || msg == WM_MOUSEWHEEL) && ::IsWindow(m_wndList.m_hWnd)) {
        const LRESULT r = m_wndList.SendMessage(msg, wp, lp);
        if (result)
            *result = r;
        return TRUE;
    }
    if (msg == WM_SIZE) {
        Layout();
    }
    // The display's list reports a click on an entry as its choice: that many actions go.
    if (msg == WM_COMMAND && HIWORD(DWORD(wp)) == LBN_SELCHANGE &&
        LOWORD(DWORD(wp)) == (m_bRedo ? kRedoListId : kUndoListId)) {
        if (const int i = m_wndList.GetCurSel(); i >= 0) {
            m_wndList.SelectUpTo(i);
            DoUndo(i + 1);
        }
        if (result)
            *result = 0;
        return TRUE;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

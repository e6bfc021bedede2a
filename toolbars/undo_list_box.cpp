#include "toolbars/undo_list_box.h"

#include "toolbars/undo_bar.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CUndoListBox, CListBox)

BOOL CUndoListBox::Create(const RECT& rect, CUndoBar* bar, UINT id) {
    m_pBar = bar;
    return CListBox::Create(kStyle, rect, bar, id);
}

int CUndoListBox::AddEntry(const wchar_t* text) {
    return AddString(text);
}

void CUndoListBox::SelectUpTo(int index) {
    const int count = GetCount();
    if (count <= 0)
        return;
    index = std::clamp(index, 0, count - 1);
    // The control holds the selection, so that the display shows it.
    SendMessage(LB_SETSEL, FALSE, -1);
    SendMessage(LB_SELITEMRANGEEX, 0, index);
    m_caret = index;
    ScrollCaretIntoView();
    Invalidate(FALSE);
    if (m_pBar)
        m_pBar->UpdateLabel(index + 1);
}

int CUndoListBox::GetSelCount() const {
    return std::max(0, int(SendMessage(LB_GETSELCOUNT)));
}

BOOL CUndoListBox::GetSel(int index) const {
    return SendMessage(LB_GETSEL, WPARAM(index)) > 0;
}

void CUndoListBox::SetTopIndex(int index) {
    const int last = std::max(0, GetCount() - GetVisibleRows());
    m_top = std::clamp(index, 0, last);
}

int CUndoListBox::GetVisibleRows() const {
    CRect client;
    GetClientRect(&client);
    return std::max(1, client.Height() / m_itemHeight);
}

int CUndoListBox::ItemFromPoint(CPoint pt) const {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        return -1;
    const int index = m_top + pt.y / m_itemHeight;
    return index < GetCount() ? index : -1;
}

void CUndoListBox::ScrollCaretIntoView() {
    const int rows = GetVisibleRows();
    if (m_caret < m_top)
        SetTopIndex(m_caret);
    else if (m_caret >= m_top + rows)
        SetTopIndex(m_caret - rows + 1);
}

BOOL CUndoListBox::MoveCaret(int key) {
    const int count = GetCount();
    const int page = std::max(1, GetVisibleRows() - 1);
    int to = m_caret;
    switch (key) {
    case VK_UP:
        to -= 1;
        break;
    case VK_DOWN:
        to += 1;
        break;
    case VK_PRIOR:
        to -= page;
        break;
    case VK_NEXT:
        to += page;
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = count - 1;
        break;
    default:
        return FALSE;
    }
    if (count > 0)
        m_caret = std::clamp(to, 0, count - 1);
    return TRUE;
}

BOOL CUndoListBox::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    const CPoint pt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    switch (msg) {
    // Its own rows, for the display that follows the pointer over its list.
    case LB_GETTOPINDEX:
        if (result)
            *result = m_top;
        return TRUE;
    case LB_SETTOPINDEX:
        SetTopIndex(int(wp));
        if (result)
            *result = LB_OKAY;
        return TRUE;
    case LB_GETITEMHEIGHT:
        if (result)
            *result = m_itemHeight;
        return TRUE;
    case WM_MOUSEMOVE:
        if (int i = ItemFromPoint(pt); i >= 0)
            SelectUpTo(i);
        break;
    case WM_MOUSEWHEEL: {
        // The wheel scrolls three rows; the entry now under the pointer is the choice.
        const int before = m_top;
        SetTopIndex(m_top - 3 * (short(HIWORD(DWORD(wp))) / 120));
        if (m_top != before) {
            POINT client = pt;
            ::ScreenToClient(m_hWnd, &client);
            if (int i = ItemFromPoint(CPoint(client.x, client.y)); i >= 0)
                SelectUpTo(i);
        }
        break;
    }
    case WM_LBUTTONDOWN:
        break;
    case WM_LBUTTONUP:
        if (int i = ItemFromPoint(pt); i >= 0 && m_pBar)
            m_pBar->DoUndo(i + 1);
        break;
    case WM_KEYDOWN:
        if (int(wp) == VK_RETURN) {
            if (m_pBar)
                m_pBar->DoUndo(GetSelCount());
        } else if (int(wp) == VK_ESCAPE) {
            if (m_pBar)
                m_pBar->DoUndo(0);
        } else if (MoveCaret(int(wp))) {
            SelectUpTo(m_caret);
        }
        break;
    default:
        return CListBox::OnWndMsg(msg, wp, lp, result);
    }
    if (result)
        *result = 0;
    return TRUE;
}

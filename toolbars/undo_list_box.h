// CUndoListBox: the list of the undo and redo drop-down. Its selection is always a prefix (the
// newest k actions): pointing at an entry selects it and every newer one, a click undoes them.
#pragma once

#include "platform/framework/list_box.h"

class CUndoBar;

class CUndoListBox : public CListBox {
    DECLARE_DYNAMIC(CUndoListBox)

public:
    // Child, visible, vertical scroll bar, notify, multiple and extended selection.
    static constexpr DWORD kStyle = 0x50200A09;

    explicit CUndoListBox(CUndoBar* bar = nullptr) : m_pBar(bar) {}

    BOOL Create(const RECT& rect, CUndoBar* bar, UINT id);
    int AddEntry(const wchar_t* text);

    // Entries 0 to index selected, the rest not; the caret goes to index and the bar's label
    // shows index + 1.
    void SelectUpTo(int index);
    int GetSelCount() const;
    BOOL GetSel(int index) const;
    int GetCaretIndex() const { return m_caret; }
    int GetTopIndex() const { return m_top; }
    void SetTopIndex(int index);
    int GetItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height) { m_itemHeight = height > 0 ? height : 1; }
    // Rows the window shows at its height.
    int GetVisibleRows() const;
    // The entry under the client point, -1 when there is none.
    int ItemFromPoint(CPoint pt) const;

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    // The list's own handling of a paging or arrow key: the caret moves; FALSE for other keys.
    BOOL MoveCaret(int key);
    void ScrollCaretIntoView();

    CUndoBar* m_pBar;
    int m_caret = 0;
    int m_top = 0;
    int m_itemHeight = 16;
};
